#include "convert/BuildRtf.h"

#include <gtest/gtest.h>

#include <string>

#include "TestCodeSets.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "convert/ConvertedText.h"

namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
    "\\widctlpar\\fs20";

class BuildRtfTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestCodeSets(); }

    // The body of the document for the units: what follows "\lang1033 " before "}".
    std::string Body(const std::string& codeSetName, const std::u16string& units,
                     bool entities = false) {
        EXPECT_EQ(holder.Load(codeSetName), CodeSetResult::Ok);
        ConvertedText text;
        text.codeSetHolder = &holder;
        text.encodeFlags = entities ? ConversionEntityFlags : 0;
        text.unicode = units;
        const std::string document = BuildRtf(text, 1033);
        const std::string opening = kHeader + "\\lang1033 ";
        EXPECT_EQ(document.compare(0, opening.size(), opening), 0) << document;
        EXPECT_EQ(document.back(), '}');
        return document.substr(opening.size(), document.size() - opening.size() - 1);
    }

    CodeSetHolder holder;
};

TEST_F(BuildRtfTest, WholeDocumentOfASingleByteText) {
    ASSERT_EQ(holder.Load("sb-test"), CodeSetResult::Ok);
    ConvertedText text;
    text.codeSetHolder = &holder;
    text.unicode = u"Caf\u00E9\r\n{x}";
    const std::string document = BuildRtf(text, 1033);
    EXPECT_EQ(document,
              "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
              "\\widctlpar\\fs20\\lang1033 Caf\\u233 \\'e9\\par \\{x\\}}");
    EXPECT_EQ(document.size(), 121u);
    EXPECT_EQ(kHeader.size(), 87u);
    // The text keeps its units; only the last rendering is left in multibyte.
    EXPECT_EQ(text.unicode, u"Caf\u00E9\r\n{x}");
}

TEST_F(BuildRtfTest, EmptyTextAndLanguageIdentifiers) {
    ASSERT_EQ(holder.Load("sb-test"), CodeSetResult::Ok);
    ConvertedText text;
    text.codeSetHolder = &holder;
    EXPECT_EQ(BuildRtf(text, 1033), kHeader + "\\lang1033 }");
    EXPECT_EQ(BuildRtf(text, 0), kHeader + "\\lang0 }");
    EXPECT_EQ(BuildRtf(text, 0xFFFF), kHeader + "\\lang65535 }");
}

TEST_F(BuildRtfTest, MultibyteCharactersCarryTheirByteCount) {
    EXPECT_EQ(Body("db-test", u"\u3042"), "\\uc2\\u12354\\'82\\'a0");
    EXPECT_EQ(Body("sb-test", u"\u2028"), "\\uc2\\u8232\\'0d\\'0a");
    EXPECT_EQ(Body("sb-test", u"\u20AC", true), "\\uc7\\u8364\\'26\\'23\\'38\\'33\\'36\\'34\\'3b");
    // Entities off: a missing character keeps its value, with "?" as its fallback; so does
    // one without any bytes.
    EXPECT_EQ(Body("sb-test", u"\u20AC"), "\\u8364 ?");
    EXPECT_EQ(Body("sb-test", u"\uFFFF"), "\\u65535 ?");
    EXPECT_EQ(Body("utf16-test", u"a\u00E9"), "\\u97 ?\\u233 ?");
    // Each half of a pair with its own fallback; a lone half the same way.
    EXPECT_EQ(Body("utf8-test", u"x\U0001F600"), "x\\u55357 ?\\u56832 ?");
    EXPECT_EQ(Body("db-test", u"\u3042\U0001F600", true),
              "\\uc2\\u12354\\'82\\'a0\\uc1\\u55357 ?\\u56832 ?");
}

TEST_F(BuildRtfTest, MarkupCharactersAndLineEnds) {
    EXPECT_EQ(Body("sb-test", u"\\"), "\\\\");
    EXPECT_EQ(Body("sb-test", u"{"), "\\{");
    EXPECT_EQ(Body("sb-test", u"}"), "\\}");
    EXPECT_EQ(Body("sb-test", u"\r"), "\\par ");
    EXPECT_EQ(Body("sb-test", u"a\rb\r\r\n"), "a\\par b\\par \\par ");
    EXPECT_EQ(Body("sb-test", u"\n"), "\\par ");
    EXPECT_EQ(Body("sb-test", u"a\r\nb"), "a\\par b");
    EXPECT_EQ(Body("sb-test", u"\t"), "\t");
}

TEST_F(BuildRtfTest, HighSingleBytesCarryTheUnsignedUnitValue) {
    EXPECT_EQ(Body("sb-test", u"\x7F"), "\\u127 \\'7f");
    EXPECT_EQ(Body("sb-test", u"\uFF71"), "\\u65393 \\'81");
}

TEST_F(BuildRtfTest, TheFallbackCountReturnsToOneAfterAMultibyteCharacter) {
    EXPECT_EQ(Body("db-test", u"\u3042\uFF61\u3042"),
              "\\uc2\\u12354\\'82\\'a0\\uc1\\u65377 \\'a1\\uc2\\u12354\\'82\\'a0");
    EXPECT_EQ(Body("db-test", u"\u3042}{\u20AC"), "\\uc2\\u12354\\'82\\'a0\\}\\{\\uc1\\u8364 ?");
    // Plain bytes have no fallback, so the count stays until the next \u.
    EXPECT_EQ(Body("db-test", u"\u3042ab\uFF61"), "\\uc2\\u12354\\'82\\'a0ab\\uc1\\u65377 \\'a1");
}

TEST_F(BuildRtfTest, ACharacterOnAMarkupByteIsNeverRawMarkup) {
    EXPECT_EQ(Body("yen-test", u"\u00A5"), "\\u165 \\'5c");
    EXPECT_EQ(Body("yen-test", u"a\\b"), "a\\\\b");
}

}  // namespace
