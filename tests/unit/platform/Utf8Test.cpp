// The UTF-8 form of paths: every UTF-16 text comes back unchanged, lone surrogates included,
// and a text of whole characters is what Windows' own converter writes (under Wine).
#include <gtest/gtest.h>

#include <random>

#include "platform/Utf8.h"
#ifdef _WIN32
#include <windows.h>
#endif

TEST(Utf8, EveryUtf16TextComesBackAndWholeCharactersAreTheSystemsUtf8) {
    std::mt19937 random(23);
    for (int round = 0; round < 5000; ++round) {
        // ASCII, two- and three-byte characters, pairs and now and then a lone surrogate.
        std::u16string units;
        const unsigned starts[] = {0, 0x80, 0xE000, 0xD800, 0xD800},
                       sizes[] = {0x80, 0x780, 0x2000, 0x400, 0x800};
        for (int n = random() % 12; n > 0; --n) {
            const unsigned kind = random() % 5;
            units += static_cast<char16_t>(starts[kind] + random() % sizes[kind]);
            if (kind == 3)
                units += static_cast<char16_t>(0xDC00 + random() % 0x400);
        }
        const std::string text = Utf16ToUtf8(units);
        ASSERT_EQ(Utf8ToUtf16(text), units) << round;
#ifdef _WIN32
        // Windows refuses lone surrogates with this flag; the others must match.
        std::string peer(units.size() * 3, '\0');
        const int size = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS,
                                               reinterpret_cast<const wchar_t*>(units.data()),
                                               static_cast<int>(units.size()), &peer[0],
                                               static_cast<int>(peer.size()), nullptr, nullptr);
        if (size > 0) {
            ASSERT_EQ(text, peer.substr(0, static_cast<std::size_t>(size))) << round;
        }
#endif
    }
    // Each byte that starts no character (stray, cut, overlong, beyond U+10FFFF) is U+FFFD.
    EXPECT_EQ(Utf8ToUtf16("a\x80z\xE6\x97z"), u"a\uFFFDz\uFFFD\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF\xF4\x90\x80\x80"), std::u16string(6, u'\uFFFD'));
}
