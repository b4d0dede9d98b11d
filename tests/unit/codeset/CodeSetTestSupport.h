#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CodeSetFiles.h"
#include "codeset/CodeSet.h"
#include "codeset/CodeSetFileWriter.h"
#include "codeset/CodeSetHolder.h"

// A kind 3 file's content.
CodeSetFileContent SingleByteContent(std::uint8_t tableStart, std::vector<char16_t> table);
// 128 entries for 0x80..0xFF: U+20AC at 0x80, undefined 0x81 and 0x8D, Latin-1 elsewhere.
CodeSetFileContent Windows1252Like();
// tableStart 0x80, identity singles, lead bytes 0x81 (0x8140 U+4E00, 0x8141 U+4E01) and 0x82
// (a lead byte with an empty segment).
CodeSetFileContent SmallDoubleByte();

// Writes to a fresh folder and loads by full path.
CodeSetResult LoadBytes(CodeSetHolder& holder, const std::string& bytes);
CodeSetResult LoadContent(CodeSetHolder& holder, const CodeSetFileContent& content);

struct Encoded {
    CodeSetResult result;
    std::string bytes;
};
Encoded Encode(const CodeSet& codeSet, char16_t unit, unsigned flags, bool escapeMarkup = true);

struct Decoded {
    CodeSetResult result;
    char16_t ch;
    std::size_t consumed;
    bool isEntity;
};
// The text is passed with its terminating zero (and a second one for UTF-16).
Decoded Decode(const CodeSet& codeSet, const std::string& text, unsigned flags = 0);

// A .oku record.
std::string OkuRecord(const std::string& name, char16_t value);
// Writes default.oku with these bytes into a fresh data directory and makes the entity table
// read it on next use.
void UseEntityFile(const std::string& bytes);
// amp, lt, quot, apos, eacute.
void UseStandardEntities();
