// Stands for a DLL dropped beside the program under a system DLL's name: loaded into a
// process, it leaves the file "planted-dll-was-loaded" beside itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    wchar_t path[MAX_PATH + 32] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(module, path, MAX_PATH) < MAX_PATH) {
        lstrcpyW(wcsrchr(path, L'\\') + 1, L"planted-dll-was-loaded");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}
