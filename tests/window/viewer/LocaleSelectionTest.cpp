// The locale follows the clipboard's locale, the code set follows the locale, and choices
// made by hand switch those rules off.

#include "MainDialogFixture.h"

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const char kNotSupported[] =
    "The current locale code in the Clipboard is not supported in automatic selection.";

class LocaleSelectionTest : public MainDialogTest {
protected:
    void PutLocale(unsigned short language) {
        Put({{1, std::string("text\0", 5)}, {16, LocaleBlock(language)}});
    }
};

TEST_F(LocaleSelectionTest, CodeSetListIsSortedAndCarriesIndexes) {
    Open();
    ComboBox combo;
    combo.Attach(Item(1014));
    ASSERT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetLBText(0), "Central European (ISO)");
    EXPECT_EQ(combo.GetLBText(1), "Japanese (Shift-JIS)");
    EXPECT_EQ(combo.GetLBText(2), "Western European (Windows)");
    EXPECT_EQ(combo.GetItemData(0), 2);
    EXPECT_EQ(combo.GetItemData(1), 0);
    EXPECT_EQ(combo.GetItemData(2), 1);
    EXPECT_EQ(combo.GetCurSel(), 2);

    EXPECT_EQ(MainDialog::FindItemByData(combo, 0), 1);
    EXPECT_EQ(MainDialog::FindItemByData(combo, 3), -1);
    EXPECT_EQ(MainDialog::FindName({"a", "B", "b", "b"}, "b"), 2);
    EXPECT_EQ(MainDialog::FindName({"a", "B"}, "A"), -1);
    EXPECT_EQ(MainDialog::FindName({}, ""), -1);
}

TEST_F(LocaleSelectionTest, LocaleAndCodeSetFollowTheClipboardLocale) {
    // A second entry with the same language is never chosen automatically.
    AddLocale("EN-CA", "Canadian English", 0x0409, "iso-8859-2", "FLG_CA");
    PutLocale(0x0411);
    MainDialog& window = Open();
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
    EXPECT_EQ(window.Settings().languageId, 0x0411);
    EXPECT_EQ(window.Settings().codeSetName, "windows-932");
    EXPECT_EQ(ComboSelectedText(1014), "Japanese (Shift-JIS)");

    PutLocale(0x0409);
    EXPECT_EQ(ComboSelectedText(1015), "English (United States)");
    EXPECT_EQ(window.Settings().languageId, 0x0409);
    EXPECT_EQ(window.Settings().codeSetName, "windows-1252");
    EXPECT_EQ(ComboSelectedText(1014), "Western European (Windows)");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LocaleSelectionTest, ClipboardLocaleMissingFromTheTableChangesNothing) {
    PutLocale(0x0411);
    MainDialog& window = Open();
    PutLocale(0x0419);
    EXPECT_EQ(Messages(), Lines{kNotSupported});
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
    EXPECT_EQ(window.Settings().languageId, 0x0411);
    EXPECT_EQ(window.Settings().codeSetName, "windows-932");
    // Told once for the language, not on every listing.
    window.ListClipboard();
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(LocaleSelectionTest, LocaleWithoutAShippedCodeSetNamesItWithoutMovingTheList) {
    PutLocale(0x0409);
    MainDialog& window = Open();
    PutLocale(0x0408);
    EXPECT_EQ(ComboSelectedText(1015), "Greek");
    EXPECT_EQ(window.Settings().codeSetName, "windows-1253");
    EXPECT_EQ(ComboSelectedText(1014), "Western European (Windows)");
    EXPECT_TRUE(Messages().empty());

    PutLocale(0x0499);  // a locale that names no code set
    EXPECT_EQ(window.Settings().codeSetName, "");
    EXPECT_EQ(ComboSelectedText(1014), "Western European (Windows)");
}

TEST_F(LocaleSelectionTest, CodeSetWithoutALineSelectsTheFirstLine) {
    PutLocale(0x0409);
    MainDialog& window = Open();
    ::SendMessageA(Item(1014), CB_DELETESTRING, ComboPositionOf(1014, "Japanese (Shift-JIS)"), 0);
    PutLocale(0x0411);
    EXPECT_EQ(Messages(), Lines{"Cannot find code set 'windows-932'"});
    EXPECT_EQ(ComboSelection(1014), 0);
    EXPECT_EQ(window.Settings().codeSetName, "windows-932");
}

TEST_F(LocaleSelectionTest, ChoosingACodeSetByHandStopsItFollowingTheLocale) {
    PutLocale(0x0409);
    MainDialog& window = Open();
    ChooseComboLine(1014, ComboPositionOf(1014, "Central European (ISO)"));
    EXPECT_EQ(window.Settings().codeSetName, "iso-8859-2");
    EXPECT_FALSE(Checked(1018));

    PutLocale(0x0411);
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
    EXPECT_EQ(window.Settings().codeSetName, "iso-8859-2");

    Click(1018);
    EXPECT_TRUE(Checked(1018));
    EXPECT_EQ(window.Settings().codeSetName, "windows-932");
    EXPECT_EQ(ComboSelectedText(1014), "Japanese (Shift-JIS)");
}

TEST_F(LocaleSelectionTest, ChoosingALocaleByHandStopsItFollowingTheClipboard) {
    PutLocale(0x0409);
    MainDialog& window = Open();
    ChooseComboLine(1015, ComboPositionOf(1015, "Japanese"));
    EXPECT_FALSE(Checked(1020));
    EXPECT_EQ(window.Settings().languageId, 0x0411);
    EXPECT_EQ(window.Settings().codeSetName, "windows-932");

    PutLocale(0x0407);
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
    EXPECT_EQ(window.Settings().languageId, 0x0411);

    // Switching it on again applies the clipboard's locale at once, and its code set.
    Click(1020);
    EXPECT_TRUE(Checked(1020));
    EXPECT_EQ(ComboSelectedText(1015), "German (Germany)");
    EXPECT_EQ(window.Settings().languageId, 0x0407);
    EXPECT_EQ(window.Settings().codeSetName, "windows-1252");
}

TEST_F(LocaleSelectionTest, TheChosenLanguageGoesOntoTheClipboard) {
    PutLocale(0x0411);
    Open();
    Put({{13, Utf16(u"\u3042")}});  // no clipboard locale: the system's, DE-DE
    ChooseComboLine(1015, ComboPositionOf(1015, "Japanese"));
    Click(1012);
    EXPECT_EQ(clipboard.Block(16), std::string("\x11\x04\x11\x04", 4));
    EXPECT_EQ(clipboard.Block(1), std::string("\x82\xA0\0", 3));
}

TEST_F(LocaleSelectionTest, WithoutCodeSetFilesTheListIsEmpty) {
    fileNames.clear();
    displayNames.clear();
    MainDialog& window = Open();
    EXPECT_EQ(::SendMessageA(Item(1014), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(window.Settings().codeSetName, "windows-1252");
    ChooseComboLine(1014, 0);
    EXPECT_EQ(window.Settings().codeSetName, "windows-1252");
}

TEST_F(LocaleSelectionTest, WithoutLocalesNoCodeSetCanBeFound) {
    localeTable.entries.clear();
    localeTable.count = 0;
    MainDialog& window = Open();
    EXPECT_EQ(Messages(), (Lines{kNotSupported, "Cannot find code set for the current locale."}));
    EXPECT_EQ(window.Settings().languageId, kSystemLanguage);
    EXPECT_EQ(window.Settings().codeSetName, "windows-1252");
}

}  // namespace
