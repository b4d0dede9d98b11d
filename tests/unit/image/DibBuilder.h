#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Builds DIB blocks for tests from a picture given as a colour per pixel, and remembers the
// colours an image decoder should give back.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

struct DibShape {
    int width = 1;
    int height = 1;  // rows of the picture; topDown stores it negative
    int bitCount = 24;
    std::uint32_t compression = 0;  // 0, 1 (RLE8) or 3 (bit fields)
    bool topDown = false;
    std::uint32_t clrUsed = 0;
    std::vector<Rgb> palette;  // for up to 8 bits
    // Palette index (up to 8 bits) or a palette-independent colour number, top row first.
    std::function<int(int x, int y)> pixel;
};

struct BuiltDib {
    std::string bytes;
    std::vector<Rgb> expected;  // top row first, left to right
};

// 16 and 32-bit pictures draw colour number n as the 8 corners of the RGB cube (n % 8).
Rgb CubeColor(int n);
BuiltDib BuildDib(const DibShape& shape);

// A bare 40-byte header; the rest of the block is left to the caller.
std::string InfoHeader(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::uint32_t compression, std::uint32_t sizeImage, std::uint32_t clrUsed);
void PutLe32(std::string& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t GetLe32(const std::string& bytes, std::size_t offset);
