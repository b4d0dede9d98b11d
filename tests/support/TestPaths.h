#pragma once

#include <string>

// Folders of the source tree as the running test program must name them: the path itself
// natively, the Wine drive Z: form ("Z:\work\...\data\") under the cross build.
std::string SourcePath(const std::string& relative);
// The committed data folder, ending in the platform's separator.
std::string DataDirectoryForTests();
// A fresh empty folder for one test, ending in the platform's separator.
std::string MakeTempDirectory(const std::string& tag);
// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads a whole file; empty on failure.
std::string ReadFileBytes(const std::string& path);
