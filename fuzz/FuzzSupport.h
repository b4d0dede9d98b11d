#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codeset/CodeSetHolder.h"

// Shared pieces of the fuzz targets. The loaders read files by path, so each fuzzing
// process gets its own scratch folder (in memory where the system offers one) and writes
// the fuzzer's bytes to one file there, the same path every time.

// Stops the process with a report when an invariant of the program does not hold; the
// fuzzer then keeps the input as a crash.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : FuzzCheckFailed(#condition, __FILE__, __LINE__))
[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);

// The private folder of this process, ending in the separator; removed at exit.
const std::string& ScratchDirectory();
// Writes the bytes to the named file in the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

// The committed data folder, ending in the separator.
std::string ShippedDataDirectory();
// Points the data directory at the committed data and reads the entity table there once,
// so that named entities are written and read as the program does.
void UseShippedData();

// A fixed set of code sets of every kind, loaded once: shipped tables and a few made for
// the corners (a single-byte table from byte 0, one starting inside ASCII, a double-byte
// table whose tables start inside ASCII and whose segments reach past its arrays).
const std::vector<std::unique_ptr<CodeSetHolder>>& FuzzCodeSets();
// The code set picked by a byte of the input.
CodeSetHolder& PickCodeSet(std::uint8_t selector);

// Entity flags from one input byte, covering every bit that the encoders and decoders test.
unsigned FlagsFromByte(std::uint8_t bits);

// A zero-terminated copy of bytes in a block of exactly that size (plus padding zero bytes
// where a caller needs them), so that reading beyond it is caught.
std::unique_ptr<unsigned char[]> TerminatedCopy(const std::uint8_t* data, std::size_t size,
                                                std::size_t zeros = 1);
