#pragma once

// The vector instructions of the bulk conversions: SSE2, which every x86-64 processor has.
// Without it the loops take their per-character way.
#if defined(__SSE2__) || defined(_M_X64)
#define PEL_SSE2 1
#include <emmintrin.h>
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

// The index of the lowest set bit of a non-zero mask (of a movemask, most often).
inline unsigned LowestBit(unsigned mask) {
#if defined(_MSC_VER)
    unsigned long index = 0;
    _BitScanForward(&index, mask);
    return static_cast<unsigned>(index);
#else
    return static_cast<unsigned>(__builtin_ctz(mask));
#endif
}
