#include "codeset/BulkText.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/EntityFlags.h"

namespace {

// Where the pair of a lead and a trail byte sits in the bulk decode table: at the value of
// its two bytes loaded as one 16-bit number, so that the decoders index it without
// reordering them.
inline unsigned PairIndex(unsigned lead, unsigned trail) {
    return IsLittleEndianMachine() ? trail << 8 | lead : lead << 8 | trail;
}

// The index of the pair at text[0] and text[1], from one load.
inline unsigned PairAt(const unsigned char* text) {
    std::uint16_t twoBytes = 0;
    std::memcpy(&twoBytes, text, 2);
    return twoBytes;
}

}  // namespace

void DoubleByteCodeSet::BuildBulkTables() {
    bulkEncode.clear();
    bulkDecode.clear();
    if (singleTable.empty() && doubleChars.empty())
        return;
    bulkEncode.assign(kEncodeTableSize, 0);
    for (unsigned unit = 1; unit < tableStart; ++unit)
        bulkEncode[unit] = static_cast<EncodeTableEntry>(unit);
    auto add = [&](char16_t unit) {
        if (unit < tableStart || unit == 0x2028)
            return;
        const std::uint32_t code = encodeIndex.Find(unit);
        if (code & ReverseIndex::kSingle) {
            bulkEncode[unit] = static_cast<EncodeTableEntry>(code & 0xFF);
        } else if ((code & 0xFF00) != 0 && (code & 0xFF) != 0) {
            // A code with a zero byte has a shorter representation: left to EncodeChar.
            bulkEncode[unit] =
                static_cast<EncodeTableEntry>((code >> 8 & 0xFF) | (code & 0xFF) << 8);
        }
    };
    for (char16_t unit : singleTable)
        add(unit);
    for (char16_t unit : doubleChars)
        add(unit);

    // A zero trail byte (the end of the text) and a pair whose character is U+FFFF itself
    // are told apart by the slow path.
    bulkDecode.assign(0x10000, 0xFFFF);
    for (unsigned lead = 0; lead < 256; ++lead) {
        const TrailTable* table = trailTables[lead].get();
        const bool isLead = lead >= tableStart && leadBytes[lead] != 0;
        // The zero byte ends the text: the slow path tells it apart too.
        bulkSingle[lead] = isLead || lead == 0 ? char16_t(0xFFFF) : byteValue[lead];
        if (!table || !isLead)
            continue;
        for (unsigned trail = 1; trail < 256; ++trail) {
            if (table->present[trail])
                bulkDecode[PairIndex(lead, trail)] = table->chars[trail];
        }
    }
}

namespace {

#if defined(PEL_SSE2)
// After a block that DecodeMixedBlock leaves alone, the bytes the other paths decode before
// it tries again: text that fails its test once tends to fail it again.
constexpr std::size_t kMixedRetry = 64;
// Bytes of a run of two-byte characters from which on text is taken to be of long runs.
constexpr std::size_t kLongRun = 16;

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
inline bool DecodeMixedBlock(const unsigned char* text, std::size_t& i, char16_t*& dst,
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
    // Each byte with the one after it, as the index of a pair (SSE2 machines are
    // little-endian: next byte << 8 | byte); the character of a byte below 0x80 is the byte
    // itself (as every byte below the table).
    const __m128i firstNext = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 1));
    const __m128i secondNext = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 17));
    alignas(16) std::uint16_t codes[kMixedBlock];
    _mm_store_si128(reinterpret_cast<__m128i*>(codes), _mm_unpacklo_epi8(first, firstNext));
    _mm_store_si128(reinterpret_cast<__m128i*>(codes + 8), _mm_unpackhi_epi8(first, firstNext));
    _mm_store_si128(reinterpret_cast<__m128i*>(codes + 16), _mm_unpacklo_epi8(second, secondNext));
    _mm_store_si128(reinterpret_cast<__m128i*>(codes + 24), _mm_unpackhi_epi8(second, secondNext));
    auto characters = static_cast<unsigned>((~high | leads) & ((std::uint64_t(1) << count) - 1));
    const auto leadBits = static_cast<unsigned>(leads);
    char16_t* out = dst;
    for (; characters != 0; characters &= characters - 1) {
        const unsigned k = LowestBit(characters);
        const unsigned code = codes[k];
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
#endif
}  // namespace

int DoubleByteCodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                  std::size_t& position, std::u16string& out,
                                  unsigned flags) const {
    if (bulkDecode.empty())
        return CodeSet::DecodeText(text, length, position, out, flags);
    // An ampersand starts an entity only below tableStart and with the flag.
    const unsigned ampersand = (flags & NamedEntities) && u'&' < tableStart ? u'&' : 0x100;
    const char16_t* const pairs = bulkDecode.data();
    const char16_t* const singles = bulkSingle.data();
#if defined(PEL_SSE2)
    // Bytes below 0x80 stand for themselves when the table starts above them.
    const bool asciiBlocks = tableStart >= 0x80;
    const __m128i zero = _mm_setzero_si128();
    const __m128i ampersandBytes = _mm_set1_epi8(ampersand < 0x100 ? '&' : 0);
#endif
    std::size_t i = position;
#if defined(PEL_SSE2)
    std::size_t retryAt = i;
#endif
    // Lowered to the terminating zero byte when it is met.
    std::size_t end = length;
    int result = 0;
    // Every character takes at least one byte.
    AppendUnits(out, length - position, [&](char16_t* dst) {
        while (i < end && result == 0) {
            const std::size_t limit = end - i > kDecodeChunk ? i + kDecodeChunk : end;
            while (i < limit) {
#if defined(PEL_SSE2)
                // Text that mixes characters of one and two bytes (words between spaces) goes a
                // block at a time, which spares the branch per character that mispredicts there.
                if (asciiBlocks && i >= retryAt && limit - i >= kMixedBlock) {
                    if (DecodeMixedBlock(text, i, dst, pairs, ampersandBytes))
                        continue;
                    retryAt = i + kMixedRetry;
                }
#endif
                // Branches, not selects: the position of the next character must not wait for
                // this one's look-ups, and the predictor follows the runs of one kind well.
                const unsigned char b = text[i];
                const char16_t single = singles[b];
                if (single != 0xFFFF && b != ampersand) {
#if defined(PEL_SSE2)
                    if (asciiBlocks && b < 0x80 && limit - i >= 16) {
                        // A run of ASCII goes 16 bytes at a time up to its first byte of 0x80 or
                        // above, zero byte or ampersand that may start an entity.
                        do {
                            const __m128i block =
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
                            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst),
                                             _mm_unpacklo_epi8(block, zero));
                            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8),
                                             _mm_unpackhi_epi8(block, zero));
                            const unsigned stops =
                                static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                                    block, _mm_or_si128(_mm_cmpeq_epi8(block, zero),
                                                        _mm_cmpeq_epi8(block, ampersandBytes)))));
                            if (stops != 0) {
                                const unsigned k = LowestBit(stops);
                                dst += k;
                                i += k;
                                break;
                            }
                            dst += 16;
                            i += 16;
                        } while (limit - i >= 16);
                        continue;
                    }
#endif
                    *dst++ = single;
                    ++i;
                    continue;
                }
                // The trail byte is at most the terminating zero, always there to read; a pair
                // is found only after a lead byte.
                const char16_t pair = pairs[PairAt(text + i)];
                if (pair != 0xFFFF) {
                    *dst++ = pair;
                    i += 2;
                    // Stays in a run of two-byte characters while it lasts.
#if defined(PEL_SSE2)
                    const std::size_t runStart = i;
#endif
                    while (i < limit) {
                        const char16_t next = pairs[PairAt(text + i)];
                        if (next == 0xFFFF)
                            break;
                        *dst++ = next;
                        i += 2;
                    }
#if defined(PEL_SSE2)
                    // Text of long runs (Chinese, Japanese) decodes quicker here than in mixed
                    // blocks; short runs between spaces (Korean) go to the blocks.
                    if (i - runStart > kLongRun)
                        retryAt = i + kMixedRetry;
#endif
                    continue;
                }
                if (b == 0) {
                    end = i;
                    break;
                }
                // An entity, an undefined byte, the end of the text after a lead byte, an
                // undefined pair or one that stands for U+FFFF: the per-character decoder tells
                // them apart.
                char16_t unit = 0;
                std::size_t consumed = 0;
                bool isEntity = false;
                result = DoubleByteCodeSet::DecodeChar(text + i, unit, consumed, isEntity, flags);
                if (result != 0)
                    break;
                *dst++ = unit;
                i = consumed < end - i ? i + consumed : end;
            }
        }
        return dst;
    });
    position = i;
    return result;
}

void DoubleByteCodeSet::EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                                   bool escapeMarkup, std::string& out) const {
    if (bulkEncode.empty()) {
        CodeSet::EncodeText(units, count, flags, escapeMarkup, out);
        return;
    }
    // Units at or above tableStart are never special here.
    const std::uint64_t special = SpecialUnitMask(flags, escapeMarkup, tableStart);
    const unsigned asciiLimit = tableStart < 0x80 ? tableStart : 0x80;
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, LinearRun(), false, units, count, out,
                    [&](const char16_t* at, std::size_t left, char* buffer) {
                        std::size_t taken = 1;
                        EncodeNext(at, left, taken, buffer, flags, escapeMarkup);
                        return taken;
                    });
}
