// The shipped code set tables against the build machine's iconv, byte by byte and code by
// code in both directions.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "CodeSetHolder.h"
#include "CodeSetList.h"
#include "ExplainedDifferences.h"
#include "TableComparison.h"
#include "TestPaths.h"

// Names the table in test output instead of dumping the structure's bytes.
void PrintTo(const CodeSetListEntry& entry, std::ostream* out) {
    *out << entry.name;
}

namespace {

std::vector<CodeSetListEntry> ListedCodeSets() {
    std::vector<CodeSetListEntry> entries;
    std::string error;
    if (!ReadCodeSetList(SourcePath("tools/mkokc/code-sets.txt"), entries, error)) {
        ADD_FAILURE() << error;
    }
    return entries;
}

class ShippedTable : public ::testing::TestWithParam<CodeSetListEntry> {};

TEST_P(ShippedTable, AgreesWithIconv) {
    const CodeSetListEntry& entry = GetParam();
    IconvCodec codec(entry.iconvName);
    if (!codec.IsOpen())
        GTEST_SKIP() << "iconv has no " << entry.iconvName;

    CodeSetHolder holder;
    ASSERT_EQ(holder.Load(DataDirectoryForTests() + entry.name + ".okc"), 0);
    ASSERT_TRUE(holder.HasCodeSet());
    EXPECT_EQ(holder.name, entry.name);
    EXPECT_EQ(holder.displayName, entry.displayName);
    const int kind = entry.kind == "utf16"    ? 1
                     : entry.kind == "utf8"   ? 2
                     : entry.kind == "single" ? 3
                                              : 4;
    EXPECT_EQ(holder.kind, kind);

    const std::vector<TableDifference> differences =
        kind >= 3 ? CompareTableWithIconv(*holder.codeSet, codec)
                  : CompareUnicodeWithIconv(*holder.codeSet, codec, kind == 1);
    int explained = 0;
    std::vector<TableDifference> unexplained;
    for (const TableDifference& d : differences) {
        if (FindExplanation(entry.name, d)) {
            ++explained;
        } else {
            unexplained.push_back(d);
        }
    }
    std::printf("%-14s %zu differences, %d explained\n", entry.name.c_str(), differences.size(),
                explained);
    for (std::size_t i = 0; i < unexplained.size() && i < 400; ++i) {
        const TableDifference& d = unexplained[i];
        ADD_FAILURE() << entry.name << " " << d.direction << " 0x" << std::hex << d.code
                      << ": table " << d.table << ", iconv " << d.iconv;
    }
    EXPECT_EQ(unexplained.size(), 0u);
}

std::string TestName(const ::testing::TestParamInfo<CodeSetListEntry>& info) {
    std::string name;
    for (char c : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedTable, ::testing::ValuesIn(ListedCodeSets()), TestName);

TEST(ShippedData, EveryTableFileIsListed) {
    std::set<std::string> listed;
    for (const CodeSetListEntry& entry : ListedCodeSets())
        listed.insert(entry.name);
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(DataDirectoryForTests())) {
        if (item.path().extension() != ".okc")
            continue;
        ++files;
        EXPECT_TRUE(listed.count(item.path().stem().string())) << item.path();
    }
    EXPECT_GE(files, 30);
}

}  // namespace
