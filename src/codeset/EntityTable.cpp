#include "codeset/EntityTable.h"

#include <cstdio>
#include <cstring>

#include "codeset/DataDirectory.h"
#include "platform/OpenStdioFile.h"

namespace {

// Keeps the records that an encoder can write, in file order, and ends them with the empty
// name. A name longer than kMaxNameLength would overflow the encoders' 20-byte buffer and is
// dropped; an unfinished last record (file cut short, no ending zero) is dropped too.
std::vector<unsigned char> CleanRecords(const std::vector<unsigned char>& raw) {
    std::vector<unsigned char> clean;
    clean.reserve(raw.size() + 1);
    std::size_t at = 0;
    while (at < raw.size() && raw[at] != 0) {
        std::size_t end = at;
        while (end < raw.size() && raw[end] != 0)
            ++end;
        if (end + 2 >= raw.size())
            break;
        if (end - at <= EntityTable::kMaxNameLength) {
            clean.insert(clean.end(), raw.begin() + at, raw.begin() + end + 3);
        }
        at = end + 3;
    }
    clean.push_back(0);
    return clean;
}

}  // namespace

EntityTable& EntityTable::Global() {
    static EntityTable table;
    return table;
}

CodeSetResult EntityTable::LoadFile(const std::string& baseName) {
    if (HasContent())
        return CodeSetResult::Ok;
    std::string path = GetDataDirectory() + baseName + ".oku";
    std::FILE* file = OpenStdioFile(path, "rb");
    if (!file)
        return CodeSetResult::NotSupported;
    std::vector<unsigned char> raw;
    unsigned char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof(block), file)) > 0) {
        raw.insert(raw.end(), block, block + got);
    }
    std::fclose(file);
    if (raw.empty())
        return CodeSetResult::NotSupported;
    content = CleanRecords(raw);
    // First record wins in both directions, as a scan in file order would find it.
    for (std::size_t at = 0; content[at] != 0;) {
        const char* name = reinterpret_cast<const char*>(&content[at]);
        std::size_t length = std::strlen(name);
        char16_t value =
            static_cast<char16_t>((content[at + length + 1] << 8) | content[at + length + 2]);
        nameOffsets.emplace(value, at);
        codes.emplace(std::string(name, length), value);
        at += length + 3;
    }
    return CodeSetResult::Ok;
}

const char* EntityTable::FindEntityName(char16_t unit) {
    if (!HasContent() && LoadFile("default") != CodeSetResult::Ok)
        return nullptr;
    auto found = nameOffsets.find(unit);
    if (found == nameOffsets.end())
        return nullptr;
    return reinterpret_cast<const char*>(&content[found->second]);
}

char16_t EntityTable::FindEntityCode(const char* name) {
    if (!HasContent() && LoadFile("default") != CodeSetResult::Ok)
        return kNoCode;
    auto found = codes.find(name);
    return found == codes.end() ? kNoCode : found->second;
}

void EntityTable::Clear() {
    content.clear();
    nameOffsets.clear();
    codes.clear();
}
