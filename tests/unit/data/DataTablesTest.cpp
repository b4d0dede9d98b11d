// The shipped code set tables that come from iconv, against the build machine's iconv,
// byte by byte and code by code in both directions (those of Windows' code pages are
// compared with Wine by WindowsTablesTest).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "ExplainedDifferences.h"
#include "IconvCodec.h"
#include "ShippedTables.h"
#include "TestPaths.h"

namespace {

class ShippedTable : public ::testing::TestWithParam<CodeSetListEntry> {};

TEST_P(ShippedTable, AgreesWithIconv) {
    const CodeSetListEntry& entry = GetParam();
    IconvCodec codec(entry.iconvName);
    if (!codec.IsOpen())
        GTEST_SKIP() << "iconv has no " << entry.iconvName;
    CheckShippedTable(entry, codec, "iconv",
                      [&](const TableDifference& d) { return FindExplanation(entry.name, d); });
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedTable,
                         ::testing::ValuesIn(ListedCodeSets([](const CodeSetListEntry& e) {
                             return !e.iconvName.empty();
                         })),
                         [](const ::testing::TestParamInfo<CodeSetListEntry>& info) {
                             return CodeSetTestName(info.param);
                         });

TEST(ShippedData, EveryTableFileIsListed) {
    std::set<std::string> listed;
    for (const CodeSetListEntry& entry :
         ListedCodeSets([](const CodeSetListEntry&) { return true; })) {
        listed.insert(entry.name);
    }
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(DataDirectoryForTests())) {
        if (item.path().extension() != ".okc")
            continue;
        ++files;
        EXPECT_TRUE(listed.count(item.path().stem().string())) << item.path();
    }
    EXPECT_EQ(files, int(listed.size()));
}

}  // namespace
