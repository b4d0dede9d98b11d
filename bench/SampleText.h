#pragma once

#include <cstdint>
#include <string>

// One sentence (sometimes ending a paragraph with CR LF) of made-up but realistic text for a
// code set: French and German prose for windows-1252, Russian for windows-1251, Japanese
// (kanji, kana, katakana loan words, Japanese punctuation, digits) for windows-932,
// simplified and traditional Chinese for windows-936 and windows-950, Korean for the rest.
// Built from small embedded word lists; seed advances so that calls give a deterministic
// sequence.
std::u16string SampleSentence(const std::string& codeSetName, std::uint32_t& seed);
