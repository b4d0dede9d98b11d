#include "ImageSaver.h"

#include <cstdio>
#include <new>
#include <utility>

#include "Clipboard.h"
#include "CreateDirectoryChain.h"
#include "LaunchFile.h"
#include "Prompts.h"
#include "Shell.h"
#include "WriteDibFile.h"

std::string ProposedImageName(const std::string& prefix, int counter) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", counter);
    return prefix + number + ".bmp";
}

ImageSaver::ImageSaver(Clipboard& clipboard, Prompts& prompts, Shell& shell,
                       const std::string& imagePathPrefix, int& imageCounter, bool& saveImages,
                       bool& launchEditor, std::function<void(bool)> showSaveImages,
                       ImageSaverTexts texts)
    : clipboard(clipboard),
      prompts(prompts),
      shell(shell),
      imagePathPrefix(imagePathPrefix),
      imageCounter(imageCounter),
      saveImages(saveImages),
      launchEditor(launchEditor),
      showSaveImages(std::move(showSaveImages)),
      texts(std::move(texts)) {}

void ImageSaver::SaveClipboardImage() {
    if (!clipboard.Open()) {
        prompts.Message(texts.cannotOpenClipboard, PromptIcon::Exclamation);
        return;
    }
    std::string dib;
    bool haveDib = false;
    try {
        haveDib = clipboard.IsFormatAvailable(ClipboardDib) &&
                  clipboard.GetData(ClipboardDib, dib) == ClipboardRead::Ok;
    } catch (const std::bad_alloc&) {
        // A block too large to copy is treated like one that can't be read.
    }
    if (!haveDib) {
        clipboard.Close();
        return;
    }

    SaveImageChoice choice;
    choice.fileName = ProposedImageName(imagePathPrefix, imageCounter);
    choice.saveImages = saveImages;
    choice.launchEditor = launchEditor;
    // Unsigned arithmetic: the number wraps instead of overflowing.
    imageCounter = static_cast<int>(static_cast<unsigned>(imageCounter) + 1u);
    const bool confirmed = prompts.AskSaveImage(choice);
    saveImages = choice.saveImages;
    launchEditor = choice.launchEditor;
    if (showSaveImages)
        showSaveImages(saveImages);
    if (!confirmed) {
        imageCounter = static_cast<int>(static_cast<unsigned>(imageCounter) - 1u);
        clipboard.Close();
        return;
    }

    if (!Save(choice.fileName, dib)) {
        prompts.Message(texts.cannotSaveBitmap, PromptIcon::Exclamation);
    } else if (launchEditor) {
        LaunchFile(shell, prompts, choice.fileName);
    }
    clipboard.Close();
}

bool ImageSaver::Save(const std::string& fileName, const std::string& dib) {
    try {
        return CreateDirectoryChain(shell, DirectoryPart(fileName)) &&
               SaveDibFile(shell, fileName, dib);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
