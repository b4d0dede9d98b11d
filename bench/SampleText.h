#pragma once

#include <cstdint>
#include <string>

// One sentence (sometimes ending a paragraph with CR LF) of made-up but realistic text for a
// code set: French and German prose for windows-1252, Russian for windows-1251, Japanese
// (kanji, kana, katakana loan words, Japanese punctuation, digits) for windows-932,
// simplified and traditional Chinese for windows-936 and windows-950, French and German for
// macintosh, Russian for iso-8859-5, German for cp437, Korean for the rest. Three samples are
// not named after a code set: "mixed" (French, Japanese and Russian, emoji now and then),
// "english" (English with a few accented words) and "japanese".
// Built from small embedded word lists; seed advances so that calls give a deterministic
// sequence.
std::u16string SampleSentence(const std::string& codeSetName, std::uint32_t& seed);

class CodeSet;

// The bytes of units in a code set, as a clipboard text holds them: the code set's encoding,
// or UTF-16LE for the UTF-16 code set. Units that the UTF-16 form would hold as a zero byte
// (which ends the text) are left out of both.
void AppendSampleBytes(const CodeSet& codeSet, bool utf16, std::u16string& units,
                       std::string& bytes);
