#pragma once

#include <string>

// Standard input and output as raw bytes (binary mode on Windows, where text mode would
// turn line ends and stop at Ctrl-Z).
void UseBinaryStdio();
std::string ReadAllStdin();
bool WriteStdout(const std::string& bytes);

// UTF-16LE without a byte order mark, the form decode writes and encode reads.
std::string ToUtf16Le(const std::u16string& units);
// A last odd byte has no unit and is dropped.
std::u16string FromUtf16Le(const std::string& bytes);
