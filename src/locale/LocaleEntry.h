#pragma once

#include <cstdint>
#include <string>

// One locale of Locales.def. The code fields are fixed-size so that a code read from the
// file keeps only the characters the program can hold.
struct LocaleEntry {
    char twoLetterCode[3] = {};
    char threeLetterCode[4] = {};
    char code[7] = {};
    std::string displayName;
    std::int32_t languageId = 0;
    std::string codeSetName;
    std::string flagName;
    std::string tag;
    std::int32_t listingMark = 0;
    // Index into the flag image list; -1 until the list is built or when there is no flag.
    std::int32_t flagImage = -1;
};
