#pragma once

#include <array>
#include <map>
#include <ostream>
#include <string>

#include "ReferenceCodec.h"

// A converter's answers written down as text, so that a table can be built from a
// converter that runs elsewhere (Windows' code pages, asked under Wine by cpdump). One
// line per answer, hexadecimal throughout:
//   byte XX UUUU...   the single byte XX decodes to these units
//   pair XXYY UUUU... the two bytes XX YY decode to these units (XX alone does not decode)
//   unit UUUU XX...   the encoder writes these bytes for the unit
// Whatever has no line is refused.
void WriteCodecDump(const ReferenceCodec& codec, std::ostream& out);
// The file name of a Windows code page's dump in the folder cpdump writes to: "cp1252.txt".
std::string CodePageDumpName(unsigned codePage);

// Answers from a dump as the converter that wrote it did.
class CodecDump : public ReferenceCodec {
public:
    // Reads a dump; false (with a message in error) when it cannot be opened or a line is
    // malformed.
    bool Read(const std::string& path, std::string& error);
    // Forgets the bytes 0x80-0x9F that decode to the C1 control of the same value, and
    // those controls' encodings: Windows' single-byte code pages give them to the bytes
    // they leave unassigned.
    void DropC1Fillers();

    bool Decode(const std::string& bytes, std::u16string& units) const override;
    bool Encode(char16_t unit, std::string& bytes) const override;

private:
    std::array<std::u16string, 256> byteUnits;  // empty: the byte does not decode alone
    std::map<unsigned, std::u16string> pairUnits;
    std::map<char16_t, std::string> unitBytes;
};
