#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Little-endian reads from a .okc file. Each returns false when the file ends first, so that
// no table is ever filled from bytes the file does not hold.
bool ReadRawBytes(std::FILE* file, void* buffer, std::size_t size);
bool ReadUint8(std::FILE* file, std::uint8_t& value);
bool ReadUint16(std::FILE* file, std::uint16_t& value);
bool ReadUint32(std::FILE* file, std::uint32_t& value);
// Reads count 16-bit values; false on a short read.
bool ReadUint16Array(std::FILE* file, std::uint16_t* values, std::size_t count);
bool ReadUint16Array(std::FILE* file, char16_t* values, std::size_t count);
// Bytes from the current position to the end of the file; false when the position can't be
// told. Counts from the file are checked against this before anything is allocated.
bool BytesLeft(std::FILE* file, std::uint64_t& left);
