#include "ShippedTables.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"

void PrintTo(const CodeSetListEntry& entry, std::ostream* out) {
    *out << entry.name;
}

std::vector<CodeSetListEntry> ListedCodeSets(
    const std::function<bool(const CodeSetListEntry&)>& wanted) {
    std::vector<CodeSetListEntry> entries;
    std::string error;
    if (!ReadCodeSetList(SourcePath("tools/mkokc/code-sets.txt"), entries, error)) {
        ADD_FAILURE() << error;
    }
    std::vector<CodeSetListEntry> chosen;
    for (const CodeSetListEntry& entry : entries) {
        if (wanted(entry))
            chosen.push_back(entry);
    }
    return chosen;
}

std::string CodeSetTestName(const CodeSetListEntry& entry) {
    std::string name;
    for (char c : entry.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

void CheckShippedTable(const CodeSetListEntry& entry, const ReferenceCodec& reference,
                       const std::string& referenceName, const Explainer& explain) {
    CodeSetHolder holder;
    ASSERT_EQ(holder.Load(DataDirectoryForTests() + entry.name + ".okc"), CodeSetResult::Ok);
    ASSERT_TRUE(holder.HasCodeSet());
    EXPECT_EQ(holder.name, entry.name);
    EXPECT_EQ(holder.displayName, entry.displayName);
    const int kind = entry.kind == "utf16"    ? 1
                     : entry.kind == "utf8"   ? 2
                     : entry.kind == "single" ? 3
                                              : 4;
    EXPECT_EQ(holder.kind, kind);

    const std::vector<TableDifference> differences =
        kind >= 3 ? CompareTable(*holder.codeSet, reference)
                  : CompareUnicode(*holder.codeSet, reference, kind == 1);
    int explained = 0;
    std::vector<TableDifference> unexplained;
    for (const TableDifference& d : differences) {
        if (explain(d)) {
            ++explained;
        } else {
            unexplained.push_back(d);
        }
    }
    std::printf("%-14s %zu differences from %s, %d explained\n", entry.name.c_str(),
                differences.size(), referenceName.c_str(), explained);
    for (std::size_t i = 0; i < unexplained.size() && i < 400; ++i) {
        const TableDifference& d = unexplained[i];
        ADD_FAILURE() << entry.name << " " << d.direction << " 0x" << std::hex << d.code
                      << ": table " << d.table << ", " << referenceName << " " << d.reference;
    }
    EXPECT_EQ(unexplained.size(), 0u);
}
