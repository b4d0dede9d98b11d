#include <gtest/gtest.h>

#include <cstdio>

#include "CodeSetTestSupport.h"
#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/Utf16CodeSet.h"
#include "codeset/Utf8CodeSet.h"

namespace {

// Dumps into a binary file so that line ends arrive unchanged on every platform.
std::string DumpText(const CodeSet& set) {
    std::string path = MakeTempDirectory("dump") + "dump.txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return "(cannot open)";
    set.Dump(file);
    std::fclose(file);
    return ReadFileBytes(path);
}

TEST(Dump, SingleByteListsUndefinedBytes) {
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of the table = 128\nNumber of entries = 128\nUndefined values =\n"
              "    0x81 0x8d ");
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0x80, std::vector<char16_t>(128, 0x41))),
              CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of the table = 128\nNumber of entries = 128\nUndefined values =None");
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0x10, {})), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of the table = 16\nNumber of entries = 0\nUndefined values =None");
}

TEST(Dump, SingleByteWrapsAfterTwelveAndPrintsBytesPastTheTable) {
    std::vector<char16_t> table(300, 0x41);
    for (std::size_t i = 0; i < 13; ++i)
        table[i] = 0xFFFF;
    table[299] = 0xFFFF;
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, SingleByteContent(0xF0, table)), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of the table = 240\nNumber of entries = 300\nUndefined values =\n"
              "    0xf0 0xf1 0xf2 0xf3 0xf4 0xf5 0xf6 0xf7 0xf8 0xf9 0xfa 0xfb \n"
              "    0xfc 0x21b ");
}

TEST(Dump, DoubleByteListsLeadBytes) {
    CodeSetFileContent content = SmallDoubleByte();
    CodeSetHolder holder;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of single-byte table = 128\nNumber of single-byte entries = 128\n"
              "Number of double-byte entries = 2\nLead-bytes =\n    0x81 0x82 ");
    for (unsigned b = 0x81; b < 0x81 + 13; ++b)
        content.leadBytes[b] = 1;
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of single-byte table = 128\nNumber of single-byte entries = 128\n"
              "Number of double-byte entries = 2\nLead-bytes =\n"
              "    0x81 0x82 0x83 0x84 0x85 0x86 0x87 0x88 0x89 0x8a 0x8b 0x8c \n"
              "    0x8d ");
    content.leadBytes.assign(256, 0);
    content.singleTable.clear();
    content.doubleCodes.clear();
    content.doubleChars.clear();
    ASSERT_EQ(LoadContent(holder, content), CodeSetResult::Ok);
    EXPECT_EQ(DumpText(*holder.codeSet),
              "Start of single-byte table = 128\nNumber of single-byte entries = 0\n"
              "Number of double-byte entries = 0\nLead-bytes =");
}

TEST(Dump, UnicodeSetsHaveNoTable) {
    EXPECT_EQ(DumpText(Utf8CodeSet()), "This encoding used no lookup table.");
    EXPECT_EQ(DumpText(Utf16CodeSet()), "This encoding used no lookup table.");
}

}  // namespace
