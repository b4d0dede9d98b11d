// The file and error operations of Win32Shell that image saving relies on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "platform/win32/Win32Shell.h"

namespace {

TEST(Win32Shell, DirectoriesAndFilesReplacedOnlyWhenComplete) {
    Win32Shell shell;
    const std::string directory = MakeTempDirectory("win32-shell");
    const std::string inner = directory + "inner\\";
    EXPECT_FALSE(shell.IsDirectory(inner));
    EXPECT_TRUE(shell.MakeDirectory(inner));
    EXPECT_TRUE(shell.IsDirectory(inner));
    EXPECT_FALSE(shell.MakeDirectory(inner));

    const std::string target = inner + "image.bmp";
    ASSERT_TRUE(WriteFileBytes(target, "earlier"));
    EXPECT_FALSE(shell.IsDirectory(target));
    {
        std::unique_ptr<OutputFile> file = shell.CreateNewOutputFile(target + ".part");
        ASSERT_NE(file, nullptr);
        // Exclusive access: nobody else opens the file while it is written.
        EXPECT_EQ(shell.CreateNewOutputFile(target + ".part"), nullptr);
        EXPECT_TRUE(file->Write("new", 3));
        EXPECT_TRUE(file->Close());
    }
    EXPECT_EQ(ReadFileBytes(target), "earlier");
    // Only a new file is created: an existing one is never truncated.
    EXPECT_EQ(shell.CreateNewOutputFile(target), nullptr);
    EXPECT_EQ(ReadFileBytes(target), "earlier");
    EXPECT_TRUE(shell.RenameReplacing(target + ".part", target));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_TRUE(shell.RemoveFile(target));
    EXPECT_FALSE(shell.RemoveFile(target));
    EXPECT_EQ(shell.CreateNewOutputFile(directory + "missing\\x.bmp"), nullptr);
}

TEST(Win32Shell, FailedLaunchGivesAnErrorWithASystemText) {
    Win32Shell shell;
    EXPECT_EQ(GetPlatformKind(), PlatformKind::WindowsNt);
    unsigned error = 0;
    const std::string missing = MakeTempDirectory("launch") + "missing.bmp";
    EXPECT_FALSE(shell.OpenWithAssociatedProgram(missing, error));
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(shell.SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(shell.LastError(), static_cast<unsigned>(ERROR_ACCESS_DENIED));
}

}  // namespace
