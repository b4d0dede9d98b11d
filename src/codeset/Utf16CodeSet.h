#pragma once

#include "codeset/CodeSet.h"

// UTF-16 little-endian, one unit per two bytes. The decoders read up to a zero unit, so a
// text handed to DecodeChar ends in two zero bytes; DecodeText needs only one.
class Utf16CodeSet : public CodeSet {
public:
    CodeSetResult EncodeChar(char16_t unit, char* out, unsigned flags,
                             bool escapeMarkup) const override;
    CodeSetResult EncodeCharWide(char16_t unit, char16_t* out, unsigned flags,
                                 bool escapeMarkup) const override;
    CodeSetResult ReadEntityChar(const unsigned char* text, std::size_t& position,
                                 unsigned char& out) const override;
    CodeSetResult DecodeCharRaw(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                                bool& isEntity, unsigned flags) const override;
    CodeSetResult DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                             bool& isEntity, unsigned flags) const override;
    // The text ends at its first zero byte, which can be the high byte of its last unit.
    CodeSetResult DecodeText(const unsigned char* text, std::size_t length, std::size_t& position,
                             std::u16string& out, unsigned flags) const override;
    void EncodeText(const char16_t* units, std::size_t count, unsigned flags, bool escapeMarkup,
                    std::string& out) const override;
    CodeSetResult EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                  bool escapeMarkup) const override;
    bool HasByteForm() const override { return false; }
    CodeSetResult ReadTables(std::FILE* file) override;
    void Dump(std::FILE* stream) const override;
};
