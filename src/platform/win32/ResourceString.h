#pragma once

#include <windows.h>

#include <string>

// A string of the program's string table; empty when it doesn't exist.
std::string LoadResourceString(UINT id);

// printf-style formatting into a std::string (the texts of the string table use it).
std::string FormatText(const char* format, ...);
