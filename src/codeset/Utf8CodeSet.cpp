#include "codeset/Utf8CodeSet.h"

#include <cstdint>

#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityWriting.h"

namespace {
const std::uint32_t kOffsets[6] = {0x00000000u, 0x00003080u, 0x000E2080u,
                                   0x03C82080u, 0xFA082080u, 0x82082080u};

int FollowingBytes(unsigned char b) {
    if (b < 0xC0)
        return 0;
    if (b < 0xE0)
        return 1;
    if (b < 0xF0)
        return 2;
    if (b < 0xF8)
        return 3;
    if (b < 0xFC)
        return 4;
    return 5;
}

// The value of a sequence of a first byte and count following bytes, wrapping in 32 bits.
std::uint32_t SequenceValue(const unsigned char* text, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i <= count; ++i)
        value = value * 64 + text[i];
    return value - kOffsets[count];
}

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
}  // namespace

CodeSetResult Utf8CodeSet::EncodeChar(char16_t unit, char* out, unsigned flags,
                                      bool escapeMarkup) const {
    // Failures leave an empty string, never the previous character's bytes.
    out[0] = 0;
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return CodeSetResult::OutOfRange;
    if (unit < 0x80) {
        switch (ClassifySpecial(unit, flags, escapeMarkup)) {
            case SpecialOutcome::LessThan:
                WriteText(out, "<");
                return CodeSetResult::Ok;
            case SpecialOutcome::Entity:
                return WriteEntity(unit, out, flags, false) ? CodeSetResult::Ok
                                                            : CodeSetResult::NotSupported;
            case SpecialOutcome::Ordinary:
                break;
        }
    }
    if (unit == 0x2028) {
        WriteText(out, "\r\n");
        return CodeSetResult::Ok;
    }
    if (unit == 0x0001 && (flags & MarkerAsLessThan)) {
        WriteText(out, "<");
        return CodeSetResult::Ok;
    }
    if (unit < 0x80) {
        out[0] = static_cast<char>(unit);
        out[1] = 0;
    } else if (unit < 0x800) {
        out[0] = static_cast<char>(0xC0 | (unit >> 6));
        out[1] = static_cast<char>(0x80 | (unit & 0x3F));
        out[2] = 0;
    } else {
        out[0] = static_cast<char>(0xE0 | (unit >> 12));
        out[1] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (unit & 0x3F));
        out[3] = 0;
    }
    return CodeSetResult::Ok;
}

CodeSetResult Utf8CodeSet::ReadEntityChar(const unsigned char* text, std::size_t& position,
                                          unsigned char& out) const {
    const unsigned char b = text[position];
    if (b == 0)
        return CodeSetResult::BadEntity;
    ++position;
    out = b;
    return b < 127 ? CodeSetResult::Ok : CodeSetResult::BadEntity;
}

CodeSetResult Utf8CodeSet::DecodeCharRaw(const unsigned char*, char16_t&, std::size_t&, bool&,
                                         unsigned) const {
    return CodeSetResult::NotSupported;
}

CodeSetResult Utf8CodeSet::DecodeChar(const unsigned char* text, char16_t& ch,
                                      std::size_t& consumed, bool& isEntity, unsigned flags) const {
    isEntity = false;
    ch = 0xFFFD;
    consumed = 0;
    if (!text)
        return CodeSetResult::Ok;
    const int count = FollowingBytes(text[0]);
    consumed = static_cast<std::size_t>(count) + 1;
    // Stop at the terminator so that a cut sequence never reads past the text.
    for (int i = 1; i <= count; ++i) {
        if (text[i] == 0)
            return CodeSetResult::Truncated;
    }
    const std::uint32_t value = SequenceValue(text, count);
    if (value > 0xFFFF)
        return CodeSetResult::OutOfRange;
    ch = static_cast<char16_t>(value);
    if ((flags & NamedEntities) && ch == u'&') {
        isEntity = true;
        return ParseEntity(text, ch, consumed);
    }
    return CodeSetResult::Ok;
}

CodeSetResult Utf8CodeSet::EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                           bool escapeMarkup) const {
    if (codePoint <= 0xFFFF)
        return EncodeChar(static_cast<char16_t>(codePoint), out, flags, escapeMarkup);
    out[0] = 0;
    if (codePoint > kLastCodePoint)
        return CodeSetResult::OutOfRange;
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out[4] = 0;
    return CodeSetResult::Ok;
}

CodeSetResult Utf8CodeSet::DecodeCodePoint(const unsigned char* text, char32_t& codePoint,
                                           std::size_t& consumed, bool& isEntity,
                                           unsigned flags) const {
    char16_t unit = 0xFFFD;
    const CodeSetResult result = DecodeChar(text, unit, consumed, isEntity, flags);
    codePoint = unit;
    if (result != CodeSetResult::OutOfRange)
        return result;
    // Beyond one unit: the whole sequence is there (DecodeChar checked for its end).
    const std::uint32_t value = SequenceValue(text, static_cast<int>(consumed) - 1);
    if (value > kLastCodePoint)
        return CodeSetResult::OutOfRange;
    codePoint = value;
    return CodeSetResult::Ok;
}

CodeSetResult Utf8CodeSet::ReadTables(std::FILE*) {
    return CodeSetResult::Ok;
}

void Utf8CodeSet::Dump(std::FILE* stream) const {
    std::fputs("This encoding used no lookup table.", stream);
}
