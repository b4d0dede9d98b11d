#include "codeset/CodeSetFileReader.h"

bool ReadRawBytes(std::FILE* file, void* buffer, std::size_t size) {
    return size == 0 || std::fread(buffer, 1, size, file) == size;
}

bool ReadUint8(std::FILE* file, std::uint8_t& value) {
    return ReadRawBytes(file, &value, 1);
}

bool ReadUint16(std::FILE* file, std::uint16_t& value) {
    unsigned char bytes[2];
    if (!ReadRawBytes(file, bytes, 2))
        return false;
    value = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool ReadUint32(std::FILE* file, std::uint32_t& value) {
    unsigned char bytes[4];
    if (!ReadRawBytes(file, bytes, 4))
        return false;
    value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
            (static_cast<std::uint32_t>(bytes[2]) << 16) |
            (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

bool ReadUint16Array(std::FILE* file, std::uint16_t* values, std::size_t count) {
    // Read in blocks so that large tables cost few calls, then fix the byte order.
    unsigned char block[4096];
    std::size_t done = 0;
    while (done < count) {
        std::size_t chunk = count - done;
        if (chunk > sizeof(block) / 2)
            chunk = sizeof(block) / 2;
        if (!ReadRawBytes(file, block, chunk * 2))
            return false;
        for (std::size_t i = 0; i < chunk; ++i) {
            values[done + i] = static_cast<std::uint16_t>(block[2 * i] | (block[2 * i + 1] << 8));
        }
        done += chunk;
    }
    return true;
}

bool ReadUint16Array(std::FILE* file, char16_t* values, std::size_t count) {
    unsigned char block[4096];
    std::size_t done = 0;
    while (done < count) {
        std::size_t chunk = count - done;
        if (chunk > sizeof(block) / 2)
            chunk = sizeof(block) / 2;
        if (!ReadRawBytes(file, block, chunk * 2))
            return false;
        for (std::size_t i = 0; i < chunk; ++i) {
            values[done + i] = static_cast<char16_t>(block[2 * i] | (block[2 * i + 1] << 8));
        }
        done += chunk;
    }
    return true;
}

bool BytesLeft(std::FILE* file, std::uint64_t& left) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return false;
    long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || end < here)
        return false;
    left = static_cast<std::uint64_t>(end - here);
    return true;
}
