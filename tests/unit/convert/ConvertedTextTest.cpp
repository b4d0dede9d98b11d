#include "convert/ConvertedText.h"

#include <gtest/gtest.h>

#include <string>

#include "TestCodeSets.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"

namespace {

class ConvertedTextTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestCodeSets(); }

    ConvertedText Bound(const std::string& codeSetName) {
        EXPECT_EQ(holder.Load(codeSetName), CodeSetResult::Ok) << codeSetName;
        ConvertedText text;
        text.codeSetHolder = &holder;
        return text;
    }

    CodeSetHolder holder;
};

TEST_F(ConvertedTextTest, NoTextOrAnEmptyTextDecodesToNothing) {
    ConvertedText text = Bound("sb-test");
    text.unicode = u"old";
    MultibyteDecoding progress = text.SetFromMultibyte(nullptr);
    EXPECT_TRUE(text.unicode.empty());
    EXPECT_TRUE(progress.reachedEnd);

    text.unicode = u"old";
    progress = text.SetFromMultibyte("");
    EXPECT_TRUE(text.unicode.empty());
    EXPECT_TRUE(progress.reachedEnd);
    EXPECT_EQ(progress.bytesRead, 0u);
    EXPECT_EQ(text.ToMultibyte(), "");
}

TEST_F(ConvertedTextTest, SingleByteTextRoundTrips) {
    ConvertedText text = Bound("sb-test");
    const MultibyteDecoding progress = text.SetFromMultibyte("Caf\xE9");
    EXPECT_EQ(text.unicode, u"Caf\u00E9");
    EXPECT_TRUE(progress.reachedEnd);
    EXPECT_EQ(progress.bytesRead, 4u);
    EXPECT_EQ(text.ToMultibyte(), "Caf\xE9");
}

TEST_F(ConvertedTextTest, DecodingStopsAtTheFirstErrorAndSaysWhere) {
    ConvertedText text = Bound("db-test");
    MultibyteDecoding progress = text.SetFromMultibyte("A\x81");
    EXPECT_EQ(text.unicode, u"A");
    EXPECT_FALSE(progress.reachedEnd);
    EXPECT_EQ(progress.bytesRead, 1u);
    EXPECT_EQ(progress.result, CodeSetResult::Truncated);

    // An undefined trail byte drops that character and everything after it.
    progress = text.SetFromMultibyte(
        "A\x82\xA0"
        "B\x82\x41"
        "CD");
    EXPECT_EQ(text.unicode, u"A\u3042B");
    EXPECT_FALSE(progress.reachedEnd);
    EXPECT_EQ(progress.bytesRead, 4u);
    EXPECT_EQ(progress.result, CodeSetResult::Undefined);
}

TEST_F(ConvertedTextTest, OddUtf16TextEndsAtItsTerminatingZero) {
    ConvertedText text = Bound("utf16-test");
    // The last unit takes the terminating zero as its high byte; what lies beyond that
    // zero is not part of the text.
    const char bytes[] = {'A', 0, 'C', 0, 'X', 'Y', 0, 0};
    const MultibyteDecoding progress = text.SetFromMultibyte(bytes + 2);
    EXPECT_EQ(text.unicode, u"C");
    EXPECT_TRUE(progress.reachedEnd);
    EXPECT_EQ(progress.bytesRead, 1u);

    const char odd[] = {'A', 'B', 'C', 0, 'X', 'Y', 0, 0};
    text.SetFromMultibyte(odd);
    EXPECT_EQ(text.unicode, u"\u4241C");
}

TEST_F(ConvertedTextTest, RendersEachUnitThroughTheCodeSet) {
    ConvertedText text = Bound("db-test");
    text.unicode = u"\u3042";
    EXPECT_EQ(text.CharToMultibyte(0), "\x82\xA0");
    text.unicode = u"\u3042\u3000\u3042";
    EXPECT_EQ(text.ToMultibyte(), "\x82\xA0\x81\x40\x82\xA0");
    EXPECT_EQ(text.CharToMultibyte(1), "\x81\x40");
    EXPECT_EQ(text.multibyte, "\x81\x40");

    text.unicode = u"a\u2028b";
    EXPECT_EQ(text.ToMultibyte(), "a\r\nb");
}

TEST_F(ConvertedTextTest, MissingCharactersBecomeQuestionMarksOrEntities) {
    ConvertedText text = Bound("sb-test");
    text.unicode = u"\u20AC & <";
    EXPECT_EQ(text.ToMultibyte(), "? & <");
    text.encodeFlags = ConversionEntityFlags;
    EXPECT_EQ(text.ToMultibyte(), "&#8364; &amp; &#60;");
}

TEST_F(ConvertedTextTest, UnitsAnEncoderWritesNothingForRenderAsNothing) {
    ConvertedText text = Bound("utf8-test");
    text.unicode = u"\u00E9\xD83D!";
    EXPECT_EQ(text.ToMultibyte(), "\xC3\xA9!");
    EXPECT_EQ(text.CharToMultibyte(1), "");

    ConvertedText wide = Bound("utf16-test");
    wide.unicode = u"abc";
    EXPECT_EQ(wide.ToMultibyte(), "");
}

}  // namespace
