#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "codeset/CodeSetResult.h"

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

    virtual CodeSetResult EncodeChar(char16_t unit, char* out, unsigned flags,
                                     bool escapeMarkup) const = 0;
    virtual CodeSetResult EncodeCharWide(char16_t unit, char16_t* out, unsigned flags,
                                         bool escapeMarkup) const;
    virtual CodeSetResult ReadEntityChar(const unsigned char* text, std::size_t& position,
                                         unsigned char& out) const = 0;
    virtual CodeSetResult DecodeCharRaw(const unsigned char* text, char16_t& ch,
                                        std::size_t& consumed, bool& isEntity,
                                        unsigned flags) const = 0;
    virtual CodeSetResult DecodeChar(const unsigned char* text, char16_t& ch, std::size_t& consumed,
                                     bool& isEntity, unsigned flags) const = 0;
    virtual CodeSetResult ReadTables(std::FILE* file) = 0;
    virtual void Dump(std::FILE* stream) const = 0;
    virtual bool IsLeadByte(int value) const;

    // Characters of a whole text, where a high surrogate followed by a low one is one
    // character outside the BMP. EncodeCodePoint writes what EncodeChar writes for a
    // character of the BMP; for one above it the table code sets write its entity or "?".
    // DecodeCodePoint is DecodeChar for code sets whose bytes can hold such characters.
    virtual CodeSetResult EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                          bool escapeMarkup) const;
    virtual CodeSetResult DecodeCodePoint(const unsigned char* text, char32_t& codePoint,
                                          std::size_t& consumed, bool& isEntity,
                                          unsigned flags) const;
    // Whether the code set writes characters as bytes at all (UTF-16 does not).
    virtual bool HasByteForm() const { return true; }
    // Encodes the character that starts at units[0] (units[0] to units[count - 1] are the
    // text left) through EncodeCodePoint; taken receives its units, 1 or 2.
    CodeSetResult EncodeNext(const char16_t* units, std::size_t count, std::size_t& taken,
                             char* out, unsigned flags, bool escapeMarkup) const;

    // Whole-text forms of DecodeChar and EncodeChar for the converted text buffer. They give
    // exactly what one call per character gives; the table code sets replace the virtual call
    // per unit by direct table lookups and fall back to the per-character path for anything
    // that involves entities or special characters.
    //
    // Decodes the text from position to its end, its first zero byte, which lies at length
    // at the latest (text[length] is zero: a caller that knows the length saves a search),
    // appending one unit per character to out, until the end or the first non-zero
    // DecodeChar result, which is returned (0 at the end). position is left after the last
    // character decoded, never beyond the end; it stops short of it only on an error (or a
    // decoder that consumes nothing).
    virtual CodeSetResult DecodeText(const unsigned char* text, std::size_t length,
                                     std::size_t& position, std::u16string& out,
                                     unsigned flags) const;
    // Appends the representation of each of count units: what EncodeChar writes into a
    // zero-filled buffer of kCharBufferSize bytes, up to its first zero byte.
    virtual void EncodeText(const char16_t* units, std::size_t count, unsigned flags,
                            bool escapeMarkup, std::string& out) const;

    // Reads one entity whose ampersand is at text; consumed holds the ampersand's size on
    // entry and the size of the whole entity on success.
    CodeSetResult ParseEntity(const unsigned char* text, char16_t& ch, std::size_t& consumed) const;
};
