#include "convert/ConversionPipeline.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RecordingPrompts.h"
#include "TestCodeSets.h"
#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "convert/BuildRtf.h"
#include "platform/InMemoryClipboard.h"

namespace {

const std::string kEmptyRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
    "\\widctlpar\\fs20\\lang1033 }";

std::string Utf16Block(const std::u16string& units) {
    std::string bytes;
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Terminated(const std::string& bytes) {
    return bytes + std::string(1, '\0');
}

// The settings the main window hands to a run.
class ConversionPipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestCodeSets();
        ASSERT_EQ(pipeline.LoadCodeSet("sb-test"), CodeSetResult::Ok);
        settings.codeSetName = "sb-test";
        settings.languageId = 1033;
        pipeline.saveClipboardImage = [this] { ++imagesOffered; };
    }
    // Every run, however it ends, gives the clipboard back and never opens it twice.
    void TearDown() override {
        EXPECT_FALSE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.NestedOpens(), 0u);
    }

    ConversionOutcome Run() { return pipeline.Run(settings); }

    void PutUnicode(const std::u16string& text) {
        clipboard.PutFromAnotherProgram({{ClipboardUnicodeText, Utf16Block(text + u'\0')}});
    }
    void PutText(const std::string& bytes) {
        clipboard.PutFromAnotherProgram({{ClipboardText, bytes}});
    }

    ConversionSettings settings;
    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    ConversionPipeline pipeline{clipboard, prompts};
    const unsigned flagFormat = pipeline.MarkerFormat();
    const unsigned rtfFormat = pipeline.RichTextFormat();
    int imagesOffered = 0;
};

TEST_F(ConversionPipelineTest, ConvertsUnicodeTextIntoEveryFormat) {
    clipboard.PutFromAnotherProgram(
        {{ClipboardUnicodeText, Utf16Block(u"Caf\u00E9\0")}, {ClipboardOemText, "oem"}});
    EXPECT_EQ(Run(), ConversionOutcome::Converted);

    EXPECT_EQ(pipeline.UnicodeText(), u"Caf\u00E9");
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("Caf\xE9"));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(std::u16string(u"Caf\u00E9\0", 5)));
    EXPECT_EQ(clipboard.Block(rtfFormat),
              Terminated(kEmptyRtf.substr(0, kEmptyRtf.size() - 1) + "Caf\\u233 \\'e9}"));
    EXPECT_EQ(clipboard.Block(ClipboardLocale), "\x09\x04\x09\x04");
    EXPECT_TRUE(clipboard.IsFormatAvailable(flagFormat));
    EXPECT_FALSE(clipboard.HasBlock(flagFormat));
    EXPECT_EQ(clipboard.Block(ClipboardOemText), "oem");
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_EQ(clipboard.ChangeCount(), 2u);
    // One open to copy the text in, one to write the results out.
    EXPECT_EQ(clipboard.OpenCount(), 2u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConversionPipelineTest, DecodesMultibyteTextThroughTheCodeSet) {
    settings.codeSetName = "db-test";
    PutText(Terminated("A\x82\xA0"));
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_TRUE(pipeline.UnicodeText().empty());  // only UTF-16 input fills it
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(std::u16string(u"A\u3042\0", 3)));
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("A\x82\xA0"));
}

TEST_F(ConversionPipelineTest, UserDefinedCharactersOfTheShippedBig5Convert) {
    // Windows reads Big5's user-defined codes (rows 81-A0, C6A1-C8FE, rows FA-FE) as
    // private-use characters, so such a CF_TEXT is converted, and written back unchanged.
    ASSERT_EQ(pipeline.LoadCodeSet(DataDirectoryForTests() + "windows-950.okc"), CodeSetResult::Ok);
    settings.codeSetName = "windows-950";
    const std::string text = Terminated(
        "A\x81\x40"
        "B\xC6\xA1\xFE\xFE\xA4\x40");
    PutText(text);
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText),
              Utf16Block(std::u16string(u"A\uEEB8B\uF6B1\uE310\u4E00\0", 7)));
    EXPECT_EQ(clipboard.Block(ClipboardText), text);
}

TEST_F(ConversionPipelineTest, EmptyUnicodeTextGivesEmptyBlocks) {
    PutUnicode(u"");
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardText), std::string(1, '\0'));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), std::string(2, '\0'));
    EXPECT_EQ(clipboard.Block(rtfFormat), Terminated(kEmptyRtf));
}

TEST_F(ConversionPipelineTest, LocaleRepeatsTheLanguageInBothHalves) {
    settings.languageId = 0x0411;
    PutUnicode(u"x");
    Run();
    EXPECT_EQ(clipboard.Block(ClipboardLocale), "\x11\x04\x11\x04");
    EXPECT_NE(clipboard.Block(rtfFormat).find("\\lang1041 x}"), std::string::npos);
}

TEST_F(ConversionPipelineTest, MissingCharactersAndSpecialCharacters) {
    // U+FFFF is no byte of the table's undefined ones; a pair is one character, a lone half
    // none at all.
    const std::u16string input = u"\u20AC&<\"'>\uFFFF\U0001F600\xD800";
    PutUnicode(input);
    Run();
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("?&<\"'>???"));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(input + u'\0'));

    settings.allowEntities = true;
    PutUnicode(input);
    Run();
    EXPECT_EQ(clipboard.Block(ClipboardText),
              Terminated("&#8364;&amp;&#60;&#34;&#39;>&#65535;&#128512;?"));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(input + u'\0'));
}

TEST_F(ConversionPipelineTest, CodeSetWithoutBytesLeavesTheMultibyteTextAlone) {
    settings.codeSetName = "utf16-test";
    clipboard.PutFromAnotherProgram(
        {{ClipboardUnicodeText, Utf16Block(u"x\u00E9\0")}, {ClipboardText, Terminated("theirs")}});
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("theirs"));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(std::u16string(u"x\u00E9\0", 3)));
    EXPECT_EQ(clipboard.Block(rtfFormat),
              Terminated(kEmptyRtf.substr(0, kEmptyRtf.size() - 1) + "\\u120 ?\\u233 ?}"));
    EXPECT_TRUE(clipboard.IsFormatAvailable(flagFormat));
}

TEST_F(ConversionPipelineTest, ArmedRunConvertsAndTheNextRunOnlyResetsTheState) {
    pipeline.Arm();
    settings.saveImages = true;
    PutUnicode(u"one");
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(pipeline.Guard(), SkipNext);
    EXPECT_EQ(imagesOffered, 1);

    PutUnicode(u"two");
    const unsigned changes = clipboard.ChangeCount();
    const unsigned opens = clipboard.OpenCount();
    EXPECT_EQ(Run(), ConversionOutcome::Skipped);
    EXPECT_EQ(pipeline.Guard(), Idle);
    EXPECT_EQ(pipeline.UnicodeText(), u"one");
    EXPECT_EQ(imagesOffered, 1);
    EXPECT_EQ(clipboard.ChangeCount(), changes);
    EXPECT_EQ(clipboard.OpenCount(), opens);
    EXPECT_FALSE(clipboard.IsFormatAvailable(flagFormat));
}

// Switching Auto-convert on over the program's own output, over no text or over text that
// doesn't decode writes nothing; the next change by another program is still converted.
TEST_F(ConversionPipelineTest, ArmedRunThatWritesNothingDoesNotHoldBackTheNextChange) {
    std::vector<ConversionOutcome> runs;
    clipboard.onChange = [&] { runs.push_back(Run()); };
    PutUnicode(u"first");
    ASSERT_TRUE(clipboard.IsFormatAvailable(flagFormat));

    settings.codeSetName = "utf8-test";
    const std::vector<std::pair<std::string, ConversionOutcome>> unwritten = {
        {"marked", ConversionOutcome::AlreadyMarked},
        {"no text", ConversionOutcome::NoText},
        {"stops", ConversionOutcome::DecodingStopped},
    };
    for (const auto& [what, outcome] : unwritten) {
        SCOPED_TRACE(what);
        if (what == "no text")
            clipboard.PutFromAnotherProgram({{ClipboardOemText, "oem"}});
        if (what == "stops")
            clipboard.PutFromAnotherProgram({{ClipboardText, Terminated("ok\xC3")}});
        runs.clear();
        const unsigned changes = clipboard.ChangeCount();
        pipeline.Arm();
        EXPECT_EQ(pipeline.Run(settings), outcome);
        EXPECT_EQ(clipboard.ChangeCount(), changes);
        EXPECT_EQ(pipeline.Guard(), Idle);

        PutUnicode(u"next \u00E9");
        EXPECT_EQ(runs, (std::vector<ConversionOutcome>{ConversionOutcome::AlreadyMarked,
                                                        ConversionOutcome::Converted}));
        EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("next \xC3\xA9"));
    }
}

TEST_F(ConversionPipelineTest, ItsOwnWriteStartsARunThatConvertsNothing) {
    // Each change notifies the window, which runs again from inside the closing run; the
    // inner run finishes (and is recorded) first.
    std::vector<ConversionOutcome> runs;
    clipboard.onChange = [&] { runs.push_back(Run()); };
    PutUnicode(u"text");
    EXPECT_EQ(runs, (std::vector<ConversionOutcome>{ConversionOutcome::AlreadyMarked,
                                                    ConversionOutcome::Converted}));

    runs.clear();
    pipeline.Arm();
    PutUnicode(u"again");
    EXPECT_EQ(runs, (std::vector<ConversionOutcome>{ConversionOutcome::Skipped,
                                                    ConversionOutcome::Converted}));
    EXPECT_EQ(pipeline.Guard(), Idle);
    EXPECT_EQ(pipeline.UnicodeText(), u"again");
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("again"));
}

TEST_F(ConversionPipelineTest, MarkedClipboardIsNotConvertedButItsImageIsOffered) {
    settings.saveImages = true;
    PutUnicode(u"previous");
    ASSERT_EQ(Run(), ConversionOutcome::Converted);
    ASSERT_EQ(pipeline.UnicodeText(), u"previous");
    clipboard.PutFromAnotherProgram({{ClipboardUnicodeText, Utf16Block(u"x\0")}});
    ASSERT_TRUE(clipboard.Open());
    clipboard.SetNoData(flagFormat);
    clipboard.Close();
    const unsigned changes = clipboard.ChangeCount();
    const unsigned opens = clipboard.OpenCount();

    EXPECT_EQ(Run(), ConversionOutcome::AlreadyMarked);
    EXPECT_EQ(imagesOffered, 2);
    EXPECT_TRUE(pipeline.UnicodeText().empty());
    EXPECT_EQ(clipboard.OpenCount(), opens);
    EXPECT_EQ(clipboard.ChangeCount(), changes);
}

TEST_F(ConversionPipelineTest, RichTextAlreadyOfferedIsKept) {
    clipboard.PutFromAnotherProgram(
        {{ClipboardUnicodeText, Utf16Block(u"x\0")}, {rtfFormat, "{\\rtf1 theirs}"}});
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(rtfFormat), "{\\rtf1 theirs}");
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("x"));
    EXPECT_EQ(clipboard.Block(ClipboardLocale), "\x09\x04\x09\x04");
    EXPECT_TRUE(clipboard.IsFormatAvailable(flagFormat));
}

TEST_F(ConversionPipelineTest, ClipboardWithoutReadableTextIsLeftAlone) {
    clipboard.PutFromAnotherProgram({{ClipboardBitmap, "bitmap"}, {ClipboardDib, "dib"}});
    EXPECT_EQ(Run(), ConversionOutcome::NoText);
    EXPECT_EQ(clipboard.OpenCount(), 1u);
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_EQ(clipboard.ChangeCount(), 1u);
    EXPECT_EQ(clipboard.Formats(), (std::vector<unsigned>{ClipboardBitmap, ClipboardDib}));

    PutUnicode(u"x");
    clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::LockFailed);
    EXPECT_EQ(Run(), ConversionOutcome::NoText);
    clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::NoHandle);
    EXPECT_EQ(Run(), ConversionOutcome::NoText);
    EXPECT_FALSE(clipboard.IsFormatAvailable(flagFormat));
    EXPECT_EQ(clipboard.ChangeCount(), 2u);
}

TEST_F(ConversionPipelineTest, TextThatStopsDecodingKeepsTheClipboardAsItWas) {
    settings.codeSetName = "db-test";
    const std::string original = Terminated(
        "AB\x82\x41"
        "CD");
    PutText(original);
    EXPECT_EQ(Run(), ConversionOutcome::DecodingStopped);
    EXPECT_EQ(clipboard.Block(ClipboardText), original);
    EXPECT_EQ(clipboard.Formats(), std::vector<unsigned>{ClipboardText});
    EXPECT_EQ(clipboard.ChangeCount(), 1u);
    EXPECT_FALSE(clipboard.IsOpen());
}

TEST_F(ConversionPipelineTest, TextBlocksAreReadWithinTheirSize) {
    PutText("Caf\xE9");  // no terminating zero
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(std::u16string(u"Caf\u00E9\0", 5)));

    PutText(std::string("ab\0cd", 5));
    Run();
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("ab"));

    // An odd last byte is no unit, and the text ends with the block.
    clipboard.PutFromAnotherProgram({{ClipboardUnicodeText, std::string("a\0b\0c", 5)}});
    Run();
    EXPECT_EQ(pipeline.UnicodeText(), u"ab");
}

TEST_F(ConversionPipelineTest, AFormatThatCannotBeWrittenIsSkipped) {
    clipboard.FailAllocation(ClipboardText);
    clipboard.FailAllocation(rtfFormat);
    clipboard.PutFromAnotherProgram(
        {{ClipboardUnicodeText, Utf16Block(u"new\0")}, {ClipboardText, Terminated("old")}});
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("old"));
    EXPECT_FALSE(clipboard.IsFormatAvailable(rtfFormat));
    EXPECT_EQ(clipboard.Block(ClipboardLocale), "\x09\x04\x09\x04");
    EXPECT_TRUE(clipboard.IsFormatAvailable(flagFormat));
}

TEST_F(ConversionPipelineTest, CodeSetIsLoadedOnlyWhenTheNameDiffers) {
    // Loaded from a path spelled unlike the data directory's: a reload by name would change
    // the path.
    const std::string byPath = UseTestCodeSets() + "./renamed.okc";
    ASSERT_EQ(pipeline.LoadCodeSet(byPath), CodeSetResult::Ok);
    ASSERT_EQ(pipeline.LoadedCodeSet().name, "sb-test");
    PutUnicode(u"x");
    Run();
    EXPECT_EQ(pipeline.LoadedCodeSet().path, byPath);

    // A file whose stored name differs from its file name is loaded on every run, silently:
    // each run finds the name of the file's own table, not the one asked for.
    settings.codeSetName = "renamed";
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(pipeline.LoadCodeSet(byPath), CodeSetResult::Ok);
        PutUnicode(u"x");
        EXPECT_EQ(Run(), ConversionOutcome::Converted);
        EXPECT_NE(pipeline.LoadedCodeSet().path, byPath);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConversionPipelineTest, MissingCodeSetIsReportedOnEveryRunAndTheOldOneConverts) {
    settings.codeSetName = "missing";
    for (int run = 0; run < 2; ++run) {
        PutUnicode(u"\u00E9");
        EXPECT_EQ(Run(), ConversionOutcome::Converted);
        EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("\xE9"));
    }
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, "Cannot load the code set file for 'missing'.");
    EXPECT_EQ(prompts.messages[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(pipeline.LoadedCodeSet().name, "sb-test");
}

TEST_F(ConversionPipelineTest, HolderLeftWithoutACodeSetEndsTheRunBeforeOpening) {
    settings.codeSetName = "bad-kind";
    pipeline.Arm();
    PutUnicode(u"x");
    EXPECT_EQ(Run(), ConversionOutcome::NoCodeSet);
    EXPECT_FALSE(pipeline.LoadedCodeSet().HasCodeSet());
    EXPECT_EQ(clipboard.OpenCount(), 0u);
    EXPECT_EQ(pipeline.Guard(), Idle);  // nothing was written, so nothing is held back

    EXPECT_EQ(Run(), ConversionOutcome::NoCodeSet);
    EXPECT_EQ(prompts.MessageTexts(),
              (std::vector<std::string>{"Cannot load the code set file for 'bad-kind'.",
                                        "Cannot load the code set file for 'bad-kind'."}));
    EXPECT_EQ(clipboard.OpenCount(), 0u);
}

TEST_F(ConversionPipelineTest, BusyClipboardIsReportedAfterTheEarlierSteps) {
    pipeline.Arm();
    settings.saveImages = true;
    settings.codeSetName = "missing";
    PutUnicode(u"x");
    clipboard.SetHeldByAnotherProgram(true);
    EXPECT_EQ(Run(), ConversionOutcome::ClipboardBusy);
    EXPECT_EQ(pipeline.Guard(), Idle);
    EXPECT_EQ(imagesOffered, 1);
    EXPECT_EQ(prompts.MessageTexts(),
              (std::vector<std::string>{"Cannot load the code set file for 'missing'.",
                                        "Cannot open the Clipboard."}));
    EXPECT_FALSE(clipboard.IsFormatAvailable(flagFormat));
}

// The text is converted with the clipboard closed; another program's copy that arrives
// meanwhile must not receive the old text's results, and is converted on its own
// notification.
TEST_F(ConversionPipelineTest, ClipboardChangedBetweenReadAndWriteGetsNothingOfTheOldText) {
    std::vector<ConversionOutcome> runs;
    clipboard.onChange = [&] { runs.push_back(Run()); };
    unsigned opens = 0;
    clipboard.beforeOpen = [&] {
        if (++opens == 2) {
            clipboard.PutFromAnotherProgram({{ClipboardUnicodeText, Utf16Block(u"new\0")}});
        }
    };
    clipboard.PutFromAnotherProgram({{ClipboardUnicodeText, Utf16Block(u"old\0")}});
    EXPECT_EQ(runs, (std::vector<ConversionOutcome>{ConversionOutcome::AlreadyMarked,
                                                    ConversionOutcome::Converted,
                                                    ConversionOutcome::ClipboardChanged}));
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("new"));
    EXPECT_EQ(clipboard.Block(ClipboardUnicodeText), Utf16Block(std::u16string(u"new\0", 4)));
    EXPECT_NE(clipboard.Block(rtfFormat).find(" new}"), std::string::npos);
    EXPECT_TRUE(prompts.messages.empty());
}

// A moment's contention is waited out; an owner that stops answering is not asked for its
// data, and nothing is written; neither shows a box.
TEST_F(ConversionPipelineTest, BriefContentionAndAStalledOwnerShowNoBox) {
    PutUnicode(u"x");
    clipboard.HoldForOpens(5);
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    PutUnicode(u"y");
    clipboard.SetOwnerStalled(true);
    const unsigned changes = clipboard.ChangeCount();
    EXPECT_EQ(Run(), ConversionOutcome::OwnerNotResponding);
    EXPECT_EQ(clipboard.ChangeCount(), changes);
    EXPECT_FALSE(clipboard.IsFormatAvailable(flagFormat));
    clipboard.SetOwnerStalled(false);
    EXPECT_EQ(Run(), ConversionOutcome::Converted);
    EXPECT_EQ(clipboard.Block(ClipboardText), Terminated("y"));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConversionPipelineTest, MessagesComeFromTheWindowsTexts) {
    pipeline.messages.cannotLoadCodeSet = "No table %s (100%%).";
    pipeline.messages.cannotOpenClipboard = "Busy.";
    settings.codeSetName = "%s-missing";
    clipboard.SetHeldByAnotherProgram(true);
    Run();
    EXPECT_EQ(prompts.MessageTexts(),
              (std::vector<std::string>{"No table %s-missing (100%).", "Busy."}));
}

}  // namespace
