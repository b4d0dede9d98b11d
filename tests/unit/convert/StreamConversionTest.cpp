// Streamed conversions must give what one whole-text conversion of all the input gives,
// wherever the block boundaries fall: inside two-byte characters, UTF-8 sequences, entities,
// UTF-16 units and surrogate pairs, before and after a zero byte or an error.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityTable.h"
#include "convert/ConvertedText.h"
#include "convert/StreamDecoder.h"
#include "convert/StreamEncoder.h"

namespace {

const std::size_t kBlockSizes[] = {1, 2, 3, 5, 8, 13, 64};

class StreamConversionTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        SetDataDirectory(DataDirectoryForTests());
        EntityTable::Global().Clear();
        ASSERT_EQ(holder.Load(GetParam()), CodeSetResult::Ok) << GetParam();
        whole.codeSetHolder = &holder;
    }

    // Random text of the code set's own characters (written by its encoder, so two-byte
    // characters are whole), entities finished and not, and arbitrary bytes; now and then a
    // zero byte.
    std::string RandomBytes() {
        const char* const pieces[] = {"&amp;",    "&#233;",       "&#x263A;",
                                      "&eacute;", "&bogus;",      "&",
                                      "&#12",     "& x;",         "a",
                                      "Z ",       "&#65;",        "\xE9",
                                      "\x82\xA0", "\xE3\x81\x82", "\xF0\x9F\x98\x80"};
        std::string bytes;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            const unsigned pick = random() % 16;
            if (pick < 6) {
                ConvertedText one;
                one.codeSetHolder = &holder;
                one.unicode.assign(1, static_cast<char16_t>(0x20 + random() % 0xD000));
                bytes += one.ToMultibyte();
            } else if (pick < 13) {
                bytes += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            } else if (pick < 15) {
                bytes += static_cast<char>(1 + random() % 255);
            } else if (random() % 3 == 0) {
                bytes += '\0';
            }
        }
        return bytes;
    }

    void ExpectSameDecoding(const std::string& bytes, unsigned flags) {
        whole.decodeFlags = static_cast<std::int32_t>(flags);
        const MultibyteDecoding expected = whole.SetFromMultibyte(bytes.c_str(), bytes.size());
        for (std::size_t blockSize : kBlockSizes) {
            StreamDecoder decoder(*holder.codeSet, flags, holder.kind == Utf16Kind ? 2 : 1,
                                  blockSize);
            std::u16string units;
            std::size_t at = 0;
            bool last = false;
            while (!last) {
                const std::size_t size = std::min(blockSize, bytes.size() - at);
                std::copy_n(bytes.data() + at, size, decoder.BlockSpace());
                at += size;
                last = size < blockSize;
                decoder.Decode(size, last, units);
            }
            const std::string where = std::string(GetParam()) + " flags " + std::to_string(flags) +
                                      " block " + std::to_string(blockSize) + " bytes " +
                                      Hex(bytes);
            ASSERT_TRUE(decoder.Over()) << where;
            ASSERT_EQ(units, whole.unicode) << where;
            ASSERT_EQ(decoder.BytesSeen(), bytes.size()) << where;
            ASSERT_EQ(decoder.Result(), expected.result) << where;
            // The whole-text decoding ends at its first zero byte without calling it an error.
            const bool atZero = expected.bytesRead < bytes.size() && expected.reachedEnd;
            ASSERT_EQ(decoder.AtZeroByte(), atZero) << where;
            ASSERT_EQ(decoder.StoppedEarly(), atZero || !expected.reachedEnd) << where;
            ASSERT_EQ(decoder.StopOffset(), expected.bytesRead) << where;
        }
    }

    // The units as UTF-16LE bytes, with an odd byte after them now and then.
    void ExpectSameEncoding(const std::u16string& units, unsigned flags, bool oddByte) {
        whole.unicode = units;
        whole.encodeFlags = static_cast<std::int32_t>(flags);
        const std::string expected = whole.ToMultibyte();
        std::string input;
        for (char16_t unit : units) {
            input += static_cast<char>(unit & 0xFF);
            input += static_cast<char>(unit >> 8);
        }
        if (oddByte)
            input += 'x';
        for (std::size_t blockSize : kBlockSizes) {
            StreamEncoder encoder(*holder.codeSet, flags, blockSize);
            std::string out;
            std::size_t at = 0;
            bool last = false;
            while (!last) {
                const std::size_t size = std::min(blockSize, input.size() - at);
                std::copy_n(input.data() + at, size, encoder.BlockSpace());
                at += size;
                last = size < blockSize;
                encoder.Encode(size, last, out);
            }
            ASSERT_EQ(out, expected) << GetParam() << " flags " << flags << " block " << blockSize
                                     << " units " << units.size();
            ASSERT_EQ(encoder.OddByte(), oddByte);
        }
    }

    static std::string Hex(const std::string& bytes) {
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (unsigned char b : bytes) {
            out += digits[b >> 4];
            out += digits[b & 15];
            out += ' ';
        }
        return out;
    }

    CodeSetHolder holder;
    ConvertedText whole;
    std::mt19937 random{2024};
};

TEST_P(StreamConversionTest, DecodesLikeTheWholeTextWhereverBlocksEnd) {
    for (int round = 0; round < 400; ++round) {
        const std::string bytes = RandomBytes();
        for (unsigned flags : {0x000u, 0x001u})
            ExpectSameDecoding(bytes, flags);
    }
}

TEST_P(StreamConversionTest, EncodesLikeTheWholeTextWhereverBlocksEnd) {
    const std::u16string special = {0x0001, u'"',   u'&',   u'<',   0x2028, 0xFFFF,
                                    0xD83D, 0xDE00, 0xDBFF, 0xDC00, 0x00E9, 0x3042};
    for (int round = 0; round < 150; ++round) {
        std::u16string units;
        const int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            units += random() % 2 ? special[random() % special.size()]
                                  : static_cast<char16_t>(random() % 0x10000);
        }
        for (unsigned flags : {0x000u, 0x065u, 0x1FFu})
            ExpectSameEncoding(units, flags, random() % 4 == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, StreamConversionTest,
                         ::testing::Values("windows-1252", "windows-1251", "windows-932",
                                           "windows-949", "windows-950", "utf-8", "utf-16"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
