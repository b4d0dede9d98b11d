#pragma once

#include <string>

#include "codeset/CodeSetHolder.h"

// Loads a .okc file given on the command line, with the data directory set to the
// file's own directory so that the entity file beside it is found. Prints the result
// code and its name to stderr on failure and returns the result.
CodeSetResult LoadCodeSetFile(const std::string& file, CodeSetHolder& holder);
