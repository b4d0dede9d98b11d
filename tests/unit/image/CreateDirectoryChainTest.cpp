#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FakeShell.h"
#include "TestPaths.h"
#include "image/CreateDirectoryChain.h"

namespace {

// Directories that exist only in this object, to see which levels are created.
class DirectorySet : public FakeShell {
public:
    bool IsDirectory(const std::string& path) override { return existing.count(path) != 0; }
    bool MakeDirectory(const std::string& path) override {
        made.push_back(path);
        if (refused.count(path) != 0)
            return false;
        existing.insert(path);
        return true;
    }

    std::set<std::string> existing;
    std::set<std::string> refused;
    std::vector<std::string> made;
};

using Paths = std::vector<std::string>;

TEST(DirectoryPart, SplitsLikeSplitPath) {
    EXPECT_EQ(DirectoryPart("C:\\Bitmaps\\Screen001.bmp"), "C:\\Bitmaps\\");
    EXPECT_EQ(DirectoryPart("Screen001.bmp"), "");
    EXPECT_EQ(DirectoryPart(""), "");
    EXPECT_EQ(DirectoryPart("C:Screen.bmp"), "C:");
    EXPECT_EQ(DirectoryPart("C:\\Screen.bmp"), "C:\\");
    EXPECT_EQ(DirectoryPart("shots/2024\\a.bmp"), "shots/2024\\");
    EXPECT_EQ(DirectoryPart("\\\\server\\share\\a.bmp"), "\\\\server\\share\\");
    EXPECT_EQ(DirectoryPart("C:\\Bitmaps\\"), "C:\\Bitmaps\\");
}

TEST(CreateDirectoryChain, CreatesEachMissingLevelBelowTheDrive) {
    DirectorySet shell;
    shell.existing = {"C:\\"};
    EXPECT_TRUE(CreateDirectoryChain(shell, "C:\\Bitmaps\\Screen\\"));
    EXPECT_EQ(shell.made, (Paths{"C:\\Bitmaps\\", "C:\\Bitmaps\\Screen\\"}));

    shell.made.clear();
    EXPECT_TRUE(CreateDirectoryChain(shell, "C:\\Bitmaps\\Screen\\"));
    EXPECT_TRUE(shell.made.empty());
}

TEST(CreateDirectoryChain, KeepsRootsAndRelativePathsAsTheyAre) {
    DirectorySet shell;
    EXPECT_TRUE(CreateDirectoryChain(shell, "\\\\server\\share\\shots\\"));
    EXPECT_TRUE(CreateDirectoryChain(shell, "\\Bitmaps\\"));
    EXPECT_TRUE(CreateDirectoryChain(shell, "sub\\dir\\"));
    EXPECT_TRUE(CreateDirectoryChain(shell, "D:\\\\double\\\\sep\\"));
    EXPECT_TRUE(CreateDirectoryChain(shell, "E:rel"));
    EXPECT_EQ(shell.made, (Paths{"\\\\server\\share\\shots\\", "\\Bitmaps\\", "sub\\", "sub\\dir\\",
                                 "D:\\\\double\\", "D:\\\\double\\\\sep\\", "E:rel"}));
}

TEST(CreateDirectoryChain, StopsAtALevelThatCantBeCreated) {
    DirectorySet shell;
    shell.refused = {"C:\\locked\\"};
    EXPECT_FALSE(CreateDirectoryChain(shell, "C:\\locked\\inner\\"));
    EXPECT_EQ(shell.made, (Paths{"C:\\locked\\"}));
}

TEST(CreateDirectoryChain, EmptyIsTheCurrentDirectoryAndLongPathsAreRefused) {
    DirectorySet shell;
    EXPECT_TRUE(CreateDirectoryChain(shell, ""));
    EXPECT_FALSE(CreateDirectoryChain(shell, "C:\\" + std::string(258, 'a')));
    EXPECT_TRUE(shell.made.empty());
    EXPECT_TRUE(CreateDirectoryChain(shell, "C:\\" + std::string(257, 'a')));
    // Counted in characters: this path of 260 is 517 bytes of UTF-8.
    std::string cyrillic = "C:\\";
    for (int i = 0; i < 257; ++i)
        cyrillic += "\xD0\x96";
    EXPECT_TRUE(CreateDirectoryChain(shell, cyrillic));
    EXPECT_FALSE(CreateDirectoryChain(shell, cyrillic + "\xD0\x96"));
}

TEST(CreateDirectoryChain, CreatesRealDirectories) {
    FakeShell shell;
    const std::string base = MakeTempDirectory("chain");
    const char sep = base.back();
    const std::string target = base + "one" + sep + "two" + sep + "three" + sep;
    ASSERT_FALSE(shell.IsDirectory(target));
    EXPECT_TRUE(CreateDirectoryChain(shell, target));
    EXPECT_TRUE(shell.IsDirectory(target));
    EXPECT_EQ(shell.madeDirectories.size(), 3u);

    // A file in the way is no directory.
    const std::string blocked = base + "file" + sep;
    ASSERT_TRUE(WriteFileBytes(base + "file", "x"));
    EXPECT_FALSE(CreateDirectoryChain(shell, blocked + "below" + sep));
}

}  // namespace
