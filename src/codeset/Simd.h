#pragma once

// The vector kernels of the bulk conversions, kept apart from the loops that use them: each
// takes a block of text at once and leaves what it can't do to the caller's table look-ups
// and per-character path. SSE2 is what every x86-64 processor has; without it the loops take
// their per-character way.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#define PEL_SSE2 1
#include <emmintrin.h>
#endif
// Kernels that need SSSE3 (a byte shuffle), compiled for it alone and chosen at run time: the
// exe must still run on the x86-64 processors that lack it.
#if defined(PEL_SSE2) && (defined(__GNUC__) || defined(__clang__))
#define PEL_SSSE3 1
#include <tmmintrin.h>
#define PEL_TARGET_SSSE3 __attribute__((target("ssse3")))
// For the function that runs a conversion loop with the SSSE3 kernels: they can't be forced
// inline into the loop's template, only into a function compiled for SSSE3, so everything
// it calls is inlined into it.
#define PEL_SSSE3_LOOP __attribute__((target("ssse3"), flatten))
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

// A kernel called from a conversion loop: always inlined, the call costs as much as a block.
#if defined(_MSC_VER)
#define PEL_KERNEL __forceinline
#else
#define PEL_KERNEL inline __attribute__((always_inline))
#endif

#if defined(PEL_SSSE3)
// Whether the processor has SSSE3 (looked up once; the look-up is filled in first, in case
// this runs before the runtime's own constructors have).
inline bool HasSsse3() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return has;
}

// For each set of the 8 two-byte lanes of a block (bit k for lane k), the byte shuffle that
// keeps, in order, the bytes that keeps(in the set, first or second byte) picks, and how
// many it keeps; the bytes after them are cleared.
struct LaneShuffles {
    alignas(16) unsigned char control[256][16];
    unsigned char bytes[256];
};

template <typename Keeps>
constexpr LaneShuffles MakeLaneShuffles(Keeps keeps) {
    LaneShuffles table{};
    for (unsigned set = 0; set < 256; ++set) {
        unsigned n = 0;
        for (unsigned lane = 0; lane < 8; ++lane) {
            for (unsigned byte = 0; byte < 2; ++byte) {
                if (keeps(((set >> lane) & 1) != 0, byte))
                    table.control[set][n++] = static_cast<unsigned char>(2 * lane + byte);
            }
        }
        table.bytes[set] = static_cast<unsigned char>(n);
        for (; n < 16; ++n)
            table.control[set][n] = 0x80;
    }
    return table;
}
#endif

#if defined(PEL_SSE2)

// Single-byte decoding.

// How far ahead of the block being converted the text is fetched into the cache (in bytes,
// of multibyte text or of units): the hardware alone keeps the loops waiting on memory for
// long texts.
constexpr std::size_t kFetchAhead = 4096;
// How far ahead of the units being written their lines are fetched (in bytes): a store to a
// line that is not in the cache waits for the line to be read first.
constexpr std::size_t kStoreAhead = 4096;

// Widens the blocks of 16 bytes from text + i while they lie before limit: the bytes of the
// linear run from linearFrom up are moved by delta (with kShift), the other bytes of 0x80
// and above patched in from values. Stops after writing the bytes before the first zero
// byte, or (with kEntities) the first ampersand, of a block; i and dst follow. length: the
// size of the text, the bound of what is fetched ahead.
template <bool kLinear, bool kShift, bool kEntities>
void WidenBlocks(const unsigned char* text, std::size_t length, std::size_t& i, std::size_t limit,
                 char16_t*& dst, const char16_t* values, unsigned linearFrom,
                 char16_t linearDelta) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ampersand = _mm_set1_epi8('&');
    const __m128i delta = _mm_set1_epi16(static_cast<short>(linearDelta));
    const __m128i runStart = _mm_set1_epi8(static_cast<char>(kLinear ? linearFrom : 0));
    std::size_t at = i;
    char16_t* out = dst;
    while (limit - at >= 16) {
        if (length - at > kFetchAhead)
            _mm_prefetch(reinterpret_cast<const char*>(text + at + kFetchAhead), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(out) + kStoreAhead, _MM_HINT_T0);
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const __m128i high = _mm_cmplt_epi8(block, zero);
        __m128i patch = high;
        __m128i inRun = zero;
        if (kLinear) {
            // Bytes at or above linearFrom (itself 0x80 or above).
            inRun = _mm_cmpeq_epi8(_mm_max_epu8(block, runStart), block);
            patch = _mm_andnot_si128(inRun, high);
        }
        __m128i low = _mm_unpacklo_epi8(block, zero);
        __m128i upper = _mm_unpackhi_epi8(block, zero);
        if (kShift) {
            low = _mm_add_epi16(low, _mm_and_si128(_mm_unpacklo_epi8(inRun, inRun), delta));
            upper = _mm_add_epi16(upper, _mm_and_si128(_mm_unpackhi_epi8(inRun, inRun), delta));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), upper);
        __m128i stop = _mm_cmpeq_epi8(block, zero);
        if (kEntities)
            stop = _mm_or_si128(stop, _mm_cmpeq_epi8(block, ampersand));
        unsigned other = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(patch, stop)));
        if (other != 0) {
            const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(stop));
            if (stops != 0)
                other &= (1u << LowestBit(stops)) - 1;
            for (; other != 0; other &= other - 1) {
                const unsigned k = LowestBit(other);
                out[k] = values[text[at + k]];
            }
            if (stops != 0) {
                const unsigned k = LowestBit(stops);
                out += k;
                at += k;
                break;
            }
        }
        out += 16;
        at += 16;
    }
    i = at;
    dst = out;
}

// Double-byte decoding.

// Widens the run of bytes below 0x80 at text + i, 16 at a time while a block lies before
// limit, up to its first byte of 0x80 or above, zero byte or stop byte (an ampersand that
// may start an entity); i and dst follow. With kLatinLetters (UTF-8), a well-formed two-byte
// sequence followed by a byte below 0x80 (an accented letter in Latin text) is decoded in
// place and the run goes on, so that prose doesn't leave the loop at every accent; a run of
// such letters (Cyrillic, Greek) is left to the caller's blocks of two-byte text.
template <bool kLatinLetters = false>
PEL_KERNEL void WidenAscii(const unsigned char* text, std::size_t& i, std::size_t limit,
                           char16_t*& dst, __m128i stop) {
    const __m128i zero = _mm_setzero_si128();
    do {
        _mm_prefetch(reinterpret_cast<const char*>(text + i + kFetchAhead), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(dst) + kStoreAhead, _MM_HINT_T0);
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(block, zero));
        const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
            block, _mm_or_si128(_mm_cmpeq_epi8(block, zero), _mm_cmpeq_epi8(block, stop)))));
        if (stops == 0) {
            dst += 16;
            i += 16;
            continue;
        }
        const unsigned k = LowestBit(stops);
        if (kLatinLetters) {
            // A valid trail byte is never the terminating zero, so the byte after it is there.
            const unsigned char lead = text[i + k];
            const unsigned char trail = text[i + k + 1];
            if (lead >= 0xC2 && lead < 0xE0 && (trail & 0xC0) == 0x80 && text[i + k + 2] < 0x80) {
                dst[k] = static_cast<char16_t>((lead & 0x1F) << 6 | (trail & 0x3F));
                dst += k + 1;
                i += k + 2;
                continue;
            }
        }
        dst += k;
        i += k;
        return;
    } while (limit - i >= 16);
}

// Bytes that DecodeMixedBlock takes at once.
constexpr std::size_t kMixedBlock = 32;

// Decodes the 32 bytes at text + i (text + i + 32 must be readable) when they hold only
// characters below 0x80 of one byte (none of them zero or stop) and two-byte characters
// whose bytes are both 0x80 or above, so that the characters can be told apart without
// reading them in turn: a run of such bytes is all pairs and must be of even length. A pair
// that the block cuts is left for the next one. Bytes below 0x80 must never be lead bytes.
// Returns false, writing nothing that counts, when the block has anything else (a zero or
// stop byte, an odd run of high bytes, a byte that is not a lead byte where one must be, an
// undefined byte or pair).
PEL_KERNEL bool DecodeMixedBlock(const unsigned char* text, std::size_t& i, char16_t*& dst,
                                 const char16_t* pairs, __m128i stop) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 16));
    const __m128i stops =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(first, zero), _mm_cmpeq_epi8(first, stop)),
                     _mm_or_si128(_mm_cmpeq_epi8(second, zero), _mm_cmpeq_epi8(second, stop)));
    if (_mm_movemask_epi8(stops))
        return false;
    const std::uint64_t high = static_cast<unsigned>(_mm_movemask_epi8(first)) |
                               static_cast<std::uint64_t>(_mm_movemask_epi8(second)) << 16;
    if (high == 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(first, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(first, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), _mm_unpacklo_epi8(second, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 24), _mm_unpackhi_epi8(second, zero));
        dst += kMixedBlock;
        i += kMixedBlock;
        return true;
    }
    // A run of two-byte characters alone is left to the loop over pairs, which is quicker.
    constexpr std::uint64_t kAll = 0xFFFFFFFFu;
    if (high == kAll)
        return false;
    // The lead bytes of each run of high bytes are its first, third, ... byte: adding the
    // first bit of each run that starts at an even position clears that run (the carry
    // stops at the byte after it), which leaves the runs that start at an odd one.
    constexpr std::uint64_t kEven = 0x55555555u;
    const std::uint64_t starts = high & ~(high << 1);
    const std::uint64_t oddRuns = (high + (starts & kEven)) & high;
    const std::uint64_t leads = ((high & ~oddRuns) & kEven) | (oddRuns & ~kEven & kAll);
    if (((leads << 1) & kAll) != (high & ~leads))
        return false;
    // A lead byte at the end waits for its trail byte in the next block.
    const unsigned count = (leads >> 31) & 1 ? 31 : 32;
    // Each byte with the one after it, loaded as one 16-bit number, is the index of a pair
    // (SSE2 machines are little-endian: next byte << 8 | byte); the character of a byte below
    // 0x80 is the byte itself (as every byte below the table).
    const unsigned char* const block = text + i;
    auto characters = static_cast<unsigned>((~high | leads) & ((std::uint64_t(1) << count) - 1));
    const auto leadBits = static_cast<unsigned>(leads);
    char16_t* out = dst;
    for (; characters != 0; characters &= characters - 1) {
        const unsigned k = LowestBit(characters);
        std::uint16_t code = 0;
        std::memcpy(&code, block + k, 2);
        const char16_t pair = pairs[code];
        // A select, not a branch: the kinds of character alternate without a pattern.
        *out++ = (leadBits >> k) & 1 ? pair : static_cast<char16_t>(code & 0xFF);
    }
    // An undefined pair (or a byte that is no lead byte where one must be) reads U+FFFF;
    // lanes after the characters written are not looked at.
    const __m128i undefined = _mm_set1_epi16(-1);
    const auto written = static_cast<unsigned>(out - dst);
    std::uint64_t found = 0;
    for (unsigned lane = 0; lane < written; lane += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + lane));
        found |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi16(units, undefined)))
                 << (2 * lane);
    }
    if (found & ((written >= kMixedBlock ? 0 : std::uint64_t(1) << (2 * written)) - 1))
        return false;
    dst = out;
    i += count;
    return true;
}

// UTF-8 decoding.

#if defined(PEL_SSSE3)

// The units of the set keep both their bytes, the others none.
inline constexpr LaneShuffles kKeptUnits =
    MakeLaneShuffles([](bool kept, unsigned) { return kept; });

// Writes the lanes of units that keep marks one after another at dst (8 units are written);
// returns the end of them.
PEL_TARGET_SSSE3 inline char16_t* StoreKeptUnitsSsse3(__m128i units, unsigned keep, char16_t* dst) {
    const __m128i control =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kKeptUnits.control[keep]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(units, control));
    return dst + kKeptUnits.bytes[keep] / 2;
}

#endif

// Decodes the 16 bytes at text + i (text + i + 16 must be readable) when they hold only
// characters of one byte (none of them zero or stop) and well-formed two-byte sequences
// (lead byte C2 to DF, trail byte 80 to BF), as Latin and Cyrillic text does; a sequence
// that the block cuts is left for the next one. Returns false, having written nothing that
// counts, when the block has anything else.
// With kSsse3 (for a caller compiled for SSSE3), the units are moved over those of the trail
// bytes with two shuffles instead of a move per byte.
template <bool kSsse3 = false>
PEL_KERNEL bool DecodeShortUtf8Block(const unsigned char* text, std::size_t& i, char16_t*& dst,
                                     __m128i stop) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 1));
    if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, zero), _mm_cmpeq_epi8(block, stop))))
        return false;
    // Trail bytes are -128 to -65 as signed bytes; lead bytes C2 to DF are 0 to 29 after
    // subtracting C2.
    const __m128i trails = _mm_cmplt_epi8(block, _mm_set1_epi8(-64));
    const __m128i leads =
        _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(block, _mm_set1_epi8(static_cast<char>(0xC2))),
                                     _mm_set1_epi8(0x1D)),
                       zero);
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
    const auto trail = static_cast<unsigned>(_mm_movemask_epi8(trails));
    const auto lead = static_cast<unsigned>(_mm_movemask_epi8(leads));
    // Every high byte a lead or a trail byte, every trail byte right after a lead byte.
    if ((lead | trail) != high || ((lead << 1) & 0xFFFF) != trail)
        return false;
    const unsigned count = (lead >> 15) & 1 ? 15 : 16;
    // The unit each byte would start: itself below 0x80, else with the byte after it.
    auto units = [&](__m128i bytes, __m128i after, __m128i ascii) {
        const __m128i two =
            _mm_or_si128(_mm_slli_epi16(_mm_and_si128(bytes, _mm_set1_epi16(0x1F)), 6),
                         _mm_and_si128(after, _mm_set1_epi16(0x3F)));
        return _mm_or_si128(_mm_and_si128(ascii, bytes), _mm_andnot_si128(ascii, two));
    };
    const __m128i ascii = _mm_cmpgt_epi8(block, _mm_set1_epi8(-1));
    const __m128i first = units(_mm_unpacklo_epi8(block, zero), _mm_unpacklo_epi8(next, zero),
                                _mm_unpacklo_epi8(ascii, ascii));
    const __m128i second = units(_mm_unpackhi_epi8(block, zero), _mm_unpackhi_epi8(next, zero),
                                 _mm_unpackhi_epi8(ascii, ascii));
#if defined(PEL_SSSE3)
    if constexpr (kSsse3) {
        const unsigned keep = ~trail & 0xFFFF;
        char16_t* const end =
            StoreKeptUnitsSsse3(second, keep >> 8, StoreKeptUnitsSsse3(first, keep & 0xFF, dst));
        // A lead byte at the end was counted as a character of its own.
        dst = end - (16 - count);
        i += count;
        return true;
    }
#endif
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), second);
    // Each unit moves down over those of the trail bytes before it, in place and without a
    // branch: a trail byte's unit is written where the next character's unit then goes.
    unsigned at = 0;
    for (unsigned k = 0; k < 16; ++k) {
        dst[at] = dst[k];
        at += 1 - ((trail >> k) & 1);
    }
    // A lead byte at the end was counted as a character of its own.
    char16_t* const out = dst + at - (16 - count);
    dst = out;
    i += count;
    return true;
}

// UTF-8 encoding.

// Narrows the ASCII units of a text to their bytes, 16 at a time: zero and up to six units
// below 64 that special marks stop it (more marked units than that: Usable() is false).
class AsciiNarrower {
public:
    explicit AsciiNarrower(std::uint64_t special) {
        for (unsigned unit = 1; unit < 64; ++unit) {
            if (!((special >> unit) & 1))
                continue;
            if (count_ == 6) {
                count_ = -1;
                return;
            }
            marked_[count_++] = _mm_set1_epi16(static_cast<short>(unit));
        }
    }

    bool Usable() const { return count_ >= 0; }

    // Writes the bytes of the units from p on while a whole block lies before end, up to the
    // first unit above 0x7F, zero or marked; returns how many were written (their bytes are
    // at out, and up to 16 more bytes may be written after them).
    PEL_KERNEL std::size_t Store(const char16_t* p, const char16_t* end, char* out) const {
        const char16_t* const start = p;
        while (end - p >= 16) {
            _mm_prefetch(reinterpret_cast<const char*>(p) + kFetchAhead, _MM_HINT_T0);
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(first, second));
            const auto plain = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_packs_epi16(Plain(first), Plain(second))));
            if (plain != 0xFFFF)
                return static_cast<std::size_t>(p - start) + LowestBit(~plain);
            p += 16;
            out += 16;
        }
        return static_cast<std::size_t>(p - start);
    }

    // The lanes from 1 to 0x7F that are not marked (all ones).
    PEL_KERNEL __m128i Plain(__m128i units) const {
        // Less one, those units are 0 to 0x7E, which saturates to zero less 0x7E; zero
        // wraps around to 0xFFFF.
        const __m128i outside =
            _mm_subs_epu16(_mm_sub_epi16(units, _mm_set1_epi16(1)), _mm_set1_epi16(0x7E));
        __m128i plain = _mm_cmpeq_epi16(outside, _mm_setzero_si128());
        for (int k = 0; k < count_; ++k)
            plain = _mm_andnot_si128(_mm_cmpeq_epi16(units, marked_[k]), plain);
        return plain;
    }

    // Whether a lane is zero or marked.
    PEL_KERNEL bool AnyMarked(__m128i units) const {
        __m128i marked = _mm_cmpeq_epi16(units, _mm_setzero_si128());
        for (int k = 0; k < count_; ++k)
            marked = _mm_or_si128(marked, _mm_cmpeq_epi16(units, marked_[k]));
        return _mm_movemask_epi8(marked) != 0;
    }

private:
    __m128i marked_[6] = {};
    int count_ = 0;
};

// What the 8 units of a block are in UTF-8, when none needs the per-character path: all
// ASCII, all of one or two bytes (below U+0800), all of three (U+0800 up, but no surrogate and
// no U+2028), or of any of these lengths; an ASCII unit must not be zero or marked. Mixed: a
// unit needs the per-character path.
enum class Utf8Lengths { Mixed, Ascii, Short, Three, Any };

PEL_KERNEL Utf8Lengths ClassifyUtf8Block(const AsciiNarrower& narrower, __m128i units) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i upTo7FF = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7FF)), zero);
    const unsigned low = static_cast<unsigned>(_mm_movemask_epi8(upTo7FF));
    // Zero and marked units are the ASCII ones that need the per-character path.
    if (low == 0xFFFF) {
        if (narrower.AnyMarked(units))
            return Utf8Lengths::Mixed;
        const __m128i ascii = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7F)), zero);
        return _mm_movemask_epi8(ascii) == 0xFFFF ? Utf8Lengths::Ascii : Utf8Lengths::Short;
    }
    const __m128i surrogate = _mm_cmpeq_epi16(
        _mm_subs_epu16(_mm_sub_epi16(units, _mm_set1_epi16(static_cast<short>(0xD800))),
                       _mm_set1_epi16(0x7FF)),
        zero);
    const __m128i other = _mm_or_si128(surrogate, _mm_cmpeq_epi16(units, _mm_set1_epi16(0x2028)));
    if (_mm_movemask_epi8(other) != 0)
        return Utf8Lengths::Mixed;
    if (low == 0)
        return Utf8Lengths::Three;
    return narrower.AnyMarked(units) ? Utf8Lengths::Mixed : Utf8Lengths::Any;
}

// Writes the one to three bytes of each of 8 units (none a surrogate), without a branch per
// unit; returns the end of them (up to 3 more bytes are written).
PEL_KERNEL char* StoreUtf8Block(__m128i units, char* out) {
    const __m128i zero = _mm_setzero_si128();
    // 3 less one for a unit up to 0x7FF and one more up to 0x7F (the masks are -1), a byte each.
    const __m128i upTo7F = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7F)), zero);
    const __m128i upTo7FF = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7FF)), zero);
    const __m128i lengths = _mm_add_epi16(_mm_set1_epi16(3), _mm_add_epi16(upTo7F, upTo7FF));
    auto steps = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(lengths, zero)));
    char* c = out;
    // Each unit's bytes in a 32-bit lane, lead byte lowest, stored 4 at a time.
    auto half = [&](__m128i wide) {
        const __m128i six = _mm_set1_epi32(0x3F);
        const __m128i last = _mm_or_si128(_mm_and_si128(wide, six), _mm_set1_epi32(0x80));
        const __m128i three = _mm_or_si128(
            _mm_or_si128(_mm_srli_epi32(wide, 12), _mm_set1_epi32(0xE0)),
            _mm_or_si128(_mm_slli_epi32(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(wide, 6), six),
                                                     _mm_set1_epi32(0x80)),
                                        8),
                         _mm_slli_epi32(last, 16)));
        const __m128i two = _mm_or_si128(
            _mm_or_si128(_mm_srli_epi32(wide, 6), _mm_set1_epi32(0xC0)), _mm_slli_epi32(last, 8));
        const __m128i isTwo = _mm_cmpgt_epi32(wide, _mm_set1_epi32(0x7F));
        const __m128i isThree = _mm_cmpgt_epi32(wide, _mm_set1_epi32(0x7FF));
        const __m128i bytes = _mm_or_si128(
            _mm_and_si128(isThree, three),
            _mm_andnot_si128(
                isThree, _mm_or_si128(_mm_and_si128(isTwo, two), _mm_andnot_si128(isTwo, wide))));
        auto store = [&](std::uint64_t pair) {
            for (int k = 0; k < 2; ++k, pair >>= 32, steps >>= 8) {
                const auto four = static_cast<std::uint32_t>(pair);
                std::memcpy(c, &four, 4);
                c += steps & 0xFF;
            }
        };
        store(static_cast<std::uint64_t>(_mm_cvtsi128_si64(bytes)));
        store(static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(bytes, 8))));
    };
    half(_mm_unpacklo_epi16(units, zero));
    half(_mm_unpackhi_epi16(units, zero));
    return c;
}

// The one or two bytes of each of 8 units below U+0800 as 16-bit lanes, lead byte first (the
// unit itself for one of ASCII, the lanes that ascii marks).
PEL_KERNEL __m128i ShortBlockBytes(__m128i units, __m128i ascii) {
    const __m128i lead = _mm_or_si128(_mm_srli_epi16(units, 6), _mm_set1_epi16(0xC0));
    const __m128i trail =
        _mm_or_si128(_mm_and_si128(units, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80));
    // Little-endian lanes: the lead byte first.
    const __m128i pairs = _mm_or_si128(lead, _mm_slli_epi16(trail, 8));
    return _mm_or_si128(_mm_and_si128(ascii, units), _mm_andnot_si128(ascii, pairs));
}

// Writes the one or two bytes of each of 8 units below U+0800; returns the end of them.
PEL_KERNEL char* StoreShortBlock(__m128i units, char* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7F)), zero);
    const __m128i bytes = ShortBlockBytes(units, ascii);
    unsigned single = static_cast<unsigned>(_mm_movemask_epi8(ascii));
    char* c = out;
    // Four lanes at a time out of a 64-bit register, each stored as two bytes of which one or
    // both count.
    auto four = [&](std::uint64_t lanes) {
        for (int k = 0; k < 4; ++k, lanes >>= 16, single >>= 2) {
            const auto two = static_cast<std::uint16_t>(lanes);
            std::memcpy(c, &two, 2);
            c += 2 - (single & 1);
        }
    };
    four(static_cast<std::uint64_t>(_mm_cvtsi128_si64(bytes)));
    four(static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(bytes, 8))));
    return c;
}

#if defined(PEL_SSSE3)

// The lanes of one byte keep only their first.
inline constexpr LaneShuffles kShortBlockBytes =
    MakeLaneShuffles([](bool single, unsigned byte) { return byte == 0 || !single; });

// StoreShortBlock with one shuffle for the 16 bytes instead of a store per unit (16 bytes
// are written).
PEL_TARGET_SSSE3 inline char* StoreShortBlockSsse3(__m128i units, char* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7F)), zero);
    const __m128i bytes = ShortBlockBytes(units, ascii);
    const auto single =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(ascii, zero))) & 0xFF;
    const __m128i control =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kShortBlockBytes.control[single]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, control));
    return out + kShortBlockBytes.bytes[single];
}

#endif

// Writes the three bytes of each of 8 units from U+0800 up (none a surrogate); returns the
// end of them (up to 1 more byte is written).
PEL_KERNEL char* StoreThreeByteBlock(__m128i units, char* out) {
    const __m128i zero = _mm_setzero_si128();
    char* c = out;
    // Each unit's three bytes in a 32-bit lane, lead byte lowest, written 3 bytes apart.
    auto half = [&](__m128i wide) {
        const __m128i six = _mm_set1_epi32(0x3F);
        const __m128i lead = _mm_or_si128(_mm_srli_epi32(wide, 12), _mm_set1_epi32(0xE0));
        const __m128i middle =
            _mm_or_si128(_mm_and_si128(_mm_srli_epi32(wide, 6), six), _mm_set1_epi32(0x80));
        const __m128i last = _mm_or_si128(_mm_and_si128(wide, six), _mm_set1_epi32(0x80));
        const __m128i bytes =
            _mm_or_si128(lead, _mm_or_si128(_mm_slli_epi32(middle, 8), _mm_slli_epi32(last, 16)));
        auto two = static_cast<std::uint64_t>(_mm_cvtsi128_si64(bytes));
        auto low = static_cast<std::uint32_t>(two);
        std::memcpy(c, &low, 4);
        low = static_cast<std::uint32_t>(two >> 32);
        std::memcpy(c + 3, &low, 4);
        two = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(bytes, 8)));
        low = static_cast<std::uint32_t>(two);
        std::memcpy(c + 6, &low, 4);
        low = static_cast<std::uint32_t>(two >> 32);
        std::memcpy(c + 9, &low, 4);
        c += 12;
    };
    half(_mm_unpacklo_epi16(units, zero));
    half(_mm_unpackhi_epi16(units, zero));
    return c;
}

// Single-byte encoding.

// Narrows 8 units at a time to the bytes of a single-byte code set: units from 1 below
// asciiLimit stand for themselves, units of the linear run (count units from base) become
// the unit minus delta; the lanes of every other unit, zero, or a unit below 64 that special
// marks are left for the caller's table.
class NarrowBlocks {
public:
    NarrowBlocks(unsigned asciiLimit, std::uint64_t special, unsigned base, unsigned count,
                 char16_t delta)
        : below_(_mm_set1_epi16(static_cast<short>(asciiLimit > 0 ? asciiLimit - 1 : 0))),
          linearBase_(_mm_set1_epi16(static_cast<short>(base))),
          linearLast_(_mm_set1_epi16(static_cast<short>(count - 1))),
          linearDelta_(_mm_set1_epi16(static_cast<short>(delta))),
          linear_(count != 0) {
        for (unsigned unit = 0; unit < 64; ++unit) {
            if ((special >> unit) & 1)
                specials_[specialCount_++] = _mm_set1_epi16(static_cast<short>(unit));
        }
    }

    // Writes 8 bytes at out for the 8 units at p; returns the lanes left to the caller, two
    // bits each (a movemask of 16-bit lanes).
    unsigned Store(const char16_t* p, char* out) const {
        __m128i other;
        const __m128i value = Classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), other);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                         _mm_packus_epi16(value, _mm_setzero_si128()));
        return static_cast<unsigned>(_mm_movemask_epi8(other));
    }

    // The byte of each of the 8 units that stand for themselves or lie in the linear run (in
    // its lane's low byte); other gets the lanes of the others, all bits set.
    __m128i Classify(__m128i block, __m128i& other) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i inRange = _mm_cmpeq_epi16(_mm_subs_epu16(block, below_), zero);
        other = _mm_or_si128(_mm_andnot_si128(inRange, _mm_set1_epi16(-1)),
                             _mm_cmpeq_epi16(block, zero));
        for (int s = 0; s < specialCount_; ++s)
            other = _mm_or_si128(other, _mm_cmpeq_epi16(block, specials_[s]));
        if (!linear_)
            return block;
        const __m128i offset = _mm_sub_epi16(block, linearBase_);
        const __m128i inRun = _mm_cmpeq_epi16(_mm_subs_epu16(offset, linearLast_), zero);
        other = _mm_andnot_si128(inRun, other);
        return _mm_sub_epi16(block, _mm_and_si128(inRun, linearDelta_));
    }

private:
    __m128i below_;
    __m128i linearBase_;
    __m128i linearLast_;
    __m128i linearDelta_;
    __m128i specials_[64];
    int specialCount_ = 0;
    bool linear_;
};

struct Latin1Bytes;

#if defined(PEL_SSSE3)
// The bytes of the units U+0080 to U+00FF in a single-byte code set (0 for a unit without
// one), as 8 rows of 16 for a byte shuffle: the letters of a Latin table that lie in no
// linear run (German in cp437, French in macintosh) are encoded 16 at a time without a
// look-up each, and without a branch on which of them a block holds.
struct Latin1Bytes {
    __m128i rows[8];

    // bytes: the 128 bytes, of U+0080 first.
    PEL_TARGET_SSSE3 void Load(const unsigned char* bytes) {
        for (int row = 0; row < 8; ++row)
            rows[row] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * row));
    }

    // Writes 16 bytes at out for the 16 units at p, those that narrow takes and those that
    // have a byte here; returns the lanes of the others (a bit each).
    PEL_TARGET_SSSE3 unsigned Store(const NarrowBlocks& narrow, const char16_t* p,
                                    char* out) const {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        __m128i firstOther;
        __m128i secondOther;
        const __m128i firstValue = narrow.Classify(first, firstOther);
        const __m128i secondValue = narrow.Classify(second, secondOther);
        const __m128i other = _mm_packs_epi16(firstOther, secondOther);
        // Units U+0080 to U+00FF: their low byte is the index, its high half the row.
        const __m128i base = _mm_set1_epi16(0x80);
        const __m128i last = _mm_set1_epi16(0x7F);
        const __m128i zero = _mm_setzero_si128();
        const __m128i latin = _mm_packs_epi16(
            _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(first, base), last), zero),
            _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(second, base), last), zero));
        const __m128i units = _mm_packus_epi16(first, second);
        const __m128i column = _mm_and_si128(units, _mm_set1_epi8(0x0F));
        const __m128i row = _mm_and_si128(units, _mm_set1_epi8(static_cast<char>(0xF0)));
        __m128i looked = zero;
        for (int r = 0; r < 8; ++r) {
            const __m128i inRow =
                _mm_cmpeq_epi8(row, _mm_set1_epi8(static_cast<char>(0x80 + 16 * r)));
            looked = _mm_or_si128(looked, _mm_and_si128(inRow, _mm_shuffle_epi8(rows[r], column)));
        }
        const __m128i found =
            _mm_andnot_si128(_mm_cmpeq_epi8(looked, zero), _mm_and_si128(latin, other));
        const __m128i values = _mm_packus_epi16(firstValue, secondValue);
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out),
            _mm_or_si128(_mm_andnot_si128(found, values), _mm_and_si128(found, looked)));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(found, other)));
    }
};
#endif

// Rich Text Format writing.

// Counts the leading units of 8 that are printable ASCII (0x20 to 0x7E) other than up to
// kMostExceptions units that aren't written as themselves.
template <int kMostExceptions>
class PrintableLanes {
public:
    // count at most kMostExceptions.
    void SetExceptions(const char16_t* units, int count) {
        // Padded to a whole number of groups of 4 with copies of the last exception (or of a
        // unit outside the range).
        const char16_t last = count != 0 ? units[count - 1] : 0;
        groups_ = (count + 3) / 4;
        for (int k = 0; k < 4 * groups_; ++k)
            exceptions_[k] = _mm_set1_epi16(static_cast<short>(k < count ? units[k] : last));
    }

    std::size_t Count(const char16_t* p) const {
        return CountIn(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }

    // The same, writing the 8 units' low bytes to out.
    std::size_t Store(const char16_t* p, char* out) const {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(block, block));
        return CountIn(block);
    }

private:
    std::size_t CountIn(__m128i block) const {
        // Units below 0x20 wrap around to large values and fail the range test.
        const __m128i offset = _mm_sub_epi16(block, _mm_set1_epi16(0x20));
        __m128i outside = _mm_subs_epu16(offset, _mm_set1_epi16(0x7E - 0x20));
        const __m128i* exception = exceptions_;
        for (int group = groups_; group != 0; --group, exception += 4) {
            outside = _mm_or_si128(
                outside, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(block, exception[0]),
                                                   _mm_cmpeq_epi16(block, exception[1])),
                                      _mm_or_si128(_mm_cmpeq_epi16(block, exception[2]),
                                                   _mm_cmpeq_epi16(block, exception[3]))));
        }
        // Two mask bits per unit; the first clear one is the first other unit.
        const unsigned plain =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())));
        return plain == 0xFFFF ? 8 : LowestBit(~plain) / 2;
    }

    // Whole groups of 4.
    __m128i exceptions_[(kMostExceptions + 3) / 4 * 4];
    int groups_ = 0;
};

#endif
