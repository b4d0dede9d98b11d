#pragma once

#include <string>

// A converter between one character set and UTF-16 that the tables are built from or
// checked against: iconv, Windows' own code pages, or a dump of what one of them said.
// Every call starts from the initial state, so one result never depends on the call
// before it.
class ReferenceCodec {
public:
    virtual ~ReferenceCodec() = default;

    // The UTF-16 units of a whole byte sequence; false when the converter refuses the bytes
    // or finds them incomplete.
    virtual bool Decode(const std::string& bytes, std::u16string& units) const = 0;
    // The bytes the converter's encoder writes for one UTF-16 unit; false when it has none.
    virtual bool Encode(char16_t unit, std::string& bytes) const = 0;
};
