#pragma once

#include <cstddef>
#include <cstdio>

// Converts between one code set and UTF-16, one character per call. Texts handed to the
// decoders are zero-terminated; encoders write a zero-terminated string into a buffer of
// kCharBufferSize bytes (or units, for the wide writer).
class CodeSet {
public:
    static constexpr std::size_t kCharBufferSize = 20;

    CodeSet() = default;
    CodeSet(const CodeSet&) = delete;
    CodeSet& operator=(const CodeSet&) = delete;
    virtual ~CodeSet();

    virtual int EncodeChar(char16_t unit, char* out, unsigned flags, bool escapeMarkup) const = 0;
    virtual int EncodeCharWide(char16_t unit, char16_t* out, unsigned flags,
                               bool escapeMarkup) const;
    virtual int ReadEntityChar(const unsigned char* text, std::size_t& position,
                               unsigned char& out) const = 0;
    virtual int DecodeCharRaw(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                              bool& isEntity, unsigned flags) const = 0;
    virtual int DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                           bool& isEntity, unsigned flags) const = 0;
    virtual int ReadTables(std::FILE* file) = 0;
    virtual void Dump(std::FILE* stream) const = 0;
    virtual bool IsLeadByte(int value) const;

    // Reads one entity whose ampersand is at text; consumed holds the ampersand's size on
    // entry and the size of the whole entity on success.
    int ParseEntity(const unsigned char* text, char16_t& ch, std::size_t& consumed) const;
};
