#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "codeset/CodeSetResult.h"

// Names of characters for character entities, read from a .oku file (records of a
// zero-terminated name and a big-endian 16-bit value, ended by an empty name).
class EntityTable {
public:
    static constexpr char16_t kNoCode = 0xFFFF;
    static constexpr std::size_t kMaxNameLength = 17;

    // The process-wide table that the code sets use; it reads "default" on first use.
    static EntityTable& Global();

    // 0 when content is held afterwards, 1 when the file is missing or empty.
    CodeSetResult LoadFile(const std::string& baseName);
    // nullptr when the unit has no name.
    const char* FindEntityName(char16_t unit);
    // kNoCode when the name is not in the table.
    char16_t FindEntityCode(const char* name);

    bool HasContent() const { return !content.empty(); }
    // Drops the content, so that the next look-up reads the file again.
    void Clear();

private:
    // The records as read (minus those an encoder could not write), ended by a zero byte.
    std::vector<unsigned char> content;
    // Indexes over content so that a look-up costs O(1); the first record wins.
    std::unordered_map<char16_t, std::size_t> nameOffsets;
    std::unordered_map<std::string, char16_t> codes;
};
