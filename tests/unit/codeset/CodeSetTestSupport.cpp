#include "CodeSetTestSupport.h"

#include "TestPaths.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityTable.h"

CodeSetFileContent SingleByteContent(std::uint8_t tableStart, std::vector<char16_t> table) {
    CodeSetFileContent content;
    content.name = "test-single";
    content.displayName = "Test single";
    content.kind = 3;
    content.tableStart = tableStart;
    content.singleTable = std::move(table);
    return content;
}

CodeSetFileContent Windows1252Like() {
    std::vector<char16_t> table;
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        table.push_back(static_cast<char16_t>(b));
    table[0] = 0x20AC;
    table[0x81 - 0x80] = 0xFFFF;
    table[0x8D - 0x80] = 0xFFFF;
    CodeSetFileContent content = SingleByteContent(0x80, table);
    content.name = "windows-1252";
    content.displayName = "Western";
    return content;
}

CodeSetFileContent SmallDoubleByte() {
    CodeSetFileContent content;
    content.name = "test-double";
    content.displayName = "Test double";
    content.kind = 4;
    content.tableStart = 0x80;
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        content.singleTable.push_back(static_cast<char16_t>(b));
    content.SetSegment(0x81, 0, 2);
    content.SetSegment(0x82, 2, 0);
    content.doubleCodes = {0x8140, 0x8141};
    content.doubleChars = {0x4E00, 0x4E01};
    return content;
}

CodeSetResult LoadBytes(CodeSetHolder& holder, const std::string& bytes) {
    return holder.Load(WriteCodeSetFile(MakeTempDirectory("okc"), "test", bytes));
}

CodeSetResult LoadContent(CodeSetHolder& holder, const CodeSetFileContent& content) {
    return LoadBytes(holder, SerializeCodeSetFile(content));
}

Encoded Encode(const CodeSet& codeSet, char16_t unit, unsigned flags, bool escapeMarkup) {
    char out[CodeSet::kCharBufferSize];
    // A marker that shows whether the encoder left a defined string behind.
    for (char& c : out)
        c = 'Z';
    out[CodeSet::kCharBufferSize - 1] = 0;
    const CodeSetResult result = codeSet.EncodeChar(unit, out, flags, escapeMarkup);
    return {result, std::string(out)};
}

Decoded Decode(const CodeSet& codeSet, const std::string& text, unsigned flags) {
    std::string padded = text + std::string(2, '\0');
    Decoded d{static_cast<CodeSetResult>(-1), 0, 99, true};
    d.result = codeSet.DecodeChar(reinterpret_cast<const unsigned char*>(padded.c_str()), d.ch,
                                  d.consumed, d.isEntity, flags);
    return d;
}

std::string OkuRecord(const std::string& name, char16_t value) {
    std::string record = name;
    record += '\0';
    record += static_cast<char>(value >> 8);
    record += static_cast<char>(value & 0xFF);
    return record;
}

void UseEntityFile(const std::string& bytes) {
    std::string dir = MakeTempDirectory("oku");
    WriteFileBytes(dir + "default.oku", bytes);
    SetDataDirectory(dir);
    EntityTable::Global().Clear();
}

void UseStandardEntities() {
    UseEntityFile(OkuRecord("amp", 0x26) + OkuRecord("lt", 0x3C) + OkuRecord("quot", 0x22) +
                  OkuRecord("apos", 0x27) + OkuRecord("eacute", 0xE9) + std::string(1, '\0'));
}
