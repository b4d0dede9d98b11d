#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "viewer/CodeSetLists.h"

namespace {

// The display name a table file carries, read the way start-up reads it.
std::string DisplayNameOf(const std::string& path) {
    CodeSetHolder holder;
    EXPECT_EQ(holder.Load(path), CodeSetResult::Ok) << path;
    return holder.displayName;
}

class EnumerateCodeSetsTest : public ::testing::Test {
protected:
    void TearDown() override { SetDataDirectory(DataDirectoryForTests()); }
};

TEST_F(EnumerateCodeSetsTest, ListsLoadableFilesUnderTheirBaseNames) {
    std::string data = DataDirectoryForTests();
    std::string latin = ReadFileBytes(data + "windows-1252.okc");
    std::string cyrillic = ReadFileBytes(data + "koi8-r.okc");
    ASSERT_FALSE(latin.empty());
    ASSERT_FALSE(cyrillic.empty());

    std::string dir = MakeTempDirectory("enumerate");
    ASSERT_TRUE(WriteFileBytes(dir + "twin.first.okc", latin));
    ASSERT_TRUE(WriteFileBytes(dir + "twin.second.okc", cyrillic));
    ASSERT_TRUE(WriteFileBytes(dir + "broken.okc", "okc100 is not enough"));
    ASSERT_TRUE(WriteFileBytes(dir + "empty.okc", ""));
    ASSERT_TRUE(WriteFileBytes(dir + "other.txt", latin));
    SetDataDirectory(dir);

    codeSetFileNames = {"stale"};
    codeSetDisplayNames = {"stale"};
    EnumerateCodeSets();

    ASSERT_EQ(codeSetFileNames.size(), 2u);
    ASSERT_EQ(codeSetDisplayNames.size(), 2u);
    EXPECT_EQ(codeSetFileNames[0], "twin");
    EXPECT_EQ(codeSetFileNames[1], "twin");
    // Both files are there, in the search's order, each with its own display name.
    std::string latinName = DisplayNameOf(dir + "twin.first.okc");
    std::string cyrillicName = DisplayNameOf(dir + "twin.second.okc");
    ASSERT_NE(latinName, cyrillicName);
    EXPECT_TRUE((codeSetDisplayNames[0] == latinName && codeSetDisplayNames[1] == cyrillicName) ||
                (codeSetDisplayNames[0] == cyrillicName && codeSetDisplayNames[1] == latinName));
}

TEST_F(EnumerateCodeSetsTest, AFolderWithoutTablesGivesEmptyLists) {
    std::string dir = MakeTempDirectory("enumerate-empty");
    ASSERT_TRUE(WriteFileBytes(dir + "readme.txt", "nothing here"));
    SetDataDirectory(dir);
    codeSetFileNames = {"stale"};
    codeSetDisplayNames = {"stale"};
    EnumerateCodeSets();
    EXPECT_TRUE(codeSetFileNames.empty());
    EXPECT_TRUE(codeSetDisplayNames.empty());
}

}  // namespace
