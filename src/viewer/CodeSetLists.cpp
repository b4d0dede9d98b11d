#include "viewer/CodeSetLists.h"

#include <windows.h>

#include <cwchar>
#include <utility>

#include "codeset/CodeSetCatalog.h"
#include "codeset/DataDirectory.h"
#include "platform/win32/WideText.h"

std::vector<std::string> codeSetFileNames;
std::vector<std::string> codeSetDisplayNames;

void EnumerateCodeSets() {
    codeSetFileNames.clear();
    codeSetDisplayNames.clear();

    const std::string& directory = GetDataDirectory();
    // Wide names: a folder or file name outside the ANSI code page is found too.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(Widen(directory + "*.okc").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<std::string> fileNames;
    do {
        fileNames.push_back(Narrow(found.cFileName, std::wcslen(found.cFileName)));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (CodeSetCatalogEntry& entry : LoadCodeSetCatalog(directory, fileNames)) {
        codeSetFileNames.push_back(std::move(entry.name));
        codeSetDisplayNames.push_back(std::move(entry.displayName));
    }
}
