#include "image/CreateDirectoryChain.h"

#include "platform/Shell.h"
#include "platform/Utf8.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':';
}

// Length of the part that is never created: "C:", "C:\", "\\server\share\", "\" or none.
std::size_t RootLength(const std::string& path) {
    if (HasDrive(path))
        return path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t pos = 2;
        for (int piece = 0; piece < 2 && pos < path.size(); ++piece) {
            while (pos < path.size() && !IsSeparator(path[pos]))
                ++pos;
            if (pos < path.size())
                ++pos;
        }
        return pos;
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

bool EnsureDirectory(Shell& shell, const std::string& path) {
    // Another program may create it between the two questions.
    return shell.IsDirectory(path) || shell.MakeDirectory(path) || shell.IsDirectory(path);
}

}  // namespace

std::string DirectoryPart(const std::string& fileName) {
    std::size_t last = fileName.find_last_of("\\/");
    if (last != std::string::npos)
        return fileName.substr(0, last + 1);
    return HasDrive(fileName) ? fileName.substr(0, 2) : std::string();
}

bool CreateDirectoryChain(Shell& shell, const std::string& directory) {
    // The limit is the system's, in UTF-16 units, not in the bytes of the UTF-8 path.
    if (Utf8ToUtf16(directory).size() > 260)
        return false;
    if (directory.empty() || shell.IsDirectory(directory))
        return true;

    std::size_t pos = RootLength(directory);
    while (pos < directory.size()) {
        std::size_t end = pos;
        while (end < directory.size() && !IsSeparator(directory[end]))
            ++end;
        if (end > pos && !EnsureDirectory(shell, directory.substr(0, end + 1))) {
            return false;
        }
        pos = end + 1;
    }
    return true;
}
