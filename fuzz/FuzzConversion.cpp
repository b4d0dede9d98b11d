#include "FuzzConversion.h"

#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "codeset/CodeSet.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/Surrogates.h"
#include "convert/BuildRtf.h"
#include "convert/ConvertedText.h"

namespace {

constexpr char kRtfHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
    "\\widctlpar\\fs20";

// The document is 7-bit text whose groups balance: an escaped brace is no group.
void CheckRtf(const std::string& rtf) {
    FUZZ_CHECK(rtf.compare(0, sizeof(kRtfHeader) - 1, kRtfHeader) == 0);
    FUZZ_CHECK(!rtf.empty() && rtf.back() == '}');
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        FUZZ_CHECK(c != 0 && c < 0x80);
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}') {
            --depth;
            FUZZ_CHECK(depth > 0 || i + 1 == rtf.size());
        }
    }
    FUZZ_CHECK(depth == 0);
}

bool HasTerminator(const char* buffer, std::size_t size) {
    return std::memchr(buffer, 0, size) != nullptr;
}

}  // namespace

std::u16string UnitsFromBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

void CheckDecoding(CodeSetHolder& holder, const std::uint8_t* data, std::size_t size,
                   unsigned flags) {
    FUZZ_CHECK(holder.HasCodeSet());
    const CodeSet& codeSet = *holder.codeSet;
    const std::size_t length = strnlen(reinterpret_cast<const char*>(data), size);
    // UTF-16 text ends in a zero unit; every other code set reads up to one zero byte.
    const std::size_t zeros = holder.kind == Utf16Kind ? 2 : 1;
    std::unique_ptr<unsigned char[]> text = TerminatedCopy(data, length, zeros);

    // One character at a time, as the program's decoding loop is described.
    std::u16string units;
    std::size_t position = 0;
    bool stopped = false;
    while (position < length) {
        char32_t codePoint = 0;
        std::size_t consumed = 0;
        bool isEntity = false;
        const CodeSetResult result =
            codeSet.DecodeCodePoint(text.get() + position, codePoint, consumed, isEntity, flags);
        if (result != CodeSetResult::Ok) {
            stopped = true;
            break;
        }
        FUZZ_CHECK(consumed > 0);
        FUZZ_CHECK(consumed <= length - position + (zeros - 1));
        FUZZ_CHECK(codePoint <= 0x10FFFF);
        if (codePoint > 0xFFFF) {
            units.push_back(HighSurrogateOf(codePoint));
            units.push_back(LowSurrogateOf(codePoint));
        } else {
            units.push_back(static_cast<char16_t>(codePoint));
        }
        position += consumed;
    }
    for (std::size_t i = 0; i < length; ++i) {
        char16_t unit = 0;
        std::size_t consumed = 0;
        bool isEntity = false;
        codeSet.DecodeCharRaw(text.get() + i, unit, consumed, isEntity, flags);
        codeSet.IsLeadByte(text[i]);
    }

    // ConvertedText gets a text that ends at its single zero byte, as the clipboard's does.
    std::unique_ptr<unsigned char[]> single = TerminatedCopy(data, length, 1);
    ConvertedText converted;
    converted.codeSetHolder = &holder;
    converted.decodeFlags = static_cast<std::int32_t>(flags);
    const MultibyteDecoding progress =
        converted.SetFromMultibyte(reinterpret_cast<const char*>(single.get()));
    FUZZ_CHECK(progress.bytesRead <= length);
    FUZZ_CHECK(progress.reachedEnd == !stopped);
    FUZZ_CHECK(progress.reachedEnd == (progress.result == CodeSetResult::Ok));
    FUZZ_CHECK(converted.unicode == units);
}

void CheckEncoding(CodeSetHolder& holder, const std::u16string& units, unsigned flags,
                   std::uint16_t languageId) {
    FUZZ_CHECK(holder.HasCodeSet());
    const CodeSet& codeSet = *holder.codeSet;

    // Straight into an exact 20-byte block: a write past it is caught, and whatever the
    // result, the block must hold a string.
    std::unique_ptr<char[]> out(new char[CodeSet::kCharBufferSize]);
    std::unique_ptr<char16_t[]> wide(new char16_t[CodeSet::kCharBufferSize]);
    for (char16_t unit : units) {
        for (bool escapeMarkup : {false, true}) {
            std::memset(out.get(), 0x55, CodeSet::kCharBufferSize);
            codeSet.EncodeChar(unit, out.get(), flags, escapeMarkup);
            FUZZ_CHECK(HasTerminator(out.get(), CodeSet::kCharBufferSize));
            std::fill(wide.get(), wide.get() + CodeSet::kCharBufferSize, char16_t(0x5555));
            codeSet.EncodeCharWide(unit, wide.get(), flags, escapeMarkup);
            bool terminated = false;
            for (std::size_t i = 0; i < CodeSet::kCharBufferSize; ++i)
                terminated = terminated || wide[i] == 0;
            FUZZ_CHECK(terminated);
        }
    }

    ConvertedText text;
    text.codeSetHolder = &holder;
    text.encodeFlags = static_cast<std::int32_t>(flags);
    text.unicode = units;
    const std::string whole = text.ToMultibyte();
    std::string pieces;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::string& piece = text.CharToMultibyte(i);
        FUZZ_CHECK(piece.size() < CodeSet::kCharBufferSize);
        FUZZ_CHECK(piece.find('\0') == std::string::npos);
        pieces += piece;
    }
    FUZZ_CHECK(whole == pieces);
    FUZZ_CHECK(text.unicode == units);

    CheckRtf(BuildRtf(text, languageId));
    FUZZ_CHECK(text.unicode == units);
}
