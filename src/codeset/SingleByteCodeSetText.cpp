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
        if (!entities) {
            // A look-up per byte with no branch beats widening blocks and patching their
            // high bytes, whose count varies too much to predict.
            const char16_t* const values = byteValue.data();
            for (; i < limit; ++i)
                *dst++ = values[text[i]];
        }
#if defined(PEL_BULK_SSE2)
        if (tableStart >= 0x80) {
            // Blocks of 16 bytes are widened at once; the bytes of 0x80 and above are then
            // patched in from the table. A block with an ampersand that may start an entity
            // goes byte by byte.
            const __m128i zero = _mm_setzero_si128();
            const __m128i ampersand = _mm_set1_epi8('&');
            while (i + 16 <= limit) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
                if (entities && _mm_movemask_epi8(_mm_cmpeq_epi8(block, ampersand)) != 0)
                    break;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(block, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8),
                                 _mm_unpackhi_epi8(block, zero));
                for (unsigned high = static_cast<unsigned>(_mm_movemask_epi8(block)); high != 0;
                     high &= high - 1) {
                    const unsigned k = LowestBit(high);
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
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, true, units, count, out,
                    [&](char16_t unit, char* buffer) {
                        SingleByteCodeSet::EncodeChar(unit, buffer, flags, escapeMarkup);
                    });
}
