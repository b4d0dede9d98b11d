#include "convert/StreamDecoder.h"

#include <cstring>

#include "codeset/CodeSet.h"

StreamDecoder::StreamDecoder(const CodeSet& codeSet, unsigned flags, std::size_t unitBytes,
                             std::size_t blockSize)
    : codeSet_(codeSet),
      flags_(flags),
      unitBytes_(unitBytes == 2 ? 2 : 1),
      blockSize_(blockSize > 0 ? blockSize : 1),
      buffer_(kMaxHeld + blockSize_ + 2, 0) {}

void StreamDecoder::Finish(std::size_t offset, CodeSetResult result, bool early) {
    over_ = true;
    stopOffset_ = offset;
    result_ = result;
    stoppedEarly_ = early;
    held_ = 0;
}

bool StreamDecoder::Decode(std::size_t size, bool last, std::u16string& out) {
    seen_ += size;
    if (over_)
        return false;
    const std::size_t length = held_ + size;
    // Before the last block only whole units are decoded: the decoder would read an odd byte
    // at the end as a unit of its own.
    const std::size_t decodeLength = last ? length : length - length % unitBytes_;
    unsigned char* const text = buffer_.data();
    // The decoders read up to two zero bytes after the text; what they cover is put back.
    unsigned char saved[2] = {text[decodeLength], text[decodeLength + 1]};
    text[decodeLength] = 0;
    text[decodeLength + 1] = 0;

    std::size_t position = 0;
    const CodeSetResult result = codeSet_.DecodeText(text, decodeLength, position, out, flags_);
    bool held = false;
    if (result != CodeSetResult::Ok && !last) {
        // An error that the decoder met only because the block ended (it read up to the end)
        // may be a character cut in two: it is decoded again with the next block.
        char16_t unit = 0;
        std::size_t consumed = 0;
        bool isEntity = false;
        codeSet_.DecodeChar(text + position, unit, consumed, isEntity, flags_);
        held = position + consumed >= decodeLength && length - position <= kMaxHeld;
    }
    text[decodeLength] = saved[0];
    text[decodeLength + 1] = saved[1];

    if (result != CodeSetResult::Ok && !held) {
        Finish(base_ + position, result, true);
    } else if (result == CodeSetResult::Ok && position < decodeLength) {
        // A zero byte, or a decoder that made no progress.
        Finish(base_ + position, CodeSetResult::Ok, true);
        atZero_ = text[position] == 0;
    } else if (last) {
        Finish(base_ + length, CodeSetResult::Ok, false);
    } else {
        // Keeps what was not decoded (the cut character, the odd byte) for the next block.
        const std::size_t keep = result != CodeSetResult::Ok ? position : decodeLength;
        held_ = length - keep;
        std::memmove(text, text + keep, held_);
        base_ += keep;
        return true;
    }
    return false;
}
