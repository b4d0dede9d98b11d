#pragma once

#include "codeset/CodeSet.h"

class Utf8CodeSet : public CodeSet {
public:
    CodeSetResult EncodeChar(char16_t unit, char* out, unsigned flags,
                             bool escapeMarkup) const override;
    CodeSetResult ReadEntityChar(const unsigned char* text, std::size_t& position,
                                 unsigned char& out) const override;
    CodeSetResult DecodeCharRaw(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                                bool& isEntity, unsigned flags) const override;
    CodeSetResult DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                             bool& isEntity, unsigned flags) const override;
    CodeSetResult EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                  bool escapeMarkup) const override;
    CodeSetResult DecodeCodePoint(const unsigned char* text, char32_t& codePoint,
                                  std::size_t& consumed, bool& isEntity,
                                  unsigned flags) const override;
    CodeSetResult DecodeText(const unsigned char* text, std::size_t length, std::size_t& position,
                             std::u16string& out, unsigned flags) const override;
    void EncodeText(const char16_t* units, std::size_t count, unsigned flags, bool escapeMarkup,
                    std::string& out) const override;
    CodeSetResult ReadTables(std::FILE* file) override;
    void Dump(std::FILE* stream) const override;
};
