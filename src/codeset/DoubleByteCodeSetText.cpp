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

#if defined(PEL_SSE2)
// After a block that DecodeMixedBlock leaves alone, the bytes the other paths decode before
// it tries again: text that fails its test once tends to fail it again.
constexpr std::size_t kMixedRetry = 64;
// Bytes of a run of two-byte characters from which on text is taken to be of long runs.
constexpr std::size_t kLongRun = 16;
#endif

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

CodeSetResult DoubleByteCodeSet::DecodeText(const unsigned char* text, std::size_t length,
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
    const __m128i ampersandBytes = _mm_set1_epi8(ampersand < 0x100 ? '&' : 0);
#endif
    std::size_t i = position;
#if defined(PEL_SSE2)
    std::size_t retryAt = i;
#endif
    // Lowered to the terminating zero byte when it is met.
    std::size_t end = length;
    CodeSetResult result = CodeSetResult::Ok;
    // Every character takes at least one byte.
    AppendInPlace(out, length - position, [&](char16_t* dst) {
        while (i < end && result == CodeSetResult::Ok) {
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
                        WidenAscii(text, i, limit, dst, ampersandBytes);
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
                result = DecodeOneChar(*this, text, i, end, dst, flags);
                if (result != CodeSetResult::Ok)
                    break;
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
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, LinearRun(), false, nullptr, units,
                    count, out, [&](const char16_t* at, std::size_t left, char* buffer) {
                        std::size_t taken = 1;
                        EncodeNext(at, left, taken, buffer, flags, escapeMarkup);
                        return taken;
                    });
}
