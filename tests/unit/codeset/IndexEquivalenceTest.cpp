#include <gtest/gtest.h>

#include "CodeSetTestSupport.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/SingleByteCodeSet.h"

// The code sets answer from indexes built at load time. These tests compare every answer with
// a plain linear search over the file's arrays, lowest index first, on tables that hold
// characters more than once.
namespace {

// Encoding without entities: the first singleTable entry, then the first doubleChars entry.
std::string LinearEncode(const DoubleByteCodeSet& set, char16_t unit) {
    if (unit < set.tableStart)
        return unit == 0 ? "" : std::string(1, static_cast<char>(unit));
    if (unit == 0x2028)
        return "\r\n";
    // The undefined marker and half a surrogate pair are no characters.
    if (unit == 0xFFFF || (unit >= 0xD800 && unit <= 0xDFFF))
        return "?";
    for (std::int32_t i = 0; i < set.singleCount; ++i) {
        if (set.singleTable[i] == unit)
            return std::string(1, static_cast<char>(set.tableStart + i));
    }
    for (std::int32_t i = 0; i < set.doubleCount; ++i) {
        if (set.doubleChars[i] == unit) {
            std::string out{static_cast<char>(set.doubleCodes[i] >> 8),
                            static_cast<char>(set.doubleCodes[i] & 0xFF)};
            return out.c_str();
        }
    }
    return "?";
}

// Decoding of one lead byte and trail byte: the lead byte's segment only, within the arrays.
Decoded LinearDecodePair(const DoubleByteCodeSet& set, unsigned lead, unsigned trail) {
    const std::uint16_t code = static_cast<std::uint16_t>(lead * 256 + trail);
    const std::int64_t first = set.segmentStart[lead];
    for (std::int64_t i = first; i < first + set.segmentCount[lead] && i < set.doubleCount; ++i) {
        if (set.doubleCodes[i] == code)
            return {CodeSetResult::Ok, set.doubleChars[i], 2, false};
    }
    return {CodeSetResult::Undefined, 0xFFFD, 2, false};
}

CodeSetFileContent DuplicatingDoubleByte() {
    CodeSetFileContent content;
    content.kind = 4;
    content.tableStart = 0x80;
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        content.singleTable.push_back(0xFFFF);
    content.singleTable[0x10] = 0x00E9;  // also in doubleChars
    content.singleTable[0x11] = 0x3000;
    content.singleTable[0x12] = 0x3000;  // twice among the singles
    // Lead 0x81: 0x8140 twice with different characters, U+4E00 under two codes.
    // Lead 0x82: shares U+4E00 with lead 0x81; its segment also covers an entry of 0x83.
    // Lead 0x83: segment reaches past the end of the arrays.
    content.doubleCodes = {0x8140, 0x8140, 0x8141, 0x8142, 0x8240, 0x8241, 0x8340, 0x8341};
    content.doubleChars = {0x4E00, 0x4E01, 0x4E00, 0x00E9, 0x4E00, 0x4E02, 0x4E03, 0x4E04};
    content.SetSegment(0x81, 0, 4);
    content.SetSegment(0x82, 4, 3);
    content.SetSegment(0x83, 6, 10);
    // A lead byte whose segment points at another lead byte's entries only.
    content.SetSegment(0x84, 0, 4);
    return content;
}

TEST(IndexEquivalence, DoubleByteEncodingMatchesLinearSearch) {
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, DuplicatingDoubleByte()), CodeSetResult::Ok);
    const auto& set = dynamic_cast<const DoubleByteCodeSet&>(*holder.codeSet);
    EXPECT_EQ(Encode(set, 0x00E9, 0).bytes, "\x90");
    EXPECT_EQ(Encode(set, 0x3000, 0).bytes, "\x91");
    EXPECT_EQ(Encode(set, 0x4E00, 0).bytes, "\x81\x40");
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t u = static_cast<char16_t>(unit);
        ASSERT_EQ(Encode(set, u, 0).bytes, LinearEncode(set, u)) << "unit " << unit;
    }
}

TEST(IndexEquivalence, DoubleByteDecodingMatchesLinearSearch) {
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, DuplicatingDoubleByte()), CodeSetResult::Ok);
    const auto& set = dynamic_cast<const DoubleByteCodeSet&>(*holder.codeSet);
    EXPECT_EQ(Decode(set, "\x81\x40").ch, 0x4E00);
    EXPECT_EQ(Decode(set, "\x82\x41").ch, 0x4E02);
    EXPECT_EQ(Decode(set, "\x82\x40").ch, 0x4E00);
    EXPECT_EQ(Decode(set, "\x83\x41").ch, 0x4E04);
    EXPECT_EQ(Decode(set, "\x84\x40").result, CodeSetResult::Undefined);
    for (unsigned lead = 0; lead < 256; ++lead) {
        for (unsigned trail = 1; trail < 256; ++trail) {
            const std::string text{static_cast<char>(lead), static_cast<char>(trail)};
            Decoded got = Decode(set, text);
            if (lead < set.tableStart) {
                ASSERT_EQ(got.ch, lead);
            } else if (!set.IsLeadByte(lead)) {
                ASSERT_EQ(got.ch, set.singleTable[lead - set.tableStart]);
            } else {
                Decoded want = LinearDecodePair(set, lead, trail);
                ASSERT_EQ(got.result, want.result) << lead << " " << trail;
                ASSERT_EQ(got.ch, want.ch) << lead << " " << trail;
                ASSERT_EQ(got.consumed, 2u);
            }
        }
    }
}

TEST(IndexEquivalence, SingleByteMatchesLinearSearch) {
    // tableStart 0x20 with 300 entries: some characters occur twice, and the entries past
    // byte 0xFF stand for no byte (U+0200 and up are only there).
    std::vector<char16_t> table(300);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<char16_t>(i < 224 ? 0x100 + i % 97 : 0x200 + i);
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0x20, table)), CodeSetResult::Ok);
    const auto& set = dynamic_cast<const SingleByteCodeSet&>(*holder.codeSet);
    for (unsigned unit = 0x20; unit <= 0xFFFF; ++unit) {
        std::string want = "?";
        for (std::int32_t i = 0; i < 256 - set.tableStart; ++i) {
            if (set.singleTable[i] == unit) {
                want = std::string(1, static_cast<char>(set.tableStart + i)).c_str();
                break;
            }
        }
        if (unit == 0x2028)
            want = "\r\n";
        ASSERT_EQ(Encode(set, static_cast<char16_t>(unit), 0).bytes, want) << unit;
    }
    for (unsigned b = 1; b < 256; ++b) {
        const char16_t want = b < 0x20 ? b : set.singleTable[b - 0x20];
        ASSERT_EQ(Decode(set, std::string(1, static_cast<char>(b))).ch, want) << b;
    }
}

}  // namespace
