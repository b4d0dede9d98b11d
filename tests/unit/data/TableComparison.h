#pragma once

#include <string>
#include <vector>

#include "ReferenceCodec.h"
#include "codeset/CodeSet.h"

// One place where a loaded table and the reference converter (iconv, Windows) disagree.
struct TableDifference {
    std::string direction;           // "decode" or "encode"
    unsigned code;                   // byte or two-byte code (decode), UTF-16 unit (encode)
    std::string table;               // what the table gives, in hex bytes or U+XXXX
    std::string reference;           // what the reference gives
    std::size_t referenceBytes = 0;  // length of the reference's encoding (encode only)
};

// Every single byte and every two-byte code of a table code set (kinds 3 and 4) decoded by
// both, and every BMP unit encoded by both (with no entity flags).
std::vector<TableDifference> CompareTable(const CodeSet& codeSet, const ReferenceCodec& codec);
// Every BMP unit through the UTF-8 or UTF-16 classes against the reference's UTF-8 or
// UTF-16LE.
std::vector<TableDifference> CompareUnicode(const CodeSet& codeSet, const ReferenceCodec& codec,
                                            bool wide);
