#pragma once

#include <cstddef>

// What the encoders do with the characters that have a meaning in markup.
enum class SpecialOutcome {
    Ordinary,  // not special under these flags: the class's own path encodes it
    LessThan,  // the marker U+0001 written as "<"
    Entity,    // must be written as a character entity
};

// Applies only when some entity form is allowed at all.
SpecialOutcome ClassifySpecial(char16_t unit, unsigned flags, bool escapeMarkup);

// Writes the entity of the first allowed form into out (kCharBufferSize bytes) and returns
// true; false, writing nothing, when no form is allowed or available. decimalFirstAllowed
// is true for the table encoders, which honour DecimalFirst. A character above U+FFFF has
// no name.
bool WriteEntity(char32_t unit, char* out, unsigned flags, bool decimalFirstAllowed);

// The same for 16-bit output; the named form widens each byte of the name to one unit.
bool WriteEntityWide(char16_t unit, char16_t* out, unsigned flags);

// Copies a zero-terminated byte text into out.
void WriteText(char* out, const char* text);
