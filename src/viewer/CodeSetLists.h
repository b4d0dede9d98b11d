#pragma once

#include <string>
#include <vector>

// The code sets that load without error, filled once by start-up (EnumerateCodeSets).
// Parallel lists: index i of one belongs to index i of the other.
extern std::vector<std::string> codeSetFileNames;     // base name, e.g. "windows-1252"
extern std::vector<std::string> codeSetDisplayNames;  // the file's display name, or ""

// Fills both lists from the *.okc files of the data directory, in the order the file
// search gives them; files that fail to load are left out.
void EnumerateCodeSets();
