#include "platform/win32/ResourceString.h"

#include <cstdarg>
#include <cstdio>

#include "platform/win32/WinApp.h"

std::string LoadResourceString(UINT id) {
    HINSTANCE instance = AppResourceInstance();
    // A string table entry holds at most 4097 characters.
    char buffer[4098];
    int length = ::LoadStringA(instance, id, buffer, static_cast<int>(sizeof buffer));
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}
