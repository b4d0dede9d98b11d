#include "codeset/CodeSet.h"

#include <cstring>

#include "codeset/Surrogates.h"

CodeSetResult CodeSet::DecodeText(const unsigned char* text, std::size_t length,
                                  std::size_t& position, std::u16string& out,
                                  unsigned flags) const {
    if (position < length) {
        if (const void* zero = std::memchr(text + position, 0, length - position))
            length = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - text);
    }
    while (position < length) {
        char32_t codePoint = 0;
        std::size_t consumed = 0;
        bool isEntity = false;
        const CodeSetResult result =
            DecodeCodePoint(text + position, codePoint, consumed, isEntity, flags);
        if (result != CodeSetResult::Ok)
            return result;
        // A decoder that makes no progress would loop for ever: stop short of the end.
        if (consumed == 0)
            return CodeSetResult::Ok;
        if (codePoint > 0xFFFF) {
            out.push_back(HighSurrogateOf(codePoint));
            out.push_back(LowSurrogateOf(codePoint));
        } else {
            out.push_back(static_cast<char16_t>(codePoint));
        }
        // A two-byte unit read over the terminating zero (odd UTF-16 text) ends the text.
        position = consumed < length - position ? position + consumed : length;
    }
    return CodeSetResult::Ok;
}

void CodeSet::EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                         bool escapeMarkup, std::string& out) const {
    for (std::size_t i = 0, taken = 1; i < count; i += taken) {
        // Starts empty so that an encoder that writes nothing contributes nothing.
        char buffer[kCharBufferSize] = {};
        EncodeNext(units + i, count - i, taken, buffer, flags, escapeMarkup);
        buffer[kCharBufferSize - 1] = '\0';
        out.append(buffer);
    }
}
