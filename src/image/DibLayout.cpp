#include "image/DibLayout.h"

std::uint32_t ReadLe32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void StoreLe32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

namespace {

std::uint16_t ReadLe16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::int32_t ReadSigned32(const unsigned char* p) {
    std::uint32_t u = ReadLe32(p);
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}

std::uint64_t ColorCount(std::uint32_t clrUsed, std::uint16_t bitCount) {
    if (clrUsed != 0)
        return clrUsed;
    switch (bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

}  // namespace

DibCheck ComputeDibLayout(const unsigned char* dib, std::size_t size, DibLayout& layout) {
    layout = DibLayout();
    if (dib == nullptr || size < 4)
        return DibCheck::TooShort;
    if (ReadLe32(dib) != kInfoHeaderSize)
        return DibCheck::HeaderSize;
    if (size < kInfoHeaderSize)
        return DibCheck::TooShort;

    const std::int32_t width = ReadSigned32(dib + 4);
    const std::int32_t height = ReadSigned32(dib + 8);
    const std::uint16_t bitCount = ReadLe16(dib + 14);
    layout.compression = ReadLe32(dib + 16);
    const std::uint32_t sizeImage = ReadLe32(dib + 20);
    const std::uint32_t clrUsed = ReadLe32(dib + 32);
    // Only these four say where the pixels end; any other would be written as uncompressed
    // rows that the block doesn't hold.
    if (layout.compression > kBiBitFields)
        return DibCheck::Compression;

    layout.topDown = height < 0;
    layout.rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    // The colour table follows the three masks of a bit-field DIB.
    layout.colorTableSize =
        ColorCount(clrUsed, bitCount) * 4 + (layout.compression == kBiBitFields ? 12 : 0);

    const std::uint64_t available = size - kInfoHeaderSize;
    if (layout.colorTableSize > available)
        return DibCheck::BeyondBlock;
    const std::uint64_t pixelRoom = available - layout.colorTableSize;

    if (layout.Compressed()) {
        // Run-length rows can't be reversed, and such a DIB is only defined bottom-up.
        if (layout.topDown)
            return DibCheck::NoImage;
        layout.pixelSize = sizeImage;
    } else {
        if (width <= 0)
            return DibCheck::NoImage;
        layout.rowSize = (std::uint64_t(bitCount) * std::uint64_t(width) + 31) / 32 * 4;
        if (layout.rowSize != 0 && layout.rows > pixelRoom / layout.rowSize) {
            return DibCheck::BeyondBlock;
        }
        layout.pixelSize = layout.rowSize * layout.rows;
    }
    if (layout.pixelSize == 0)
        return DibCheck::NoImage;
    if (layout.pixelSize > pixelRoom)
        return DibCheck::BeyondBlock;

    layout.dibSize = kInfoHeaderSize + layout.colorTableSize + layout.pixelSize;
    if (layout.FileSize() > 0xFFFFFFFFu)
        return DibCheck::TooLarge;
    return DibCheck::Ok;
}
