#include "platform/win32/ResourceString.h"

#include "platform/win32/WinApp.h"

std::string LoadResourceString(UINT id) {
    HINSTANCE instance = AppResourceInstance();
    // A string table entry holds at most 4097 characters.
    char buffer[4098];
    int length = ::LoadStringA(instance, id, buffer, static_cast<int>(sizeof buffer));
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
