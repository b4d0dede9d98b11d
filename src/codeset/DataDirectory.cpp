#include "codeset/DataDirectory.h"

#include "platform/Utf8.h"

namespace {
std::string& Directory() {
    static std::string directory;
    return directory;
}
}  // namespace

void SetDataDirectory(const std::string& directory) {
    // The path is UTF-8: counted in characters, so that none is cut in two.
    std::string copy = directory.substr(0, Utf8Offset(directory, 256));
    if (copy.empty() || copy.back() != kPathSeparator)
        copy += kPathSeparator;
    Directory() = copy;
}

const std::string& GetDataDirectory() {
    return Directory();
}
