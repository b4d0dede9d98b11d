#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "codeset/CodeSetResult.h"

class CodeSet;

// Decodes a byte stream that arrives a block at a time into UTF-16 units, giving exactly
// what one whole-text decoding of all the bytes gives: it ends at the first zero byte or at
// the first error, and says where. A character that a block boundary cuts (a lead byte
// without its trail byte, an unfinished UTF-8 sequence or entity, the first byte of a UTF-16
// unit) is held back and decoded with the next block.
class StreamDecoder {
public:
    // unitBytes: 2 for UTF-16, whose blocks are decoded in whole units, else 1.
    StreamDecoder(const CodeSet& codeSet, unsigned flags, std::size_t unitBytes,
                  std::size_t blockSize);

    // Where the next block goes and how many bytes fit there.
    char* BlockSpace() { return reinterpret_cast<char*>(buffer_.data() + held_); }
    std::size_t BlockRoom() const { return blockSize_; }

    // Decodes the held bytes and the size bytes just put at BlockSpace, appending the units
    // to out. last: no bytes follow. Returns false once decoding is over (at the end of the
    // input, at a zero byte or at an error); bytes given after that are only counted.
    bool Decode(std::size_t size, bool last, std::u16string& out);

    bool Over() const { return over_; }
    // Once over: the offset in the whole input where decoding ended (the zero byte, the
    // character in error, or the end), and the decoder's result there (Ok unless an error).
    std::size_t StopOffset() const { return stopOffset_; }
    CodeSetResult Result() const { return result_; }
    // Whether it ended at a zero byte (or an error): bytes after StopOffset were not decoded.
    bool StoppedEarly() const { return stoppedEarly_; }
    // Whether it ended at a zero byte.
    bool AtZeroByte() const { return atZero_; }
    // Every byte given, decoded or not.
    std::size_t BytesSeen() const { return seen_; }

    // The longest character held back across blocks (entities can be long). One longer than
    // this is taken to end in error where the block ends.
    static constexpr std::size_t kMaxHeld = 4096;

private:
    void Finish(std::size_t offset, CodeSetResult result, bool early);

    const CodeSet& codeSet_;
    unsigned flags_;
    std::size_t unitBytes_;
    std::size_t blockSize_;
    // Held bytes, the block, and two zero bytes after the text that the decoders read up to.
    std::vector<unsigned char> buffer_;
    std::size_t held_ = 0;
    // Offset in the input of buffer_[0].
    std::size_t base_ = 0;
    std::size_t seen_ = 0;
    bool over_ = false;
    bool stoppedEarly_ = false;
    bool atZero_ = false;
    std::size_t stopOffset_ = 0;
    CodeSetResult result_ = CodeSetResult::Ok;
};
