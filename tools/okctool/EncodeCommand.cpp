#include <cstdio>
#include <string>

#include "CodeSetHolder.h"
#include "Commands.h"
#include "BuildRtf.h"
#include "ConvertedText.h"
#include "ToolIo.h"

namespace {

// UTF-16LE units from standard input, bound to the holder with the given encoding flags.
ConvertedText ReadUnits(CodeSetHolder& holder, unsigned flags) {
    const std::string input = ReadAllStdin();
    if (input.size() % 2 != 0) {
        std::fprintf(stderr, "okctool: odd number of input bytes; the last one is ignored\n");
    }
    ConvertedText text;
    text.codeSetHolder = &holder;
    text.encodeFlags = static_cast<std::int32_t>(flags);
    text.unicode = FromUtf16Le(input);
    return text;
}

}  // namespace

// Renders UTF-16LE from standard input the way the program renders CF_TEXT.
int RunEncode(CodeSetHolder& holder, unsigned flags) {
    ConvertedText text = ReadUnits(holder, flags);
    WriteStdout(text.ToMultibyte());
    if (holder.kind == Utf16Kind) {
        std::fprintf(stderr, "okctool: %s does not encode characters into bytes\n",
                     holder.name.c_str());
    }
    return kExitOk;
}

// The Rich Text Format document the program would put on the clipboard for the text.
int RunRtf(CodeSetHolder& holder, unsigned flags, std::uint16_t languageId) {
    ConvertedText text = ReadUnits(holder, flags);
    WriteStdout(BuildRtf(text, languageId));
    return kExitOk;
}
