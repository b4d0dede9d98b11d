#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "codeset/CodeSet.h"
#include "codeset/ReverseIndex.h"

// A code set of one- and two-byte characters: bytes below tableStart stand for themselves,
// other single bytes are mapped through singleTable, and lead bytes start two-byte codes
// whose entries for one lead byte form one segment of doubleCodes / doubleChars.
class DoubleByteCodeSet : public CodeSet {
public:
    DoubleByteCodeSet();

    CodeSetResult EncodeChar(char16_t unit, char* out, unsigned flags,
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
    bool IsLeadByte(int value) const override;

    // The tables as the file holds them (Dump and diagnostic tools read these).
    std::array<std::uint8_t, 256> leadBytes{};
    std::array<std::uint16_t, 256> segmentStart{};
    std::array<std::uint16_t, 256> segmentCount{};
    std::uint8_t tableStart = 0;
    std::int32_t singleCount = 0;
    std::vector<char16_t> singleTable;
    std::vector<std::uint16_t> doubleCodes;
    std::vector<char16_t> doubleChars;
    std::int32_t doubleCount = 0;

private:
    // The characters of one lead byte's segment by trail byte (first entry wins).
    struct TrailTable {
        std::array<char16_t, 256> chars{};
        std::bitset<256> present;
    };

    void Reset();
    void BuildIndexes();

    // Built once by ReadTables so that every conversion costs O(1): the value of every
    // single byte (U+FFFF where the file has no entry), one trail table per lead byte that
    // has entries, and the code of the first entry that holds each unit.
    std::array<char16_t, 256> byteValue{};
    std::array<std::unique_ptr<TrailTable>, 256> trailTables;
    ReverseIndex encodeIndex;

    // For the whole-text conversions (empty until a table is read): the bytes of every unit
    // that needs no special handling, as an EncodeTableEntry, and the character of every
    // lead byte and trail byte pair, U+FFFF where the segment has none or the pair needs a
    // closer look (128 KiB each).
    void BuildBulkTables();
    std::vector<std::uint16_t> bulkEncode;
    std::vector<char16_t> bulkDecode;
    // The character of each single byte, U+FFFF for a lead byte (and an undefined byte).
    std::array<char16_t, 256> bulkSingle{};
};
