// One conversion run on a clipboard whose blocks the fuzzer writes: any sizes, odd lengths,
// no terminators, formats announced without data, read and allocation faults, a clipboard
// held by another program, and the run's own change notification starting another run.
// The user's text must never be lost: a run that does not convert leaves every block as it
// was, and one that converts writes back the text it read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "codeset/CodeSetHolder.h"
#include "convert/ConversionPipeline.h"
#include "convert/ConvertedText.h"
#include "platform/Clipboard.h"
#include "platform/InMemoryClipboard.h"
#include "platform/Prompts.h"

namespace {

class SilentPrompts : public Prompts {
public:
    void Message(const std::string&, PromptIcon) override { ++messages; }
    bool AskSaveImage(SaveImageChoice&) override { return false; }
    int messages = 0;
};

const char* const kCodeSetNames[] = {"windows-1252", "utf-8",  "utf-16",
                                     "windows-932",  "koi8-r", "no-such-code-set"};

std::u16string UnitsBeforeZero(const std::string& block) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(block[i]) |
                                                (static_cast<unsigned char>(block[i + 1]) << 8));
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    return units;
}

struct Snapshot {
    std::vector<unsigned> formats;
    std::map<unsigned, std::string> blocks;
    std::map<unsigned, bool> hasData;
};

Snapshot Take(const InMemoryClipboard& clipboard) {
    Snapshot snapshot;
    snapshot.formats = clipboard.Formats();
    for (unsigned format : snapshot.formats) {
        snapshot.blocks[format] = clipboard.Block(format);
        snapshot.hasData[format] = clipboard.HasBlock(format);
    }
    return snapshot;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    InMemoryClipboard clipboard;
    SilentPrompts prompts;
    ConversionPipeline pipeline(clipboard, prompts);

    const unsigned flagFormat = pipeline.MarkerFormat();
    const unsigned rtfFormat = pipeline.RichTextFormat();
    const unsigned formats[] = {
        ClipboardText, ClipboardUnicodeText, ClipboardOemText, ClipboardLocale,
        rtfFormat,     flagFormat,           ClipboardDib,     0xC123};

    // 0 idle, otherwise armed (the window never starts a run with the hold already set).
    if (input.ConsumeIntegralInRange<int>(0, 2) != 0)
        pipeline.Arm();
    ConversionSettings settings;
    settings.saveImages = input.ConsumeBool();
    const std::size_t codeSetIndex = input.ConsumeIntegralInRange<std::size_t>(0, 5);
    // A failed load keeps the holder's previous code set: start from another one. Each table
    // is loaded once per process (building its indexes costs more than a run): the pipeline
    // borrows it and gives it back when the run is over.
    const std::size_t startIndex = codeSetIndex < 5 ? codeSetIndex : 0;
    static CodeSetHolder loaded[5];
    if (!loaded[startIndex].HasCodeSet())
        loaded[startIndex].Load(kCodeSetNames[startIndex]);
    pipeline.SwapCodeSet(loaded[startIndex]);
    struct GiveBack {
        ConversionPipeline& pipeline;
        CodeSetHolder& cache;
        const char* name;
        ~GiveBack() {
            pipeline.SwapCodeSet(cache);
            // A run that loaded another code set keeps nothing for the next one.
            if (cache.name != name)
                cache = CodeSetHolder();
        }
    } giveBack{pipeline, loaded[startIndex], kCodeSetNames[startIndex]};
    const CodeSetHolder& holder = pipeline.LoadedCodeSet();
    settings.codeSetName = kCodeSetNames[codeSetIndex];
    settings.allowEntities = input.ConsumeBool();
    settings.languageId = input.ConsumeIntegral<std::uint16_t>();

    std::vector<std::pair<unsigned, std::string>> blocks;
    const int blockCount = input.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < blockCount; ++i) {
        const unsigned format = formats[input.ConsumeIntegralInRange<std::size_t>(0, 7)];
        blocks.emplace_back(format, input.ConsumeRandomLengthString(4096));
    }
    clipboard.PutFromAnotherProgram(blocks);
    const std::uint8_t faults = input.ConsumeIntegral<std::uint8_t>();
    if (faults & 0x01)
        clipboard.SetReadFault(ClipboardUnicodeText, ClipboardRead::NoHandle);
    if (faults & 0x02)
        clipboard.SetReadFault(ClipboardText, ClipboardRead::LockFailed);
    if (faults & 0x04)
        clipboard.FailAllocation(ClipboardText);
    if (faults & 0x08)
        clipboard.FailAllocation(ClipboardUnicodeText);
    if (faults & 0x10)
        clipboard.FailAllocation(rtfFormat);
    if (faults & 0x20)
        clipboard.SetHeldByAnotherProgram(true);
    // A moment's hold (waited out) and an owner that does not answer.
    if (faults & 0x80)
        clipboard.HoldForOpens(faults & 0x07);
    if ((faults & 0x88) == 0x88)
        clipboard.SetOwnerStalled(true);
    int depth = 0;
    if (faults & 0x40) {
        // The run's own write notifies the viewer, which starts another run at once.
        clipboard.onChange = [&]() {
            if (depth++ < 2)
                pipeline.Run(settings);
        };
    }

    const Snapshot before = Take(clipboard);
    const bool hadUnicode = before.hasData.count(ClipboardUnicodeText) != 0;
    const std::u16string originalUnits =
        hadUnicode ? UnitsBeforeZero(before.blocks.at(ClipboardUnicodeText)) : std::u16string();

    const SkipState skipBefore = pipeline.Guard();
    const ConversionOutcome outcome = pipeline.Run(settings);
    FUZZ_CHECK(!clipboard.IsOpen());
    FUZZ_CHECK(clipboard.NestedOpens() == 0);
    // The guard holds back only the notification of a write: after an armed run that wrote,
    // unless that notification's run already came and reset it.
    const bool heldBack =
        skipBefore == Armed && outcome == ConversionOutcome::Converted && (faults & 0x40) == 0;
    FUZZ_CHECK(pipeline.Guard() == (heldBack ? SkipNext : Idle));

    const Snapshot after = Take(clipboard);
    if (outcome != ConversionOutcome::Converted) {
        // Nothing written: every block is as the other program left it.
        if ((faults & 0x40) == 0) {
            FUZZ_CHECK(after.formats == before.formats);
            FUZZ_CHECK(after.blocks == before.blocks);
        }
        return 0;
    }
    // Units are never cut: a zero unit inside the text would end it early for every reader.
    FUZZ_CHECK(pipeline.UnicodeText().find(u'\0') == std::u16string::npos);
    // The blocks this run wrote (a failed allocation or a document already there leaves the
    // other program's block) end in their zero.
    const bool rtfBefore = before.blocks.count(rtfFormat) != 0;
    // A code set without a byte form leaves CF_TEXT as the other program wrote it.
    const bool writesText = holder.codeSet->HasByteForm();
    if (!writesText) {
        FUZZ_CHECK(after.blocks.count(ClipboardText) == before.blocks.count(ClipboardText));
        FUZZ_CHECK(!before.blocks.count(ClipboardText) ||
                   after.blocks.at(ClipboardText) == before.blocks.at(ClipboardText));
    }
    for (unsigned format : {ClipboardText, ClipboardUnicodeText, rtfFormat}) {
        const bool failed = (format == ClipboardText && ((faults & 0x04) || !writesText)) ||
                            (format == ClipboardUnicodeText && (faults & 0x08)) ||
                            (format == rtfFormat && ((faults & 0x10) || rtfBefore));
        if (failed)
            continue;
        FUZZ_CHECK(clipboard.HasBlock(format));
        const std::string block = clipboard.Block(format);
        FUZZ_CHECK(!block.empty() && block.back() == '\0');
    }
    if (clipboard.HasBlock(ClipboardText) && (faults & 0x04) == 0 && writesText) {
        const std::string block = clipboard.Block(ClipboardText);
        // The whole text is in the block, not cut by a zero byte inside it.
        FUZZ_CHECK(block.find('\0') == block.size() - 1);
    }
    if (hadUnicode && (faults & 0x41) == 0) {
        // The text read from CF_UNICODETEXT is written back unchanged.
        FUZZ_CHECK(pipeline.UnicodeText() == originalUnits);
        if ((faults & 0x08) == 0) {
            const std::string block = clipboard.Block(ClipboardUnicodeText);
            FUZZ_CHECK(block.size() == 2 * originalUnits.size() + 2);
            FUZZ_CHECK(UnitsBeforeZero(block) == originalUnits);
        }
    }
    if ((faults & 0x08) == 0 && clipboard.HasBlock(ClipboardUnicodeText)) {
        const std::string block = clipboard.Block(ClipboardUnicodeText);
        FUZZ_CHECK(block.size() % 2 == 0);
        FUZZ_CHECK(UnitsBeforeZero(block).size() * 2 + 2 == block.size());
    }
    return 0;
}
