#include "platform/OpenStdioFile.h"

#ifdef _WIN32
#include <wchar.h>

#include "platform/Utf8.h"
#endif

std::FILE* OpenStdioFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::u16string widePath = Utf8ToUtf16(path);
    const std::u16string wideMode = Utf8ToUtf16(mode);
    return _wfopen(reinterpret_cast<const wchar_t*>(widePath.c_str()),
                   reinterpret_cast<const wchar_t*>(wideMode.c_str()));
#else
    return std::fopen(path.c_str(), mode);
#endif
}
