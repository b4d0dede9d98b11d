#pragma once

#include <cstddef>
#include <string>

#include "image/DibLayout.h"

class OutputFile;
class Shell;

enum class DibWrite {
    Written,
    Refused,      // the block holds no DIB that can be written; nothing was written
    WriteFailed,  // the file refused some bytes
};

// Writes a DIB block as a BMP file: the 14-byte file header, then the DIB. The pixel size
// is stored into biSizeImage of uncompressed DIBs, and a top-down DIB is written with its
// rows reversed and a positive height, the form every reader of BMP files knows.
DibWrite WriteDibFile(const unsigned char* dib, std::size_t size, OutputFile& file);

// A temporary name for the file being written to path: in the same folder, and no longer
// than path, so that a path the system accepts stays accepted. The file name's first
// characters are replaced by "~" and the attempt number in base 36; empty when the name is
// too short for that number or the result is the name itself.
std::string TemporaryNameBeside(const std::string& path, unsigned attempt);
constexpr unsigned kTemporaryNameAttempts = 64;

// Writes the BMP file beside path under a temporary name and renames it into place only
// when it is complete, so that a failure leaves no partial file and an earlier file of
// that name intact. false when the DIB is refused or the file can't be written.
bool SaveDibFile(Shell& shell, const std::string& path, const std::string& dib);
