#include <cstdio>
#include <string>

#include "CodeSetResult.h"
#include "Commands.h"
#include "ConvertedText.h"
#include "ToolIo.h"

// Decodes standard input the way the program decodes clipboard text: up to the first zero
// byte, stopping at the first error and keeping what came before it.
int RunDecode(CodeSetHolder& holder, unsigned flags) {
    const std::string input = ReadAllStdin();
    ConvertedText text;
    text.codeSetHolder = &holder;
    text.decodeFlags = static_cast<std::int32_t>(flags);
    const MultibyteDecoding progress = text.SetFromMultibyte(input.c_str());
    WriteStdout(ToUtf16Le(text.unicode));
    if (!progress.reachedEnd) {
        std::fprintf(stderr, "okctool: decoding stopped at byte offset %zu: %d %s\n",
                     progress.bytesRead, progress.result, CodeSetResultName(progress.result));
        return kExitDecodeStopped;
    }
    if (progress.bytesRead < input.size()) {
        std::fprintf(
            stderr,
            "okctool: text ends at the zero byte at offset %zu; %zu bytes after it ignored\n",
            progress.bytesRead, input.size() - progress.bytesRead - 1);
    }
    return kExitOk;
}
