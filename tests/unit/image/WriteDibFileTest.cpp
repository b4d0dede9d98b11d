#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "DibBuilder.h"
#include "FakeShell.h"
#include "TestPaths.h"
#include "image/WriteDibFile.h"
#include "platform/Utf8.h"

namespace {

// Collects what is written, refusing bytes beyond a limit.
class MemoryFile : public OutputFile {
public:
    bool Write(const void* data, std::size_t size) override {
        if (bytes.size() + size > limit)
            return false;
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return true; }

    std::string bytes;
    std::size_t limit = static_cast<std::size_t>(-1);
};

DibWrite Write(const std::string& dib, MemoryFile& file) {
    return WriteDibFile(reinterpret_cast<const unsigned char*>(dib.data()), dib.size(), file);
}

std::uint16_t GetLe16(const std::string& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

bool Exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

TEST(WriteDibFile, FileHeaderThenTheDibWithItsPixelSize) {
    std::string dib = InfoHeader(3, 2, 24, 0, 0, 0);
    for (int i = 0; i < 24; ++i)
        dib.push_back(static_cast<char>(i * 7));
    MemoryFile file;
    ASSERT_EQ(Write(dib, file), DibWrite::Written);
    ASSERT_EQ(file.bytes.size(), 78u);
    EXPECT_EQ(file.bytes.substr(0, 2), "BM");
    EXPECT_EQ(GetLe32(file.bytes, 2), 78u);
    EXPECT_EQ(GetLe32(file.bytes, 6), 0u);  // both reserved fields
    EXPECT_EQ(GetLe32(file.bytes, 10), 54u);
    EXPECT_EQ(GetLe32(file.bytes, 34), 24u);  // biSizeImage
    std::string expected = dib;
    PutLe32(expected, 20, 24);
    EXPECT_EQ(file.bytes.substr(14), expected);
}

TEST(WriteDibFile, WrongSizeImageIsReplacedAndSlackIsLeftOut) {
    std::string dib = InfoHeader(3, 2, 24, 0, 999, 0) + std::string(24, 'p') + "slack";
    MemoryFile file;
    ASSERT_EQ(Write(dib, file), DibWrite::Written);
    EXPECT_EQ(file.bytes.size(), 78u);
    EXPECT_EQ(GetLe32(file.bytes, 34), 24u);
}

TEST(WriteDibFile, RunLengthDibKeepsItsSizeImage) {
    DibShape shape;
    shape.width = 3;
    shape.height = 2;
    shape.bitCount = 8;
    shape.compression = 1;
    shape.clrUsed = 2;
    shape.palette = {{1, 2, 3}, {4, 5, 6}};
    shape.pixel = [](int x, int y) { return (x + y) % 2; };
    BuiltDib built = BuildDib(shape);
    MemoryFile file;
    ASSERT_EQ(Write(built.bytes, file), DibWrite::Written);
    EXPECT_EQ(file.bytes.substr(14), built.bytes);
    EXPECT_EQ(GetLe32(file.bytes, 10), 14u + 40 + 8);
}

TEST(WriteDibFile, TopDownIsWrittenBottomUp) {
    for (int bitCount : {24, 16}) {
        DibShape shape;
        shape.width = 5;
        shape.height = 3;
        shape.bitCount = bitCount;
        shape.compression = bitCount == 16 ? 3 : 0;
        shape.pixel = [](int x, int y) { return x * 3 + y; };
        BuiltDib bottomUp = BuildDib(shape);
        shape.topDown = true;
        BuiltDib topDown = BuildDib(shape);
        ASSERT_NE(bottomUp.bytes, topDown.bytes);

        MemoryFile fromBottomUp, fromTopDown;
        ASSERT_EQ(Write(bottomUp.bytes, fromBottomUp), DibWrite::Written);
        ASSERT_EQ(Write(topDown.bytes, fromTopDown), DibWrite::Written);
        EXPECT_EQ(fromTopDown.bytes, fromBottomUp.bytes) << bitCount;
        EXPECT_EQ(GetLe32(fromTopDown.bytes, 22), 3u);
    }
}

TEST(WriteDibFile, BitFieldMasksAreWrittenBeforeThePixels) {
    DibShape shape;
    shape.width = 2;
    shape.height = 2;
    shape.bitCount = 32;
    shape.compression = 3;
    shape.pixel = [](int x, int y) { return x + 2 * y + 1; };
    BuiltDib built = BuildDib(shape);
    MemoryFile file;
    ASSERT_EQ(Write(built.bytes, file), DibWrite::Written);
    EXPECT_EQ(GetLe32(file.bytes, 10), 66u);
    EXPECT_EQ(GetLe32(file.bytes, 54), 0x00FF0000u);
    EXPECT_EQ(file.bytes.size(), 66u + 16);
    EXPECT_EQ(GetLe16(file.bytes, 28), 32u);
}

TEST(WriteDibFile, RefusedDibWritesNothingAndAFailingFileIsReported) {
    MemoryFile file;
    EXPECT_EQ(Write(InfoHeader(3, 2000, 24, 0, 0, 0) + std::string(24, '\0'), file),
              DibWrite::Refused);
    EXPECT_TRUE(file.bytes.empty());

    file.limit = 60;
    EXPECT_EQ(Write(InfoHeader(3, 2, 24, 0, 0, 0) + std::string(24, '\0'), file),
              DibWrite::WriteFailed);
}

class SaveDibFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = MakeTempDirectory("save-dib");
        path = directory + "Screen001.bmp";
        dib = InfoHeader(3, 2, 24, 0, 0, 0) + std::string(24, 'x');
    }

    FakeShell shell;
    std::string directory, path, dib;
};

TEST_F(SaveDibFileTest, WritesUnderTheNameAndReplacesAnEarlierFile) {
    ASSERT_TRUE(WriteFileBytes(path, "an earlier file"));
    ASSERT_TRUE(SaveDibFile(shell, path, dib));
    std::string saved = ReadFileBytes(path);
    EXPECT_EQ(saved.size(), 78u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    EXPECT_EQ(shell.createdFiles, (std::vector<std::string>{TemporaryNameBeside(path, 0)}));
    EXPECT_FALSE(Exists(TemporaryNameBeside(path, 0)));
    EXPECT_EQ(shell.waitCursorShown, 1);
    EXPECT_EQ(shell.waitCursorDepth, 0);
}

TEST_F(SaveDibFileTest, FailuresLeaveNoFileAndKeepAnEarlierOne) {
    const std::string earlier = "an earlier file";
    struct Fault {
        const char* name;
        void (*apply)(FakeShell&);
    };
    const Fault faults[] = {
        {"create", [](FakeShell& s) { s.failCreate = true; }},
        {"write", [](FakeShell& s) { s.writeLimit = 60; }},
        {"close", [](FakeShell& s) { s.failClose = true; }},
        {"rename", [](FakeShell& s) { s.failRename = true; }},
    };
    for (const Fault& fault : faults) {
        for (bool withEarlier : {false, true}) {
            FakeShell failing;
            fault.apply(failing);
            std::remove(path.c_str());
            if (withEarlier) {
                ASSERT_TRUE(WriteFileBytes(path, earlier));
            }
            EXPECT_FALSE(SaveDibFile(failing, path, dib)) << fault.name;
            EXPECT_EQ(Exists(path), withEarlier) << fault.name;
            if (withEarlier) {
                EXPECT_EQ(ReadFileBytes(path), earlier) << fault.name;
            }
            EXPECT_FALSE(Exists(TemporaryNameBeside(path, 0))) << fault.name;
            EXPECT_EQ(failing.waitCursorDepth, 0) << fault.name;
        }
    }
}

TEST_F(SaveDibFileTest, FilesThatHaveTheTemporaryNamesAreLeftAlone) {
    const std::string first = TemporaryNameBeside(path, 0);
    const std::string second = TemporaryNameBeside(path, 1);
    ASSERT_TRUE(WriteFileBytes(first, "someone's"));
    ASSERT_TRUE(SaveDibFile(shell, path, dib));
    EXPECT_EQ(ReadFileBytes(first), "someone's");
    EXPECT_EQ(shell.createdFiles, (std::vector<std::string>{second}));
    EXPECT_EQ(ReadFileBytes(path).size(), 78u);
}

TEST(TemporaryNameBeside, SameFolderNeverLongerNeverTheNameItself) {
    const std::string folders[] = {
        "", "C:", "C:\\", "C:\\Bitmaps\\", "/tmp/x/", "\\\\server\\share\\"};
    // UTF-8 names too (Cyrillic, CJK, U+1F600): the stamp takes the place of whole characters.
    const std::string ru = "\xD0\x81\xD0\xBB\xD0\xBA", ja = "\xE6\x97\xA5.bmp",
                      emoji = "\xF0\x9F\x98\x80x";
    const std::string names[] = {"a",      "~",  "~1", "ab", "~1b", "Screen001.bmp",
                                 "SCREEN", "~A", ru,   ja,   emoji};
    for (const std::string& folder : folders) {
        for (const std::string& name : names) {
            std::set<std::string> seen;
            for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
                const std::string temporary = TemporaryNameBeside(folder + name, attempt);
                if (temporary.empty())
                    continue;
                const std::string path = folder + name;
                if (Utf8ToUtf16(path).size() == path.size()) {
                    EXPECT_EQ(temporary.size(), path.size()) << temporary;
                }
                EXPECT_LE(Utf8ToUtf16(temporary).size(), Utf8ToUtf16(path).size()) << temporary;
                EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(temporary)), temporary) << temporary;
                EXPECT_EQ(temporary.substr(0, folder.size()), folder) << temporary;
                const std::string own = temporary.substr(folder.size());
                EXPECT_EQ(own.find_first_of("\\/:"), std::string::npos) << temporary;
                std::string lower = own, lowerName = name;
                for (char& c : lower)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                for (char& c : lowerName)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                EXPECT_NE(lower, lowerName) << temporary;
                seen.insert(lower);
            }
            // Every name has at least one, and a long one many.
            EXPECT_GE(seen.size(), name.size() == 1 && name != "~" ? 1u : 0u) << name;
            if (name.size() >= 3) {
                EXPECT_GE(seen.size(), 36u) << name;
            }
        }
    }
}

TEST_F(SaveDibFileTest, RefusedDibCreatesNoFile) {
    std::string hostile = InfoHeader(3, 0x7FFFFFFF, 24, 0, 0, 0) + std::string(24, '\0');
    EXPECT_FALSE(SaveDibFile(shell, path, hostile));
    EXPECT_TRUE(shell.createdFiles.empty());
    EXPECT_FALSE(Exists(path));
}

}  // namespace
