#include "DibBuilder.h"

namespace {

void Append32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

std::string EncodeRow(const DibShape& shape, int y) {
    std::string row;
    if (shape.bitCount <= 8) {
        int bits = 0, used = 0;
        for (int x = 0; x < shape.width; ++x) {
            bits = bits << shape.bitCount | shape.pixel(x, y);
            used += shape.bitCount;
            if (used == 8) {
                row.push_back(static_cast<char>(bits));
                bits = used = 0;
            }
        }
        if (used > 0)
            row.push_back(static_cast<char>(bits << (8 - used)));
    } else {
        for (int x = 0; x < shape.width; ++x) {
            Rgb c = CubeColor(shape.pixel(x, y));
            if (shape.bitCount == 16) {
                // 5-6-5 bit fields.
                unsigned v = (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
                row.push_back(static_cast<char>(v));
                row.push_back(static_cast<char>(v >> 8));
            } else {
                row.push_back(static_cast<char>(c.b));
                row.push_back(static_cast<char>(c.g));
                row.push_back(static_cast<char>(c.r));
                if (shape.bitCount == 32)
                    row.push_back('\0');
            }
        }
    }
    while (row.size() % 4 != 0)
        row.push_back('\0');
    return row;
}

// Each pixel as its own run; end of line after each row, end of bitmap at the end.
std::string EncodeRle8Row(const DibShape& shape, int y) {
    std::string out;
    for (int x = 0; x < shape.width; ++x) {
        out.push_back('\1');
        out.push_back(static_cast<char>(shape.pixel(x, y)));
    }
    out.append("\0\0", 2);
    return out;
}

}  // namespace

Rgb CubeColor(int n) {
    Rgb c;
    c.r = (n & 1) ? 255 : 0;
    c.g = (n & 2) ? 255 : 0;
    c.b = (n & 4) ? 255 : 0;
    return c;
}

void PutLe32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

std::string InfoHeader(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::uint32_t compression, std::uint32_t sizeImage, std::uint32_t clrUsed) {
    std::string h(40, '\0');
    PutLe32(h, 0, 40);
    PutLe32(h, 4, static_cast<std::uint32_t>(width));
    PutLe32(h, 8, static_cast<std::uint32_t>(height));
    h[12] = 1;
    h[14] = static_cast<char>(bitCount);
    h[15] = static_cast<char>(bitCount >> 8);
    PutLe32(h, 16, compression);
    PutLe32(h, 20, sizeImage);
    PutLe32(h, 24, 2835);
    PutLe32(h, 28, 2835);
    PutLe32(h, 32, clrUsed);
    return h;
}

BuiltDib BuildDib(const DibShape& shape) {
    BuiltDib built;
    std::string pixels;
    for (int i = 0; i < shape.height; ++i) {
        // Stored rows run bottom-up unless the DIB is top-down.
        int y = shape.topDown ? i : shape.height - 1 - i;
        pixels += shape.compression == 1 ? EncodeRle8Row(shape, y) : EncodeRow(shape, y);
    }
    if (shape.compression == 1)
        pixels.append("\0\1", 2);

    std::uint32_t sizeImage =
        shape.compression == 1 ? static_cast<std::uint32_t>(pixels.size()) : 0;
    built.bytes = InfoHeader(shape.width, shape.topDown ? -shape.height : shape.height,
                             static_cast<std::uint16_t>(shape.bitCount), shape.compression,
                             sizeImage, shape.clrUsed);
    if (shape.compression == 3) {
        if (shape.bitCount == 16) {
            Append32(built.bytes, 0xF800);
            Append32(built.bytes, 0x07E0);
            Append32(built.bytes, 0x001F);
        } else {
            Append32(built.bytes, 0x00FF0000);
            Append32(built.bytes, 0x0000FF00);
            Append32(built.bytes, 0x000000FF);
        }
    }
    for (const Rgb& c : shape.palette) {
        built.bytes.push_back(static_cast<char>(c.b));
        built.bytes.push_back(static_cast<char>(c.g));
        built.bytes.push_back(static_cast<char>(c.r));
        built.bytes.push_back('\0');
    }
    built.bytes += pixels;

    for (int y = 0; y < shape.height; ++y) {
        for (int x = 0; x < shape.width; ++x) {
            int p = shape.pixel(x, y);
            built.expected.push_back(shape.bitCount <= 8 ? shape.palette.at(p) : CubeColor(p));
        }
    }
    return built;
}
