#pragma once

#include <cstddef>
#include <cstdint>

// Fields of the BITMAPINFOHEADER at the start of a DIB.
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

// Why a DIB block can't be written as a BMP file.
enum class DibCheck {
    Ok,
    TooShort,     // not even a whole header
    HeaderSize,   // biSize other than 40
    NoImage,      // no pixels, a width below 1, or a compressed top-down DIB
    Compression,  // a compression (JPEG, PNG, ...) whose pixel size the header doesn't give
    BeyondBlock,  // the header claims more bytes than the block holds
    TooLarge,     // the file would not fit the 32-bit sizes of its header
};

// Where the parts of a DIB lie, computed from its header in 64 bits.
struct DibLayout {
    std::uint32_t compression = 0;
    std::uint64_t colorTableSize = 0;  // bit-field masks and colours
    std::uint64_t rowSize = 0;         // uncompressed DIBs only
    std::uint64_t rows = 0;            // the height, whichever way the rows run
    bool topDown = false;
    std::uint64_t pixelSize = 0;
    std::uint64_t dibSize = 0;  // header + colour table + pixels

    bool Compressed() const { return compression == kBiRle8 || compression == kBiRle4; }
    std::uint64_t FileSize() const { return kFileHeaderSize + dibSize; }
    std::uint64_t PixelOffset() const { return kFileHeaderSize + kInfoHeaderSize + colorTableSize; }
};

// Checks a DIB block of the given real size and computes its layout; never reads past it.
DibCheck ComputeDibLayout(const unsigned char* dib, std::size_t size, DibLayout& layout);

std::uint32_t ReadLe32(const unsigned char* p);
void StoreLe32(unsigned char* p, std::uint32_t value);
