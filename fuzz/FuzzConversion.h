#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CodeSetHolder;

// Checks shared by the targets that convert text. Each runs every path the program has for
// the same work (the one-character calls and the ConvertedText operations with their bulk
// paths) and stops the process when they disagree or leave their buffers.

// Decodes bytes (the text ends at their first zero byte, if any) through the holder's code
// set with the given decoding flags.
void CheckDecoding(CodeSetHolder& holder, const std::uint8_t* data, std::size_t size,
                   unsigned flags);

// Encodes units one by one and as a whole text, and builds the Rich Text Format document.
void CheckEncoding(CodeSetHolder& holder, const std::u16string& units, unsigned flags,
                   std::uint16_t languageId);

// UTF-16 units from little-endian byte pairs (a last odd byte is dropped).
std::u16string UnitsFromBytes(const std::uint8_t* data, std::size_t size);
