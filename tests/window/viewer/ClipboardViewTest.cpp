// The format list, the locale lines and the data display follow the clipboard.

#include "MainDialogFixture.h"

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// n units counting up from first, then the zero unit.
std::u16string Units(std::size_t n, char16_t first = 0x3041) {
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += static_cast<char16_t>(first + i % 80);
    }
    return text;
}

std::size_t Occurrences(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(MainDialogTest, ListsAnEmptyClipboard) {
    Open();
    EXPECT_TRUE(ListLines().empty());
    EXPECT_EQ(ItemText(1011), "Count = 0");
    EXPECT_EQ(EnabledFormatButtons(), 0u);
    EXPECT_EQ(ItemText(1004), "<No locale information available>");
    EXPECT_EQ(ComboSelectedText(1015), "German (Germany)");  // the system's
    EXPECT_EQ(ItemText(1010), "System Locale: 0x0407");
    // No plain text: the display switches itself off.
    EXPECT_FALSE(Checked(1016));
    EXPECT_EQ(DisplayText(), "<Display of data not enabled>");
}

TEST_F(MainDialogTest, ListsTextFormatsAndTheClipboardLocale) {
    Put({{1, std::string("plain\0", 6)},
         {7, std::string("oem\0", 4)},
         {13, Utf16(u"uni")},
         {16, LocaleBlock(0x0409)}});
    Open();
    EXPECT_EQ(ListLines(), (Lines{"1\tPlain Text", "7\tOEM Text", "13\tUnicode Text"}));
    EXPECT_EQ(ListItemData(), (std::vector<LPARAM>{1, 7, 13}));
    EXPECT_EQ(::SendMessageA(Item(1000), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ItemText(1011), "Count = 3");
    EXPECT_EQ(EnabledFormatButtons(), 1u | 2u | 4u);
    EXPECT_EQ(ItemText(1004), "0x0409");
    EXPECT_EQ(ComboSelectedText(1015), "English (United States)");
    EXPECT_EQ(ItemText(1010), "System Locale: 0x0407");
    EXPECT_TRUE(Enabled(1007));
    EXPECT_TRUE(Enabled(1008));
    EXPECT_TRUE(Enabled(1017));
    EXPECT_FALSE(Enabled(1009));
}

TEST_F(MainDialogTest, ListsEveryStandardFormatWithItsNameAndSkipsLocaleAndDibV5) {
    std::vector<std::pair<unsigned, std::string>> blocks;
    for (unsigned format = 2; format <= 17; ++format) {
        blocks.push_back({format, std::string("x", 1)});
    }
    Put(blocks);
    Open();
    EXPECT_EQ(ListLines(),
              (Lines{"2\tBitmap", "3\tMetaFile Picture", "4\tSYLK", "5\tDIF", "6\tTIFF",
                     "7\tOEM Text", "8\tDIB", "9\tPalette", "10\tPen Data", "11\tRIFF", "12\tWave",
                     "13\tUnicode Text", "14\tEnhanced MetaFile", "15\tDrag and Drop"}));
    EXPECT_EQ(ItemText(1011), "Count = 14");
}

TEST_F(MainDialogTest, ListsRegisteredAndPrivateFormats) {
    unsigned rtf = clipboard.RegisterFormat("Rich Text Format");
    unsigned html = clipboard.RegisterFormat("HTML Format");
    Put({{1, std::string("x\0", 2)},
         {html, "<b>x</b>"},
         {rtf, std::string("{\\rtf1 x}\0", 10)},
         {512, "private"}});
    Open();
    EXPECT_EQ(ListLines(), (Lines{"1\tPlain Text", std::to_string(html) + "\tHTML Format",
                                  std::to_string(rtf) + "\tRich Text Format", "512\t<no name>"}));
    EXPECT_EQ(ListItemData(),
              (std::vector<LPARAM>{1, static_cast<LPARAM>(html), static_cast<LPARAM>(rtf), 512}));
    EXPECT_EQ(EnabledFormatButtons(), 1u | 8u);
    EXPECT_TRUE(Enabled(1009));
    EXPECT_FALSE(Enabled(1017));
}

TEST_F(MainDialogTest, LocaleWithoutUsableDataKeepsTheLastLanguage) {
    Put({{1, std::string("a\0", 2)}, {16, LocaleBlock(0x0411)}});
    Open();
    ASSERT_EQ(ComboSelectedText(1015), "Japanese");

    clipboard.SetReadFault(16, ClipboardRead::NoHandle);
    Put({{1, std::string("a\0", 2)}, {16, LocaleBlock(0x0409)}});
    EXPECT_EQ(ItemText(1004), "<Locale handle is null>");
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");

    // One byte can't hold a language: treated like a block that can't be read.
    clipboard.SetReadFault(16, ClipboardRead::Ok);
    Put({{1, std::string("a\0", 2)}, {16, std::string("\x09", 1)}});
    EXPECT_EQ(ItemText(1004), "<Locale handle is null>");
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
}

TEST_F(MainDialogTest, BusyClipboardKeepsThePreviousListing) {
    Put({{1, std::string("abc\0", 4)}});
    MainDialog& window = Open();
    clipboard.SetHeldByAnotherProgram(true);
    ASSERT_EQ(EnabledFormatButtons(), 1u);
    window.Refresh();
    EXPECT_EQ(Messages(), Lines{"Cannot open the Clipboard."});
    EXPECT_EQ(ListLines(), Lines{"1\tPlain Text"});
    EXPECT_EQ(EnabledFormatButtons(), 1u);

    window.ShowClipboardData();
    EXPECT_EQ(DisplayText(), "<cannot display data>");
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(MainDialogTest, ShowsUnicodeTextAsUnitNumbersTenToALine) {
    Put({{13, Utf16(u"abc")}, {1, std::string("abc\0", 4)}});
    Open();
    Click(1017);
    EXPECT_TRUE(Checked(1017));
    EXPECT_EQ(DisplayText(), "U+0061 U+0062 U+0063 ");

    Put({{13, Utf16(u"0123456789")}, {1, std::string("x\0", 2)}});
    EXPECT_EQ(DisplayText(),
              "U+0030 U+0031 U+0032 U+0033 U+0034 U+0035 U+0036 U+0037 "
              "U+0038 U+0039 \r\n");
    Put({{13, Utf16(u"0123456789\xFFFF")}, {1, std::string("x\0", 2)}});
    EXPECT_EQ(DisplayText(),
              "U+0030 U+0031 U+0032 U+0033 U+0034 U+0035 U+0036 U+0037 "
              "U+0038 U+0039 \r\nU+FFFF ");
    Put({{13, Utf16(u"")}, {1, std::string("x\0", 2)}});
    EXPECT_EQ(DisplayText(), "");
}

TEST_F(MainDialogTest, CutsTheUnicodeListingAfterTenThousandUnits) {
    Put({{13, Utf16(Units(10000))}, {1, std::string("x\0", 2)}});
    Open();
    Click(1017);
    std::string full = DisplayText();
    EXPECT_EQ(Occurrences(full, "U+"), 10000u);
    EXPECT_EQ(Occurrences(full, "\r\n"), 1000u);
    EXPECT_EQ(full.find("<Too much"), std::string::npos);

    for (std::size_t n : {10001u, 12000u}) {
        Put({{13, Utf16(Units(n, 0x0410))}, {1, std::string("x\0", 2)}});
        std::string cut = DisplayText();
        EXPECT_EQ(Occurrences(cut, "U+"), 10001u);
        // The last shown unit is 10001st: 0x0410 + 10000 % 80.
        const std::string tail = "\r\nU+0410 <Too much data for display>";
        ASSERT_GE(cut.size(), tail.size());
        EXPECT_EQ(cut.substr(cut.size() - tail.size()), tail);
    }
}

// A text shows its first 32 KiB or 1000 lines, whichever ends first, so that a clipboard of
// any size fills the display quickly.
TEST_F(MainDialogTest, CutsLongTextsForDisplay) {
    const std::string cut = "<Too much data for display>";
    const std::string kib32(32 * 1024, 'a');
    std::string lines;
    for (int i = 0; i < 1000; ++i) {
        lines += "line\r\n";
    }
    const std::vector<std::pair<std::string, std::string>> shown = {
        {kib32 + '\0', kib32},
        {kib32 + "b", kib32 + cut},
        {std::string(40 * 1024 * 1024, 'c'), std::string(32 * 1024, 'c') + cut},
        {lines + '\0', lines},
        {lines + "more", lines + cut},
    };
    Put({{1, std::string("x\0", 2)}});
    Open();
    for (const auto& [text, display] : shown) {
        Put({{1, text}});
        // Compared whole, but not printed: they are long.
        EXPECT_TRUE(DisplayText() == display) << text.size() << " bytes";
    }
}

TEST_F(MainDialogTest, ReadsBlocksOnlyWithinTheirSize) {
    // No terminating zero unit, and a last half unit.
    Put({{13, std::string("a\0b\0c", 5)}, {1, std::string("xyz", 3)}});
    Open();
    EXPECT_EQ(DisplayText(), "xyz");
    Click(1017);
    EXPECT_EQ(DisplayText(), "U+0061 U+0062 ");
}

TEST_F(MainDialogTest, ShowsEveryTextAsTheCharactersItHolds) {
    // The control would take text that begins with "{\rtf" for a document and show
    // "Hello bold"; every format is shown as it is, Rich Text Format too.
    unsigned rtf = clipboard.RegisterFormat("Rich Text Format");
    const std::string document = "{\\rtf1\\ansi Hello {\\b bold}}";
    Put({{1, document + "\r\nsecond line" + std::string("\0ignored", 8)},
         {7, std::string("{\\rtf oem}\0", 11)},
         {rtf, document + '\0'}});
    Open();
    EXPECT_EQ(DisplayText(), document + "\r\nsecond line");
    Click(1008);
    EXPECT_TRUE(Checked(1008));
    EXPECT_EQ(DisplayText(), "{\\rtf oem}");
    Click(1009);
    EXPECT_TRUE(Checked(1009));
    EXPECT_EQ(DisplayText(), document);
    Put({{1, std::string("plain text\0", 11)}});
    EXPECT_EQ(DisplayText(), "plain text");
}

TEST_F(MainDialogTest, PlaceholdersForMissingAndUnreadableData) {
    Put({{1, std::string("abc\0", 4)}, {13, Utf16(u"abc")}});
    Open();
    Click(1001);  // automatic refresh off: the buttons stay as they are
    Put({{1, std::string("abc\0", 4)}});
    Click(1017);
    EXPECT_EQ(DisplayText(), "<No data available>");
    Click(1003);  // the listing moves the choice back to plain text
    EXPECT_TRUE(Checked(1007));
    EXPECT_FALSE(Checked(1017));
    EXPECT_FALSE(Enabled(1017));

    clipboard.SetReadFault(1, ClipboardRead::NoHandle);
    Click(1007);
    EXPECT_EQ(DisplayText(), "<Data handle is null>");
    clipboard.SetReadFault(1, ClipboardRead::LockFailed);
    Click(1007);
    EXPECT_EQ(DisplayText(), "");
}

TEST_F(MainDialogTest, ChosenFormatFallsBackToPlainTextWhenItLeaves) {
    unsigned rtf = clipboard.RegisterFormat("Rich Text Format");
    Put({{1, std::string("a\0", 2)}, {7, std::string("o\0", 2)}, {rtf, "{\\rtf1 r}"}});
    Open();
    for (int radio : {1009, 1008}) {
        Click(radio);
        Put({{1, std::string("a\0", 2)}});
        EXPECT_TRUE(Checked(1007)) << radio;
        EXPECT_FALSE(Checked(radio)) << radio;
        EXPECT_EQ(DisplayText(), "a");
        Put({{1, std::string("a\0", 2)}, {7, std::string("o\0", 2)}, {rtf, "{\\rtf1 r}"}});
    }
}

TEST_F(MainDialogTest, BitmapOnlyClipboardSwitchesTheDisplayOff) {
    Put({{1, std::string("a\0", 2)}});
    Open();
    Put({{2, "bitmap"}, {8, "dib"}});
    EXPECT_FALSE(Checked(1016));
    EXPECT_EQ(DisplayText(), "<Display of data not enabled>");
    for (int radio : {1007, 1008, 1017, 1009}) {
        EXPECT_FALSE(Enabled(radio)) << radio;
    }

    // It stays off until the user ticks it again.
    Put({{1, std::string("back\0", 5)}});
    EXPECT_EQ(DisplayText(), "<Display of data not enabled>");
    Click(1016);
    EXPECT_TRUE(Checked(1016));
    EXPECT_TRUE(Enabled(1007));
    EXPECT_EQ(DisplayText(), "back");
    EXPECT_TRUE(Checked(1007));
}

TEST_F(MainDialogTest, DisplayCheckBoxSwitchesTheDisplay) {
    Put({{1, std::string("a\0", 2)}, {13, Utf16(u"a")}});
    Open();
    Click(1016);
    EXPECT_FALSE(Checked(1016));
    EXPECT_EQ(DisplayText(), "<Display of data not enabled>");
    for (int radio : {1007, 1008, 1017, 1009}) {
        EXPECT_FALSE(Enabled(radio)) << radio;
    }
    Click(1016);
    EXPECT_TRUE(Enabled(1007));
    EXPECT_TRUE(Enabled(1017));
    EXPECT_FALSE(Enabled(1008));
    EXPECT_EQ(DisplayText(), "a");
}

}  // namespace
