#pragma once

#include <string>
#include <vector>

// Names of characters for character entities, read from a .oku file (records of a
// zero-terminated name and a big-endian 16-bit value, ended by an empty name).
class EntityTable {
public:
    static constexpr char16_t kNoCode = 0xFFFF;
    static constexpr std::size_t kMaxNameLength = 17;

    // The process-wide table that the code sets use; it reads "default" on first use.
    static EntityTable& Global();

    // 0 when content is held afterwards, 1 when the file is missing or empty.
    int LoadFile(const std::string& baseName);
    // nullptr when the unit has no name.
    const char* FindEntityName(char16_t unit);
    // kNoCode when the name is not in the table.
    char16_t FindEntityCode(const char* name);

    bool HasContent() const { return !content.empty(); }
    // Drops the content, so that the next look-up reads the file again.
    void Clear();

private:
    std::vector<unsigned char> content;
};
