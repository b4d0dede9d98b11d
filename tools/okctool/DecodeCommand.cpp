#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolIo.h"
#include "codeset/CodeSetResult.h"
#include "convert/StreamDecoder.h"

// Decodes the input the way the program decodes clipboard text: up to the first zero byte,
// stopping at the first error and keeping what came before it. Streams block by block.
int RunDecode(CodeSetHolder& holder, const ConvertOptions& options) {
    ToolStreams streams;
    if (!streams.Open(options.input, options.output))
        return kExitIoFailed;
    StreamDecoder decoder(*holder.codeSet, options.flags, holder.kind == Utf16Kind ? 2 : 1,
                          streams.BlockSize(kStreamBlock));
    std::u16string units;
    bool last = false;
    while (!last) {
        const std::size_t size = streams.Read(decoder.BlockSpace(), decoder.BlockRoom());
        last = size < decoder.BlockRoom();
        if (decoder.Over()) {
            // Past the end of the text: the bytes are only counted.
            decoder.Decode(size, last, units);
            continue;
        }
        units.clear();
        decoder.Decode(size, last, units);
        if (!streams.WriteUtf16Le(units))
            return kExitIoFailed;
    }
    if (!streams.Finish())
        return kExitIoFailed;
    if (decoder.StoppedEarly() && !decoder.AtZeroByte()) {
        std::fprintf(stderr, "okctool: decoding stopped at byte offset %zu: %d %s\n",
                     decoder.StopOffset(), CodeSetResultNumber(decoder.Result()),
                     CodeSetResultName(decoder.Result()));
        return kExitDecodeStopped;
    }
    if (decoder.AtZeroByte()) {
        std::fprintf(
            stderr,
            "okctool: text ends at the zero byte at offset %zu; %zu bytes after it ignored\n",
            decoder.StopOffset(), decoder.BytesSeen() - decoder.StopOffset() - 1);
    }
    return kExitOk;
}
