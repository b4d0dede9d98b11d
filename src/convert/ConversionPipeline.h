#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Clipboard;
class CodeSetHolder;
class ConvertedText;
class Prompts;

// Guards against converting the program's own clipboard write.
enum SkipState : std::int32_t {
    Idle = 0,
    Armed = 1,
    SkipNext = 2,
};

// The main window's members that a run reads and writes, passed by reference so that the
// window hands over its own.
struct ConversionState {
    SkipState& skipState;
    const bool& saveImages;
    std::u16string& unicodeText;
    const unsigned& flagFormat;
    const unsigned& rtfFormat;
    const std::string& currentCodeSetName;
    CodeSetHolder& loadedCodeSet;
    const bool& allowEntities;
    const std::uint16_t& selectedLanguageId;
};

// The texts of the two messages a run can show; the window fills them from its string
// table.
struct ConversionMessages {
    // %s stands for the code set name.
    std::string cannotLoadCodeSet = "Cannot load the code set file for '%s'.";
    std::string cannotOpenClipboard = "Cannot open the Clipboard.";
};

// How a run ended.
enum class ConversionOutcome {
    Skipped,          // skipState held it back
    AlreadyMarked,    // the clipboard carries the marker format
    NoCodeSet,        // the holder has no CodeSet after a failed load
    ClipboardBusy,    // another program holds the clipboard
    NoText,           // no readable text on the clipboard
    DecodingStopped,  // the clipboard's text doesn't decode to its end; left as it was
    Converted,
};

// One conversion run: reads the clipboard's text, converts it through the chosen code set
// and writes it back as CF_TEXT, CF_UNICODETEXT, Rich Text Format, CF_LOCALE and the
// marker format. Runs may nest (a run's own write can start another one); a run keeps
// nothing in the object.
class ConversionPipeline {
public:
    ConversionPipeline(Clipboard& clipboard, Prompts& prompts)
        : clipboard_(clipboard), prompts_(prompts) {}

    ConversionOutcome Run(ConversionState& state);

    ConversionMessages messages;
    // Offers the clipboard's bitmap for saving; called first when saveImages is on.
    std::function<void()> saveClipboardImage;

private:
    // The run after the guard: image, marker, code set, read, convert, write back.
    ConversionOutcome ConvertClipboard(ConversionState& state);
    void WriteBack(ConversionState& state, ConvertedText& text, bool rtfAlreadyPresent);

    Clipboard& clipboard_;
    Prompts& prompts_;
};
