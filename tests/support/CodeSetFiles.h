#pragma once

#include <string>

#include "codeset/CodeSetFileWriter.h"

// Writes <dir><base>.okc (dir ends in the separator) and returns its path.
std::string WriteCodeSetFile(const std::string& dir, const std::string& base,
                             const std::string& bytes);
std::string WriteCodeSetFile(const std::string& dir, const std::string& base,
                             const CodeSetFileContent& content);
