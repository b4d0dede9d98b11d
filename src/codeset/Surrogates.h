#pragma once

// UTF-16 surrogates: a high one followed by a low one stands for one character above
// U+FFFF; either alone stands for nothing.

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

constexpr bool IsSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

constexpr char32_t JoinSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) +
           (static_cast<char32_t>(low) - 0xDC00);
}

constexpr char16_t HighSurrogateOf(char32_t codePoint) {
    return static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
}

constexpr char16_t LowSurrogateOf(char32_t codePoint) {
    return static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
}
