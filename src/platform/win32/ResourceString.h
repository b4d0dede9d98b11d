#pragma once

#include <windows.h>

#include <string>

// A string of the program's string table; empty when it doesn't exist.
std::string LoadResourceString(UINT id);
