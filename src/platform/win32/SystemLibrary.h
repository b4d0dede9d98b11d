#pragma once

#include <windows.h>

// A DLL loaded by name is looked for in the program's folder and the current folder before
// the system folder, so a file of that name dropped beside a portable copy (a Downloads
// folder) would run inside the program. Start-up restricts the search to the system folder
// before it loads anything, and loads the libraries it needs from there only.
void RestrictDllSearchToSystemFolder();

// The DLL of that name in the system folder; nullptr when it can't be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded system DLL by name, for what only newer versions of Windows have:
// nullptr when the DLL or the function is missing.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    FARPROC found = handle != nullptr ? ::GetProcAddress(handle, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
