#include "codeset/DataDirectory.h"

namespace {
std::string& Directory() {
    static std::string directory;
    return directory;
}
}  // namespace

void SetDataDirectory(const std::string& directory) {
    std::string copy = directory.substr(0, 256);
    if (copy.empty() || copy.back() != kPathSeparator)
        copy += kPathSeparator;
    Directory() = copy;
}

const std::string& GetDataDirectory() {
    return Directory();
}
