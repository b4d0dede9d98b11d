#include <cstdint>
#include <cstring>

#include "codeset/BulkText.h"
#include "codeset/EntityFlags.h"
#include "codeset/Surrogates.h"
#include "codeset/Utf8CodeSet.h"

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsTrail(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Well-formed sequences are decoded here; anything else (a cut or ill-formed sequence, an
// overlong form, which may spell an ampersand or a zero, a value above U+10FFFF, an entity)
// goes to DecodeCodePoint, which gives it the unit, the stop and the position it always has.
template <bool kSsse3>
PEL_KERNEL CodeSetResult DecodeUtf8(const Utf8CodeSet& codeSet, const unsigned char* text,
                                    std::size_t length, std::size_t& position, std::u16string& out,
                                    unsigned flags) {
    const bool entities = (flags & NamedEntities) != 0;
    const unsigned char ampersand = entities ? '&' : 0;
#if defined(PEL_SSE2)
    const __m128i stop = _mm_set1_epi8(static_cast<char>(ampersand));
#endif
    std::size_t i = position;
    CodeSetResult result = CodeSetResult::Ok;
    // A character of n bytes gives at most n units (two for four bytes).
    AppendInPlace(out, length - position, [&](char16_t* dst) {
        while (i < length) {
            const unsigned char b = text[i];
            if (b < 0x80) {
                if (b == 0)
                    break;
                if (b != ampersand || ampersand == 0) {
#if defined(PEL_SSE2)
                    if (length - i >= 16) {
                        WidenAscii<true>(text, i, length, dst, stop);
                        continue;
                    }
#endif
                    *dst++ = b;
                    ++i;
                    continue;
                }
            } else if (b < 0xC0) {
                // A trail byte on its own stands for the unit of its value.
                *dst++ = b;
                ++i;
                continue;
            } else if (length - i >= 4) {
#if defined(PEL_SSE2)
                // Runs of two-byte characters between spaces (Cyrillic, Greek) go a block at a
                // time; a lone accented letter among ASCII is quicker on its own.
                if (b < 0xE0 && length - i >= 16 && text[i + 2] >= 0x80 &&
                    DecodeShortUtf8Block<kSsse3>(text, i, dst, stop))
                    continue;
#endif
                // A valid trail byte is never the terminating zero, so reading stops in time.
                const unsigned char t1 = text[i + 1];
                if (b < 0xE0) {
                    if (IsTrail(t1) && b >= 0xC2) {
                        *dst++ = static_cast<char16_t>((b & 0x1F) << 6 | (t1 & 0x3F));
                        i += 2;
                        // Stays in a run of two-byte characters while it lasts.
                        while (length - i >= 2) {
                            const unsigned char lead = text[i];
                            const unsigned char trail = text[i + 1];
                            if (lead < 0xC2 || lead >= 0xE0 || !IsTrail(trail))
                                break;
                            *dst++ = static_cast<char16_t>((lead & 0x1F) << 6 | (trail & 0x3F));
                            i += 2;
                        }
                        continue;
                    }
                } else if (b < 0xF0) {
                    const unsigned char t2 = text[i + 2];
                    const char16_t unit =
                        static_cast<char16_t>((b & 0x0F) << 12 | (t1 & 0x3F) << 6 | (t2 & 0x3F));
                    if (IsTrail(t1) && IsTrail(t2) && unit >= 0x80) {
                        *dst++ = unit;
                        i += 3;
                        while (length - i >= 3) {
                            const unsigned char lead = text[i];
                            const unsigned char u1 = text[i + 1];
                            const unsigned char u2 = text[i + 2];
                            const char16_t next = static_cast<char16_t>(
                                (lead & 0x0F) << 12 | (u1 & 0x3F) << 6 | (u2 & 0x3F));
                            if ((lead & 0xF0) != 0xE0 || !IsTrail(u1) || !IsTrail(u2) ||
                                next < 0x80)
                                break;
                            *dst++ = next;
                            i += 3;
                        }
                        continue;
                    }
                } else if (b < 0xF8) {
                    const unsigned char t2 = text[i + 2];
                    const unsigned char t3 = text[i + 3];
                    const char32_t value =
                        (b & 0x07) << 18 | (t1 & 0x3F) << 12 | (t2 & 0x3F) << 6 | (t3 & 0x3F);
                    if (IsTrail(t1) && IsTrail(t2) && IsTrail(t3) && value > 0xFFFF &&
                        value <= kLastCodePoint) {
                        dst[0] = HighSurrogateOf(value);
                        dst[1] = LowSurrogateOf(value);
                        dst += 2;
                        i += 4;
                        continue;
                    }
                }
            }
            char32_t codePoint = 0;
            std::size_t consumed = 0;
            bool isEntity = false;
            result = codeSet.DecodeCodePoint(text + i, codePoint, consumed, isEntity, flags);
            if (result != CodeSetResult::Ok || consumed == 0)
                break;
            if (codePoint > 0xFFFF) {
                *dst++ = HighSurrogateOf(codePoint);
                *dst++ = LowSurrogateOf(codePoint);
            } else {
                *dst++ = static_cast<char16_t>(codePoint);
            }
            i = consumed < length - i ? i + consumed : length;
        }
        return dst;
    });
    position = i;
    return result;
}

#if defined(PEL_SSSE3)
PEL_SSSE3_LOOP CodeSetResult DecodeUtf8WithSsse3(const Utf8CodeSet& codeSet,
                                                 const unsigned char* text, std::size_t length,
                                                 std::size_t& position, std::u16string& out,
                                                 unsigned flags) {
    return DecodeUtf8<true>(codeSet, text, length, position, out, flags);
}
#endif

// The whole-text encoder, with kSsse3 for the processors that have SSSE3 (the caller is
// compiled for it).
template <bool kSsse3>
PEL_KERNEL void EncodeUtf8(const Utf8CodeSet& codeSet, const char16_t* units, std::size_t count,
                           unsigned flags, bool escapeMarkup, std::string& out) {
    constexpr std::size_t kCharBufferSize = CodeSet::kCharBufferSize;
    // Units below 0x80 that EncodeChar must see: the special characters under these flags,
    // the marker, and zero (which it writes as nothing).
    const std::uint64_t special = SpecialUnitMask(flags, escapeMarkup, 64) | 1;
#if defined(PEL_SSE2)
    const AsciiNarrower narrower(special);
    // Blocks of ASCII in a row: from the second on, the rest of the run goes 16 units a step.
    int asciiBlocks = 0;
#endif
    char lowUnits[64][kCharBufferSize];
    std::uint64_t lowUnitsKnown = 0;
    const char16_t* next = units;
    const char16_t* const end = units + count;
    // A unit takes at most 3 bytes, except those of the per-character path; the first
    // window has room for kSlowPieces of them, each next one twice as many.
    std::size_t slowRoom = kSlowPieces * kCharBufferSize;
    auto fastRoom = [&](const char16_t* from) {
        return static_cast<std::size_t>(end - from) * 3 + kSpareBytes;
    };
    while (next < end) {
        const std::size_t room = fastRoom(next) + slowRoom;
        AppendInPlace(out, room, [&](char* cursor) {
            // A copy of the position: the bytes written through cursor could otherwise be the
            // position itself as far as the compiler knows, which reloads it after each one.
            const char16_t* p = next;
            char* const limit = cursor + room;
            while (p < end) {
#if defined(PEL_SSE2)
                // A block of 8 units at a time, of whatever kind they are, without a branch per
                // character: the lengths of the characters alternate without a pattern in most
                // text. Long runs of ASCII go 16 units a step.
                if (end - p >= 8 && narrower.Usable()) {
                    _mm_prefetch(reinterpret_cast<const char*>(p) + kFetchAhead, _MM_HINT_T0);
                    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                    switch (ClassifyUtf8Block(narrower, block)) {
                        case Utf8Lengths::Ascii:
                            _mm_storel_epi64(reinterpret_cast<__m128i*>(cursor),
                                             _mm_packus_epi16(block, block));
                            p += 8;
                            cursor += 8;
                            if (++asciiBlocks >= 2 && end - p >= 16) {
                                const std::size_t n = narrower.Store(p, end, cursor);
                                p += n;
                                cursor += n;
                            }
                            continue;
                        case Utf8Lengths::Short:
                            asciiBlocks = 0;
#if defined(PEL_SSSE3)
                            if constexpr (kSsse3) {
                                cursor = StoreShortBlockSsse3(block, cursor);
                                p += 8;
                                continue;
                            }
#endif
                            cursor = StoreShortBlock(block, cursor);
                            p += 8;
                            continue;
                        case Utf8Lengths::Three:
                            asciiBlocks = 0;
                            cursor = StoreThreeByteBlock(block, cursor);
                            p += 8;
                            continue;
                        case Utf8Lengths::Any:
                            asciiBlocks = 0;
                            cursor = StoreUtf8Block(block, cursor);
                            p += 8;
                            continue;
                        case Utf8Lengths::Mixed:
                            asciiBlocks = 0;
                            break;
                    }
                }
#endif
                const char16_t unit = *p;
                if (unit < 0x80 && !(unit < 64 && ((special >> unit) & 1))) {
                    *cursor++ = static_cast<char>(unit);
                    ++p;
                    continue;
                }
                if (unit >= 0x80 && unit < 0x800) {
                    cursor[0] = static_cast<char>(0xC0 | unit >> 6);
                    cursor[1] = static_cast<char>(0x80 | (unit & 0x3F));
                    cursor += 2;
                    ++p;
                    continue;
                }
                if (unit >= 0x800 && !IsSurrogate(unit) && unit != 0x2028) {
                    cursor[0] = static_cast<char>(0xE0 | unit >> 12);
                    cursor[1] = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
                    cursor[2] = static_cast<char>(0x80 | (unit & 0x3F));
                    cursor += 3;
                    ++p;
                    continue;
                }
                if (IsHighSurrogate(unit) && end - p >= 2 && IsLowSurrogate(p[1])) {
                    const char32_t value = JoinSurrogates(unit, p[1]);
                    cursor[0] = static_cast<char>(0xF0 | value >> 18);
                    cursor[1] = static_cast<char>(0x80 | (value >> 12 & 0x3F));
                    cursor[2] = static_cast<char>(0x80 | (value >> 6 & 0x3F));
                    cursor[3] = static_cast<char>(0x80 | (value & 0x3F));
                    cursor += 4;
                    p += 2;
                    continue;
                }
                // A special unit, a lone surrogate or U+2028: the per-character path.
                if (static_cast<std::size_t>(limit - cursor) < kCharBufferSize + fastRoom(p + 1))
                    break;
                const char* piece = nullptr;
                char buffer[kCharBufferSize] = {};
                if (unit < 64) {
                    // Quotes and ampersands come back often in prose: each is encoded once.
                    char* const known = lowUnits[unit];
                    if (!((lowUnitsKnown >> unit) & 1)) {
                        std::memset(known, 0, kCharBufferSize);
                        codeSet.EncodeChar(unit, known, flags, escapeMarkup);
                        known[kCharBufferSize - 1] = '\0';
                        lowUnitsKnown |= std::uint64_t(1) << unit;
                    }
                    piece = known;
                } else {
                    codeSet.EncodeChar(unit, buffer, flags, escapeMarkup);
                    buffer[kCharBufferSize - 1] = '\0';
                    piece = buffer;
                }
                ++p;
                for (; *piece != 0; ++piece)
                    *cursor++ = *piece;
            }
            next = p;
            return cursor;
        });
        slowRoom *= 2;
    }
}

#if defined(PEL_SSSE3)
PEL_SSSE3_LOOP void EncodeUtf8WithSsse3(const Utf8CodeSet& codeSet, const char16_t* units,
                                        std::size_t count, unsigned flags, bool escapeMarkup,
                                        std::string& out) {
    EncodeUtf8<true>(codeSet, units, count, flags, escapeMarkup, out);
}
#endif

}  // namespace

CodeSetResult Utf8CodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                      std::size_t& position, std::u16string& out,
                                      unsigned flags) const {
#if defined(PEL_SSSE3)
    if (HasSsse3())
        return DecodeUtf8WithSsse3(*this, text, length, position, out, flags);
#endif
    return DecodeUtf8<false>(*this, text, length, position, out, flags);
}

void Utf8CodeSet::EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                             bool escapeMarkup, std::string& out) const {
#if defined(PEL_SSSE3)
    if (HasSsse3()) {
        EncodeUtf8WithSsse3(*this, units, count, flags, escapeMarkup, out);
        return;
    }
#endif
    EncodeUtf8<false>(*this, units, count, flags, escapeMarkup, out);
}
