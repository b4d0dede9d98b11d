// What the shipped files say about themselves: the dumps of the tables and the entity names.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "IconvCodec.h"
#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityTable.h"

namespace {

std::string DumpOf(const std::string& name) {
    CodeSetHolder holder;
    if (holder.Load(DataDirectoryForTests() + name + ".okc") != CodeSetResult::Ok ||
        !holder.HasCodeSet()) {
        return "load failed";
    }
    std::FILE* file = std::tmpfile();
    if (!file)
        return "no temporary file";
    holder.codeSet->Dump(file);
    std::rewind(file);
    std::string text;
    int c;
    while ((c = std::fgetc(file)) != EOF)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

TEST(ShippedDump, Windows1252ShowsItsFiveUndefinedBytes) {
    EXPECT_EQ(DumpOf("windows-1252"),
              "Start of the table = 128\n"
              "Number of entries = 128\n"
              "Undefined values =\n"
              "    0x81 0x8d 0x8f 0x90 0x9d ");
}

TEST(ShippedDump, Windows932ListsIconvsLeadBytes) {
    IconvCodec codec("CP932");
    ASSERT_TRUE(codec.IsOpen());
    std::string expected = "Lead-bytes =";
    int count = 0;
    for (int b = 0x80; b < 256; ++b) {
        std::u16string units;
        // A lead byte: alone it is incomplete, followed by 0x40 it is a character.
        if (codec.Decode(std::string(1, char(b)), units))
            continue;
        if (!codec.Decode(std::string{char(b), char(0x40)}, units) &&
            !codec.Decode(std::string{char(b), char(0x9f)}, units)) {
            continue;
        }
        char part[8];
        std::snprintf(part, sizeof part, "0x%02x ", b);
        expected += (count++ % 12 == 0 ? "\n    " : "") + std::string(part);
    }
    const std::string dump = DumpOf("windows-932");
    ASSERT_NE(dump.find("Lead-bytes ="), std::string::npos) << dump;
    EXPECT_EQ(dump.substr(dump.find("Lead-bytes =")), expected);
    EXPECT_EQ(dump.substr(0, dump.find('\n')), "Start of single-byte table = 128");
}

TEST(ShippedEntities, RecordsAreSortedUniqueAndWritable) {
    const std::string bytes = ReadFileBytes(DataDirectoryForTests() + "default.oku");
    ASSERT_FALSE(bytes.empty());
    std::set<unsigned> values;
    std::string previous;
    std::size_t at = 0;
    int records = 0;
    while (at < bytes.size() && bytes[at] != 0) {
        const std::size_t end = bytes.find('\0', at);
        ASSERT_NE(end, std::string::npos);
        ASSERT_LE(end + 2, bytes.size() - 1) << "record at " << at << " is cut short";
        const std::string name = bytes.substr(at, end - at);
        EXPECT_LE(name.size(), EntityTable::kMaxNameLength) << name;
        EXPECT_LT(previous, name) << "not sorted";
        const unsigned value = static_cast<unsigned char>(bytes[end + 1]) << 8 |
                               static_cast<unsigned char>(bytes[end + 2]);
        EXPECT_TRUE(values.insert(value).second) << name << " repeats a value";
        previous = name;
        at = end + 3;
        ++records;
    }
    // The HTML 4 entities and apos; the list ends with the one zero byte.
    EXPECT_EQ(records, 253);
    EXPECT_EQ(at, bytes.size() - 1);
}

TEST(ShippedEntities, EncodersAndDecodersFindTheMarkupNames) {
    SetDataDirectory(DataDirectoryForTests());
    EntityTable table;
    ASSERT_EQ(table.LoadFile("default"), CodeSetResult::Ok);
    EXPECT_STREQ(table.FindEntityName(u'&'), "amp");
    EXPECT_STREQ(table.FindEntityName(u'\''), "apos");
    EXPECT_STREQ(table.FindEntityName(u'\u20AC'), "euro");
    EXPECT_EQ(table.FindEntityCode("quot"), u'"');
    EXPECT_EQ(table.FindEntityCode("lt"), u'<');
    EXPECT_EQ(table.FindEntityCode("thetasym"), u'\u03D1');
    EXPECT_EQ(table.FindEntityCode("Amp"), EntityTable::kNoCode);
}

}  // namespace
