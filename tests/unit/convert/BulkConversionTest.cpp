// The whole-text conversions of ConvertedText must give exactly what one CodeSet call per
// character gives. These tests compare them with that per-character path on every shipped
// table and on small tables of unusual shapes, over random and adversarial texts, with the
// entity flags on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "CodeSetFiles.h"
#include "TableUnits.h"
#include "TestPaths.h"
#include "codeset/BulkText.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityTable.h"
#include "convert/BuildRtf.h"
#include "convert/ConvertedText.h"

namespace {

struct Decoding {
    std::u16string units;
    std::size_t bytesRead = 0;
    bool reachedEnd = true;
    CodeSetResult result = CodeSetResult::Ok;
};

// One DecodeCodePoint per character (one or two units), stopping at the first error.
Decoding DecodePerCharacter(const CodeSet& codeSet, const std::string& text, unsigned flags) {
    Decoding decoding;
    const std::size_t length = std::strlen(text.c_str());
    // The UTF-16 decoder reads a whole unit, and an entity up to a zero unit: it gets the two
    // zero bytes that its DecodeText gives it too.
    const std::string padded = text.substr(0, length) + std::string(2, '\0');
    const auto* bytes = reinterpret_cast<const unsigned char*>(padded.c_str());
    std::size_t position = 0;
    while (position < length) {
        char32_t codePoint = 0;
        std::size_t consumed = 0;
        bool isEntity = false;
        const CodeSetResult result =
            codeSet.DecodeCodePoint(bytes + position, codePoint, consumed, isEntity, flags);
        if (result != CodeSetResult::Ok || consumed == 0) {
            decoding.reachedEnd = false;
            decoding.result = result;
            break;
        }
        if (codePoint > 0xFFFF) {
            decoding.units.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            decoding.units.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            decoding.units.push_back(static_cast<char16_t>(codePoint));
        }
        position = std::min(position + consumed, length);
    }
    decoding.bytesRead = position;
    return decoding;
}

// One EncodeChar per unit, or EncodeCodePoint per surrogate pair, into a zero-filled buffer,
// appended up to its first zero byte.
std::string EncodePerCharacter(const CodeSet& codeSet, const std::u16string& units,
                               unsigned flags) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char buffer[CodeSet::kCharBufferSize] = {};
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            const char32_t codePoint = 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00);
            codeSet.EncodeCodePoint(codePoint, buffer, flags, true);
        } else {
            codeSet.EncodeChar(unit, buffer, flags, true);
        }
        buffer[CodeSet::kCharBufferSize - 1] = '\0';
        out += buffer;
    }
    return out;
}

const unsigned kDecodeFlags[] = {0x000, 0x001, 0x065};
const unsigned kEncodeFlags[] = {0x000, 0x065, 0x001, 0x002, 0x004, 0x020,
                                 0x040, 0x080, 0x0E0, 0x100, 0x1FF, 0x0A1};

// Tables whose shapes the shipped ones don't have: the ASCII range inside the table and
// mapped elsewhere, characters held twice, a zero byte as a character's code, U+2028 in the
// table, special characters above tableStart, segments that overlap or run off the end.
std::string WriteUnusualTables() {
    const std::string dir = MakeTempDirectory("bulk-tables");
    CodeSetFileContent whole;
    whole.name = "sb-whole";
    whole.kind = 3;
    whole.tableStart = 0;
    for (unsigned b = 0; b < 256; ++b)
        whole.singleTable.push_back(static_cast<char16_t>(b));
    std::swap(whole.singleTable['&'], whole.singleTable['A']);
    std::swap(whole.singleTable['#'], whole.singleTable[0xA3]);
    std::swap(whole.singleTable['?'], whole.singleTable[0xBF]);
    whole.singleTable[';'] = 0x2028;
    whole.singleTable[0x80] = 0x00E9;
    whole.singleTable[0x81] = 0x00E9;
    whole.singleTable[0x82] = 0x0000;
    whole.singleTable[0x83] = 0xFFFF;
    WriteCodeSetFile(dir, "sb-whole", whole);

    CodeSetFileContent partial;
    partial.name = "sb-partial";
    partial.kind = 3;
    partial.tableStart = 0x30;
    for (unsigned b = 0x30; b < 0xC0; ++b)
        partial.singleTable.push_back(static_cast<char16_t>(b < 0x80 ? b ^ 0x20 : b + 0x300));
    partial.singleTable[0] = u'&';
    WriteCodeSetFile(dir, "sb-partial", partial);

    // Latin-1 from 0xA0 up, but U+00E9 held first by 0x85: encoding must give 0x85.
    CodeSetFileContent latin;
    latin.name = "sb-latin";
    latin.kind = 3;
    latin.tableStart = 0x80;
    for (unsigned b = 0x80; b < 0x100; ++b)
        latin.singleTable.push_back(static_cast<char16_t>(b < 0xA0 ? 0x2500 + b : b));
    latin.singleTable[0x05] = 0x00E9;
    latin.singleTable[0x06] = 0x2028;
    latin.singleTable[0x07] = 0xFFFF;
    WriteCodeSetFile(dir, "sb-latin", latin);

    CodeSetFileContent twoBytes;
    twoBytes.name = "db-odd";
    twoBytes.kind = 4;
    twoBytes.tableStart = 0x30;
    for (unsigned b = 0x30; b < 0x100; ++b)
        twoBytes.singleTable.push_back(b == 0x31 ? char16_t(0x4E00) : static_cast<char16_t>(b));
    twoBytes.leadBytes[0x20] = 1;  // below tableStart: never a lead byte
    twoBytes.doubleCodes = {0x8140, 0x8140, 0x8141, 0x8100, 0x8242, 0x0041, 0x8243, 0x8340};
    twoBytes.doubleChars = {0x4E00, 0x4E01, 0x3042, 0x3043, 0x3042, 0x3044, 0x2028, 0x00E9};
    twoBytes.SetSegment(0x81, 0, 4);
    twoBytes.SetSegment(0x82, 3, 4);
    twoBytes.SetSegment(0x83, 6, 40);
    WriteCodeSetFile(dir, "db-odd", twoBytes);
    return dir;
}

std::vector<std::string> FindTablePaths() {
    std::vector<std::string> paths;
    for (const std::string& dir : {DataDirectoryForTests(), WriteUnusualTables()}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".okc")
                paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Listed once, however often the test framework asks.
const std::vector<std::string>& TablePaths() {
    static const std::vector<std::string> paths = FindTablePaths();
    return paths;
}

class BulkConversionTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        // The shipped entity names, so that named entities are written and read.
        SetDataDirectory(DataDirectoryForTests());
        EntityTable::Global().Clear();
        ASSERT_EQ(holder.Load(GetParam()), CodeSetResult::Ok) << GetParam();
        text.codeSetHolder = &holder;
    }

    // Also decodes the text followed by a zero byte and after, handed over with the size of
    // the whole: the decoding must end at that zero just the same.
    void ExpectSameDecoding(const std::string& bytes, unsigned flags,
                            const std::string& after = "ab\x82\xA0&amp;c") {
        const Decoding expected = DecodePerCharacter(*holder.codeSet, bytes, flags);
        text.decodeFlags = static_cast<std::int32_t>(flags);
        const std::string withMore = bytes + '\0' + after;
        for (int sized = 0; sized < 2; ++sized) {
            const MultibyteDecoding progress =
                sized ? text.SetFromMultibyte(withMore.c_str(), withMore.size())
                      : text.SetFromMultibyte(bytes.c_str());
            ASSERT_EQ(text.unicode, expected.units)
                << Describe(bytes) << " flags " << flags << " sized " << sized;
            ASSERT_EQ(progress.bytesRead, expected.bytesRead) << Describe(bytes);
            ASSERT_EQ(progress.reachedEnd, expected.reachedEnd) << Describe(bytes);
            ASSERT_EQ(progress.result, expected.result) << Describe(bytes);
        }
    }

    void ExpectSameEncoding(const std::u16string& units) {
        for (unsigned flags : kEncodeFlags) {
            text.unicode = units;
            text.encodeFlags = static_cast<std::int32_t>(flags);
            ASSERT_EQ(text.ToMultibyte(), EncodePerCharacter(*holder.codeSet, units, flags))
                << GetParam() << " flags " << flags << " units " << units.size();
        }
    }

    static std::string Describe(const std::string& bytes) {
        std::string out;
        char hex[4];
        for (std::size_t i = 0; i < bytes.size() && i < 64; ++i) {
            std::snprintf(hex, sizeof hex, "%02x ", static_cast<unsigned char>(bytes[i]));
            out += hex;
        }
        return out;
    }

    CodeSetHolder holder;
    ConvertedText text;
    std::mt19937 random{12345};
};

TEST_P(BulkConversionTest, DecodesEveryByteAndPairLikeThePerCharacterPath) {
    std::string all;
    for (unsigned b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    for (unsigned flags : kDecodeFlags) {
        ExpectSameDecoding(all, flags);
        ExpectSameDecoding("", flags);
        for (unsigned lead = 1; lead < 256; ++lead) {
            if (holder.kind == Utf8Kind && lead >= 0xC0) {
                // Every byte after a lead byte and after one and two good trail bytes, at the
                // end of the text and with a block of ASCII after it.
                for (unsigned trail = 1; trail < 256; ++trail) {
                    for (const char* good : {"", "\x80", "\xBF\x80"}) {
                        const std::string sequence = std::string(1, static_cast<char>(lead)) +
                                                     good + static_cast<char>(trail);
                        ExpectSameDecoding(sequence, flags);
                        ExpectSameDecoding("a" + sequence + "&bcdefghijklmnopq", flags);
                    }
                }
            }
            if (!holder.codeSet->IsLeadByte(static_cast<int>(lead))) {
                ExpectSameDecoding(std::string("x") + static_cast<char>(lead) + "y", flags);
                continue;
            }
            // A lead byte at the very end, then with every trail byte.
            ExpectSameDecoding(std::string("ab") + static_cast<char>(lead), flags);
            for (unsigned trail = 1; trail < 256; ++trail) {
                ExpectSameDecoding(
                    std::string("a") + static_cast<char>(lead) + static_cast<char>(trail) + "&b",
                    flags);
            }
        }
    }
}

TEST_P(BulkConversionTest, DecodesRandomTextsWithEntitiesLikeThePerCharacterPath) {
    const char* const pieces[] = {"&amp;",
                                  "&#233;",
                                  "&#x41;",
                                  "&eacute;",
                                  "&bogus;",
                                  "&#;",
                                  "&#x;",
                                  "&",
                                  "&#12",
                                  "& x;",
                                  "&#65536;",
                                  ";",
                                  "\xF0\x9F\x98\x80",
                                  "\xF4\x8F\xBF\xBF",
                                  "\xF4\x90\x80\x80"};
    // Text the code set wrote itself: real characters, decoding to the end.
    std::u16string units = TableUnits(*holder.codeSet);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 120);
        for (int i = 0; i < length; ++i) {
            switch (random() % 7) {
                case 0:
                    bytes += pieces[random() % (sizeof pieces / sizeof pieces[0])];
                    break;
                case 6: {
                    // A run of ASCII that moves what follows across the blocks, then a
                    // character from anywhere in Unicode as the code set writes it.
                    bytes.append(random() % 40, static_cast<char>('a' + random() % 26));
                    const char32_t ranges[] = {0x80, 0x800, 0x10000, 0x110000};
                    const int range = static_cast<int>(random() % 3);
                    const char32_t codePoint =
                        ranges[range] + random() % (ranges[range + 1] - ranges[range]);
                    char buffer[CodeSet::kCharBufferSize] = {};
                    holder.codeSet->EncodeCodePoint(codePoint, buffer, 0, false);
                    bytes += buffer;
                    break;
                }
                case 1:
                    bytes += static_cast<char>('a' + random() % 26);
                    break;
                case 2:
                    if (!units.empty()) {
                        ConvertedText one;
                        one.codeSetHolder = &holder;
                        one.unicode.assign(1, units[random() % units.size()]);
                        bytes += one.ToMultibyte();
                    }
                    break;
                default:
                    bytes += static_cast<char>(1 + random() % 255);
                    break;
            }
        }
        for (unsigned flags : kDecodeFlags)
            ExpectSameDecoding(bytes, flags);
        // Cut at every byte: sequences and entities end at every distance from a block.
        for (std::size_t cut = 0; round < 30 && cut < bytes.size(); ++cut)
            ExpectSameDecoding(bytes.substr(0, cut), 0x065, bytes.substr(cut));
    }
}

TEST_P(BulkConversionTest, DecodesLongTextsAcrossBlocksAndChunksLikeThePerCharacterPath) {
    // Mostly ASCII, as prose is, so that whole blocks take the fast paths, with the table's
    // own characters, entities and any byte between; the text ends at many distances from
    // a block boundary, around the boundaries of the chunks decoded at a time, and with a
    // zero byte inside a block that more text follows.
    const std::u16string units = TableUnits(*holder.codeSet);
    std::string bytes;
    while (bytes.size() < kDecodeChunk + 1000) {
        const unsigned pick = random() % 64;
        if (pick < 48) {
            bytes += pick < 8 ? ' ' : static_cast<char>('a' + random() % 26);
        } else if (pick < 58 && !units.empty()) {
            ConvertedText one;
            one.codeSetHolder = &holder;
            one.unicode.assign(1, units[random() % units.size()]);
            bytes += one.ToMultibyte();
        } else if (pick < 61) {
            bytes += "&eacute;";
        } else {
            bytes += static_cast<char>(1 + random() % 255);
        }
    }
    std::vector<std::size_t> cuts = {bytes.size()};
    for (std::size_t at : {std::size_t(0), std::size_t(1024), kDecodeChunk}) {
        for (std::size_t k = 0; k < 34; k += 1 + random() % 4) {
            if (at + k >= 17)
                cuts.push_back(at + k - 17);
        }
    }
    for (unsigned flags : kDecodeFlags) {
        for (std::size_t cut : cuts)
            ExpectSameDecoding(bytes.substr(0, cut), flags, bytes.substr(cut));
        // Decoded onto the end of a string, the text leaves what was there before it.
        std::u16string appended = u"kept";
        std::size_t position = 0;
        holder.codeSet->DecodeText(reinterpret_cast<const unsigned char*>(bytes.c_str()),
                                   bytes.size(), position, appended, flags);
        ASSERT_EQ(appended, u"kept" + DecodePerCharacter(*holder.codeSet, bytes, flags).units);
    }
}

TEST_P(BulkConversionTest, EncodesEveryUnitLikeThePerCharacterPath) {
    std::u16string all;
    for (unsigned unit = 0; unit < 0x10000; ++unit)
        all += static_cast<char16_t>(unit);
    ExpectSameEncoding(all);
    ExpectSameEncoding(u"");
    // Surrogate pairs all along a long text: the windows of output that their
    // representations fill end before a pair, inside a run and after one.
    std::u16string pairs(4095, u'a');
    while (pairs.size() < 9000)
        pairs += u"\xD83D\xDE00\x00E9\xDBFF";
    ExpectSameEncoding(pairs);
}

TEST_P(BulkConversionTest, EncodesRandomTextsLikeThePerCharacterPath) {
    const std::u16string tableUnits = TableUnits(*holder.codeSet);
    const std::u16string special = {0x0001, u'"', u'&', u'\'', u'<', u'>', 0x2028, 0x0000, 0xFFFF,
                                    0xD800, 0xDC00, 0x20AC, 0x00E9, u'?', u';', u'#', 0xD83D,
                                    0xDE00, 0xDBFF, 0xDFFF,
                                    // Where the UTF-8 lengths change.
                                    0x007F, 0x0080, 0x07FF, 0x0800, 0xD7FF, 0xE000};
    for (int round = 0; round < 100; ++round) {
        std::u16string units;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            switch (random() % 6) {
                case 0:
                    units += special[random() % special.size()];
                    break;
                case 5:
                    // Latin-1 letters among ASCII, as in prose: blocks of them at once where
                    // the table has them all.
                    for (int n = static_cast<int>(random() % 40); n > 0; --n)
                        units += static_cast<char16_t>(random() % 4 != 0 ? u'a' + random() % 26
                                                                         : 0xC0 + random() % 64);
                    break;
                case 1:
                    units += static_cast<char16_t>(random() % 0x10000);
                    break;
                case 2:
                    // Runs of ASCII across the blocks that are narrowed at once.
                    units.append(random() % 40, static_cast<char16_t>(u'a' + random() % 26));
                    break;
                default:
                    units += tableUnits.empty() ? static_cast<char16_t>(random() % 128)
                                                : tableUnits[random() % tableUnits.size()];
                    break;
            }
        }
        ExpectSameEncoding(units);
    }
}

TEST_P(BulkConversionTest, LongRtfDocumentMatchesOneRenderingPerUnit) {
    // Long documents encode each distinct unit once; the body must be what one
    // CharToMultibyte per unit gives.
    const std::u16string tableUnits = TableUnits(*holder.codeSet);
    const std::u16string mix = u"ab\\{}\r\n\x7F\xFF71\x20AC&<\"'\x2028\x00E9\xFFFF\xD83D\xDE00";
    std::u16string units;
    while (units.size() < 9000) {
        units += mix[random() % mix.size()];
        if (!tableUnits.empty())
            units += tableUnits[random() % tableUnits.size()];
        // Runs of printable ASCII, as in prose, markup and entity characters among them.
        for (int n = random() % 4 == 0 ? static_cast<int>(random() % 40) : 0; n > 0; --n)
            units += static_cast<char16_t>(0x20 + random() % 0x5F);
    }
    for (unsigned flags : {0x000u, 0x065u}) {
        text.encodeFlags = static_cast<std::int32_t>(flags);
        text.unicode = units;
        const std::string document = BuildRtf(text, 1033);
        const std::string lastRendering = text.multibyte;

        ConvertedText probe;
        probe.codeSetHolder = &holder;
        probe.encodeFlags = text.encodeFlags;
        probe.unicode = units;
        // The header and language piece of an empty document.
        ConvertedText empty;
        empty.codeSetHolder = &holder;
        std::string expected = BuildRtf(empty, 1033);
        expected.pop_back();  // the closing brace
        std::size_t fallbackCount = 1;
        std::size_t last = 0;
        auto value = [&](char16_t unit) {
            expected += "\\u" + std::to_string(static_cast<unsigned>(unit));
        };
        auto hex = [&](unsigned char byte) {
            char piece[8];
            std::snprintf(piece, sizeof piece, "\\'%02x", byte);
            expected += piece;
        };
        auto single = [&](char16_t unit) {
            if (fallbackCount != 1)
                expected += "\\uc1";
            fallbackCount = 1;
            value(unit);
            expected += ' ';
        };
        for (std::size_t i = 0; i < units.size(); ++i) {
            const char16_t unit = units[i];
            if (unit == u'\r' && i + 1 < units.size() && units[i + 1] == u'\n')
                continue;
            if (unit == u'\n' || unit == u'\r') {
                expected += "\\par ";
            } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
                expected += '\\';
                expected += static_cast<char>(unit);
            } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                single(unit);
                expected += '?';
            } else {
                const std::string bytes = probe.CharToMultibyte(i);
                last = i;
                if (bytes.size() >= 2) {
                    expected += "\\uc" + std::to_string(bytes.size());
                    fallbackCount = bytes.size();
                    value(unit);
                    for (char byte : bytes)
                        hex(static_cast<unsigned char>(byte));
                } else if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) == unit &&
                           unit < 127) {
                    expected += bytes[0];
                } else {
                    single(unit);
                    const auto byte = static_cast<unsigned char>(bytes.empty() ? '?' : bytes[0]);
                    if (byte > ' ' && byte < 127 && byte != '\\' && byte != '{' && byte != '}')
                        expected += static_cast<char>(byte);
                    else
                        hex(byte);
                }
            }
        }
        expected += '}';
        ASSERT_EQ(document, expected) << GetParam() << " flags " << flags;
        // The text's multibyte keeps the last rendering, as with one call per unit.
        EXPECT_EQ(lastRendering, probe.CharToMultibyte(last));
    }
}

#if defined(PEL_SSSE3)
// Run on an emulated processor without SSSE3, the conversions above take the baseline
// kernels: that run proves nothing if the processor has it after all.
TEST(Utf8Kernels, BaselineWhereExpected) {
    if (std::getenv("PEL_EXPECT_NO_SSSE3") != nullptr) {
        EXPECT_FALSE(HasSsse3());
    }
}

// The conversions above take the SSSE3 kernels on a processor that has them; the ones that
// the others take must give the same.
TEST(Utf8Kernels, ShortBlocksWithAShuffleMatchThoseOfTheBaseline) {
    if (!HasSsse3())
        GTEST_SKIP() << "no SSSE3";
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        // Every mix of one-byte and two-byte lanes, around both ends of each range.
        alignas(16) char16_t units[8];
        for (char16_t& unit : units) {
            const unsigned pick = random() % 4;
            unit = static_cast<char16_t>(pick == 0   ? 1 + random() % 0x7F
                                         : pick == 1 ? 0x80 + random() % 0x780
                                         : pick == 2 ? 0x7F
                                                     : 0x80 + (random() % 2) * 0x77F);
        }
        const __m128i block = _mm_load_si128(reinterpret_cast<const __m128i*>(units));
        char baseline[32] = {};
        char shuffled[32] = {};
        const auto baselineLength = StoreShortBlock(block, baseline) - baseline;
        const auto shuffledLength = StoreShortBlockSsse3(block, shuffled) - shuffled;
        ASSERT_EQ(std::string(shuffled, shuffledLength), std::string(baseline, baselineLength))
            << "round " << round;
    }
}

TEST(Utf8Kernels, DecodedShortBlocksWithShufflesMatchThoseOfTheBaseline) {
    if (!HasSsse3())
        GTEST_SKIP() << "no SSSE3";
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        // ASCII and two-byte sequences, now and then a byte that ends the block's fast path.
        std::string bytes;
        while (bytes.size() < 20) {
            const unsigned pick = random() % 16;
            if (pick < 6) {
                bytes += static_cast<char>(1 + random() % 0x7F);
            } else if (pick < 15) {
                bytes += static_cast<char>(0xC2 + random() % 30);
                bytes += static_cast<char>(0x80 + random() % 64);
            } else {
                bytes += static_cast<char>(0x80 + random() % 128);
            }
        }
        const auto* text = reinterpret_cast<const unsigned char*>(bytes.c_str());
        char16_t baseline[32] = {};
        char16_t shuffled[32] = {};
        std::size_t baselineAt = 0;
        std::size_t shuffledAt = 0;
        char16_t* baselineEnd = baseline;
        char16_t* shuffledEnd = shuffled;
        const __m128i stop = _mm_set1_epi8('&');
        const bool decoded = DecodeShortUtf8Block<false>(text, baselineAt, baselineEnd, stop);
        ASSERT_EQ(DecodeShortUtf8Block<true>(text, shuffledAt, shuffledEnd, stop), decoded);
        if (!decoded)
            continue;
        ASSERT_EQ(shuffledAt, baselineAt) << "round " << round;
        ASSERT_EQ(std::u16string(shuffled, shuffledEnd), std::u16string(baseline, baselineEnd))
            << "round " << round;
    }
}
#endif

INSTANTIATE_TEST_SUITE_P(AllTables, BulkConversionTest, ::testing::ValuesIn(TablePaths()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = std::filesystem::path(info.param).stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

}  // namespace
