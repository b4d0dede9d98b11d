#include <gtest/gtest.h>

#include "CodeSetTestSupport.h"
#include "TestPaths.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityTable.h"
#include "codeset/Utf8CodeSet.h"

namespace {

const std::string kEnd(1, '\0');

TEST(EntityTable, FindsNamesAndCodes) {
    UseEntityFile(OkuRecord("amp", 0x26) + OkuRecord("lt", 0x3C) + kEnd);
    EntityTable& table = EntityTable::Global();
    ASSERT_NE(table.FindEntityName(0x26), nullptr);
    EXPECT_STREQ(table.FindEntityName(0x26), "amp");
    EXPECT_EQ(table.FindEntityName(0x3E), nullptr);
    EXPECT_EQ(table.FindEntityCode("lt"), 0x3C);
    EXPECT_EQ(table.FindEntityCode("LT"), EntityTable::kNoCode);
    EXPECT_EQ(table.FindEntityCode("l"), EntityTable::kNoCode);
    EXPECT_EQ(table.FindEntityCode(""), EntityTable::kNoCode);
}

TEST(EntityTable, FirstRecordWinsAndValuesAreBigEndian) {
    UseEntityFile(OkuRecord("first", 0x4E00) + OkuRecord("second", 0x4E00) +
                  OkuRecord("first", 0x0041) + kEnd + OkuRecord("hidden", 0x0042));
    EntityTable& table = EntityTable::Global();
    EXPECT_STREQ(table.FindEntityName(0x4E00), "first");
    EXPECT_EQ(table.FindEntityCode("first"), 0x4E00);
    EXPECT_EQ(table.FindEntityCode("second"), 0x4E00);
    // Nothing after the empty name counts.
    EXPECT_EQ(table.FindEntityCode("hidden"), EntityTable::kNoCode);
    EXPECT_EQ(table.FindEntityName(0x0042), nullptr);
}

TEST(EntityTable, MissingEmptyAndZeroOnlyFiles) {
    SetDataDirectory(MakeTempDirectory("nooku"));
    EntityTable& table = EntityTable::Global();
    table.Clear();
    EXPECT_EQ(table.LoadFile("default"), CodeSetResult::NotSupported);
    EXPECT_EQ(table.FindEntityName(0x26), nullptr);
    EXPECT_EQ(table.FindEntityCode("amp"), EntityTable::kNoCode);
    EXPECT_FALSE(table.HasContent());
    UseEntityFile("");
    EXPECT_EQ(table.LoadFile("default"), CodeSetResult::NotSupported);
    UseEntityFile(kEnd);
    EXPECT_EQ(table.FindEntityName(0), nullptr);
    EXPECT_EQ(table.FindEntityCode("amp"), EntityTable::kNoCode);
    EXPECT_TRUE(table.HasContent());
}

TEST(EntityTable, ContentStaysOnceRead) {
    UseEntityFile(OkuRecord("amp", 0x26) + kEnd);
    EntityTable& table = EntityTable::Global();
    EXPECT_EQ(table.FindEntityCode("amp"), 0x26);
    WriteFileBytes(GetDataDirectory() + "default.oku", OkuRecord("other", 0x26) + kEnd);
    EXPECT_EQ(table.LoadFile("default"), CodeSetResult::Ok);
    EXPECT_STREQ(table.FindEntityName(0x26), "amp");
    table.Clear();
    EXPECT_STREQ(table.FindEntityName(0x26), "other");
}

// Names an encoder could not fit in its 20-byte buffer never enter the table.
TEST(EntityTable, SkipsLongNamesAndUnfinishedRecords) {
    const std::string longest(EntityTable::kMaxNameLength, 'n');
    const std::string tooLong(EntityTable::kMaxNameLength + 1, 'm');
    UseEntityFile(OkuRecord(tooLong, 0x0100) + OkuRecord(longest, 0x0101) +
                  OkuRecord("after", 0x0102) + std::string("cut\0\x01", 5));
    EntityTable& table = EntityTable::Global();
    EXPECT_EQ(table.FindEntityName(0x0100), nullptr);
    EXPECT_EQ(table.FindEntityCode(tooLong.c_str()), EntityTable::kNoCode);
    EXPECT_EQ(table.FindEntityName(0x0101), longest);
    EXPECT_EQ(table.FindEntityCode("after"), 0x0102);
    EXPECT_EQ(table.FindEntityCode("cut"), EntityTable::kNoCode);
    Utf8CodeSet set;
    EXPECT_EQ(Encode(set, u'&', NamedEntities).result, CodeSetResult::NotSupported);
    // A file that ends inside a name.
    UseEntityFile(OkuRecord("amp", 0x26) + "unterminated");
    EXPECT_EQ(table.FindEntityCode("amp"), 0x26);
    EXPECT_EQ(table.FindEntityCode("unterminated"), EntityTable::kNoCode);
    EXPECT_EQ(table.FindEntityName(0x7465), nullptr);
}

class ParseEntity : public ::testing::Test {
protected:
    void SetUp() override { UseEntityFile(OkuRecord("amp", 0x26) + OkuRecord("lt", 0x3C) + kEnd); }
    Decoded Parse(const std::string& text) { return Decode(set, text, NamedEntities); }
    Utf8CodeSet set;
};

TEST_F(ParseEntity, Numbers) {
    Decoded d = Parse("&#233;rest");
    EXPECT_EQ(d.result, CodeSetResult::Ok);
    EXPECT_EQ(d.ch, 0xE9);
    EXPECT_EQ(d.consumed, 6u);
    EXPECT_TRUE(d.isEntity);
    EXPECT_EQ(Parse("&#xE9;").ch, 0xE9);
    EXPECT_EQ(Parse("&#xE9;").consumed, 6u);
    EXPECT_EQ(Parse("&#XE9;").ch, 0xE9);
    EXPECT_EQ(Parse("&#x4e00;").ch, 0x4E00);
    EXPECT_EQ(Parse("&#65601;").ch, u'A');
    Decoded empty = Parse("&#;");
    EXPECT_EQ(empty.result, CodeSetResult::Ok);
    EXPECT_EQ(empty.ch, 0);
    EXPECT_EQ(Parse("&#x;").ch, 0);
    // Values saturate at 2147483647 on every platform, so the low 16 bits are 0xFFFF.
    EXPECT_EQ(Parse("&#99999999999;").ch, 0xFFFF);
    EXPECT_EQ(Parse("&#2147483648;").ch, 0xFFFF);
    EXPECT_EQ(Parse("&#2147483647;").ch, 0xFFFF);
    EXPECT_EQ(Parse("&#2147418112;").ch, 0x0000);
    EXPECT_EQ(Parse("&#xFFFFFFFFFF;").ch, 0xFFFF);
    EXPECT_EQ(Parse("&#12a;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&#xg;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&#-5;").result, CodeSetResult::BadEntity);
}

TEST_F(ParseEntity, Names) {
    Decoded amp = Parse("&amp;x");
    EXPECT_EQ(amp.result, CodeSetResult::Ok);
    EXPECT_EQ(amp.ch, u'&');
    EXPECT_EQ(amp.consumed, 5u);
    EXPECT_EQ(Parse("&lt;").ch, u'<');
    EXPECT_EQ(Parse("&am p;").result, CodeSetResult::BadEntity);
    Decoded unterminated = Parse("&amp");
    EXPECT_EQ(unterminated.result, CodeSetResult::BadEntity);
    EXPECT_EQ(unterminated.consumed, 4u);
    EXPECT_EQ(Parse("&;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&AMP;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&am\tp;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&\xC3\xA9;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&").result, CodeSetResult::BadEntity);
}

TEST_F(ParseEntity, MissingTableRefusesNames) {
    SetDataDirectory(MakeTempDirectory("nooku"));
    EntityTable::Global().Clear();
    EXPECT_EQ(Parse("&amp;").result, CodeSetResult::BadEntity);
    EXPECT_EQ(Parse("&#38;").ch, u'&');
}

}  // namespace
