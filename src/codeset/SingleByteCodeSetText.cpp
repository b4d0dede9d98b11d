#include "codeset/BulkText.h"
#include "codeset/EntityFlags.h"
#include "codeset/SingleByteCodeSet.h"

#if defined(PEL_SSE2)
namespace {

// How far ahead of the block being widened the text is fetched into the cache: the
// hardware alone keeps the loop waiting on memory for long texts.
constexpr std::size_t kFetchAhead = 1024;

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
    const bool linear = linearFrom < 0x100;
    std::size_t i = position;
    // Lowered to the first zero byte once a chunk meets it.
    std::size_t end = length;
    int result = 0;
    // Every character takes at least one byte.
    AppendUnits(out, length - position, [&](char16_t* dst) {
        while (i < end && result == 0) {
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
                char16_t unit = 0;
                std::size_t consumed = 0;
                bool isEntity = false;
                result = SingleByteCodeSet::DecodeChar(text + i, unit, consumed, isEntity, flags);
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
                    [&](const char16_t* at, std::size_t left, char* buffer) {
                        std::size_t taken = 1;
                        EncodeNext(at, left, taken, buffer, flags, escapeMarkup);
                        return taken;
                    });
}
