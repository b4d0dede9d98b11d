#include "codeset/CodeSet.h"

#include <string>

#include "codeset/CodeSetResult.h"
#include "codeset/EntityTable.h"
#include "codeset/EntityWriting.h"
#include "codeset/Surrogates.h"

namespace {

int DigitValue(unsigned char c, int base) {
    int value = 36;
    if (c >= '0' && c <= '9')
        value = c - '0';
    if (c >= 'a' && c <= 'z')
        value = c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool IsSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Digits only ever reach the buffer, so this is strtol without sign or prefix; it saturates
// at 2147483647 on every platform (a 64-bit long would otherwise keep larger values).
long ParseNumber(const std::string& digits, int base) {
    const long limit = 2147483647L;
    long value = 0;
    for (unsigned char c : digits) {
        int digit = DigitValue(c, base);
        if (value > (limit - digit) / base)
            return limit;
        value = value * base + digit;
    }
    return value;
}

}  // namespace

CodeSet::~CodeSet() = default;

CodeSetResult CodeSet::EncodeCharWide(char16_t, char16_t* out, unsigned, bool) const {
    // Callers that append without looking at the result get an empty string.
    if (out)
        out[0] = 0;
    return CodeSetResult::NotSupported;
}

bool CodeSet::IsLeadByte(int) const {
    return false;
}

CodeSetResult CodeSet::EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                       bool escapeMarkup) const {
    if (codePoint <= 0xFFFF)
        return EncodeChar(static_cast<char16_t>(codePoint), out, flags, escapeMarkup);
    // No table holds a character above U+FFFF.
    if (WriteEntity(codePoint, out, flags, true))
        return CodeSetResult::Ok;
    WriteText(out, "?");
    return CodeSetResult::NotRepresentable;
}

CodeSetResult CodeSet::DecodeCodePoint(const unsigned char* text, char32_t& codePoint,
                                       std::size_t& consumed, bool& isEntity,
                                       unsigned flags) const {
    char16_t unit = 0xFFFD;
    const CodeSetResult result = DecodeChar(text, unit, consumed, isEntity, flags);
    codePoint = unit;
    return result;
}

CodeSetResult CodeSet::EncodeNext(const char16_t* units, std::size_t count, std::size_t& taken,
                                  char* out, unsigned flags, bool escapeMarkup) const {
    if (count >= 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1])) {
        taken = 2;
        return EncodeCodePoint(JoinSurrogates(units[0], units[1]), out, flags, escapeMarkup);
    }
    taken = 1;
    return EncodeChar(units[0], out, flags, escapeMarkup);
}

CodeSetResult CodeSet::ParseEntity(const unsigned char* text, char16_t& ch,
                                   std::size_t& consumed) const {
    enum State { AfterAmpersand, Name, AfterNumberSign, Decimal, Hexadecimal };
    State state = AfterAmpersand;
    std::string buffer;
    std::size_t position = consumed;
    for (;;) {
        unsigned char c = 0;
        CodeSetResult result = ReadEntityChar(text, position, c);
        if (result != CodeSetResult::Ok) {
            consumed = position;
            return result;
        }
        if (state == AfterAmpersand) {
            if (c == '#') {
                state = AfterNumberSign;
                continue;
            }
            state = Name;
        } else if (state == AfterNumberSign) {
            if (c == 'x' || c == 'X') {
                state = Hexadecimal;
                continue;
            }
            state = Decimal;
        }
        if (c == ';') {
            consumed = position;
            if (state == Name) {
                ch = EntityTable::Global().FindEntityCode(buffer.c_str());
                return ch == EntityTable::kNoCode ? CodeSetResult::BadEntity : CodeSetResult::Ok;
            }
            ch = static_cast<char16_t>(ParseNumber(buffer, state == Decimal ? 10 : 16) & 0xFFFF);
            return CodeSetResult::Ok;
        }
        bool accepted =
            state == Name ? !IsSpace(c) : DigitValue(c, state == Decimal ? 10 : 16) >= 0;
        if (!accepted) {
            consumed = position;
            return CodeSetResult::BadEntity;
        }
        buffer += static_cast<char>(c);
    }
}
