#pragma once

#include <cstdint>
#include <string>

class ConvertedText;

// A Rich Text Format document of the text: every non-ASCII unit as its Unicode value with
// its bytes in the text's code set as the fallback. Overwrites the text's multibyte.
std::string BuildRtf(ConvertedText& text, std::uint16_t languageId);
