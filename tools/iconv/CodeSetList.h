#pragma once

#include <string>
#include <vector>

// One line of the list of shipped code sets: what each table file is made from, and how.
struct CodeSetListEntry {
    std::string name;         // file base name and the name stored in the file
    std::string iconvName;    // the character set's name for iconv_open; empty for Windows'
    std::string kind;         // "single", "double", "utf8" or "utf16"
    std::string displayName;  // what the user sees
    // The Windows code page the table is taken from (through a cpdump dump), or 0.
    unsigned windowsCodePage = 0;
    // Whether the bytes that the code page fills with the C1 control of their own value
    // stay without a character.
    bool withoutC1Fillers = false;
};

// Reads lines "name|source|kind|display name", where source is "windows NNN" (optionally
// followed by " no-c1") for a Windows code page and an iconv character set's name
// otherwise; blank lines and lines starting with '#' are skipped. Returns false (with a
// message in error) on a malformed line.
bool ReadCodeSetList(const std::string& path, std::vector<CodeSetListEntry>& entries,
                     std::string& error);
