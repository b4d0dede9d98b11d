#include "codeset/CodeSetCatalog.h"

#include "codeset/CodeSetHolder.h"

std::vector<CodeSetCatalogEntry> LoadCodeSetCatalog(const std::string& directory,
                                                    const std::vector<std::string>& fileNames) {
    std::vector<CodeSetCatalogEntry> entries;
    // One holder serves for all files; only the outcome of each load is kept.
    CodeSetHolder scratch;
    for (const std::string& fileName : fileNames) {
        if (scratch.Load(directory + fileName) == CodeSetResult::Ok)
            entries.push_back({fileName.substr(0, fileName.find('.')), scratch.displayName});
    }
    return entries;
}
