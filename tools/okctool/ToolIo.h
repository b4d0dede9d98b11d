#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The input and output of a converting command: files named on the command line, or
// standard input and output (as raw bytes: binary mode on Windows, where text mode would
// turn line ends and stop at Ctrl-Z). Closes the files it opened.
class ToolStreams {
public:
    ToolStreams() = default;
    ToolStreams(const ToolStreams&) = delete;
    ToolStreams& operator=(const ToolStreams&) = delete;
    ~ToolStreams();

    // inputPath / outputPath: empty or "-" for standard input / output. Prints why and
    // returns false when a file cannot be opened.
    bool Open(const std::string& inputPath, const std::string& outputPath);

    // The block size for streaming: the input's size and one where it is a smaller file (so
    // that its end is seen in one read), else maxBlock.
    std::size_t BlockSize(std::size_t maxBlock) const;

    // Reads up to size bytes (fewer only at the end of the input or on an error).
    std::size_t Read(char* bytes, std::size_t size);
    bool ReadFailed() const;
    std::string ReadAll();

    // Writes bytes; false (after telling once on stderr) when the output fails.
    bool Write(const void* bytes, std::size_t size);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // Units as UTF-16LE without a byte order mark, the form decode writes.
    bool WriteUtf16Le(const std::u16string& units);
    // Flushes the output; false (after telling on stderr) when reading or writing failed.
    bool Finish();

private:
    std::FILE* in_ = nullptr;
    std::FILE* out_ = nullptr;
    bool ownIn_ = false;
    bool ownOut_ = false;
    long long inputSize_ = -1;
    bool writeFailed_ = false;
    std::string swapped_;
};
