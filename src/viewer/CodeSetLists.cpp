#include "viewer/CodeSetLists.h"

#include <windows.h>

#include <utility>

#include "codeset/CodeSetCatalog.h"
#include "codeset/DataDirectory.h"

std::vector<std::string> codeSetFileNames;
std::vector<std::string> codeSetDisplayNames;

void EnumerateCodeSets() {
    codeSetFileNames.clear();
    codeSetDisplayNames.clear();

    const std::string& directory = GetDataDirectory();
    std::string pattern = directory + "*.okc";
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<std::string> fileNames;
    do {
        fileNames.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    for (CodeSetCatalogEntry& entry : LoadCodeSetCatalog(directory, fileNames)) {
        codeSetFileNames.push_back(std::move(entry.name));
        codeSetDisplayNames.push_back(std::move(entry.displayName));
    }
}
