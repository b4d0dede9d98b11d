#include "CodeSetLists.h"

#include <windows.h>

#include "CodeSetHolder.h"
#include "DataDirectory.h"

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
    // One holder serves for all files; only the outcome of each load is kept.
    CodeSetHolder scratch;
    do {
        std::string fileName = found.cFileName;
        if (scratch.Load(directory + fileName) == 0) {
            codeSetFileNames.push_back(fileName.substr(0, fileName.find('.')));
            codeSetDisplayNames.push_back(scratch.displayName);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}
