#include "convert/ConvertedText.h"

#include <cstring>

#include "codeset/CodeSet.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/Surrogates.h"

namespace {

const CodeSet* BoundCodeSet(const CodeSetHolder* holder) {
    return holder != nullptr ? holder->codeSet.get() : nullptr;
}

// Appends the representation of the character that starts at units[0] (of count left). The
// buffer starts empty so that an encoder that writes nothing (UTF-16, a lone surrogate in
// UTF-8) contributes nothing.
void AppendRepresentation(const CodeSet& codeSet, const char16_t* units, std::size_t count,
                          unsigned flags, std::string& out) {
    char buffer[CodeSet::kCharBufferSize] = {};
    std::size_t taken = 1;
    codeSet.EncodeNext(units, count, taken, buffer, flags, true);
    buffer[CodeSet::kCharBufferSize - 1] = '\0';
    out.append(buffer);
}

}  // namespace

MultibyteDecoding ConvertedText::SetFromMultibyte(const char* text) {
    return SetFromMultibyte(text, text != nullptr ? std::strlen(text) : 0);
}

MultibyteDecoding ConvertedText::SetFromMultibyte(const char* text, std::size_t size) {
    MultibyteDecoding progress;
    unicode.clear();
    if (text == nullptr) {
        return progress;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const CodeSet* codeSet = BoundCodeSet(codeSetHolder);
    if (codeSet == nullptr) {
        progress.reachedEnd = size == 0 || bytes[0] == 0;
        return progress;
    }
    std::size_t position = 0;
    const CodeSetResult result =
        codeSet->DecodeText(bytes, size, position, unicode, static_cast<unsigned>(decodeFlags));
    // DecodeText stops short of the text's end (its first zero byte) only on an error.
    if (result != CodeSetResult::Ok || (position < size && bytes[position] != 0)) {
        progress.reachedEnd = false;
        progress.result = result;
    }
    progress.bytesRead = position;
    return progress;
}

const std::string& ConvertedText::ToMultibyte() {
    multibyte.clear();
    const CodeSet* codeSet = BoundCodeSet(codeSetHolder);
    if (codeSet == nullptr) {
        return multibyte;
    }
    codeSet->EncodeText(unicode.data(), unicode.size(), static_cast<unsigned>(encodeFlags), true,
                        multibyte);
    return multibyte;
}

const std::string& ConvertedText::CharToMultibyte(std::size_t index) {
    multibyte.clear();
    const CodeSet* codeSet = BoundCodeSet(codeSetHolder);
    // The first unit of a surrogate pair carries the whole character, the second nothing,
    // so that the units' representations together are the rendering of the text.
    if (codeSet != nullptr && index < unicode.size() &&
        !(index > 0 && IsHighSurrogate(unicode[index - 1]) && IsLowSurrogate(unicode[index]))) {
        AppendRepresentation(*codeSet, unicode.data() + index, unicode.size() - index,
                             static_cast<unsigned>(encodeFlags), multibyte);
    }
    return multibyte;
}
