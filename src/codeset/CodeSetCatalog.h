#pragma once

#include <string>
#include <vector>

// One code set table file that loads without error.
struct CodeSetCatalogEntry {
    std::string name;         // base name of the file, e.g. "windows-1252"
    std::string displayName;  // the file's display name, or ""
};

// Loads each of the table files (names with their extension) of directory (ending in the
// separator) in the order given; files that fail to load are left out.
std::vector<CodeSetCatalogEntry> LoadCodeSetCatalog(const std::string& directory,
                                                    const std::vector<std::string>& fileNames);
