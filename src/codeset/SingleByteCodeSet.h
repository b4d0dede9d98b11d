#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "codeset/BulkText.h"
#include "codeset/CodeSet.h"
#include "codeset/ReverseIndex.h"

// A code set of one byte per character: bytes below tableStart stand for themselves, the
// others are mapped through singleTable.
class SingleByteCodeSet : public CodeSet {
public:
    CodeSetResult EncodeChar(char16_t unit, char* out, unsigned flags,
                             bool escapeMarkup) const override;
    CodeSetResult EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                  bool escapeMarkup) const override;
    CodeSetResult ReadEntityChar(const unsigned char* text, std::size_t& position,
                                 unsigned char& out) const override;
    CodeSetResult DecodeCharRaw(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                                bool& isEntity, unsigned flags) const override;
    CodeSetResult DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                             bool& isEntity, unsigned flags) const override;
    CodeSetResult DecodeText(const unsigned char* text, std::size_t length, std::size_t& position,
                             std::u16string& out, unsigned flags) const override;
    void EncodeText(const char16_t* units, std::size_t count, unsigned flags, bool escapeMarkup,
                    std::string& out) const override;
    CodeSetResult ReadTables(std::FILE* file) override;
    void Dump(std::FILE* stream) const override;

    // The tables as the file holds them (Dump and diagnostic tools read these).
    std::uint8_t tableStart = 0;
    std::int32_t singleCount = 0;
    std::vector<char16_t> singleTable;

private:
    void Reset();
    void BuildIndexes();
    // Passes text that the encoder generated through the table when tableStart < limit.
    void Remap(char* out, unsigned limit) const;

    // Built once by ReadTables so that every conversion costs O(1):
    // the value of every byte (itself below tableStart, its entry above it, U+FFFF where the
    // file has no entry),
    std::array<char16_t, 256> byteValue{};
    // the byte whose entry first holds each byte value (the byte itself when none does),
    std::array<std::uint8_t, 256> remapByte{};
    // and the byte of the first entry that holds each unit.
    ReverseIndex encodeIndex;

    // For the whole-text conversions (empty until a table is read): the byte of every unit
    // that needs no special handling, as an EncodeTableEntry (128 KiB).
    void BuildBulkTables();
    std::vector<std::uint16_t> bulkEncode;
    // The bytes from linearFrom to 0xFF stand for the byte plus linearDelta (Latin-1 letters
    // in windows-1252, Cyrillic in windows-1251), so whole blocks of them convert without a
    // look-up; 0x100 when there is no such run. For encoding, the longest such run anywhere
    // from 0x80 up (the Cyrillic of iso-8859-5 ends below 0xFF), whose units the table
    // encodes back to their bytes; count 0 when there is none.
    unsigned linearFrom = 0x100;
    char16_t linearDelta = 0;
    LinearRun encodeRun;
    // The byte of each unit from U+0080 to U+00FF (0 where it has none), and whether enough
    // of them lie outside encodeRun for encoding blocks through them to pay: in the tables
    // whose Latin letters are scattered (cp437, macintosh) rather than in a run.
    std::array<unsigned char, 128> latin1Bytes{};
    bool latin1Blocks = false;
};
