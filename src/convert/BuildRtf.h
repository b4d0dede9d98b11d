#pragma once

#include <cstdint>
#include <string>

class ConvertedText;

// A Rich Text Format document of the text from which a reader gets every unit back: each
// unit that isn't its own ASCII byte in the text's code set as its Unicode value, with its
// bytes (or "?") as the fallback. Overwrites the text's multibyte.
std::string BuildRtf(ConvertedText& text, std::uint16_t languageId);
