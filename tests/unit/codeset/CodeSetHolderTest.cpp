#include <gtest/gtest.h>

#include "CodeSetTestSupport.h"
#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DataDirectory.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/SingleByteCodeSet.h"
#include "codeset/Utf16CodeSet.h"
#include "codeset/Utf8CodeSet.h"

namespace {

std::string Le16(unsigned value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(std::uint32_t value) {
    return Le16(value & 0xFFFF) + Le16(value >> 16);
}

std::string HeaderString(const std::string& text) {
    return Le16(text.size()) + text;
}

std::string Header(const std::string& magic, std::uint32_t kind, const std::string& name = "n",
                   const std::string& display = "Display") {
    return HeaderString(magic) + HeaderString(name) + HeaderString(display) + Le32(kind);
}

// A holder loaded with the windows-1252-like table, which encodes U+20AC as 0x80.
void LoadWestern(CodeSetHolder& holder) {
    ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    ASSERT_EQ(holder.name, "windows-1252");
}

void ExpectStillWestern(const CodeSetHolder& holder) {
    ASSERT_TRUE(holder.HasCodeSet());
    EXPECT_EQ(holder.name, "windows-1252");
    EXPECT_EQ(holder.displayName, "Western");
    EXPECT_EQ(holder.kind, 3);
    EXPECT_EQ(Encode(*holder.codeSet, 0x20AC, 0).bytes, "\x80");
}

TEST(CodeSetHolder, LoadsEachKindWithItsClass) {
    CodeSetHolder holder;
    ASSERT_EQ(LoadBytes(holder, Header("okc100", 1, "utf-16", "Unicode")), CodeSetResult::Ok);
    EXPECT_EQ(holder.name, "utf-16");
    EXPECT_EQ(holder.displayName, "Unicode");
    EXPECT_NE(dynamic_cast<Utf16CodeSet*>(holder.codeSet.get()), nullptr);
    // Anything after the kind of kinds 1 and 2 is ignored.
    ASSERT_EQ(LoadBytes(holder, Header("okc100", 2, "utf-8") + "trailing junk"), CodeSetResult::Ok);
    EXPECT_NE(dynamic_cast<Utf8CodeSet*>(holder.codeSet.get()), nullptr);
    EXPECT_EQ(holder.kind, 2);
    ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    EXPECT_NE(dynamic_cast<SingleByteCodeSet*>(holder.codeSet.get()), nullptr);
    ASSERT_EQ(LoadContent(holder, SmallDoubleByte()), CodeSetResult::Ok);
    EXPECT_NE(dynamic_cast<DoubleByteCodeSet*>(holder.codeSet.get()), nullptr);
    EXPECT_EQ(holder.kind, 4);
}

TEST(CodeSetHolder, MagicAndHeaderStrings) {
    CodeSetHolder holder;
    // The magic ends at its first zero byte.
    EXPECT_EQ(LoadBytes(holder, Header(std::string("okc100\0", 7), 1)), CodeSetResult::Ok);
    EXPECT_EQ(LoadBytes(holder, Header("OKC100", 1)), CodeSetResult::BadMagic);
    EXPECT_EQ(LoadBytes(holder, Header("okc10", 1)), CodeSetResult::BadMagic);
    EXPECT_EQ(LoadBytes(holder, Header(std::string(100, 'o'), 1)), CodeSetResult::BadMagicLength);
    EXPECT_EQ(LoadBytes(holder, Header(std::string("okc100\0xyz", 10), 1)), CodeSetResult::Ok);
    // Names hold up to 99 bytes and end at a zero byte.
    ASSERT_EQ(LoadBytes(holder, Header("okc100", 1, std::string(99, 'n'), std::string("ab\0c", 4))),
              CodeSetResult::Ok);
    EXPECT_EQ(holder.name, std::string(99, 'n'));
    EXPECT_EQ(holder.displayName, "ab");
}

TEST(CodeSetHolder, FormsThePathFromTheName) {
    std::string dir = MakeTempDirectory("paths");
    SetDataDirectory(dir);
    std::string plain = WriteCodeSetFile(dir, "x", Header("okc100", 1, "plain"));
    WriteCodeSetFile(dir, "x.okc", Header("okc100", 1, "doubled"));
    CodeSetHolder holder;
    ASSERT_EQ(holder.Load("x"), CodeSetResult::Ok);
    EXPECT_EQ(holder.name, "plain");
    EXPECT_EQ(holder.path, dir + "x.okc");
    // A dot without a separator is still a bare name.
    ASSERT_EQ(holder.Load("x.okc"), CodeSetResult::Ok);
    EXPECT_EQ(holder.name, "doubled");
    EXPECT_EQ(holder.path, dir + "x.okc.okc");
    // A dot and a separator make a path, used unchanged.
    SetDataDirectory(MakeTempDirectory("elsewhere"));
    ASSERT_EQ(holder.Load(plain), CodeSetResult::Ok);
    EXPECT_EQ(holder.name, "plain");
    EXPECT_EQ(holder.path, plain);
}

TEST(CodeSetHolder, SingleByteEntryCountComesFromTheFileSize) {
    CodeSetHolder holder;
    std::string body(1, '\x80');
    for (int i = 0; i < 128; ++i)
        body += Le16(0x0100 + i);
    body += '\x01';  // an odd last byte is ignored
    ASSERT_EQ(LoadBytes(holder, Header("okc100", 3) + body), CodeSetResult::Ok);
    auto* single = dynamic_cast<SingleByteCodeSet*>(holder.codeSet.get());
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->tableStart, 0x80);
    EXPECT_EQ(single->singleCount, 128);
    ASSERT_EQ(single->singleTable.size(), 128u);
    EXPECT_EQ(single->singleTable[127], 0x017F);
}

TEST(CodeSetHolder, MissingFileLeavesTheHolderAlone) {
    CodeSetHolder holder;
    LoadWestern(holder);
    std::string oldPath = holder.path;
    SetDataDirectory(MakeTempDirectory("empty"));
    EXPECT_EQ(holder.Load("no-such-code-set"), CodeSetResult::OpenFailed);
    EXPECT_EQ(holder.path, oldPath);
    ExpectStillWestern(holder);
}

TEST(CodeSetHolder, BadMagicChangesOnlyThePath) {
    CodeSetHolder holder;
    LoadWestern(holder);
    std::string dir = MakeTempDirectory("badmagic");
    std::string bad = WriteCodeSetFile(dir, "bad", Header("okc200", 1, "other"));
    EXPECT_EQ(holder.Load(bad), CodeSetResult::BadMagic);
    EXPECT_EQ(holder.path, bad);
    ExpectStillWestern(holder);
}

TEST(CodeSetHolder, UnknownKindLeavesNoCodeSet) {
    CodeSetHolder holder;
    LoadWestern(holder);
    EXPECT_EQ(LoadBytes(holder, Header("okc100", 7, "seven", "Seven")), CodeSetResult::BadKind);
    EXPECT_FALSE(holder.HasCodeSet());
    EXPECT_EQ(holder.name, "seven");
    EXPECT_EQ(holder.displayName, "Seven");
    EXPECT_EQ(holder.kind, 7);
    ASSERT_EQ(LoadContent(holder, Windows1252Like()), CodeSetResult::Ok);
    ExpectStillWestern(holder);
}

// Damaged headers are refused before anything in the holder but the path changes.
TEST(CodeSetHolder, DamagedHeaderKeepsThePreviousCodeSet) {
    const std::string full = Header("okc100", 3, "name", "display");
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        CodeSetHolder holder;
        LoadWestern(holder);
        EXPECT_EQ(LoadBytes(holder, full.substr(0, cut)), CodeSetResult::Truncated)
            << "cut " << cut;
        ExpectStillWestern(holder);
    }
    CodeSetHolder holder;
    LoadWestern(holder);
    EXPECT_EQ(LoadBytes(holder, Header("okc100", 1, std::string(100, 'n'))),
              CodeSetResult::BadMagicLength);
    ExpectStillWestern(holder);
    EXPECT_EQ(LoadBytes(holder, Header("okc100", 1, "n", std::string(0xFFFF, 'd'))),
              CodeSetResult::BadMagicLength);
    ExpectStillWestern(holder);
}

// A table body that ends early is refused; the holder then describes the new file but has no
// code set, as after an unknown kind.
TEST(CodeSetHolder, ShortTablesAreRefused) {
    const std::string full = SerializeCodeSetFile(SmallDoubleByte());
    const std::size_t headerSize = Header("okc100", 4, "test-double", "Test double").size();
    std::vector<std::size_t> cuts = {headerSize,     headerSize + 1, headerSize + 4,
                                     headerSize + 5, headerSize + 6, full.size() - 1};
    for (std::size_t cut = headerSize + 7; cut < full.size(); cut += 37)
        cuts.push_back(cut);
    for (std::size_t cut : cuts) {
        CodeSetHolder holder;
        LoadWestern(holder);
        ASSERT_EQ(LoadBytes(holder, full.substr(0, cut)), CodeSetResult::Truncated)
            << "cut " << cut;
        EXPECT_FALSE(holder.HasCodeSet());
        EXPECT_EQ(holder.name, "test-double");
        EXPECT_EQ(holder.kind, 4);
    }
    CodeSetHolder holder;
    // Kind 3 needs at least its start byte.
    EXPECT_EQ(LoadBytes(holder, Header("okc100", 3)), CodeSetResult::Truncated);
    EXPECT_FALSE(holder.HasCodeSet());
    EXPECT_EQ(LoadBytes(holder, Header("okc100", 3) + "\x80"), CodeSetResult::Ok);
    EXPECT_EQ(dynamic_cast<SingleByteCodeSet&>(*holder.codeSet).singleCount, 0);
}

// Counts that the file cannot back are refused before anything is allocated for them.
TEST(CodeSetHolder, HugeCountsAreRefused) {
    const std::string head = Header("okc100", 4);
    const std::string tables = std::string(256, '\0') + std::string(1024, '\0');
    for (std::uint32_t count : {0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        CodeSetHolder holder;
        EXPECT_EQ(LoadBytes(holder, head + "\x80" + Le32(count) + "abcd" + tables + Le32(0)),
                  CodeSetResult::Truncated)
            << count;
        EXPECT_EQ(LoadBytes(holder, head + "\x80" + Le32(0) + tables + Le32(count) + "abcdefg"),
                  CodeSetResult::Truncated)
            << count;
        EXPECT_FALSE(holder.HasCodeSet());
    }
}

}  // namespace
