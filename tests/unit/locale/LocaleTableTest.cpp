#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "codeset/DataDirectory.h"
#include "locale/LocaleTable.h"

namespace {

const char* const kUs = "EN-US|en|eng|0|English (United States)|1033|windows-1252|FLG_US|en-us\n";
const char* const kDe = "DE-DE|de|deu|1|German (Germany)|1031|windows-1252|FLG_DE|de-de\n";
const char* const kJa = "JA-JP|ja|jpn|0|Japanese (Japan)|1041|windows-932|FLG_JP|ja-jp\n";

// Loads a table from a Locales.def with the given bytes, in a folder of its own.
void LoadFrom(LocaleTable& table, const std::string& contents) {
    std::string dir = MakeTempDirectory("locales");
    ASSERT_TRUE(WriteFileBytes(dir + "Locales.def", contents));
    SetDataDirectory(dir);
    table.Load();
}

std::string Str(const char* text) {
    return text ? text : "<null>";
}

TEST(LocaleTable, ReadsAllFieldsOfAnEntry) {
    LocaleTable table;
    LoadFrom(table, std::string("; locales\n2\n") + kUs + kDe);
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_STREQ(table.GetCode(0), "EN-US");
    EXPECT_STREQ(table.entries[0].twoLetterCode, "en");
    EXPECT_STREQ(table.GetThreeLetterCode(0), "eng");
    EXPECT_EQ(table.entries[0].listingMark, 0);
    EXPECT_STREQ(table.GetDisplayName(0), "English (United States)");
    EXPECT_EQ(table.GetLanguageId(0), 1033);
    EXPECT_STREQ(table.GetCodeSetName(0), "windows-1252");
    EXPECT_STREQ(table.GetFlagName(0), "FLG_US");
    EXPECT_STREQ(table.GetTag(0), "en-us");
    EXPECT_EQ(table.GetFlagImage(0), -1);
    EXPECT_EQ(table.entries[1].listingMark, 1);
    EXPECT_EQ(table.GetLanguageId(1), 1031);
}

TEST(LocaleTable, CountLineTakesTheLeadingNumberAndIgnoresItsComment) {
    LocaleTable table;
    LoadFrom(table, std::string("  3 ; three locales\n") + kUs + kDe + kJa);
    EXPECT_EQ(table.GetCount(), 3);
    EXPECT_STREQ(table.GetCode(2), "JA-JP");

    LoadFrom(table, std::string("2entries\n") + kUs + kDe);
    EXPECT_EQ(table.GetCount(), 2);
}

TEST(LocaleTable, EmptyLineBeforeTheCountIsTheCountLine) {
    LocaleTable table;
    LoadFrom(table, std::string("; header\n\n1\n") + kUs);
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_EQ(table.GetCode(0), nullptr);
}

TEST(LocaleTable, ColonLinesAreCommentsOnlyBeforeTheCount) {
    LocaleTable table;
    LoadFrom(table,
             std::string(":meta\n;c\n:more\n2\n") + kUs + ":X|xx|xxx|0|Colon|7|cp437|FLG_XX|x\n");
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_STREQ(table.GetCode(0), "EN-US");
    EXPECT_STREQ(table.GetCode(1), ":X");
    EXPECT_EQ(table.GetLanguageId(1), 7);
}

TEST(LocaleTable, CommentLinesBetweenEntriesTakeNoNumber) {
    LocaleTable table;
    LoadFrom(table, std::string("2\n; first\n") + kUs + ";second\n" + kDe);
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_STREQ(table.GetCode(1), "DE-DE");
}

TEST(LocaleTable, CasesOfFlagTagAndCode) {
    LocaleTable table;
    LoadFrom(table, "1\nen-Us|en|eng|0|Name|1033|windows-1252|flg_gb|EN-GB\n");
    EXPECT_STREQ(table.GetCode(0), "en-Us");
    EXPECT_STREQ(table.GetFlagName(0), "FLG_GB");
    EXPECT_STREQ(table.GetTag(0), "en-gb");
}

TEST(LocaleTable, SeparatorRunsActAsOne) {
    LocaleTable single;
    LocaleTable doubled;
    LoadFrom(single, std::string("1\n") + kUs);
    LoadFrom(doubled,
             "1\n|EN-US||en|eng|0|English (United States)||1033|windows-1252|FLG_US|en-us||\n");
    ASSERT_EQ(doubled.GetCount(), 1);
    EXPECT_STREQ(doubled.GetCode(0), single.GetCode(0));
    EXPECT_STREQ(doubled.GetDisplayName(0), single.GetDisplayName(0));
    EXPECT_EQ(doubled.GetLanguageId(0), single.GetLanguageId(0));
    EXPECT_STREQ(doubled.GetCodeSetName(0), single.GetCodeSetName(0));
    EXPECT_STREQ(doubled.GetTag(0), single.GetTag(0));
}

TEST(LocaleTable, CodesAreCutAndFieldsKeepTheirBlanks) {
    LocaleTable table;
    LoadFrom(table, "1\nABCDEFGH|xyz|abcd| 12x| Name with blanks |  -7|cs|flg_a b|Tag ;comment\n");
    EXPECT_STREQ(table.GetCode(0), "ABCDEF");
    EXPECT_STREQ(table.entries[0].twoLetterCode, "xy");
    EXPECT_STREQ(table.GetThreeLetterCode(0), "abc");
    EXPECT_EQ(table.entries[0].listingMark, 12);
    EXPECT_STREQ(table.GetDisplayName(0), " Name with blanks ");
    EXPECT_EQ(table.GetLanguageId(0), -7);
    EXPECT_STREQ(table.GetFlagName(0), "FLG_A B");
    EXPECT_STREQ(table.GetTag(0), "tag ");
}

TEST(LocaleTable, FieldsAfterTheNinthAreIgnored) {
    LocaleTable table;
    LoadFrom(table, "1\nEN-US|en|eng|0|E|1033|windows-1252|FLG_US|en-us|extra|more\n");
    EXPECT_STREQ(table.GetTag(0), "en-us");
}

TEST(LocaleTable, ALineWithFewerFieldsEndsTheReading) {
    LocaleTable table;
    LoadFrom(table, std::string("3\n") + kUs + "DE-DE|de|deu|0|German|1031\n" + kJa);
    ASSERT_EQ(table.GetCount(), 3);
    EXPECT_STREQ(table.GetCode(0), "EN-US");
    // The short line keeps what it gave; the line after it is never read.
    EXPECT_STREQ(table.GetCode(1), "DE-DE");
    EXPECT_EQ(table.GetLanguageId(1), 1031);
    EXPECT_STREQ(table.GetCodeSetName(1), "");
    EXPECT_STREQ(table.GetCode(2), "");
    EXPECT_STREQ(table.GetDisplayName(2), "");
}

TEST(LocaleTable, AnEmptyLineBetweenEntriesEndsTheReading) {
    LocaleTable table;
    LoadFrom(table, std::string("3\n") + kUs + "\n" + kDe + kJa);
    ASSERT_EQ(table.GetCount(), 3);
    EXPECT_STREQ(table.GetCode(0), "EN-US");
    EXPECT_STREQ(table.GetCode(1), "");
    EXPECT_STREQ(table.GetCode(2), "");
}

TEST(LocaleTable, FewerLinesThanTheCountLeaveEmptyEntries) {
    LocaleTable table;
    LoadFrom(table, std::string("3\n") + kUs);
    ASSERT_EQ(table.GetCount(), 3);
    EXPECT_STREQ(table.GetDisplayName(1), "");
    EXPECT_STREQ(table.GetFlagName(2), "");
    EXPECT_EQ(table.GetFlagImage(2), -1);
}

TEST(LocaleTable, MoreLinesThanTheCountAreNotRead) {
    LocaleTable table;
    LoadFrom(table, std::string("1\n") + kUs + kDe);
    ASSERT_EQ(table.GetCount(), 1);
    EXPECT_EQ(table.FindCodeByLanguageId(1031), nullptr);
}

TEST(LocaleTable, CrLfLinesAndAMissingFinalLineEnd) {
    LocaleTable table;
    LoadFrom(table,
             "; c\r\n2 ;x\r\nEN-US|en|eng|0|E|1033|windows-1252|FLG_US|en-us\r\n"
             "DE-DE|de|deu|0|G|1031|windows-1252|FLG_DE|de-de");
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_STREQ(table.GetTag(0), "en-us");
    EXPECT_STREQ(table.GetTag(1), "de-de");
}

TEST(LocaleTable, ALongLineIsReadInPieces) {
    // A comment runs the first line past 1023 characters; what follows the 1023rd is a
    // line of its own and here holds a whole entry.
    std::string first = "EN-US|en|eng|0|English|1033|windows-1252|FLG_US|en-us;";
    first += std::string(1023 - first.size(), 'c');
    LocaleTable table;
    LoadFrom(table, "2\n" + first + kDe);
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_STREQ(table.GetTag(0), "en-us");
    EXPECT_STREQ(table.GetCode(1), "DE-DE");
    EXPECT_STREQ(table.GetTag(1), "de-de");

    // Split inside the display name, the first piece has too few fields: reading ends.
    std::string name(1100, 'n');
    LoadFrom(table, "2\nEN-US|en|eng|0|" + name + "|1033|windows-1252|FLG_US|en-us\n" + kDe);
    EXPECT_EQ(std::string(table.GetDisplayName(0)), std::string(1023 - 15, 'n'));
    EXPECT_EQ(table.GetLanguageId(0), 0);
    EXPECT_STREQ(table.GetCode(1), "");
}

TEST(LocaleTable, MissingFileKeepsWhatTheTableHeld) {
    LocaleTable table;
    LoadFrom(table, std::string("1\n") + kUs);
    SetDataDirectory(MakeTempDirectory("no-locales"));
    table.Load();
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_STREQ(table.GetCode(0), "EN-US");

    LocaleTable fresh;
    fresh.Load();
    EXPECT_EQ(fresh.GetCount(), 0);
    EXPECT_EQ(fresh.FindCodeByLanguageId(1033), nullptr);
}

TEST(LocaleTable, OnlyCommentsOrAnAbsurdCountGiveABoundedTable) {
    LocaleTable table;
    LoadFrom(table, ";a\n:b\n");
    EXPECT_EQ(table.GetCount(), 0);
    LoadFrom(table, "-5\n" + std::string(kUs));
    EXPECT_EQ(table.GetCount(), 0);
    LoadFrom(table, "99999999999\n" + std::string(kUs));
    EXPECT_EQ(table.GetCount(), LocaleTable::kMaxEntries);
    EXPECT_STREQ(table.GetCode(0), "EN-US");
}

TEST(LocaleTable, ReloadingReplacesThePreviousEntries) {
    LocaleTable table;
    LoadFrom(table, std::string("2\n") + kUs + kDe);
    table.SetFlagImage(0, 5);
    LoadFrom(table, std::string("1\n") + kJa);
    ASSERT_EQ(table.GetCount(), 1);
    EXPECT_STREQ(table.GetCode(0), "JA-JP");
    EXPECT_EQ(table.GetFlagImage(0), -1);
}

TEST(LocaleTable, IndexesOutsideTheTable) {
    LocaleTable table;
    LoadFrom(table, std::string("1\n") + kUs);
    for (int index : {-1, 1}) {
        EXPECT_EQ(table.GetCode(index), nullptr);
        EXPECT_EQ(table.GetThreeLetterCode(index), nullptr);
        EXPECT_EQ(table.GetDisplayName(index), nullptr);
        EXPECT_EQ(table.GetCodeSetName(index), nullptr);
        EXPECT_EQ(table.GetTag(index), nullptr);
        EXPECT_STREQ(table.GetFlagName(index), "FLG_XX");
        EXPECT_EQ(table.GetLanguageId(index), -1);
        EXPECT_EQ(table.GetFlagImage(index), -1);
        table.SetFlagImage(index, 3);
    }
    table.SetFlagImage(0, 4);
    EXPECT_EQ(table.GetFlagImage(0), 4);
}

TEST(LocaleTable, ListingFollowsListAllAndTheMark) {
    LocaleTable table;
    LoadFrom(table, std::string("2\n") + kUs + kDe);
    EXPECT_TRUE(table.IsListed(1));
    EXPECT_TRUE(table.IsListed(7));
    table.listAll = false;
    EXPECT_TRUE(table.IsListed(0));
    EXPECT_FALSE(table.IsListed(1));
    EXPECT_FALSE(table.IsListed(2));
}

TEST(LocaleTable, SearchesGiveTheFirstMatch) {
    LocaleTable table;
    LoadFrom(table, std::string("3\n") + kUs + kDe +
                        "EN-GB|en|eng|0|English (United Kingdom)|1031|windows-1252|FLG_GB|en-gb\n");
    EXPECT_STREQ(Str(table.FindCodeByLanguageId(1031)).c_str(), "DE-DE");
    EXPECT_EQ(table.FindCodeByLanguageId(2057), nullptr);
    EXPECT_STREQ(Str(table.FindDisplayNameByCode("en-gb")).c_str(), "English (United Kingdom)");
    EXPECT_STREQ(Str(table.FindDisplayNameByCode("EN-us")).c_str(), "English (United States)");
    EXPECT_EQ(table.FindDisplayNameByCode("EN"), nullptr);
    EXPECT_EQ(table.FindDisplayNameByCode(nullptr), nullptr);
}

}  // namespace
