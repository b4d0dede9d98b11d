#include "codeset/BulkText.h"
#include "codeset/EntityFlags.h"
#include "codeset/SingleByteCodeSet.h"

#if defined(PEL_SSE2)
namespace {

using WidenFunction = void (*)(const unsigned char*, std::size_t, std::size_t&, std::size_t,
                               char16_t*&, const char16_t*, unsigned, char16_t);
// By linear run (none, unshifted, shifted) and entities.
const WidenFunction kWidenBlocks[3][2] = {
    {WidenBlocks<false, false, false>, WidenBlocks<false, false, true>},
    {WidenBlocks<true, false, false>, WidenBlocks<true, false, true>},
    {WidenBlocks<true, true, false>, WidenBlocks<true, true, true>},
};

}  // namespace
#endif

#if defined(PEL_SSSE3)
namespace {

template <typename Slow>
PEL_SSSE3_LOOP void EncodeWithLatin1Ssse3(const EncodeTableEntry* table, std::uint64_t special,
                                          unsigned asciiLimit, LinearRun linear,
                                          const unsigned char* latin1, const char16_t* units,
                                          std::size_t count, std::string& out, Slow slow) {
    EncodeWithTable<true>(table, special, asciiLimit, linear, true, latin1, units, count, out,
                          slow);
}

}  // namespace
#endif

void SingleByteCodeSet::BuildBulkTables() {
    bulkEncode.clear();
    latin1Blocks = false;
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
    linearFrom = 0x100;
    linearDelta = 0;
    encodeRun = LinearRun();
    if (tableStart < 0x80)
        return;
    auto inRun = [&](unsigned b, char16_t delta) {
        const unsigned value = b + delta;
        return byteValue[b] != 0xFFFF && static_cast<char16_t>(value) == byteValue[b] &&
               value >= 0x80 && value <= 0xFFFF;
    };
    // Too short a run isn't worth a test per block.
    constexpr unsigned kShortestRun = 16;
    const char16_t delta = static_cast<char16_t>(byteValue[0xFF] - 0xFF);
    unsigned from = 0x100;
    while (from > tableStart && inRun(from - 1, delta))
        --from;
    if (0x100 - from >= kShortestRun) {
        linearFrom = from;
        linearDelta = delta;
    }
    for (unsigned start = tableStart; start < 0x100;) {
        const char16_t runDelta = static_cast<char16_t>(byteValue[start] - start);
        unsigned end = start;
        while (end < 0x100 && inRun(end, runDelta) && bulkEncode[byteValue[end]] == end)
            ++end;
        if (end - start >= kShortestRun && end - start > encodeRun.count) {
            encodeRun.base = byteValue[start];
            encodeRun.count = end - start;
            encodeRun.delta = runDelta;
        }
        start = end > start ? end : start + 1;
    }

    // The Latin-1 letters and signs (U+00A0 to U+00FF) that the table has outside that run:
    // with only a few of them (the signs of iso-8859-5), the look-ups cost more than they
    // save.
    constexpr unsigned kFewestLatin1Letters = 32;
    unsigned scattered = 0;
    for (unsigned unit = 0x80; unit < 0x100; ++unit) {
        const EncodeTableEntry entry = bulkEncode[unit];
        latin1Bytes[unit - 0x80] = static_cast<unsigned char>(entry);
        if (entry != 0 && unit >= 0xA0 &&
            !(unit >= encodeRun.base && unit - encodeRun.base < encodeRun.count))
            ++scattered;
    }
    latin1Blocks = scattered >= kFewestLatin1Letters;
}

CodeSetResult SingleByteCodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                            std::size_t& position, std::u16string& out,
                                            unsigned flags) const {
    if (bulkEncode.empty())
        return CodeSet::DecodeText(text, length, position, out, flags);
    const bool entities = (flags & NamedEntities) != 0;
    const bool linear = linearFrom < 0x100;
    std::size_t i = position;
    // Lowered to the first zero byte once a chunk meets it.
    std::size_t end = length;
    CodeSetResult result = CodeSetResult::Ok;
    // Every character takes at least one byte.
    AppendInPlace(out, length - position, [&](char16_t* dst) {
        while (i < end && result == CodeSetResult::Ok) {
            std::size_t limit = end - i > kDecodeChunk ? i + kDecodeChunk : end;
#if defined(PEL_SSE2)
            if (tableStart >= 0x80 && (linear || entities)) {
                const WidenFunction widen =
                    kWidenBlocks[linear ? (linearDelta != 0 ? 2 : 1) : 0][entities ? 1 : 0];
                widen(text, length, i, limit, dst, byteValue.data(), linearFrom, linearDelta);
            }
#endif
            // The rest of the chunk (all of it without SSE2) ends at the first zero byte in it.
            if (const void* zeroByte = std::memchr(text + i, 0, limit - i))
                end = limit =
                    static_cast<std::size_t>(static_cast<const unsigned char*>(zeroByte) - text);
            if (!entities) {
                // A look-up per byte with no branch beats widening blocks and patching their
                // high bytes, whose count varies too much to predict.
                const char16_t* const values = byteValue.data();
                for (; i < limit; ++i)
                    *dst++ = values[text[i]];
            }
            while (i < limit) {
                const char16_t mapped = byteValue[text[i]];
                if (mapped != u'&') {
                    *dst++ = mapped;
                    ++i;
                    continue;
                }
                // An ampersand may start an entity: the per-character decoder reads it.
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

void SingleByteCodeSet::EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                                   bool escapeMarkup, std::string& out) const {
    if (bulkEncode.empty()) {
        CodeSet::EncodeText(units, count, flags, escapeMarkup, out);
        return;
    }
    // Every unit may be special here, whatever tableStart.
    const std::uint64_t special = SpecialUnitMask(flags, escapeMarkup, 64);
    const unsigned asciiLimit = tableStart < 0x80 ? tableStart : 0x80;
    auto slow = [&](const char16_t* at, std::size_t left, char* buffer) {
        std::size_t taken = 1;
        EncodeNext(at, left, taken, buffer, flags, escapeMarkup);
        return taken;
    };
#if defined(PEL_SSSE3)
    if (latin1Blocks && HasSsse3()) {
        EncodeWithLatin1Ssse3(bulkEncode.data(), special, asciiLimit, encodeRun, latin1Bytes.data(),
                              units, count, out, slow);
        return;
    }
#endif
    EncodeWithTable(bulkEncode.data(), special, asciiLimit, encodeRun, true, nullptr, units, count,
                    out, slow);
}
