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
        const bool isLead = lead >= tableStart && leadBytes[lead] != 0;
        bulkSingle[lead] = isLead ? char16_t(0xFFFF) : byteValue[lead];
        if (!table || !isLead)
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
    const char16_t* const pairs = bulkDecode.data();
    const char16_t* const singles = bulkSingle.data();
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
            // Branches, not selects: the position of the next character must not wait for
            // this one's look-ups, and the predictor follows the runs of one kind well.
            const unsigned char b = text[i];
            const char16_t single = singles[b];
            if (single != 0xFFFF && b != ampersand) {
                *dst++ = single;
                ++i;
                continue;
            }
            // text[length] is zero, so the trail byte is always there to read.
            const char16_t pair = pairs[b << 8 | text[i + 1]];
            if (pair != 0xFFFF) {
                *dst++ = pair;
                i += 2;
                // Stays in a run of two-byte characters while it lasts; the byte after a lead
                // byte at i < limit is at most text[length], always there to read.
                while (i < limit) {
                    const unsigned char lead = text[i];
                    const char16_t next = pairs[lead << 8 | text[i + 1]];
                    if (singles[lead] != 0xFFFF || next == 0xFFFF)
                        break;
                    *dst++ = next;
                    i += 2;
                }
                continue;
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
            i = consumed < length - i ? i + consumed : length;
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
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, LinearRun(), false, units, count, out,
                    [&](char16_t unit, char* buffer) {
                        DoubleByteCodeSet::EncodeChar(unit, buffer, flags, escapeMarkup);
                    });
}
