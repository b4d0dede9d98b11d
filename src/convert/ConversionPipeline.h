#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "codeset/CodeSetHolder.h"
#include "platform/ClipboardSnapshot.h"
#include "platform/MessageTexts.h"

class Clipboard;
class ConvertedText;
class Prompts;

// Guards against converting the program's own clipboard write.
enum SkipState : std::int32_t {
    Idle = 0,
    Armed = 1,
    SkipNext = 2,
};

// What one run needs from the window, read from its controls when the run begins.
struct ConversionSettings {
    std::string codeSetName;
    bool allowEntities = false;
    // Written as CF_LOCALE and into the Rich Text Format.
    std::uint16_t languageId = 0;
    bool saveImages = false;
};

// The texts of the two messages a run can show; the window fills them from its string
// table.
struct ConversionMessages {
    // %s stands for the code set name.
    std::string cannotLoadCodeSet = PEL_TEXT_CANNOT_LOAD_CODESET;
    std::string cannotOpenClipboard = PEL_TEXT_CANNOT_OPEN_CLIPBOARD;
};

// How a run ended.
enum class ConversionOutcome {
    Skipped,             // skipState held it back
    AlreadyMarked,       // the clipboard carries the marker format
    NoCodeSet,           // the holder has no CodeSet after a failed load
    ClipboardBusy,       // another program holds the clipboard
    OwnerNotResponding,  // the clipboard's owner does not answer: its data was not asked for
    ClipboardChanged,    // the clipboard changed after the text was read: nothing written
    NoText,              // no readable text on the clipboard
    DecodingStopped,     // the clipboard's text doesn't decode to its end; left as it was
    Converted,
};

// One conversion run: reads the clipboard's text, converts it through the chosen code set
// and writes it back as CF_TEXT, CF_UNICODETEXT, Rich Text Format, CF_LOCALE and the
// marker format. The clipboard is open only to copy the text in and the results out; the
// results are written only to the content the text came from. Runs may nest (a run's own
// write can start another one). The object keeps what lasts from run to run: the guard
// against converting its own write, the loaded code set and the last UTF-16 text read.
class ConversionPipeline {
public:
    // Registers the two formats it writes by name.
    ConversionPipeline(Clipboard& clipboard, Prompts& prompts);

    ConversionOutcome Run(const ConversionSettings& settings);
    // A run on a copy the window has made (with SnapshotRequest::text and the marker), so
    // that its listing and the run read one content in one open. A copy that found the
    // clipboard busy has been reported by the window.
    ConversionOutcome Run(const ConversionSettings& settings, ClipboardSnapshot snapshot);
    // Whether the next run would be held back by the guard: it needs no copy of the text.
    bool HoldsBackNextRun() const { return skipState_ == SkipNext; }

    // Loads a code set ahead of the first run; a failed load is reported by that run.
    CodeSetResult LoadCodeSet(const std::string& name);
    // The next run converts and the run after it, started by its own write, is held back.
    void Arm() { skipState_ = Armed; }
    // A clipboard change that no run follows: the hold on the program's own write is not
    // needed any more, and would otherwise hold back the next conversion asked for.
    void ForgetOwnWrite() {
        if (skipState_ == SkipNext)
            skipState_ = Idle;
    }

    SkipState Guard() const { return skipState_; }
    const CodeSetHolder& LoadedCodeSet() const { return loadedCodeSet_; }
    // Exchanges the loaded code set with one loaded elsewhere: a caller that makes many
    // pipelines (the fuzzer) loads each table once.
    void SwapCodeSet(CodeSetHolder& other) { std::swap(loadedCodeSet_, other); }
    // The UTF-16 text the last run read, empty when it read none.
    const std::u16string& UnicodeText() const { return unicodeText_; }
    unsigned RichTextFormat() const { return rtfFormat_; }
    unsigned MarkerFormat() const { return flagFormat_; }

    ConversionMessages messages;
    // Offers the clipboard's bitmap for saving; called first when saveImages is on.
    std::function<void()> saveClipboardImage;

private:
    ConversionOutcome Guarded(const ConversionSettings& settings, ClipboardSnapshot* snapshot);
    // The run after the guard: image, marker, code set, read, convert, write back.
    ConversionOutcome ConvertClipboard(const ConversionSettings& settings,
                                       ClipboardSnapshot* snapshot);
    // The text of the copy into text; NoText or DecodingStopped when there is none to write.
    ConversionOutcome ReadText(ClipboardSnapshot& snapshot, ConvertedText& text);
    // Renders the results, opens the clipboard and writes them when it still holds the
    // content of snapshot; left open after a write (Converted), closed otherwise.
    ConversionOutcome WriteBack(const ConversionSettings& settings, ConvertedText& text,
                                const ClipboardSnapshot& snapshot);

    Clipboard& clipboard_;
    Prompts& prompts_;
    SkipState skipState_ = Idle;
    CodeSetHolder loadedCodeSet_;
    std::u16string unicodeText_;
    unsigned rtfFormat_ = 0;
    unsigned flagFormat_ = 0;
};
