#pragma once

#include <string>

// A data directory of small code set files for the conversion tests, made once per
// program and set as the data directory:
//   sb-test     single-byte, ASCII below 0x80, 0xA0-0xFF Latin-1, 0x81 = U+FF71, no U+20AC
//   db-test     double-byte, lead bytes 0x81 (0x8140 = U+3000) and 0x82 (0x82A0 = U+3042),
//               single byte 0xA1 = U+FF61
//   yen-test    single-byte over all 256 bytes, ASCII except 0x5C = U+00A5 (no backslash)
//   utf8-test   UTF-8;  utf16-test  UTF-16
//   renamed     a single-byte file whose stored name is "sb-test"
//   bad-kind    kind 7
// plus default.oku naming only the ampersand ("amp").
const std::string& UseTestCodeSets();
