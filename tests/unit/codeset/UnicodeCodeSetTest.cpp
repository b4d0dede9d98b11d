#include <gtest/gtest.h>

#include "CodeSetTestSupport.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/Utf16CodeSet.h"
#include "codeset/Utf8CodeSet.h"

namespace {

constexpr unsigned kEntities = ConversionEntityFlags;

std::u16string EncodeWide(const CodeSet& set, char16_t unit, unsigned flags,
                          CodeSetResult* result) {
    char16_t out[CodeSet::kCharBufferSize];
    for (char16_t& c : out)
        c = u'Z';
    out[CodeSet::kCharBufferSize - 1] = 0;
    *result = set.EncodeCharWide(unit, out, flags, true);
    return std::u16string(out);
}

std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(Utf8CodeSet, Encodes) {
    Utf8CodeSet set;
    EXPECT_EQ(Encode(set, 0x00E9, 0).bytes, "\xC3\xA9");
    EXPECT_EQ(Encode(set, 0x20AC, 0).bytes, "\xE2\x82\xAC");
    EXPECT_EQ(Encode(set, 0x007F, 0).bytes, "\x7F");
    EXPECT_EQ(Encode(set, 0x07FF, 0).bytes, "\xDF\xBF");
    EXPECT_EQ(Encode(set, 0x0800, 0).bytes, "\xE0\xA0\x80");
    EXPECT_EQ(Encode(set, 0xFFFF, 0).bytes, "\xEF\xBF\xBF");
    EXPECT_EQ(Encode(set, 0x2028, 0).bytes, "\r\n");
    EXPECT_EQ(Encode(set, 0x0001, MarkerAsLessThan).bytes, "<");
    EXPECT_EQ(Encode(set, 0x0001, kEntities).bytes, "<");
}

// A failed encoding leaves the empty string, not the buffer's previous content.
TEST(Utf8CodeSet, FailuresLeaveAnEmptyString) {
    UseEntityFile(std::string(1, '\0'));
    Utf8CodeSet set;
    for (char16_t surrogate : {char16_t(0xD83D), char16_t(0xD800), char16_t(0xDFFF)}) {
        Encoded e = Encode(set, surrogate, kEntities);
        EXPECT_EQ(e.result, CodeSetResult::OutOfRange);
        EXPECT_EQ(e.bytes, "");
    }
    Encoded noForm = Encode(set, u'&', NamedEntities);
    EXPECT_EQ(noForm.result, CodeSetResult::NotSupported);
    EXPECT_EQ(noForm.bytes, "");
    EXPECT_EQ(Encode(set, u'&', kEntities).bytes, "&#38;");
    EXPECT_EQ(Encode(set, u'&', HexEntities).bytes, "&#x26;");
    // Only ASCII units are special.
    EXPECT_EQ(Encode(set, 0x00E9, kEntities).bytes, "\xC3\xA9");
}

// Characters above U+FFFF: four bytes each way; DecodeChar, which gives one unit, still
// refuses them, and nothing above U+10FFFF is a character.
TEST(Utf8CodeSet, CharactersAboveTheBmp) {
    Utf8CodeSet set;
    char out[CodeSet::kCharBufferSize] = {};
    EXPECT_EQ(set.EncodeCodePoint(0x1F600, out, 0, true), CodeSetResult::Ok);
    EXPECT_EQ(std::string(out), "\xF0\x9F\x98\x80");
    EXPECT_EQ(set.EncodeCodePoint(0x10FFFF, out, 0, true), CodeSetResult::Ok);
    EXPECT_EQ(std::string(out), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(set.EncodeCodePoint(0x110000, out, 0, true), CodeSetResult::OutOfRange);
    EXPECT_EQ(std::string(out), "");

    const auto decode = [&](const char* text, char32_t& codePoint, std::size_t& consumed) {
        bool isEntity = false;
        return set.DecodeCodePoint(reinterpret_cast<const unsigned char*>(text), codePoint,
                                   consumed, isEntity, 0);
    };
    char32_t codePoint = 0;
    std::size_t consumed = 0;
    EXPECT_EQ(decode("\xF0\x9F\x98\x80", codePoint, consumed), CodeSetResult::Ok);
    EXPECT_EQ(codePoint, char32_t(0x1F600));
    EXPECT_EQ(consumed, 4u);
    EXPECT_EQ(decode("\xF4\x90\x80\x80", codePoint, consumed), CodeSetResult::OutOfRange);
    EXPECT_EQ(decode("\xF0\x9F\x98", codePoint, consumed), CodeSetResult::Truncated);
    EXPECT_EQ(decode("\xC3\xA9", codePoint, consumed), CodeSetResult::Ok);
    EXPECT_EQ(codePoint, char32_t(0xE9));
    EXPECT_EQ(Decode(set, "\xF0\x9F\x98\x80").result, CodeSetResult::OutOfRange);
}

TEST(Utf8CodeSet, Decodes) {
    Utf8CodeSet set;
    Decoded e = Decode(set, "\xC3\xA9");
    EXPECT_EQ(e.result, CodeSetResult::Ok);
    EXPECT_EQ(e.ch, 0xE9);
    EXPECT_EQ(e.consumed, 2u);
    Decoded euro = Decode(set, "\xE2\x82\xAC");
    EXPECT_EQ(euro.ch, 0x20AC);
    EXPECT_EQ(euro.consumed, 3u);
    Decoded astral = Decode(set, "\xF0\x9F\x98\x80");
    EXPECT_EQ(astral.result, CodeSetResult::OutOfRange);
    EXPECT_EQ(astral.consumed, 4u);
    EXPECT_EQ(astral.ch, 0xFFFD);
    Decoded cut = Decode(set, "\xC3");
    EXPECT_EQ(cut.result, CodeSetResult::Truncated);
    EXPECT_EQ(cut.consumed, 2u);
    EXPECT_EQ(Decode(set, "\xE2\x82").result, CodeSetResult::Truncated);
    Decoded stray = Decode(set, "\x80");
    EXPECT_EQ(stray.result, CodeSetResult::Ok);
    EXPECT_EQ(stray.ch, 0x80);
    EXPECT_EQ(stray.consumed, 1u);
    // Overlong forms are accepted.
    EXPECT_EQ(Decode(set, "\xC1\x81").ch, u'A');
    EXPECT_EQ(Decode(set, "\xFC\x80\x80\x80\x80\x80").result, CodeSetResult::Ok);
    EXPECT_EQ(Decode(set, "\xFC\x80\x80\x80\x80\x80").consumed, 6u);
    EXPECT_EQ(Decode(set, "\xFC\x80\x80\x80\x80\xBF").ch, 0x3F);
    char16_t ch = 0;
    std::size_t consumed = 9;
    bool isEntity = true;
    EXPECT_EQ(set.DecodeChar(nullptr, ch, consumed, isEntity, 0), CodeSetResult::Ok);
    EXPECT_EQ(consumed, 0u);
    EXPECT_EQ(ch, 0xFFFD);
    EXPECT_EQ(set.DecodeCharRaw(nullptr, ch, consumed, isEntity, 0), CodeSetResult::NotSupported);
}

TEST(Utf16CodeSet, WritesWideAndRefusesMultibyte) {
    UseStandardEntities();
    Utf16CodeSet set;
    Encoded narrow = Encode(set, u'A', 0);
    EXPECT_EQ(narrow.result, CodeSetResult::NotSupported);
    EXPECT_EQ(narrow.bytes, "");
    CodeSetResult result = static_cast<CodeSetResult>(-1);
    EXPECT_EQ(EncodeWide(set, 0x4E00, 0, &result), u"\u4E00");
    EXPECT_EQ(result, CodeSetResult::Ok);
    EXPECT_EQ(EncodeWide(set, 0x2028, 0, &result), u"\r\n");
    EXPECT_EQ(EncodeWide(set, u'&', kEntities, &result), u"&amp;");
    EXPECT_EQ(EncodeWide(set, u'<', kEntities, &result), u"&lt;");
    EXPECT_EQ(EncodeWide(set, u'>', kEntities, &result), u">");
    EXPECT_EQ(EncodeWide(set, 0x0001, kEntities, &result), u"<");
    EXPECT_EQ(EncodeWide(set, 0x0001, MarkerAsLessThan, &result), u"<");
    EXPECT_EQ(EncodeWide(set, 0x0001, 0, &result), u"\u0001");
    // DecimalFirst is not consulted by the wide writer.
    EXPECT_EQ(EncodeWide(set, u'&', DecimalFirst | NamedEntities, &result), u"&amp;");
    EXPECT_EQ(EncodeWide(set, u'"', DecimalEntities | EscapeQuotes, &result), u"&#34;");
    EXPECT_EQ(EncodeWide(set, u'"', HexEntities | EscapeQuotes, &result), u"&#x22;");
    UseEntityFile(std::string(1, '\0'));
    EXPECT_EQ(EncodeWide(set, u'&', NamedEntities, &result), u"?");
    EXPECT_EQ(result, CodeSetResult::NotRepresentable);
    // Classes without a wide writer leave an empty string.
    Utf8CodeSet utf8;
    EXPECT_EQ(EncodeWide(utf8, u'A', 0, &result), u"");
    EXPECT_EQ(result, CodeSetResult::NotSupported);
}

TEST(Utf16CodeSet, Decodes) {
    UseStandardEntities();
    Utf16CodeSet set;
    Decoded d = Decode(set, Utf16Bytes(u"\u4E00"));
    EXPECT_EQ(d.ch, 0x4E00);
    EXPECT_EQ(d.consumed, 2u);
    Decoded entity = Decode(set, Utf16Bytes(u"&#65;"), NamedEntities);
    EXPECT_EQ(entity.result, CodeSetResult::Ok);
    EXPECT_EQ(entity.ch, u'A');
    EXPECT_EQ(entity.consumed, 10u);
    EXPECT_TRUE(entity.isEntity);
    EXPECT_EQ(Decode(set, Utf16Bytes(u"&lt;"), NamedEntities).ch, u'<');
    // A unit whose low byte looks like ASCII is not ASCII.
    EXPECT_EQ(Decode(set, Utf16Bytes(u"&#6\u0135;"), NamedEntities).result,
              CodeSetResult::BadEntity);
    EXPECT_EQ(Decode(set, Utf16Bytes(u"&#65"), NamedEntities).result, CodeSetResult::BadEntity);
    char16_t ch = 0;
    std::size_t consumed = 0;
    bool isEntity = true;
    const unsigned char raw[] = {0x00, 0x4E, 0, 0};
    EXPECT_EQ(set.DecodeCharRaw(raw, ch, consumed, isEntity, NamedEntities), CodeSetResult::Ok);
    EXPECT_EQ(ch, 0x4E00);
    EXPECT_EQ(consumed, 2u);
    EXPECT_FALSE(isEntity);
}

}  // namespace
