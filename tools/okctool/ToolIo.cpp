#include "ToolIo.h"

#include <sys/stat.h>

#include "codeset/ByteOrder.h"
#include "platform/OpenStdioFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool IsStandard(const std::string& path) {
    return path.empty() || path == "-";
}

}  // namespace

ToolStreams::~ToolStreams() {
    if (ownIn_)
        std::fclose(in_);
    if (ownOut_)
        std::fclose(out_);
}

bool ToolStreams::Open(const std::string& inputPath, const std::string& outputPath) {
    if (IsStandard(inputPath)) {
        in_ = stdin;
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
    } else {
        in_ = OpenStdioFile(inputPath, "rb");
        if (in_ == nullptr) {
            std::fprintf(stderr, "okctool: cannot open %s\n", inputPath.c_str());
            return false;
        }
        ownIn_ = true;
    }
#ifdef _WIN32
    struct _stat64 status;
    if (_fstat64(_fileno(in_), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG)
        inputSize_ = status.st_size;
#else
    struct stat status;
    if (fstat(fileno(in_), &status) == 0 && S_ISREG(status.st_mode))
        inputSize_ = static_cast<long long>(status.st_size);
#endif
    // Blocks go straight between the files and the conversion buffers.
    std::setvbuf(in_, nullptr, _IONBF, 0);
    if (IsStandard(outputPath)) {
        out_ = stdout;
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
    } else {
        out_ = OpenStdioFile(outputPath, "wb");
        if (out_ == nullptr) {
            std::fprintf(stderr, "okctool: cannot create %s\n", outputPath.c_str());
            return false;
        }
        ownOut_ = true;
    }
    std::setvbuf(out_, nullptr, _IONBF, 0);
    return true;
}

std::size_t ToolStreams::BlockSize(std::size_t maxBlock) const {
    if (inputSize_ >= 0 && static_cast<unsigned long long>(inputSize_) < maxBlock)
        return static_cast<std::size_t>(inputSize_) + 1;
    return maxBlock;
}

std::size_t ToolStreams::Read(char* bytes, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const std::size_t n = std::fread(bytes + total, 1, size - total, in_);
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

bool ToolStreams::ReadFailed() const {
    return std::ferror(in_) != 0;
}

std::string ToolStreams::ReadAll() {
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = Read(buffer, sizeof buffer)) > 0)
        bytes.append(buffer, n);
    return bytes;
}

bool ToolStreams::Write(const void* bytes, std::size_t size) {
    if (writeFailed_)
        return false;
    if (size != 0 && std::fwrite(bytes, 1, size, out_) != size) {
        std::fprintf(stderr, "okctool: cannot write the output\n");
        writeFailed_ = true;
    }
    return !writeFailed_;
}

bool ToolStreams::WriteUtf16Le(const std::u16string& units) {
    if (IsLittleEndianMachine())
        return Write(units.data(), units.size() * 2);
    swapped_.clear();
    for (char16_t unit : units) {
        swapped_ += static_cast<char>(unit & 0xFF);
        swapped_ += static_cast<char>(unit >> 8);
    }
    return Write(swapped_);
}

bool ToolStreams::Finish() {
    if (ReadFailed()) {
        std::fprintf(stderr, "okctool: cannot read the input\n");
        return false;
    }
    if (!writeFailed_ && std::fflush(out_) != 0) {
        std::fprintf(stderr, "okctool: cannot write the output\n");
        writeFailed_ = true;
    }
    return !writeFailed_;
}
