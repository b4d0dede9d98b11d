#include <cstdio>
#include <string>

#include "Commands.h"
#include "ToolIo.h"
#include "codeset/CodeSetHolder.h"
#include "convert/BuildRtf.h"
#include "convert/ConvertedText.h"
#include "convert/StreamEncoder.h"

namespace {

void WarnOddByte() {
    std::fprintf(stderr, "okctool: odd number of input bytes; the last one is ignored\n");
}

}  // namespace

// Renders UTF-16LE input the way the program renders CF_TEXT, block by block.
int RunEncode(CodeSetHolder& holder, const ConvertOptions& options) {
    ToolStreams streams;
    if (!streams.Open(options.input, options.output))
        return kExitIoFailed;
    StreamEncoder encoder(*holder.codeSet, options.flags, streams.BlockSize(kStreamBlock));
    std::string bytes;
    bool last = false;
    while (!last) {
        const std::size_t size = streams.Read(encoder.BlockSpace(), encoder.BlockRoom());
        last = size < encoder.BlockRoom();
        bytes.clear();
        encoder.Encode(size, last, bytes);
        if (!streams.Write(bytes))
            return kExitIoFailed;
    }
    if (!streams.Finish())
        return kExitIoFailed;
    if (encoder.OddByte())
        WarnOddByte();
    if (holder.kind == Utf16Kind) {
        std::fprintf(stderr, "okctool: %s does not encode characters into bytes\n",
                     holder.name.c_str());
    }
    return kExitOk;
}

// The Rich Text Format document the program would put on the clipboard for the text, which
// needs the whole text at once.
int RunRtf(CodeSetHolder& holder, const ConvertOptions& options) {
    ToolStreams streams;
    if (!streams.Open(options.input, options.output))
        return kExitIoFailed;
    const std::string input = streams.ReadAll();
    if (streams.ReadFailed()) {
        std::fprintf(stderr, "okctool: cannot read the input\n");
        return kExitIoFailed;
    }
    if (input.size() % 2 != 0)
        WarnOddByte();
    ConvertedText text;
    text.codeSetHolder = &holder;
    text.encodeFlags = static_cast<std::int32_t>(options.flags);
    text.unicode.reserve(input.size() / 2);
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        text.unicode += static_cast<char16_t>(static_cast<unsigned char>(input[i]) |
                                              static_cast<unsigned char>(input[i + 1]) << 8);
    }
    return streams.Write(BuildRtf(text, options.languageId)) && streams.Finish() ? kExitOk
                                                                                 : kExitIoFailed;
}
