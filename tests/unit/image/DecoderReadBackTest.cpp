// Saved files read back by ImageMagick, converted to PNG and compared pixel by pixel with
// the picture the DIB was built from. Native only: the decoder runs on the build machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "DibBuilder.h"
#include "FakeShell.h"
#include "TestPaths.h"
#include "image/WriteDibFile.h"

namespace {

#ifndef _WIN32

bool HaveImageMagick() {
    return std::system("convert -version >/dev/null 2>&1") == 0;
}

std::string RunAndRead(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// The decoded picture as 8-bit RGB triples, top row first, via a PNG file.
std::string DecodeThroughPng(const std::string& bmp) {
    const std::string png = bmp + ".png";
    std::string toPng = "convert '" + bmp + "' 'png:" + png + "' 2>&1";
    if (std::system(toPng.c_str()) != 0)
        return "conversion to PNG failed";
    return RunAndRead("convert '" + png + "' -depth 8 rgb:- 2>/dev/null");
}

std::string Triples(const std::vector<Rgb>& pixels) {
    std::string out;
    for (const Rgb& c : pixels) {
        out.push_back(static_cast<char>(c.r));
        out.push_back(static_cast<char>(c.g));
        out.push_back(static_cast<char>(c.b));
    }
    return out;
}

std::vector<Rgb> Palette(int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i * 37 + 11),
                           static_cast<std::uint8_t>(255 - i * 13),
                           static_cast<std::uint8_t>(i * 101 % 256)});
    }
    return palette;
}

struct Case {
    const char* name;
    DibShape shape;
};

std::vector<Case> Cases() {
    auto pattern = [](int modulo) {
        return [modulo](int x, int y) { return (x * 5 + y * 3 + x * y) % modulo; };
    };
    std::vector<Case> cases;
    DibShape s;
    s.width = 3, s.height = 2, s.bitCount = 24, s.pixel = pattern(8);
    cases.push_back({"rgb24-3x2", s});
    s = DibShape();
    s.width = 7, s.height = 5, s.bitCount = 24, s.topDown = true, s.pixel = pattern(8);
    cases.push_back({"rgb24-top-down", s});
    s = DibShape();
    s.width = 6, s.height = 3, s.bitCount = 32, s.pixel = pattern(8);
    cases.push_back({"rgb32", s});
    s = DibShape();
    s.width = 5, s.height = 4, s.bitCount = 16, s.compression = 3, s.pixel = pattern(8);
    cases.push_back({"bitfields16-565", s});
    s.topDown = true;
    cases.push_back({"bitfields16-top-down", s});
    s = DibShape();
    s.width = 3, s.height = 3, s.bitCount = 32, s.compression = 3, s.pixel = pattern(8);
    cases.push_back({"bitfields32", s});
    s = DibShape();
    s.width = 5, s.height = 3, s.bitCount = 8, s.palette = Palette(256), s.pixel = pattern(256);
    cases.push_back({"pal8-full-table", s});
    s.clrUsed = 17, s.palette = Palette(17), s.pixel = pattern(17);
    cases.push_back({"pal8-17-colours", s});
    s = DibShape();
    s.width = 7, s.height = 3, s.bitCount = 4, s.palette = Palette(16), s.pixel = pattern(16);
    cases.push_back({"pal4", s});
    s = DibShape();
    s.width = 13, s.height = 3, s.bitCount = 1, s.palette = Palette(2), s.pixel = pattern(2);
    cases.push_back({"pal1", s});
    s = DibShape();
    s.width = 6, s.height = 4, s.bitCount = 8, s.compression = 1, s.clrUsed = 5;
    s.palette = Palette(5), s.pixel = pattern(5);
    cases.push_back({"rle8", s});
    return cases;
}

TEST(DecoderReadBack, SavedFilesDecodeToTheSourcePixels) {
    if (!HaveImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::string directory = MakeTempDirectory("decoder");
    FakeShell shell;
    for (const Case& c : Cases()) {
        BuiltDib built = BuildDib(c.shape);
        const std::string path = directory + c.name + ".bmp";
        ASSERT_TRUE(SaveDibFile(shell, path, built.bytes)) << c.name;
        EXPECT_EQ(DecodeThroughPng(path), Triples(built.expected)) << c.name;
    }
}

#endif

}  // namespace
