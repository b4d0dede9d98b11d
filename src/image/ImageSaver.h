#pragma once

#include <optional>
#include <string>

#include "platform/MessageTexts.h"
#include "platform/Prompts.h"

class Clipboard;
class Prompts;
class Shell;

// The messages of image saving; the window fills them from its string table.
struct ImageSaverTexts {
    std::string cannotOpenClipboard = PEL_TEXT_CANNOT_OPEN_CLIPBOARD;
    std::string cannotSaveBitmap = PEL_TEXT_CANNOT_SAVE_BITMAP;
};

// "%s%03d.bmp": the prefix and at least three digits.
std::string ProposedImageName(const std::string& prefix, int counter);

// Offers the clipboard's bitmap for saving to a numbered BMP file. It keeps the file prefix,
// the number of the next proposal and the launch choice from one save to the next.
class ImageSaver {
public:
    ImageSaver(Clipboard& clipboard, Prompts& prompts, Shell& shell,
               ImageSaverTexts texts = ImageSaverTexts(),
               std::string imagePathPrefix = "C:\\Bitmaps\\Screen");

    // One save, messages included: the dialog, the directories, the file, the launch. The
    // image saved is the one on the clipboard when the save began; the clipboard is open
    // only while it is read. saveImages is the window's choice, shown in the dialog; the
    // result is the choice the dialog left, or nothing when no dialog was shown.
    std::optional<bool> SaveClipboardImage(bool saveImages);

    // SaveClipboardImage in two steps, for a window that shows the dialog's answer before
    // the file is written: Ask reads the image and shows the dialog (nothing when it
    // showed none), Finish saves and launches as the answer says.
    struct Answer {
        SaveImageChoice choice;
        bool confirmed = false;
        std::string dib;
    };
    std::optional<Answer> Ask(bool saveImages);
    void Finish(const Answer& answer);

    const std::string& Prefix() const { return imagePathPrefix; }
    int Counter() const { return imageCounter; }
    bool LaunchEditor() const { return launchEditor; }

private:
    bool Save(const std::string& fileName, const std::string& dib);

    Clipboard& clipboard;
    Prompts& prompts;
    Shell& shell;
    ImageSaverTexts texts;
    std::string imagePathPrefix;
    int imageCounter = 1;
    bool launchEditor = false;
    bool asking = false;  // the save image dialog is open
};
