#pragma once

#include <string>
#include <vector>

// One line of the list of shipped code sets: which iconv character set each table file is
// made from, and how.
struct CodeSetListEntry {
    std::string name;         // file base name and the name stored in the file
    std::string iconvName;    // the character set's name for iconv_open
    std::string kind;         // "single", "double", "utf8" or "utf16"
    std::string displayName;  // what the user sees
};

// Reads lines "name|iconv name|kind|display name"; blank lines and lines starting with '#'
// are skipped. Returns false (with a message in error) on a malformed line.
bool ReadCodeSetList(const std::string& path, std::vector<CodeSetListEntry>& entries,
                     std::string& error);
