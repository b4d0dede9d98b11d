#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "Commands.h"
#include "codeset/CodeSetCatalog.h"
#include "codeset/DataDirectory.h"

// The code sets of a folder that load, as the program lists them: name and display name,
// one per line, by name.
int RunList(const std::string& directory) {
    std::string folder = directory.empty() ? std::string(".") : directory;
    if (folder.back() != '/' && folder.back() != kPathSeparator)
        folder += kPathSeparator;
    std::vector<std::string> fileNames;
    std::error_code error;
    // The names are UTF-8 both ways (string() would be the ANSI code page on Windows).
    for (std::filesystem::directory_iterator it(std::filesystem::u8path(folder), error), end;
         !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == ".okc")
            fileNames.push_back(path.filename().u8string());
    }
    if (error) {
        std::fprintf(stderr, "okctool: cannot list %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return kExitIoFailed;
    }
    std::sort(fileNames.begin(), fileNames.end());
    // The entity file beside the tables is looked up in the data directory.
    SetDataDirectory(folder);
    for (const CodeSetCatalogEntry& entry : LoadCodeSetCatalog(folder, fileNames))
        std::printf("%-16s %s\n", entry.name.c_str(), entry.displayName.c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitIoFailed;
}
