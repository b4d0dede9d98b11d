#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Paths and names inside the program are UTF-8; Win32 takes and gives UTF-16. A Windows file
// name may hold an unpaired surrogate: it is kept as its own three-byte sequence, so every
// name the system gives comes back to it unchanged. Bytes that are no UTF-8 read as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view units);

// The byte offset of character number count of text (its size when it has fewer), so that
// a text is cut without splitting a character.
std::size_t Utf8Offset(std::string_view text, std::size_t count);
