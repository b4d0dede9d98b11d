#include "WindowsCodePage.h"

#include <windows.h>

#include <vector>

bool WindowsCodePage::IsValid() const {
    return IsValidCodePage(codePage) != FALSE;
}

bool WindowsCodePage::Decode(const std::string& bytes, std::u16string& units) const {
    units.clear();
    if (bytes.empty())
        return true;
    std::vector<wchar_t> buffer(bytes.size() * 2);
    const int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                          int(bytes.size()), buffer.data(), int(buffer.size()));
    if (count <= 0)
        return false;
    units.assign(buffer.begin(), buffer.begin() + count);
    return true;
}

bool WindowsCodePage::Encode(char16_t unit, std::string& bytes) const {
    const wchar_t wide = unit;
    char buffer[8];
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, buffer,
                                          sizeof buffer, nullptr, &usedDefault);
    if (count <= 0 || usedDefault)
        return false;
    bytes.assign(buffer, count);
    return true;
}
