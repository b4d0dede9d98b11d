#pragma once

#include <string>

#include "platform/Utf8.h"

// The program's UTF-8 texts at the Win32 boundary: wchar_t is a UTF-16 unit there.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

inline std::wstring Widen(const std::string& text) {
    const std::u16string units = Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(const wchar_t* text, std::size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

inline std::string Narrow(const std::wstring& text) {
    return Narrow(text.data(), text.size());
}
