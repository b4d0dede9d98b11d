#include "BulkText.h"
#include "CodeSetResult.h"
#include "DoubleByteCodeSet.h"
#include "EntityFlags.h"

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
        if (!table)
            continue;
        for (unsigned trail = 1; trail < 256; ++trail) {
            if (table->present[trail])
                bulkDecode[lead << 8 | trail] = table->chars[trail];
        }
    }
}

int DoubleByteCodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                  std::size_t& position, std::u16string& out,
                                  unsigned flags) const {
    if (bulkDecode.empty())
        return CodeSet::DecodeText(text, length, position, out, flags);
    // An ampersand starts an entity only below tableStart and with the flag.
    const unsigned ampersand = (flags & NamedEntities) && u'&' < tableStart ? u'&' : 0x100;
    const unsigned start8 = tableStart;
    const char16_t* const pairs = bulkDecode.data();
    // Decoded a chunk at a time into a local buffer: appending that costs less than
    // zero-filling the string ahead. Every character takes at least one byte.
    out.reserve(out.size() + (length - position));
    char16_t buffer[kDecodeChunk];
    std::size_t i = position;
    int result = 0;
    while (i < length && result == 0) {
        const std::size_t limit = length - i > kDecodeChunk ? i + kDecodeChunk : length;
        char16_t* dst = buffer;
        while (i < limit) {
            const unsigned char b = text[i];
            if (b < start8 || !leadBytes[b]) {
#if defined(PEL_BULK_SSE2)
                // A run of ASCII bytes below tableStart (and no ampersand) is widened 16 at once.
                if (b < 0x80 && start8 >= 0x80 && i + 16 <= limit) {
                    const __m128i block =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
                    const __m128i amp =
                        _mm_set1_epi8(static_cast<char>(ampersand == u'&' ? '&' : 0));
                    if ((_mm_movemask_epi8(block) |
                         _mm_movemask_epi8(_mm_cmpeq_epi8(block, amp))) == 0) {
                        const __m128i zero = _mm_setzero_si128();
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst),
                                         _mm_unpacklo_epi8(block, zero));
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8),
                                         _mm_unpackhi_epi8(block, zero));
                        dst += 16;
                        i += 16;
                        continue;
                    }
                }
#endif
                if (b == ampersand) {
                    char16_t unit = 0;
                    std::size_t consumed = 0;
                    bool isEntity = false;
                    result =
                        DoubleByteCodeSet::DecodeChar(text + i, unit, consumed, isEntity, flags);
                    if (result != 0)
                        break;
                    *dst++ = unit;
                    i = consumed < length - i ? i + consumed : length;
                    continue;
                }
                *dst++ = byteValue[b];
                ++i;
                continue;
            }
            // text[length] is zero, so the trail byte is always there to read.
            const unsigned char trail = text[i + 1];
            char16_t unit = pairs[b << 8 | trail];
            if (unit == 0xFFFF) {
                if (trail == 0) {
                    result = CodeSetTruncated;
                    break;
                }
                const TrailTable* table = trailTables[b].get();
                if (!table || !table->present[trail]) {
                    result = CodeSetUndefined;
                    break;
                }
                unit = table->chars[trail];
            }
            *dst++ = unit;
            i += 2;
        }
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
    }
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
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, false, units, count, out,
                    [&](char16_t unit, char* buffer) {
                        DoubleByteCodeSet::EncodeChar(unit, buffer, flags, escapeMarkup);
                    });
}
