#pragma once

#include "codeset/CodeSet.h"

class Utf8CodeSet : public CodeSet {
public:
    int EncodeChar(char16_t unit, char* out, unsigned flags, bool escapeMarkup) const override;
    int ReadEntityChar(const unsigned char* text, std::size_t& position,
                       unsigned char& out) const override;
    int DecodeCharRaw(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                      bool& isEntity, unsigned flags) const override;
    int DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed, bool& isEntity,
                   unsigned flags) const override;
    int EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                        bool escapeMarkup) const override;
    int DecodeCodePoint(const unsigned char* text, char32_t& codePoint, std::size_t& consumed,
                        bool& isEntity, unsigned flags) const override;
    int ReadTables(std::FILE* file) override;
    void Dump(std::FILE* stream) const override;
};
