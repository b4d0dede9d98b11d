#pragma once

#include <cstdint>
#include <cstring>

// Whether the low byte of a 16-bit value comes first in memory, as in the clipboard's UTF-16
// blocks (the compilers fold this).
inline bool IsLittleEndianMachine() {
    const std::uint16_t probe = 1;
    unsigned char first = 0;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}
