#pragma once

#include <cstdio>
#include <string>

// std::fopen for a UTF-8 path. On Windows the narrow fopen takes the ANSI code page, which
// can't name every file, so the path goes to _wfopen as UTF-16.
std::FILE* OpenStdioFile(const std::string& path, const char* mode);
