#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "codeset/ByteOrder.h"
#include "codeset/CodeSet.h"
#include "codeset/Simd.h"

// Helpers of the whole-text conversions of the table code sets.

// What the flat encode table holds for a unit: 0 sends it to the per-character path, 1 to
// 255 is its one byte, anything else its lead byte (low half) and trail byte (high half),
// the order in which they are written.
using EncodeTableEntry = std::uint16_t;
constexpr std::size_t kEncodeTableSize = 0x10000;

// Bytes that the whole-text decoders read per chunk: the granule of the search for the
// terminating zero byte.
constexpr std::size_t kDecodeChunk = 16384;

// Appends to out what write puts at the pointer it is given, up to most characters; write
// returns the end of what it wrote. The characters go straight into the string's storage, not
// filled first: filling and copying each cost about as much as the conversion.
template <typename Char, typename Write>
void AppendInPlace(std::basic_string<Char>& out, std::size_t most, Write write) {
    const std::size_t old = out.size();
#if defined(__cpp_lib_string_resize_and_overwrite)
    out.resize_and_overwrite(old + most, [&](Char* data, std::size_t) {
        return static_cast<std::size_t>(write(data + old) - data);
    });
#else
    out.resize(old + most);
    out.resize(static_cast<std::size_t>(write(&out[0] + old) - out.data()));
#endif
}

// The per-character step of a bulk decoder: decodes the character at text + i with
// DecodeChar and writes its unit at dst; i moves past it, never beyond end. Returns
// DecodeChar's result (nothing is written or moved unless it is 0).
inline CodeSetResult DecodeOneChar(const CodeSet& codeSet, const unsigned char* text,
                                   std::size_t& i, std::size_t end, char16_t*& dst,
                                   unsigned flags) {
    char16_t unit = 0;
    std::size_t consumed = 0;
    bool isEntity = false;
    const CodeSetResult result = codeSet.DecodeChar(text + i, unit, consumed, isEntity, flags);
    if (result == CodeSetResult::Ok) {
        *dst++ = unit;
        i = consumed < end - i ? i + consumed : end;
    }
    return result;
}

// Units from base to base + count - 1 that a single-byte code set writes as the unit minus
// delta (count 0 when there is no such run).
struct LinearRun {
    unsigned base = 0;
    unsigned count = 0;
    char16_t delta = 0;
};

// The units below 64 that an encoder must see one by one under these flags: the special
// characters that ClassifySpecial does not pass through, and the marker written as "<".
// Only units below limit are considered (the double-byte encoder treats no unit at or
// above tableStart as special).
std::uint64_t SpecialUnitMask(unsigned flags, bool escapeMarkup, unsigned limit);

// Appends the representations of count units through the flat table; a unit that the
// table sends to the per-character path, or that special marks, goes through slow: given
// the units from it to the end of the text, it writes the zero-terminated representation of
// the character there into a zero-filled buffer of kCharBufferSize bytes and returns the
// units that character takes (2 for a surrogate pair). asciiLimit: units from 1 below it
// stand for themselves (0 when none do); singleByte: no table entry is two bytes long;
// latin1 (single-byte code sets, or null): the bytes of U+0080 to U+00FF as the table has
// them, for the SSSE3 blocks (kSsse3, the caller compiled for SSSE3).
template <bool kSsse3 = false, typename Slow>
void EncodeWithTable(const EncodeTableEntry* table, std::uint64_t special, unsigned asciiLimit,
                     LinearRun linear, bool singleByte, const unsigned char* latin1,
                     const char16_t* units, std::size_t count, std::string& out, Slow slow);

// Output room that the whole-text encoders keep beyond two bytes a unit: the byte the fast
// paths write past what they keep, and room for representations of the per-character path.
// The first window of output has room for kSlowPieces of them; each next one twice as many.
constexpr std::size_t kSpareBytes = 16;
constexpr std::size_t kSlowPieces = 64;

// Encodes units from p through the table until end or the first unit that needs the
// per-character path; returns where it stopped. Writes two bytes per unit (at least one
// spare byte is needed) and keeps one or two of them.
template <bool kSpecial>
const char16_t* EncodeRun(const EncodeTableEntry* table, std::uint64_t special, const char16_t* p,
                          const char16_t* end, char*& cursor) {
    char* c = cursor;
    // Two units per step while both go through the table: fewer instructions per unit in
    // the long runs of two-byte text.
    for (; end - p >= 2; p += 2) {
        const char16_t first = p[0];
        const char16_t second = p[1];
        if (kSpecial && ((first < 64 && ((special >> first) & 1)) ||
                         (second < 64 && ((special >> second) & 1))))
            break;
        const EncodeTableEntry firstEntry = table[first];
        const EncodeTableEntry secondEntry = table[second];
        if (firstEntry == 0 || secondEntry == 0)
            break;
        c[0] = static_cast<char>(firstEntry & 0xFF);
        c[1] = static_cast<char>(firstEntry >> 8);
        c += firstEntry > 0xFF ? 2 : 1;
        c[0] = static_cast<char>(secondEntry & 0xFF);
        c[1] = static_cast<char>(secondEntry >> 8);
        c += secondEntry > 0xFF ? 2 : 1;
    }
    for (; p < end; ++p) {
        const char16_t unit = *p;
        if (kSpecial && unit < 64 && ((special >> unit) & 1))
            break;
        const EncodeTableEntry entry = table[unit];
        if (entry == 0)
            break;
        c[0] = static_cast<char>(entry & 0xFF);
        c[1] = static_cast<char>(entry >> 8);
        c += entry > 0xFF ? 2 : 1;
    }
    cursor = c;
    return p;
}

#if defined(PEL_SSE2)
// Encodes the units from p in blocks, in a single-byte code set, until fewer than 8 are left
// or a block holds a unit for the per-character path (it and the rest are left to the
// caller); returns where it stopped. A block of 8 goes through narrow, the units it leaves
// through the table. With latin1 (kSsse3 only), 16 units at a time go through narrow and
// latin1 without a look-up per unit.
template <bool kSsse3>
PEL_KERNEL const char16_t* EncodeSingleByteBlocks(const NarrowBlocks& narrow,
                                                  const Latin1Bytes* latin1,
                                                  const EncodeTableEntry* table,
                                                  std::uint64_t special, const char16_t* p,
                                                  const char16_t* end, char*& cursor) {
    char* c = cursor;
    while (end - p >= 8) {
        _mm_prefetch(reinterpret_cast<const char*>(p) + kFetchAhead, _MM_HINT_T0);
#if defined(PEL_SSSE3)
        if constexpr (kSsse3) {
            // A block that this leaves is taken 8 units at a time, and then this again.
            if (latin1 != nullptr && end - p >= 16 && latin1->Store(narrow, p, c) == 0) {
                p += 16;
                c += 16;
                continue;
            }
        }
#else
        (void)latin1;
#endif
        // Each lane has two bits in the mask.
        for (unsigned mask = narrow.Store(p, c); mask != 0; mask &= ~(3u << LowestBit(mask))) {
            const unsigned lane = LowestBit(mask) / 2;
            const char16_t unit = p[lane];
            if ((unit < 64 && ((special >> unit) & 1)) || table[unit] == 0) {
                cursor = c;
                return p;
            }
            c[lane] = static_cast<char>(table[unit]);
        }
        p += 8;
        c += 8;
    }
    cursor = c;
    return p;
}
#endif

template <bool kSsse3, typename Slow>
void EncodeWithTable(const EncodeTableEntry* table, std::uint64_t special, unsigned asciiLimit,
                     LinearRun linear, bool singleByte, const unsigned char* latin1,
                     const char16_t* units, std::size_t count, std::string& out, Slow slow) {
    const std::size_t perUnit = singleByte ? 1 : 2;
    char lowUnits[64][CodeSet::kCharBufferSize];
    std::uint64_t lowUnitsKnown = 0;
    const char16_t* next = units;
    const char16_t* const end = units + count;
#if defined(PEL_SSE2)
    const NarrowBlocks narrow(asciiLimit, special, linear.base, linear.count, linear.delta);
    const Latin1Bytes* latin1Bytes = nullptr;
#if defined(PEL_SSSE3)
    Latin1Bytes latin1Rows;
    if constexpr (kSsse3) {
        if (latin1 != nullptr) {
            latin1Rows.Load(latin1);
            latin1Bytes = &latin1Rows;
        }
    }
#endif
#else
    (void)asciiLimit;
#endif
    (void)latin1;
    // What the fast paths may write for the units from a position on.
    auto fastRoom = [&](const char16_t* from) {
        return static_cast<std::size_t>(end - from) * perUnit + kSpareBytes;
    };
    std::size_t slowRoom = kSlowPieces * CodeSet::kCharBufferSize;
    // The bytes are written in place, a window of the string at a time: a window ends when a
    // representation of the per-character path would leave too little room for the rest.
    while (next < end) {
        const std::size_t room = fastRoom(next) + slowRoom;
        AppendInPlace(out, room, [&](char* cursor) {
            // A copy of the position: the bytes written through cursor could otherwise be the
            // position itself as far as the compiler knows, which reloads it after each one.
            const char16_t* p = next;
            char* const limit = cursor + room;
            while (p < end) {
#if defined(PEL_SSE2)
                // In a single-byte code set, 8 units at once, up to a block with a unit for
                // the per-character path: that unit goes through EncodeRun and the loop
                // tries blocks again from the next one.
                if (singleByte && end - p >= 8)
                    p = EncodeSingleByteBlocks<kSsse3>(narrow, latin1Bytes, table, special, p, end,
                                                       cursor);
#endif
                const char16_t* const runEnd = singleByte && end - p > 8 ? p + 1 : end;
                p = special != 0 ? EncodeRun<true>(table, special, p, runEnd, cursor)
                                 : EncodeRun<false>(table, special, p, runEnd, cursor);
                if (p == end || p == runEnd)
                    continue;
                if (static_cast<std::size_t>(limit - cursor) <
                    CodeSet::kCharBufferSize + fastRoom(p + 1))
                    break;
                const char16_t unit = *p++;
                const char* piece = nullptr;
                char buffer[CodeSet::kCharBufferSize] = {};
                if (unit < 64) {
                    // The special characters (quotes, apostrophes, ampersands in prose) come
                    // back often: each is encoded once per text.
                    char* const known = lowUnits[unit];
                    if (!((lowUnitsKnown >> unit) & 1)) {
                        std::memset(known, 0, CodeSet::kCharBufferSize);
                        slow(&unit, 1, known);
                        known[CodeSet::kCharBufferSize - 1] = '\0';
                        lowUnitsKnown |= std::uint64_t(1) << unit;
                    }
                    piece = known;
                } else {
                    p += slow(p - 1, static_cast<std::size_t>(end - p) + 1, buffer) - 1;
                    buffer[CodeSet::kCharBufferSize - 1] = '\0';
                    piece = buffer;
                }
                for (; *piece != 0; ++piece)
                    *cursor++ = *piece;
            }
            next = p;
            return cursor;
        });
        slowRoom *= 2;
    }
}
