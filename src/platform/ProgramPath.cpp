#include "platform/ProgramPath.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf8.h"
#endif

std::string ProgramPath() {
#ifdef _WIN32
    // A name that fills the buffer may be cut, so the buffer grows until it doesn't.
    std::u16string path(MAX_PATH, u'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(&path[0]),
                                          static_cast<DWORD>(path.size()))) >= path.size() &&
           path.size() < 32768) {
        path.resize(path.size() * 2);
    }
    path.resize(length < path.size() ? length : 0);
    return Utf16ToUtf8(path);
#else
    return std::string();
#endif
}
