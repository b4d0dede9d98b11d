#pragma once

#include <string>

// printf-style formatting into a std::string (the texts of the string table use it).
std::string FormatText(const char* format, ...);
