#pragma once

#include <functional>
#include <string>

// Reads a text file of one record a line, skipping blank lines and lines that start with
// '#' (a CR before the line end is dropped). take gets each record and returns false, with
// a message, to stop the reading; error is then "path:N: message". False also, with a
// message in error, when the file cannot be opened.
bool ReadRecordLines(const std::string& path,
                     const std::function<bool(const std::string& line, std::string& message)>& take,
                     std::string& error);
