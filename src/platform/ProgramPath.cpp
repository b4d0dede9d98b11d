#include "platform/ProgramPath.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WideText.h"
#endif

std::string ProgramPath() {
#ifdef _WIN32
    // A name that fills the buffer may be cut, so the buffer grows until it doesn't.
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) >=
               path.size() &&
           path.size() < 32768) {
        path.resize(path.size() * 2);
    }
    return Narrow(path.data(), length < path.size() ? length : 0);
#else
    return std::string();
#endif
}
