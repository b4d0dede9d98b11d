// The shipped tables of Windows' code pages against Windows' own conversion (Wine's, when
// run under Wine), byte by byte and code by code in both directions.
#include <gtest/gtest.h>

#include "ExplainedDifferences.h"
#include "ShippedTables.h"
#include "WindowsCodePage.h"

namespace {

class WindowsTable : public ::testing::TestWithParam<CodeSetListEntry> {};

TEST_P(WindowsTable, AgreesWithWindows) {
    const CodeSetListEntry& entry = GetParam();
    const WindowsCodePage codePage(entry.windowsCodePage);
    ASSERT_TRUE(codePage.IsValid()) << "this system has no code page " << entry.windowsCodePage;
    CheckShippedTable(entry, codePage, "Windows",
                      [&](const TableDifference& d) { return FindWindowsExplanation(entry, d); });
}

INSTANTIATE_TEST_SUITE_P(Data, WindowsTable,
                         ::testing::ValuesIn(ListedCodeSets([](const CodeSetListEntry& e) {
                             return e.windowsCodePage != 0;
                         })),
                         [](const ::testing::TestParamInfo<CodeSetListEntry>& info) {
                             return CodeSetTestName(info.param);
                         });

}  // namespace
