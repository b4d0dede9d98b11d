#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "codeset/CodeSetResult.h"

class CodeSetHolder;

// How far SetFromMultibyte got through its text.
struct MultibyteDecoding {
    // Bytes of the text that were decoded (never beyond its terminating zero).
    std::size_t bytesRead = 0;
    // Whether decoding went on to the terminating zero.
    bool reachedEnd = true;
    // The DecodeChar result that stopped it early; Ok when it reached the end.
    CodeSetResult result = CodeSetResult::Ok;
};

// One text held as UTF-16 units (the master form) and rendered into the code set of a
// holder on demand. Whole texts go through the code set's bulk operations, which give the
// same units and bytes as one call per character.
class ConvertedText {
public:
    std::u16string unicode;
    std::string multibyte;
    CodeSetHolder* codeSetHolder = nullptr;
    std::int32_t decodeFlags = 0;
    std::int32_t encodeFlags = 0;

    // Replaces unicode by the decoding of a zero-terminated text (or none). Decoding stops
    // at the first error and keeps what it has; the result says where it stopped.
    MultibyteDecoding SetFromMultibyte(const char* text);
    // The same for a text that ends at its first zero byte or after size bytes, whichever
    // comes first; text[size] must be a zero byte (as a std::string's c_str() has). The zero
    // is found while decoding instead of by a pass of its own.
    MultibyteDecoding SetFromMultibyte(const char* text, std::size_t size);
    // The rendering of the whole text; valid until the next rendering.
    const std::string& ToMultibyte();
    // The representation of the one unit at index; valid until the next rendering. The
    // first unit of a surrogate pair gives the pair's character, the second nothing.
    const std::string& CharToMultibyte(std::size_t index);
};
