// A CF_TEXT whose decoding holds U+0000 is left on the clipboard as it was: written back,
// every format would end at that zero and the rest of the user's text would be gone.
#include <gtest/gtest.h>

#include <string>

#include "RecordingPrompts.h"
#include "TestCodeSets.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "convert/ConversionPipeline.h"
#include "platform/InMemoryClipboard.h"

namespace {

struct PipelineRun {
    explicit PipelineRun(const std::string& codeSetName) {
        UseTestCodeSets();
        settings.codeSetName = codeSetName;
        settings.languageId = 1033;
    }

    ConversionOutcome operator()() {
        ConversionOutcome outcome = pipeline.Run(settings);
        EXPECT_FALSE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.NestedOpens(), 0u);
        return outcome;
    }

    ConversionSettings settings;
    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    ConversionPipeline pipeline{clipboard, prompts};
};

TEST(DecodedZeroKeepsText, OverlongUtf8ZeroLeavesTheClipboardAsItWas) {
    PipelineRun run("utf8-test");
    // C0 80 decodes to U+0000; "after" follows it.
    const std::string text = std::string(
                                 "before\xC0\x80"
                                 "after") +
                             '\0';
    run.clipboard.PutFromAnotherProgram({{ClipboardText, text}});
    const unsigned changes = run.clipboard.ChangeCount();

    EXPECT_EQ(run(), ConversionOutcome::DecodingStopped);
    EXPECT_EQ(run.clipboard.Block(ClipboardText), text);
    EXPECT_EQ(run.clipboard.Formats(), std::vector<unsigned>{ClipboardText});
    EXPECT_EQ(run.clipboard.ChangeCount(), changes);
}

TEST(DecodedZeroKeepsText, TextWithoutAZeroIsStillConverted) {
    PipelineRun run("utf8-test");
    run.clipboard.PutFromAnotherProgram({{ClipboardText, std::string("caf\xC3\xA9") + '\0'}});

    EXPECT_EQ(run(), ConversionOutcome::Converted);
    EXPECT_EQ(run.clipboard.Block(ClipboardUnicodeText), std::string("c\0a\0f\0\xE9\0\0\0", 10));
}

}  // namespace
