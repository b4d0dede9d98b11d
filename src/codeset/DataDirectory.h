#pragma once

#include <string>

// The platform's directory separator, used where data file paths are formed.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The directory every data file is looked up in, a UTF-8 path. Keeps the first 256
// characters and makes sure the text ends in the separator.
void SetDataDirectory(const std::string& directory);
const std::string& GetDataDirectory();
