#pragma once

#include "ReferenceCodec.h"
#include "codeset/CodeSetFileWriter.h"

// What building one table found, for the generator's summary line.
struct TableStats {
    int singleDefined = 0;    // single bytes from tableStart on with a character
    int doubleCodes = 0;      // two-byte codes in the table
    int skippedCodes = 0;     // codes that decode to more than one UTF-16 unit
    int sharedChars = 0;      // characters reached from more than one code
    int orderUnresolved = 0;  // of those, characters whose first match cannot be the converter's
};

// Fills the kind 3 body from the converter's decoding of each byte. Bytes below tableStart decode
// to themselves; tableStart is 0x80 unless a lower byte decodes to something else.
void BuildSingleByteTable(const ReferenceCodec& codec, CodeSetFileContent& content,
                          TableStats& stats);

// Fills the kind 4 body: single bytes, lead bytes found by probing every two-byte
// sequence, and one segment per lead byte, ordered so that the encoders' first match is
// the code the converter's own encoder writes.
void BuildDoubleByteTable(const ReferenceCodec& codec, CodeSetFileContent& content,
                          TableStats& stats);
