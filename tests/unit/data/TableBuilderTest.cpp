// The generator on iconv character sets that redefine ASCII bytes, which no shipped table
// does: the table must start low enough and still agree with iconv everywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExplainedDifferences.h"
#include "IconvCodec.h"
#include "TableBuilder.h"
#include "TableComparison.h"
#include "TestPaths.h"
#include "codeset/CodeSetFileWriter.h"
#include "codeset/CodeSetHolder.h"

namespace {

// iconv's encoder writes the unit as bytes that its decoder reads as another character; a
// table, which holds one character per code, cannot follow it.
bool IsOneWayInIconv(const ReferenceCodec& codec, const TableDifference& d) {
    std::string bytes;
    std::u16string back;
    return d.direction == "encode" && codec.Encode(static_cast<char16_t>(d.code), bytes) &&
           codec.Decode(bytes, back) && back != std::u16string(1, static_cast<char16_t>(d.code));
}

// Writes the content, loads it back and returns the differences that neither a general
// reason nor a one-way mapping of iconv covers.
std::vector<TableDifference> UnexplainedAfterLoading(const CodeSetFileContent& content,
                                                     const ReferenceCodec& codec) {
    const std::string path = MakeTempDirectory("tablebuilder") + content.name + ".okc";
    EXPECT_TRUE(WriteFileBytes(path, SerializeCodeSetFile(content)));
    CodeSetHolder holder;
    EXPECT_EQ(holder.Load(path), CodeSetResult::Ok);
    std::vector<TableDifference> unexplained;
    if (!holder.HasCodeSet())
        return unexplained;
    for (const TableDifference& d : CompareTable(*holder.codeSet, codec)) {
        if (!FindExplanation("", d) && !IsOneWayInIconv(codec, d))
            unexplained.push_back(d);
    }
    return unexplained;
}

TEST(TableBuilder, SingleByteTableStartsAtTheFirstRedefinedAsciiByte) {
    IconvCodec codec("ISO646-DE");  // '@' is the section sign
    if (!codec.IsOpen())
        GTEST_SKIP() << "iconv has no ISO646-DE";
    CodeSetFileContent content;
    content.name = "iso646-de";
    TableStats stats;
    BuildSingleByteTable(codec, content, stats);
    EXPECT_EQ(content.tableStart, 0x40);
    ASSERT_EQ(content.singleTable.size(), 256u - 0x40);
    EXPECT_EQ(content.singleTable[0], u'\u00A7');
    EXPECT_EQ(UnexplainedAfterLoading(content, codec).size(), 0u);
}

TEST(TableBuilder, DoubleByteTableWithRedefinedBackslashAgreesWithIconv) {
    IconvCodec codec("SJIS");  // 0x5C is the yen sign, 0x7E the overline
    if (!codec.IsOpen())
        GTEST_SKIP() << "iconv has no SJIS";
    CodeSetFileContent content;
    content.name = "sjis";
    TableStats stats;
    BuildDoubleByteTable(codec, content, stats);
    EXPECT_EQ(content.tableStart, 0x5C);
    EXPECT_EQ(content.singleTable[0], u'\u00A5');
    EXPECT_EQ(content.singleTable.size(), 256u - 0x5C);
    EXPECT_EQ(stats.orderUnresolved, 0);
    const std::vector<TableDifference> unexplained = UnexplainedAfterLoading(content, codec);
    for (std::size_t i = 0; i < unexplained.size() && i < 10; ++i) {
        ADD_FAILURE() << unexplained[i].direction << " 0x" << std::hex << unexplained[i].code
                      << ": table " << unexplained[i].table << ", iconv "
                      << unexplained[i].reference;
    }
    EXPECT_EQ(unexplained.size(), 0u);
}

TEST(TableBuilder, SharedCharactersEncodeAsIconvDoesInCp932) {
    // NEC and IBM rows hold the same characters; iconv writes the IBM codes (lead bytes
    // 0xFA-0xFC), which follow the NEC-selected rows (0xED, 0xEE) in byte order.
    IconvCodec codec("CP932");
    ASSERT_TRUE(codec.IsOpen());
    CodeSetFileContent content;
    content.name = "cp932";
    TableStats stats;
    BuildDoubleByteTable(codec, content, stats);
    EXPECT_GT(stats.sharedChars, 300);
    EXPECT_EQ(stats.orderUnresolved, 0);
    EXPECT_GT(content.segmentStart[0xED], content.segmentStart[0xFA]);
}

}  // namespace
