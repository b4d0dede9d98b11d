#include "BulkText.h"
#include "EntityFlags.h"
#include "SingleByteCodeSet.h"

void SingleByteCodeSet::BuildBulkTables() {
    bulkEncode.clear();
    if (singleTable.empty())
        return;
    // Only the units of the table and those below tableStart have a byte; U+2028 and a
    // byte 0 (an empty representation) go the per-character way.
    bulkEncode.assign(kEncodeTableSize, 0);
    for (unsigned unit = 1; unit < tableStart; ++unit)
        bulkEncode[unit] = static_cast<EncodeTableEntry>(unit);
    for (char16_t unit : singleTable) {
        if (unit < tableStart || unit == 0x2028)
            continue;
        bulkEncode[unit] = static_cast<EncodeTableEntry>(encodeIndex.Find(unit) & 0xFF);
    }

    // The longest run of bytes up to 0xFF whose characters lie at one distance from them,
    // outside the ASCII range (so that no character of it is special or an ampersand).
    linearFrom = encodeLinearFrom = 0x100;
    linearDelta = 0;
    if (tableStart < 0x80)
        return;
    const char16_t delta = static_cast<char16_t>(byteValue[0xFF] - 0xFF);
    auto inRun = [&](unsigned b) {
        const unsigned value = b + delta;
        return byteValue[b] != 0xFFFF && static_cast<char16_t>(value) == byteValue[b] &&
               value >= 0x80 && value <= 0xFFFF;
    };
    unsigned from = 0x100;
    while (from > tableStart && inRun(from - 1))
        --from;
    // Too short a run isn't worth a test per block.
    if (0x100 - from < 16)
        return;
    linearFrom = from;
    linearDelta = delta;
    unsigned encodeFrom = 0x100;
    while (encodeFrom > from && bulkEncode[byteValue[encodeFrom - 1]] == encodeFrom - 1)
        --encodeFrom;
    if (0x100 - encodeFrom >= 16)
        encodeLinearFrom = encodeFrom;
}

int SingleByteCodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                  std::size_t& position, std::u16string& out,
                                  unsigned flags) const {
    if (bulkEncode.empty())
        return CodeSet::DecodeText(text, length, position, out, flags);
    const bool entities = (flags & NamedEntities) != 0;
    // Decoded a chunk at a time into a local buffer: appending that costs less than
    // zero-filling the string ahead. Every character takes at least one byte.
    out.reserve(out.size() + (length - position));
    char16_t buffer[kDecodeChunk];
    std::size_t i = position;
    int result = 0;
    while (i < length && result == 0) {
        const std::size_t limit = length - i > kDecodeChunk ? i + kDecodeChunk : length;
        char16_t* dst = buffer;
        const bool linear = linearFrom < 0x100;
        if (!entities && !linear) {
            // A look-up per byte with no branch beats widening blocks and patching their
            // high bytes, whose count varies too much to predict.
            const char16_t* const values = byteValue.data();
            for (; i < limit; ++i)
                *dst++ = values[text[i]];
        }
#if defined(PEL_BULK_SSE2)
        if (tableStart >= 0x80) {
            // Blocks of 16 bytes are widened at once, the bytes of the linear run moved by
            // its distance, and the other bytes of 0x80 and above patched in from the table.
            // A block with an ampersand that may start an entity goes byte by byte.
            const __m128i zero = _mm_setzero_si128();
            const __m128i ampersand = _mm_set1_epi8('&');
            const __m128i delta = _mm_set1_epi16(static_cast<short>(linearDelta));
            // As signed bytes, those from linearFrom up are above this (0x80 and up: all).
            const __m128i runStart = _mm_set1_epi8(
                static_cast<char>(linear && linearFrom > 0x80 ? linearFrom - 1 : 0x80));
            while (i + 16 <= limit) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
                if (entities && _mm_movemask_epi8(_mm_cmpeq_epi8(block, ampersand)) != 0)
                    break;
                const __m128i high = _mm_cmplt_epi8(block, zero);
                __m128i inRun = zero;
                if (linear) {
                    inRun = linearFrom > 0x80 ? _mm_and_si128(_mm_cmpgt_epi8(block, runStart), high)
                                              : high;
                }
                __m128i low = _mm_unpacklo_epi8(block, zero);
                __m128i upper = _mm_unpackhi_epi8(block, zero);
                low = _mm_add_epi16(low, _mm_and_si128(_mm_unpacklo_epi8(inRun, inRun), delta));
                upper = _mm_add_epi16(upper, _mm_and_si128(_mm_unpackhi_epi8(inRun, inRun), delta));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), low);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), upper);
                for (unsigned other =
                         static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(inRun, high)));
                     other != 0; other &= other - 1) {
                    const unsigned k = LowestBit(other);
                    dst[k] = byteValue[text[i + k]];
                }
                dst += 16;
                i += 16;
            }
        }
#endif
        while (i < limit) {
            const char16_t mapped = byteValue[text[i]];
            if (!entities || mapped != u'&') {
                *dst++ = mapped;
                ++i;
                continue;
            }
            // An ampersand may start an entity: the per-character decoder reads it.
            char16_t unit = 0;
            std::size_t consumed = 0;
            bool isEntity = false;
            result = SingleByteCodeSet::DecodeChar(text + i, unit, consumed, isEntity, flags);
            if (result != 0)
                break;
            *dst++ = unit;
            i = consumed < length - i ? i + consumed : length;
        }
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
    }
    position = i;
    return result;
}

void SingleByteCodeSet::EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                                   bool escapeMarkup, std::string& out) const {
    if (bulkEncode.empty()) {
        CodeSet::EncodeText(units, count, flags, escapeMarkup, out);
        return;
    }
    // Every unit may be special here, whatever tableStart.
    const std::uint64_t special = SpecialUnitMask(flags, escapeMarkup, 64);
    const unsigned asciiLimit = tableStart < 0x80 ? tableStart : 0x80;
    LinearRun linear;
    if (encodeLinearFrom < 0x100) {
        linear.base = static_cast<char16_t>(encodeLinearFrom + linearDelta);
        linear.count = 0x100 - encodeLinearFrom;
        linear.delta = linearDelta;
    }
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, linear, true, units, count, out,
                    [&](char16_t unit, char* buffer) {
                        SingleByteCodeSet::EncodeChar(unit, buffer, flags, escapeMarkup);
                    });
}
