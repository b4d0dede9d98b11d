#include <gtest/gtest.h>

#include "CodeSetTestSupport.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/EntityFlags.h"
#include "codeset/SingleByteCodeSet.h"

namespace {

constexpr unsigned kEntities = ConversionEntityFlags;  // 0x065

class DoubleByte : public ::testing::Test {
protected:
    void SetUp() override {
        UseStandardEntities();
        ASSERT_EQ(LoadContent(holder, SmallDoubleByte()), CodeSetResult::Ok);
    }
    const CodeSet& set() const { return *holder.codeSet; }
    CodeSetHolder holder;
};

TEST_F(DoubleByte, DecodesSingleAndDoubleBytes) {
    Decoded a = Decode(set(), "\x41\x81\x40");
    EXPECT_EQ(a.result, CodeSetResult::Ok);
    EXPECT_EQ(a.ch, u'A');
    EXPECT_EQ(a.consumed, 1u);
    Decoded b = Decode(set(), "\x81\x40");
    EXPECT_EQ(b.result, CodeSetResult::Ok);
    EXPECT_EQ(b.ch, 0x4E00);
    EXPECT_EQ(b.consumed, 2u);
    EXPECT_FALSE(b.isEntity);
    EXPECT_EQ(Decode(set(), "\x81\x41").ch, 0x4E01);
    Decoded single = Decode(set(), "\xE9");
    EXPECT_EQ(single.ch, 0xE9);
    EXPECT_EQ(single.consumed, 1u);
}

TEST_F(DoubleByte, DecodingFailures) {
    Decoded cut = Decode(set(), "\x81");
    EXPECT_EQ(cut.result, CodeSetResult::Truncated);
    EXPECT_EQ(cut.consumed, 1u);
    EXPECT_EQ(cut.ch, 0xFFFD);
    Decoded empty = Decode(set(), "\x82\x40");
    EXPECT_EQ(empty.result, CodeSetResult::Undefined);
    EXPECT_EQ(empty.ch, 0xFFFD);
    EXPECT_EQ(empty.consumed, 2u);
    EXPECT_EQ(Decode(set(), "\x81\x42").result, CodeSetResult::Undefined);
    char16_t ch = 0;
    std::size_t consumed = 9;
    bool isEntity = true;
    EXPECT_EQ(set().DecodeChar(nullptr, ch, consumed, isEntity, 0), CodeSetResult::Ok);
    EXPECT_EQ(ch, 0xFFFD);
    EXPECT_FALSE(isEntity);
    EXPECT_EQ(set().DecodeCharRaw(nullptr, ch, consumed, isEntity, 0), CodeSetResult::NotSupported);
}

TEST_F(DoubleByte, Encodes) {
    EXPECT_EQ(Encode(set(), 0x4E01, 0).bytes, "\x81\x41");
    EXPECT_EQ(Encode(set(), 0xE9, 0).bytes, "\xE9");
    EXPECT_EQ(Encode(set(), u'A', 0).bytes, "A");
    EXPECT_EQ(Encode(set(), 0x2028, 0).bytes, "\r\n");
    Encoded missing = Encode(set(), 0x4E02, 0);
    EXPECT_EQ(missing.result, CodeSetResult::NotRepresentable);
    EXPECT_EQ(missing.bytes, "?");
    EXPECT_EQ(Encode(set(), 0x4E02, kEntities).bytes, "&#19970;");
    EXPECT_EQ(Encode(set(), 0x4E02, kEntities).result, CodeSetResult::Ok);
    EXPECT_EQ(Encode(set(), 0x4E02, HexEntities).bytes, "&#x4e02;");
    EXPECT_EQ(Encode(set(), 0x4E02, NamedEntities).result, CodeSetResult::NotRepresentable);
    EXPECT_TRUE(set().IsLeadByte(0x81));
    EXPECT_FALSE(set().IsLeadByte(0x80));
    EXPECT_FALSE(set().IsLeadByte(-1));
    EXPECT_FALSE(set().IsLeadByte(256));
    EXPECT_FALSE(set().IsLeadByte(0x81 + 256));
}

TEST_F(DoubleByte, SpecialCharacters) {
    EXPECT_EQ(Encode(set(), u'&', kEntities).bytes, "&amp;");
    EXPECT_EQ(Encode(set(), u'<', kEntities).bytes, "&lt;");
    EXPECT_EQ(Encode(set(), u'"', kEntities).bytes, "&quot;");
    EXPECT_EQ(Encode(set(), u'\'', kEntities).bytes, "&apos;");
    EXPECT_EQ(Encode(set(), u'>', kEntities).bytes, ">");
    EXPECT_EQ(Encode(set(), 0x0001, kEntities).bytes, "<");
    EXPECT_EQ(Encode(set(), u'<', kEntities, false).bytes, "<");
    EXPECT_EQ(Encode(set(), u'&', kEntities, false).bytes, "&amp;");
    // Without a form bit the rule does not apply at all.
    EXPECT_EQ(Encode(set(), u'<', EscapeQuotes).bytes, "<");
    EXPECT_EQ(Encode(set(), u'&', 0).bytes, "&");
    EXPECT_EQ(Encode(set(), 0x0001, 0).bytes, "\x01");
    EXPECT_EQ(Encode(set(), 0x0001, MarkerAsLessThan).bytes, "<");
    EXPECT_EQ(Encode(set(), u'&', DecimalFirst | NamedEntities).bytes, "&#38;");
    EXPECT_EQ(Encode(set(), 0xE9, DecimalFirst | NamedEntities).bytes, "\xE9");
}

TEST(DoubleByteSpecial, UnitsAtOrAboveTableStartAreNeverSpecial) {
    UseStandardEntities();
    CodeSetFileContent content = SmallDoubleByte();
    content.tableStart = 0x30;
    content.singleTable.assign(0xD0, 0xFFFF);
    content.singleTable[u'<' - 0x30] = u'<';
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    EXPECT_EQ(Encode(*holder.codeSet, u'&', kEntities).bytes, "&amp;");
    EXPECT_EQ(Encode(*holder.codeSet, u'<', kEntities).bytes, "<");
    // Entity text is read only below tableStart: '6' (0x36) is a table byte here.
    EXPECT_EQ(Decode(*holder.codeSet, "&#3", NamedEntities).result, CodeSetResult::BadEntity);
    EXPECT_EQ(Decode(*holder.codeSet, "&#6;", NamedEntities).result, CodeSetResult::BadEntity);
}

// Bytes and segments that the file's arrays do not cover stay inside the arrays.
TEST(DoubleByteBounds, ShortTablesDecodeAsUndefined) {
    CodeSetFileContent content = SmallDoubleByte();
    content.singleTable.resize(0x10);  // bytes 0x80..0x8F only
    content.SetSegment(0x83, 1, 500);  // reaches far past the two entries
    content.SetSegment(0x84, 40000, 40000);
    content.doubleCodes = {0x8140, 0x8341};
    content.doubleChars = {0x4E00, 0x4E01};
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    Decoded beyond = Decode(*holder.codeSet, "\xF0");
    EXPECT_EQ(beyond.result, CodeSetResult::Ok);
    EXPECT_EQ(beyond.ch, 0xFFFF);
    EXPECT_EQ(Decode(*holder.codeSet, "\x8F").ch, 0x8F);
    EXPECT_EQ(Decode(*holder.codeSet, "\x83\x41").ch, 0x4E01);
    EXPECT_EQ(Decode(*holder.codeSet, "\x83\x42").result, CodeSetResult::Undefined);
    EXPECT_EQ(Decode(*holder.codeSet, "\x84\x40").result, CodeSetResult::Undefined);
}

TEST(DoubleByteBounds, EncodingPrefersTheSingleByte) {
    CodeSetFileContent content = SmallDoubleByte();
    content.doubleChars[1] = 0xE9;  // also the single byte 0xE9
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    EXPECT_EQ(Encode(*holder.codeSet, 0xE9, 0).bytes, "\xE9");
}

class SingleByte : public ::testing::Test {
protected:
    void SetUp() override {
        UseStandardEntities();
        ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    }
    const CodeSet& set() const { return *holder.codeSet; }
    CodeSetHolder holder;
};

TEST_F(SingleByte, DecodesAndEncodes) {
    EXPECT_EQ(Decode(set(), "\x80").ch, 0x20AC);
    Decoded undefined = Decode(set(), "\x81");
    EXPECT_EQ(undefined.result, CodeSetResult::Ok);
    EXPECT_EQ(undefined.ch, 0xFFFF);
    EXPECT_EQ(Decode(set(), "a").ch, u'a');
    EXPECT_EQ(Encode(set(), 0x20AC, 0).bytes, "\x80");
    EXPECT_EQ(Encode(set(), u'a', 0).bytes, "a");
    EXPECT_EQ(Encode(set(), 0x2028, 0).bytes, "\r\n");
    EXPECT_EQ(Encode(set(), 0x0100, 0).bytes, "?");
    EXPECT_EQ(Encode(set(), 0x0100, 0).result, CodeSetResult::NotRepresentable);
    EXPECT_EQ(Encode(set(), 0x0100, kEntities).bytes, "&#256;");
    EXPECT_EQ(Encode(set(), u'&', kEntities).bytes, "&amp;");
    EXPECT_EQ(Encode(set(), u'<', kEntities).bytes, "&lt;");
    EXPECT_EQ(Encode(set(), u'<', EscapeQuotes).bytes, "<");
    EXPECT_EQ(Encode(set(), 0x0001, kEntities).bytes, "<");
    EXPECT_FALSE(set().IsLeadByte(0x80));
    char16_t ch = 0;
    std::size_t consumed = 0;
    bool isEntity = true;
    const unsigned char text[] = {0x80, 0};
    EXPECT_EQ(set().DecodeCharRaw(text, ch, consumed, isEntity, 0), CodeSetResult::Ok);
    EXPECT_EQ(ch, 0x20AC);
    EXPECT_EQ(consumed, 1u);
    EXPECT_FALSE(isEntity);
}

TEST_F(SingleByte, DecodesEntitiesOnlyWithTheFlag) {
    Decoded plain = Decode(set(), "&amp;");
    EXPECT_EQ(plain.ch, u'&');
    EXPECT_EQ(plain.consumed, 1u);
    Decoded entity = Decode(set(), "&amp;x", NamedEntities);
    EXPECT_EQ(entity.result, CodeSetResult::Ok);
    EXPECT_EQ(entity.ch, u'&');
    EXPECT_EQ(entity.consumed, 5u);
    EXPECT_TRUE(entity.isEntity);
    // Non-ASCII bytes end an entity.
    EXPECT_EQ(Decode(set(), "&#\xE9;", NamedEntities).result, CodeSetResult::BadEntity);
}

TEST(SingleByteLow, TableCoveringAsciiRemapsGeneratedText) {
    UseStandardEntities();
    // tableStart 0; byte b holds U+00FF - b, so ASCII characters sit on high bytes.
    std::vector<char16_t> table;
    for (unsigned b = 0; b < 256; ++b)
        table.push_back(static_cast<char16_t>(0xFF - b));
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0, table)), CodeSetResult::Ok);
    const CodeSet& set = *holder.codeSet;
    auto mapped = [](const std::string& ascii) {
        std::string out;
        for (char c : ascii)
            out += static_cast<char>(0xFF - static_cast<unsigned char>(c));
        return out;
    };
    EXPECT_EQ(Encode(set, u'&', 0).bytes, mapped("&"));
    EXPECT_EQ(Encode(set, 0x0100, kEntities).bytes, mapped("&#256;"));
    EXPECT_EQ(Encode(set, 0x0100, 0).bytes, mapped("?"));
    EXPECT_EQ(Encode(set, 0x2028, 0).bytes, mapped("\r\n"));
    EXPECT_EQ(Encode(set, 0x0001, kEntities).bytes, mapped("<"));
    EXPECT_EQ(Encode(set, u'&', kEntities).bytes, mapped("&amp;"));
    // Decoding maps first: the byte that holds '&' starts an entity written in mapped bytes.
    Decoded d = Decode(set, mapped("&#65;"), NamedEntities);
    EXPECT_EQ(d.result, CodeSetResult::Ok);
    EXPECT_EQ(d.ch, u'A');
    EXPECT_EQ(d.consumed, 5u);
    EXPECT_EQ(Decode(set, "&", 0).ch, 0xFF - '&');
}

TEST(SingleByteLow, RemappingDependsOnWhatWasWritten) {
    UseStandardEntities();
    // tableStart 40: '<' (60) and '?' (63) are table bytes, CR LF and '&' are below it.
    std::vector<char16_t> table(216, 0xFFFF);
    table['<' - 40] = 0x3C00;
    table[0x90 - 40] = u'<';
    table[0x91 - 40] = u'?';
    table[0x92 - 40] = u';';
    table[0x93 - 40] = u'#';
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(40, table)), CodeSetResult::Ok);
    const CodeSet& set = *holder.codeSet;
    EXPECT_EQ(Encode(set, 0x0001, kEntities).bytes, "\x90");
    EXPECT_EQ(Encode(set, 0x0001, MarkerAsLessThan).bytes, "\x90");
    EXPECT_EQ(Encode(set, 0x0100, 0).bytes, "\x91");
    EXPECT_EQ(Encode(set, 0x0100, kEntities).bytes,
              "&\x93"
              "256\x92");
    // Units below tableStart are written as themselves.
    EXPECT_EQ(Encode(set, u'#', 0).bytes, "#");
    EXPECT_EQ(Encode(set, 0x2028, 0).bytes, "\r\n");
    EXPECT_EQ(Encode(set, 0x3C00, 0).bytes, "<");
    // tableStart 61 and up: '<' and '?' are never remapped even when the table holds them.
    table.erase(table.begin(), table.begin() + 30);
    ASSERT_EQ(LoadContent(holder, SingleByteContent(70, table)), CodeSetResult::Ok);
    EXPECT_EQ(Encode(*holder.codeSet, 0x0001, kEntities).bytes, "<");
    EXPECT_EQ(Encode(*holder.codeSet, 0x0100, 0).bytes, "?");
    EXPECT_EQ(Encode(*holder.codeSet, 0x0100, kEntities).bytes,
              "&\x93"
              "256\x92");
}

TEST(SingleByteLow, HighTableStartKeepsEntitiesAscii) {
    UseStandardEntities();
    std::vector<char16_t> table(128, u'&');  // every high byte claims to be '&'
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0x80, table)), CodeSetResult::Ok);
    EXPECT_EQ(Encode(*holder.codeSet, 0x0100, kEntities).bytes, "&#256;");
    Decoded d = Decode(*holder.codeSet, "\x80#65;", NamedEntities);
    EXPECT_EQ(d.result, CodeSetResult::Ok);
    EXPECT_EQ(d.ch, u'&');
    EXPECT_FALSE(d.isEntity);
}

TEST(SingleByteLow, UndefinedAndMissingBytes) {
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0xA0, {0x00A0, 0xFFFF})), CodeSetResult::Ok);
    EXPECT_EQ(Decode(*holder.codeSet, "\xA0").ch, 0xA0);
    EXPECT_EQ(Decode(*holder.codeSet, "\xA1").ch, 0xFFFF);
    EXPECT_EQ(Decode(*holder.codeSet, "\xA2").ch, 0xFFFF);
    EXPECT_EQ(Decode(*holder.codeSet, "\xFF").result, CodeSetResult::Ok);
    EXPECT_EQ(Decode(*holder.codeSet, "\xFF").ch, 0xFFFF);
}

// Entries of a malformed file that no byte can stand for are left out of encoding, and the
// zero byte, which ends every text, never starts a two-byte character.
TEST(MalformedTables, EntriesOutsideTheByteRangeAndLeadByteZero) {
    std::vector<char16_t> longTable(200, 0xFFFF);
    longTable[0] = 0x0410;
    longTable[0xC7] = 0x0416;  // would be byte 0x80 + 0xC7 = 0x147
    CodeSetHolder single;
    ASSERT_EQ(LoadContent(single, SingleByteContent(0x80, longTable)), CodeSetResult::Ok);
    EXPECT_EQ(Encode(*single.codeSet, 0x0410, 0).bytes, "\x80");
    EXPECT_EQ(Encode(*single.codeSet, 0x0416, 0).bytes, "?");
    // U+FFFF marks the undefined bytes: it is not representable either.
    Encoded undefined = Encode(*single.codeSet, 0xFFFF, 0);
    EXPECT_EQ(undefined.result, CodeSetResult::NotRepresentable);
    EXPECT_EQ(undefined.bytes, "?");

    CodeSetFileContent content = SmallDoubleByte();
    content.tableStart = 0;
    content.singleTable.assign(300, 0xFFFF);
    for (unsigned b = 0; b < 0x80; ++b)
        content.singleTable[b] = static_cast<char16_t>(b);
    content.singleTable[0x120] = 0x0416;
    content.leadBytes[0] = 1;
    content.SetSegment(0, 0, 2);
    content.doubleCodes = {0x0041, 0x8140};
    content.doubleChars = {0x4E00, 0x4E01};
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    const CodeSet& set = *holder.codeSet;
    EXPECT_FALSE(set.IsLeadByte(0));
    EXPECT_EQ(Encode(set, 0x0416, 0).bytes, "?");
    EXPECT_EQ(Encode(set, 0xFFFF, 0).bytes, "?");
    // A text that ends at a zero byte before more bytes, decoded in one piece.
    const unsigned char bytes[] = {'x', 0, 'A', 0};
    std::u16string units;
    std::size_t position = 0;
    EXPECT_EQ(set.DecodeText(bytes, 3, position, units, 0), CodeSetResult::Ok);
    EXPECT_EQ(units, u"x");
    EXPECT_EQ(position, 1u);
}

// Half of a surrogate pair is no character: no byte and no entity; the pair is one.
TEST(TableSurrogates, PairsAreOneCharacterAndHalvesNone) {
    UseStandardEntities();
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    const CodeSet& set = *holder.codeSet;
    constexpr unsigned kEntities = ConversionEntityFlags;
    EXPECT_EQ(Encode(set, 0xD83D, kEntities).bytes, "?");
    EXPECT_EQ(Encode(set, 0xDE00, kEntities).result, CodeSetResult::NotRepresentable);
    const char16_t pair[] = {0xD83D, 0xDE00};
    char out[CodeSet::kCharBufferSize] = {};
    std::size_t taken = 0;
    EXPECT_EQ(set.EncodeNext(pair, 2, taken, out, kEntities, true), CodeSetResult::Ok);
    EXPECT_EQ(std::string(out), "&#128512;");
    EXPECT_EQ(taken, 2u);
    EXPECT_EQ(set.EncodeNext(pair, 2, taken, out, 0, true), CodeSetResult::NotRepresentable);
    EXPECT_EQ(std::string(out), "?");
    EXPECT_EQ(set.EncodeNext(pair, 1, taken, out, kEntities, true),
              CodeSetResult::NotRepresentable);
    EXPECT_EQ(taken, 1u);
}

}  // namespace
