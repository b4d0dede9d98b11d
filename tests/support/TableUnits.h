#pragma once

#include <string>

class CodeSet;

// The characters of a code set's tables (single-byte values, then two-byte ones), so that
// random texts hit its real repertoire; empty for code sets without tables. Undefined
// entries (0xFFFF) are included.
std::u16string TableUnits(const CodeSet& codeSet);
