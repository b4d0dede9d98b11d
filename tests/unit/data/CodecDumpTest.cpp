// Converter dumps: a table built from a dump is the table built from the converter itself,
// so the tables of Windows' code pages are what Windows said, however they travel.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "CodecDump.h"
#include "IconvCodec.h"
#include "TableBuilder.h"
#include "TestPaths.h"

namespace {

// Writes the converter's dump to a file and reads it back.
bool DumpAndRead(const ReferenceCodec& codec, CodecDump& dump, const std::string& tag) {
    const std::string path = MakeTempDirectory(tag) + "dump.txt";
    {
        std::ofstream out(path, std::ios::binary);
        WriteCodecDump(codec, out);
    }
    std::string error;
    const bool ok = dump.Read(path, error);
    EXPECT_TRUE(ok) << error;
    return ok;
}

std::string Built(const ReferenceCodec& codec, bool doubleByte) {
    CodeSetFileContent content;
    content.name = "x";
    TableStats stats;
    if (doubleByte) {
        BuildDoubleByteTable(codec, content, stats);
    } else {
        BuildSingleByteTable(codec, content, stats);
    }
    return SerializeCodeSetFile(content);
}

TEST(CodecDump, TablesBuiltFromADumpEqualThoseBuiltFromTheConverter) {
    // CP932 has lead bytes, characters with several codes and an encoder that prefers
    // some of them; CP1255 has undefined bytes; ISO646-DE redefines ASCII.
    const struct {
        const char* charset;
        bool doubleByte;
    } cases[] = {{"CP932", true}, {"CP1255", false}, {"ISO646-DE", false}};
    for (const auto& c : cases) {
        IconvCodec codec(c.charset);
        if (!codec.IsOpen())
            continue;
        CodecDump dump;
        ASSERT_TRUE(DumpAndRead(codec, dump, "codecdump"));
        EXPECT_EQ(Built(dump, c.doubleByte), Built(codec, c.doubleByte)) << c.charset;
    }
}

TEST(CodecDump, DecodesSequencesAsTheConverterDid) {
    IconvCodec codec("CP932");
    ASSERT_TRUE(codec.IsOpen());
    CodecDump dump;
    ASSERT_TRUE(DumpAndRead(codec, dump, "codecdump"));
    std::u16string units;
    ASSERT_TRUE(dump.Decode("a\x82\xA0z\xB1", units));
    EXPECT_EQ(units, u"a\u3042z\uFF71");
    EXPECT_FALSE(dump.Decode("a\x82", units));     // a lead byte at the end
    EXPECT_FALSE(dump.Decode("\x82\x20", units));  // a lead byte and no trail byte
    std::string bytes;
    ASSERT_TRUE(dump.Encode(u'\u3042', bytes));
    EXPECT_EQ(bytes, "\x82\xA0");
    EXPECT_FALSE(dump.Encode(u'\u0100', bytes));
}

TEST(CodecDump, DroppingC1FillersLeavesOnlyTheBytesThatMapToTheirOwnControl) {
    IconvCodec codec("ISO-8859-1");  // every byte decodes to the unit of its value
    ASSERT_TRUE(codec.IsOpen());
    CodecDump dump;
    ASSERT_TRUE(DumpAndRead(codec, dump, "codecdump"));
    dump.DropC1Fillers();
    std::u16string units;
    std::string bytes;
    for (unsigned b = 0x7F; b <= 0xA0; ++b) {
        const bool filler = b >= 0x80 && b <= 0x9F;
        EXPECT_EQ(dump.Decode(std::string(1, char(b)), units), !filler) << b;
        EXPECT_EQ(dump.Encode(static_cast<char16_t>(b), bytes), !filler) << b;
    }
}

TEST(CodecDump, MalformedLinesAreRefusedWithTheirNumber) {
    const std::string dir = MakeTempDirectory("codecdump-bad");
    const char* bad[] = {"byte 1 0041",     "byte 41",      "pair 8140 12345", "unit 0041 4",
                         "unit 0041 41 42", "word 41 0041", "byte 4G 0041",    "byte 41 0042"};
    for (const char* line : bad) {
        ASSERT_TRUE(WriteFileBytes(dir + "dump.txt", std::string("# ok\nbyte 41 0041\n") + line));
        CodecDump dump;
        std::string error;
        EXPECT_FALSE(dump.Read(dir + "dump.txt", error)) << line;
        EXPECT_NE(error.find("dump.txt:3:"), std::string::npos) << error;
    }
}

}  // namespace
