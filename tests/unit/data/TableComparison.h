#pragma once

#include <string>
#include <vector>

#include "CodeSet.h"
#include "IconvCodec.h"

// One place where a loaded table and iconv disagree.
struct TableDifference {
    std::string direction;       // "decode" or "encode"
    unsigned code;               // byte or two-byte code (decode), UTF-16 unit (encode)
    std::string table;           // what the table gives, in hex bytes or U+XXXX
    std::string iconv;           // what iconv gives
    std::size_t iconvBytes = 0;  // length of iconv's encoding (encode only)
};

// Every single byte and every two-byte code of a table code set (kinds 3 and 4) decoded by
// both, and every BMP unit encoded by both (with no entity flags).
std::vector<TableDifference> CompareTableWithIconv(const CodeSet& codeSet, const IconvCodec& codec);
// Every BMP unit through the UTF-8 or UTF-16 classes against iconv's UTF-8 or UTF-16LE.
std::vector<TableDifference> CompareUnicodeWithIconv(const CodeSet& codeSet,
                                                     const IconvCodec& codec, bool wide);
