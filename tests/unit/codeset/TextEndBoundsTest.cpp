// Decoding stays inside a text that ends at its first zero byte, the way clipboard text and
// ConvertedText hand it over, whatever the code set reads after an ampersand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/Utf16CodeSet.h"

namespace {

// The text is "&" in UTF-16: its high byte is the terminating zero of the text. What lies
// after it ("#65;" as UTF-16) is not part of the text and must not be read as an entity.
TEST(TextEndBounds, Utf16AmpersandWhoseHighByteEndsTheTextIsNotReadPastTheEnd) {
    const unsigned char memory[] = {'&', 0, '#', 0, '6', 0, '5', 0, ';', 0, 0, 0};
    const std::size_t length = std::strlen(reinterpret_cast<const char*>(memory));
    ASSERT_EQ(length, 1u);

    Utf16CodeSet set;
    std::u16string out;
    std::size_t position = 0;
    EXPECT_EQ(set.DecodeText(memory, length, position, out, NamedEntities),
              CodeSetResult::BadEntity);
    EXPECT_TRUE(out.empty());
    EXPECT_LE(position, length);
}

TEST(TextEndBounds, Utf16EntityInsideTheTextStillDecodes) {
    // "A&#66;" with a zero high byte after 'A' would end the text at once; units with a
    // non-zero high byte keep the text going up to the ampersand, and the entity after it
    // lies beyond the end.
    const unsigned char memory[] = {0x41, 0x01, '&', 0, '#', 0, '6', 0, '6', 0, ';', 0, 0, 0};
    const std::size_t length = std::strlen(reinterpret_cast<const char*>(memory));
    ASSERT_EQ(length, 3u);

    Utf16CodeSet set;
    std::u16string out;
    std::size_t position = 0;
    EXPECT_EQ(set.DecodeText(memory, length, position, out, NamedEntities),
              CodeSetResult::BadEntity);
    EXPECT_EQ(out, std::u16string(1, u'\u0141'));
    EXPECT_EQ(position, 2u);

    // Without entities the ampersand is one more unit, read with the terminator as its
    // high byte.
    out.clear();
    position = 0;
    EXPECT_EQ(set.DecodeText(memory, length, position, out, 0), CodeSetResult::Ok);
    EXPECT_EQ(out, std::u16string(u"\u0141&"));
    EXPECT_EQ(position, length);
}

}  // namespace
