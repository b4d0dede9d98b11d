#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The content of a .okc code set table file, and its serialisation. Used by the table
// generator and by tests that need files of a given shape (also malformed ones: nothing
// here checks that the counts agree with the arrays).
struct CodeSetFileContent {
    std::string magic = "okc100";
    std::string name;
    std::string displayName;
    std::int32_t kind = 3;

    // Kinds 3 and 4.
    std::uint8_t tableStart = 0x80;
    std::vector<char16_t> singleTable;
    // Kind 4 only; singleCount is written as singleTable's size.
    std::vector<std::uint8_t> leadBytes = std::vector<std::uint8_t>(256, 0);
    std::vector<std::uint16_t> segmentStart = std::vector<std::uint16_t>(256, 0);
    std::vector<std::uint16_t> segmentCount = std::vector<std::uint16_t>(256, 0);
    std::vector<std::uint16_t> doubleCodes;
    std::vector<char16_t> doubleChars;

    // Marks the byte as a lead byte whose codes are doubleCodes[start, start + count).
    void SetSegment(std::uint8_t lead, std::uint16_t start, std::uint16_t count) {
        leadBytes[lead] = 1;
        segmentStart[lead] = start;
        segmentCount[lead] = count;
    }
};

// The bytes of the file, little-endian as the format says.
std::string SerializeCodeSetFile(const CodeSetFileContent& content);
