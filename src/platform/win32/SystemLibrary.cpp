#include "platform/win32/SystemLibrary.h"

#include <string>

// Windows 8 and later; Windows 7 with update KB2533623.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up, not imported: a Windows 7 without the update still starts.
    const auto setDefaultDllDirectories = SystemFunction<SetDefaultDllDirectoriesFunction>(
        L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefaultDllDirectories == nullptr ||
        !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        // At least the current folder leaves the search.
        ::SetDllDirectoryW(L"");
    }
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // A system without the search flags: the file's full path in the system folder.
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
