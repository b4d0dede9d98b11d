#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "image/DibLayout.h"
#include "image/WriteDibFile.h"
#include "platform/Shell.h"

// The clipboard's DIB is the one block the program reads that any other program writes.
// The input is that block, in memory of exactly its size: the layout must stay inside it,
// and the file written must be the block's own bytes behind a header that agrees with them.

namespace {

class MemoryFile : public OutputFile {
public:
    explicit MemoryFile(std::size_t limit) : limit(limit) {}
    bool Write(const void* data, std::size_t size) override {
        if (size > limit - bytes.size())
            return false;
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return true; }

    std::string bytes;
    std::size_t limit;
};

std::uint32_t Le32(const std::string& bytes, std::size_t offset) {
    return ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
}

void CheckWrittenFile(const unsigned char* dib, std::size_t size, const DibLayout& layout,
                      const std::string& file) {
    FUZZ_CHECK(file.size() == layout.FileSize());
    FUZZ_CHECK(file[0] == 'B' && file[1] == 'M');
    FUZZ_CHECK(Le32(file, 2) == file.size());
    FUZZ_CHECK(Le32(file, 6) == 0);
    const std::uint32_t offBits = Le32(file, 10);
    FUZZ_CHECK(offBits == kFileHeaderSize + kInfoHeaderSize + layout.colorTableSize);
    FUZZ_CHECK(offBits + layout.pixelSize == file.size());

    // The header is the block's own, with the pixel size and a bottom-up height.
    const unsigned char* written = reinterpret_cast<const unsigned char*>(file.data()) + 14;
    for (std::size_t i = 0; i < kInfoHeaderSize; ++i) {
        const bool sizeImage = i >= 20 && i < 24 && !layout.Compressed();
        const bool height = i >= 8 && i < 12 && layout.topDown;
        if (!sizeImage && !height)
            FUZZ_CHECK(written[i] == dib[i]);
    }
    FUZZ_CHECK(ReadLe32(written + 20) ==
               (layout.Compressed() ? ReadLe32(dib + 20) : layout.pixelSize));
    FUZZ_CHECK(static_cast<std::int32_t>(ReadLe32(written + 8)) >= 0 || !layout.topDown);
    FUZZ_CHECK(layout.compression <= kBiBitFields);
    FUZZ_CHECK(layout.dibSize <= size);

    const std::size_t table = static_cast<std::size_t>(layout.colorTableSize);
    FUZZ_CHECK(std::memcmp(written + kInfoHeaderSize, dib + kInfoHeaderSize, table) == 0);
    const unsigned char* pixels = dib + kInfoHeaderSize + table;
    const unsigned char* writtenPixels = written + kInfoHeaderSize + table;
    const std::size_t pixelSize = static_cast<std::size_t>(layout.pixelSize);
    if (!layout.topDown) {
        FUZZ_CHECK(std::memcmp(writtenPixels, pixels, pixelSize) == 0);
        return;
    }
    // A top-down block's rows come out in the opposite order, each one whole.
    const std::size_t row = static_cast<std::size_t>(layout.rowSize);
    FUZZ_CHECK(row * layout.rows == pixelSize);
    for (std::uint64_t r = 0; r < layout.rows; ++r) {
        FUZZ_CHECK(
            std::memcmp(writtenPixels + r * row, pixels + (layout.rows - 1 - r) * row, row) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy without slack, so that reading one byte beyond the block is caught.
    std::unique_ptr<unsigned char[]> dib(new unsigned char[size == 0 ? 1 : size]);
    if (size != 0)
        std::memcpy(dib.get(), data, size);

    DibLayout layout;
    const DibCheck check = ComputeDibLayout(dib.get(), size, layout);
    MemoryFile file(static_cast<std::size_t>(-1));
    const DibWrite result = WriteDibFile(dib.get(), size, file);
    if (check != DibCheck::Ok) {
        FUZZ_CHECK(result == DibWrite::Refused);
        FUZZ_CHECK(file.bytes.empty());
        return 0;
    }
    FUZZ_CHECK(result == DibWrite::Written);
    FUZZ_CHECK(layout.pixelSize > 0);
    CheckWrittenFile(dib.get(), size, layout, file.bytes);

    // A file that takes only part of it: reported, and never more than it took.
    const std::size_t limit = size % file.bytes.size();
    MemoryFile partial(limit);
    FUZZ_CHECK(WriteDibFile(dib.get(), size, partial) == DibWrite::WriteFailed);
    FUZZ_CHECK(partial.bytes.size() <= limit);
    FUZZ_CHECK(file.bytes.compare(0, partial.bytes.size(), partial.bytes) == 0);
    return 0;
}
