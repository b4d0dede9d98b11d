#include "codeset/Utf16CodeSet.h"

#include <cstring>
#include <vector>

#include "codeset/BulkText.h"
#include "codeset/ByteOrder.h"

#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityWriting.h"

CodeSetResult Utf16CodeSet::EncodeChar(char16_t, char* out, unsigned, bool) const {
    // Multibyte output does not exist for UTF-16; leave an empty string for careless callers.
    if (out)
        out[0] = 0;
    return CodeSetResult::NotSupported;
}

CodeSetResult Utf16CodeSet::EncodeCodePoint(char32_t, char* out, unsigned, bool) const {
    if (out)
        out[0] = 0;
    return CodeSetResult::NotSupported;
}

CodeSetResult Utf16CodeSet::EncodeCharWide(char16_t unit, char16_t* out, unsigned flags,
                                           bool escapeMarkup) const {
    if (unit < 0x7F) {
        switch (ClassifySpecial(unit, flags, escapeMarkup)) {
            case SpecialOutcome::LessThan:
                out[0] = u'<';
                out[1] = 0;
                return CodeSetResult::Ok;
            case SpecialOutcome::Entity:
                if (WriteEntityWide(unit, out, flags))
                    return CodeSetResult::Ok;
                out[0] = u'?';
                out[1] = 0;
                return CodeSetResult::NotRepresentable;
            case SpecialOutcome::Ordinary:
                break;
        }
    }
    if (unit == 0x2028) {
        out[0] = u'\r';
        out[1] = u'\n';
        out[2] = 0;
        return CodeSetResult::Ok;
    }
    out[0] = (unit == 0x0001 && (flags & MarkerAsLessThan)) ? u'<' : unit;
    out[1] = 0;
    return CodeSetResult::Ok;
}

CodeSetResult Utf16CodeSet::ReadEntityChar(const unsigned char* text, std::size_t& position,
                                           unsigned char& out) const {
    const unsigned char low = text[position];
    if (low == 0)
        return CodeSetResult::BadEntity;
    const unsigned char high = text[position + 1];
    position += 2;
    out = low;
    // The whole unit must be ASCII: U+0131 must not pass for the digit 1.
    return (high == 0 && low < 127) ? CodeSetResult::Ok : CodeSetResult::BadEntity;
}

CodeSetResult Utf16CodeSet::DecodeCharRaw(const unsigned char* text, char16_t& ch,
                                          std::size_t& consumed, bool& isEntity, unsigned) const {
    isEntity = false;
    ch = 0xFFFD;
    // Counted in bytes, like DecodeChar, so a caller can advance by it either way.
    consumed = 2;
    if (!text)
        return CodeSetResult::Ok;
    ch = static_cast<char16_t>(text[0] | (text[1] << 8));
    return CodeSetResult::Ok;
}

CodeSetResult Utf16CodeSet::DecodeChar(const unsigned char* text, char16_t& ch,
                                       std::size_t& consumed, bool& isEntity,
                                       unsigned flags) const {
    isEntity = false;
    ch = 0xFFFD;
    consumed = 2;
    if (!text)
        return CodeSetResult::Ok;
    ch = static_cast<char16_t>(text[0] | (text[1] << 8));
    if ((flags & NamedEntities) && ch == u'&') {
        isEntity = true;
        return ParseEntity(text, ch, consumed);
    }
    return CodeSetResult::Ok;
}

CodeSetResult Utf16CodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                       std::size_t& position, std::u16string& out,
                                       unsigned flags) const {
    if (position >= length)
        return CodeSetResult::Ok;
    // The text ends at its first zero byte; a unit whose high byte that is ends it too.
    std::size_t end = length;
    if (const void* zero = std::memchr(text + position, 0, length - position))
        end = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - text);
    std::size_t bytes = end - position;
    // Every unit but an ampersand, which only the last one can be (its high byte is zero),
    // stands for itself.
    const bool entity = (flags & NamedEntities) && bytes % 2 == 1 && text[end - 1] == '&';
    if (entity)
        --bytes;
    AppendInPlace(out, (bytes + 1) / 2, [&](char16_t* dst) {
        if (IsLittleEndianMachine()) {
            std::memcpy(dst, text + position, bytes);
        } else {
            for (std::size_t k = 0; k + 1 < bytes; k += 2)
                dst[k / 2] =
                    static_cast<char16_t>(text[position + k] | text[position + k + 1] << 8);
        }
        if (bytes % 2 == 1)
            dst[bytes / 2] = text[position + bytes - 1];
        return dst + (bytes + 1) / 2;
    });
    position += bytes;
    if (!entity)
        return CodeSetResult::Ok;
    // DecodeChar and the entity reader step a whole unit at a time and stop at a zero unit,
    // so they read a copy of the rest that ends in two zero bytes.
    std::vector<unsigned char> padded(text + position, text + length);
    padded.resize(padded.size() + 2, 0);
    std::size_t tail = 0;
    const CodeSetResult result =
        CodeSet::DecodeText(padded.data(), length - position, tail, out, flags);
    position += tail;
    return result;
}

void Utf16CodeSet::EncodeText(const char16_t*, std::size_t, unsigned, bool, std::string&) const {
    // No unit has a multibyte form.
}

CodeSetResult Utf16CodeSet::ReadTables(std::FILE*) {
    return CodeSetResult::Ok;
}

void Utf16CodeSet::Dump(std::FILE* stream) const {
    std::fputs("This encoding used no lookup table.", stream);
}
