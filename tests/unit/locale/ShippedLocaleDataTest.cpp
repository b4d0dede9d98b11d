// Checks the shipped Locales.def and flag bitmaps against each other and against the
// shipped code set files.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "codeset/DataDirectory.h"
#include "locale/LocaleTable.h"

namespace {

// Every flag bitmap the program ships.
const char* const kFlagCodes[] = {
    "AE",  "AF",  "AL",  "AM",  "AR",  "AT",  "AU",  "AZ",  "BA",  "BD",       "BE",  "BG",  "BH",
    "BI",  "BN",  "BO",  "BR",  "BT",  "BW",  "BY",  "BZ",  "CA",  "CD",       "CF",  "CH",  "CL",
    "CM",  "CN",  "CO",  "CR",  "CU",  "CZ",  "DE",  "DJ",  "DK",  "DO",       "DZ",  "EC",  "EE",
    "EG",  "ES",  "ET",  "FI",  "FJ",  "FO",  "FR",  "GB",  "GE",  "GH",       "GL",  "GR",  "GT",
    "HK",  "HN",  "HR",  "HU",  "ID",  "IE",  "IL",  "IN",  "IQ",  "IR",       "IS",  "IT",  "JM",
    "JO",  "JP",  "KE",  "KG",  "KH",  "KR",  "KW",  "KZ",  "LA",  "LB",       "LI",  "LK",  "LS",
    "LT",  "LU",  "LV",  "LY",  "MA",  "MC",  "MD",  "MG",  "MK",  "MM",       "MN",  "MO",  "MT",
    "MV",  "MX",  "MY",  "NE",  "NG",  "NI",  "NL",  "NO",  "NP",  "NR",       "NZ",  "OM",  "PA",
    "PE",  "PG",  "PH",  "PK",  "PL",  "PR",  "PT",  "PY",  "QA",  "RO",       "RU",  "RW",  "SA",
    "SE",  "SG",  "SI",  "SK",  "SN",  "SO",  "SR",  "SV",  "SY",  "SZ",       "TH",  "TJ",  "TM",
    "TN",  "TO",  "TR",  "TT",  "TV",  "TW",  "TZ",  "UA",  "US",  "UY",       "UZ",  "VA",  "VE",
    "VN",  "VU",  "WS",  "YE",  "YU",  "ZA",  "ZW",  "ABK", "BAK", "BOD",      "BRE", "CAT", "COR",
    "COS", "CYM", "EPO", "EUS", "GDH", "KAS", "KUR", "LAP", "MAX", "OCCITANY", "TAT", "TIR", "XAM",
    "XEA", "XGL", "XMW", "XQB", "XUN"};

// The 16 colours of the system palette in DIB order, as RGBQUAD bytes (blue, green, red).
const unsigned char kSystemPalette[16][3] = {
    {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},  {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},    {0, 255, 0}, {0, 255, 255},
    {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};

std::string FlagPath(const std::string& flagName) {
    return SourcePath("resources/flags/" + flagName + ".bmp");
}

std::uint32_t Le32(const std::string& s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

unsigned Le16(const std::string& s, std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(s[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(s[at + 1])) << 8;
}

// Raw lines of the shipped file, line ends removed.
std::vector<std::string> DefLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(DataDirectoryForTests() + "Locales.def"));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Flag names that the file's "; flagless:" comment declares to have no bitmap.
std::set<std::string> DeclaredFlagless() {
    std::set<std::string> names;
    const std::string marker = "; flagless:";
    for (const std::string& line : DefLines()) {
        if (line.compare(0, marker.size(), marker) != 0)
            continue;
        std::istringstream words(line.substr(marker.size()));
        std::string word;
        while (words >> word)
            names.insert(word);
    }
    return names;
}

class ShippedLocaleData : public ::testing::Test {
protected:
    void SetUp() override {
        SetDataDirectory(DataDirectoryForTests());
        table.Load();
        ASSERT_GT(table.GetCount(), 0) << "data/Locales.def missing or empty";
    }
    LocaleTable table;
};

TEST_F(ShippedLocaleData, CountMatchesTheEntryLines) {
    int entryLines = 0;
    bool countSeen = false;
    for (const std::string& line : DefLines()) {
        if (line.empty() || line[0] == ';' || (!countSeen && line[0] == ':'))
            continue;
        if (!countSeen) {
            countSeen = true;
            continue;
        }
        ++entryLines;
    }
    EXPECT_EQ(table.GetCount(), entryLines);
    EXPECT_GE(table.GetCount(), 120);
    // Every entry was filled: the last one has all its fields.
    const int last = table.GetCount() - 1;
    EXPECT_STRNE(table.GetTag(last), "");
}

TEST_F(ShippedLocaleData, HasTheWindowDefaults) {
    const char* name = table.FindDisplayNameByCode("EN-US");
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "English (United States)");
    EXPECT_STREQ(table.FindCodeByLanguageId(1033), "EN-US");
    for (int i = 0; i < table.GetCount(); ++i) {
        if (std::string(table.GetCode(i)) == "EN-US") {
            EXPECT_STREQ(table.GetCodeSetName(i), "windows-1252");
            EXPECT_STREQ(table.GetFlagName(i), "FLG_US");
        }
    }
}

TEST_F(ShippedLocaleData, EveryFlagNameHasABitmapOrIsDeclaredFlagless) {
    const std::set<std::string> flagless = DeclaredFlagless();
    for (int i = 0; i < table.GetCount(); ++i) {
        const std::string flag = table.GetFlagName(i);
        bool hasBitmap = !ReadFileBytes(FlagPath(flag)).empty();
        if (flagless.count(flag)) {
            EXPECT_FALSE(hasBitmap) << flag << " is declared flagless but has a bitmap";
        } else {
            EXPECT_TRUE(hasBitmap) << table.GetCode(i) << ": no bitmap " << flag;
        }
    }
}

TEST_F(ShippedLocaleData, EveryCodeSetNameNamesAShippedTable) {
    for (int i = 0; i < table.GetCount(); ++i) {
        const std::string name = table.GetCodeSetName(i);
        EXPECT_FALSE(ReadFileBytes(DataDirectoryForTests() + name + ".okc").empty())
            << table.GetCode(i) << ": no " << name << ".okc";
    }
}

TEST_F(ShippedLocaleData, CodesAndLanguageIdsAreUnique) {
    std::set<std::string> codes;
    std::set<int> languageIds;
    for (int i = 0; i < table.GetCount(); ++i) {
        std::string code = table.GetCode(i);
        for (char& c : code) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
        EXPECT_TRUE(codes.insert(code).second) << "code " << code << " twice";
        EXPECT_TRUE(languageIds.insert(table.GetLanguageId(i)).second)
            << "language id " << table.GetLanguageId(i) << " twice";
        EXPECT_GT(table.GetLanguageId(i), 0);
        EXPECT_LT(table.GetLanguageId(i), 0x10000);
    }
}

TEST(ShippedFlags, AllBitmapsAre4BitUncompressedWithTheSystemPalette) {
    for (const char* code : kFlagCodes) {
        const std::string name = std::string("FLG_") + code;
        const std::string bmp = ReadFileBytes(FlagPath(name));
        SCOPED_TRACE(name);
        ASSERT_GE(bmp.size(), 14u + 40u + 64u);
        const bool large = name == "FLG_CM" || name == "FLG_SR";
        const std::uint32_t width = large ? 25 : 23, height = large ? 17 : 15;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(Le32(bmp, 2), bmp.size());
        EXPECT_EQ(Le32(bmp, 14), 40u);
        EXPECT_EQ(Le32(bmp, 18), width);
        EXPECT_EQ(Le32(bmp, 22), height);  // positive: bottom-up rows
        EXPECT_EQ(Le16(bmp, 26), 1u);
        EXPECT_EQ(Le16(bmp, 28), 4u);
        EXPECT_EQ(Le32(bmp, 30), 0u);
        const std::uint32_t colours = Le32(bmp, 46) == 0 ? 16 : Le32(bmp, 46);
        EXPECT_EQ(colours, 16u);
        const std::uint32_t offset = Le32(bmp, 10);
        EXPECT_EQ(offset, 14u + 40u + 16u * 4u);
        const std::uint32_t rowBytes = (width * 4 + 31) / 32 * 4;
        EXPECT_EQ(bmp.size(), offset + rowBytes * height);
        for (int i = 0; i < 16; ++i) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(static_cast<unsigned char>(bmp[54 + i * 4 + c]), kSystemPalette[i][c])
                    << "palette entry " << i;
            }
        }
    }
}

}  // namespace
