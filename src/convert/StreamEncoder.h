#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CodeSet;

// Encodes UTF-16LE bytes that arrive a block at a time, giving exactly what one whole-text
// encoding of all the units gives. An odd byte at the end of a block, and a high surrogate
// whose low one may come with the next block, wait for it.
class StreamEncoder {
public:
    StreamEncoder(const CodeSet& codeSet, unsigned flags, std::size_t blockSize);

    // Where the next block of bytes goes and how many fit there.
    char* BlockSpace() { return reinterpret_cast<char*>(units_.data()) + heldBytes_; }
    std::size_t BlockRoom() const { return blockSize_; }

    // Encodes the held bytes and the size bytes just put at BlockSpace, appending the
    // representations to out. last: no bytes follow; a last odd byte is dropped.
    void Encode(std::size_t size, bool last, std::string& out);

    // Whether the input had an odd number of bytes (known after the last block).
    bool OddByte() const { return oddByte_; }

private:
    const CodeSet& codeSet_;
    unsigned flags_;
    std::size_t blockSize_;
    // Held bytes first (at most a surrogate and an odd byte), then the block.
    std::vector<char16_t> units_;
    std::size_t heldBytes_ = 0;
    bool oddByte_ = false;
};
