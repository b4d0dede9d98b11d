#include "convert/StreamEncoder.h"

#include <cstring>

#include "codeset/ByteOrder.h"
#include "codeset/CodeSet.h"

namespace {

// Held back at most: a high surrogate and an odd byte.
constexpr std::size_t kMaxHeldBytes = 3;

}  // namespace

StreamEncoder::StreamEncoder(const CodeSet& codeSet, unsigned flags, std::size_t blockSize)
    : codeSet_(codeSet),
      flags_(flags),
      blockSize_(blockSize > 0 ? blockSize : 1),
      units_((kMaxHeldBytes + blockSize_) / 2 + 1) {}

void StreamEncoder::Encode(std::size_t size, bool last, std::string& out) {
    const std::size_t bytes = heldBytes_ + size;
    std::size_t count = bytes / 2;
    char16_t* const units = units_.data();
    if (!IsLittleEndianMachine()) {
        for (std::size_t i = 0; i < count; ++i)
            units[i] = static_cast<char16_t>(units[i] >> 8 | units[i] << 8);
    }
    // A high surrogate at the end of a block may pair with the first unit of the next.
    const bool holdUnit =
        !last && count > 0 && units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF;
    if (holdUnit)
        --count;
    codeSet_.EncodeText(units, count, flags_, true, out);
    if (last) {
        oddByte_ = bytes % 2 != 0;
        heldBytes_ = 0;
        return;
    }
    heldBytes_ = bytes - count * 2;
    if (!IsLittleEndianMachine() && holdUnit)
        units[count] = static_cast<char16_t>(units[count] >> 8 | units[count] << 8);
    std::memmove(units, units + count, heldBytes_);
}
