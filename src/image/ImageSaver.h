#pragma once

#include <functional>
#include <string>

class Clipboard;
class Prompts;
class Shell;

// The messages of image saving; the window fills them from its string table.
struct ImageSaverTexts {
    std::string cannotOpenClipboard = "Cannot open the Clipboard.";
    std::string cannotSaveBitmap = "Cannot save the bitmap.";
};

// "%s%03d.bmp": the prefix and at least three digits.
std::string ProposedImageName(const std::string& prefix, int counter);

// Offers the clipboard's bitmap for saving to a numbered BMP file. The settings belong to
// the main window and are used in place: the saver keeps references to them.
class ImageSaver {
public:
    ImageSaver(Clipboard& clipboard, Prompts& prompts, Shell& shell,
               const std::string& imagePathPrefix, int& imageCounter, bool& saveImages,
               bool& launchEditor, std::function<void(bool)> showSaveImages,
               ImageSaverTexts texts = ImageSaverTexts());

    // One save, messages included: the dialog, the directories, the file, the launch. The
    // image saved is the one on the clipboard when the save began; the clipboard is open
    // only while it is read.
    void SaveClipboardImage();

private:
    bool Save(const std::string& fileName, const std::string& dib);

    Clipboard& clipboard;
    Prompts& prompts;
    Shell& shell;
    const std::string& imagePathPrefix;
    int& imageCounter;
    bool& saveImages;
    bool& launchEditor;
    std::function<void(bool)> showSaveImages;
    ImageSaverTexts texts;
    bool asking = false;  // the save image dialog is open
};
