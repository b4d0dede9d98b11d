#include "platform/OpenStdioFile.h"

#ifdef _WIN32
#include <wchar.h>

#include "platform/win32/WideText.h"
#endif

std::FILE* OpenStdioFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    return _wfopen(Widen(path).c_str(), Widen(mode).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}
