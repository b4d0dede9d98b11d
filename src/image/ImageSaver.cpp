#include "image/ImageSaver.h"

#include <cstdio>
#include <new>
#include <utility>

#include "image/CreateDirectoryChain.h"
#include "image/DibLayout.h"
#include "image/LaunchFile.h"
#include "image/WriteDibFile.h"
#include "platform/Clipboard.h"
#include "platform/ClipboardSnapshot.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"

std::string ProposedImageName(const std::string& prefix, int counter) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", counter);
    return prefix + number + ".bmp";
}

ImageSaver::ImageSaver(Clipboard& clipboard, Prompts& prompts, Shell& shell, ImageSaverTexts texts,
                       std::string imagePathPrefix)
    : clipboard(clipboard),
      prompts(prompts),
      shell(shell),
      texts(std::move(texts)),
      imagePathPrefix(std::move(imagePathPrefix)) {}

std::optional<bool> ImageSaver::SaveClipboardImage(bool saveImages) {
    std::optional<Answer> answer = Ask(saveImages);
    if (!answer)
        return std::nullopt;
    Finish(*answer);
    return answer->choice.saveImages;
}

std::optional<ImageSaver::Answer> ImageSaver::Ask(bool saveImages) {
    // With the clipboard free while the dialog is open, a change by another program may
    // start another run meanwhile; it offers nothing, so that dialogs never pile up.
    if (asking)
        return std::nullopt;
    if (!OpenClipboardPatiently(clipboard)) {
        prompts.Message(texts.cannotOpenClipboard, PromptIcon::Exclamation);
        return std::nullopt;
    }
    std::string dib;
    bool haveDib = false;
    try {
        // An owner that stopped answering would keep the clipboard open while it is asked.
        haveDib = clipboard.IsFormatAvailable(ClipboardDib) && clipboard.OwnerResponds() &&
                  clipboard.GetData(ClipboardDib, dib) == ClipboardRead::Ok;
    } catch (const std::bad_alloc&) {
        // A block too large to copy is treated like one that can't be read.
    }
    // The copy is all the save needs: the clipboard is given back before the dialog waits
    // for the user, so other programs can copy and paste meanwhile.
    clipboard.Close();
    if (!haveDib)
        return std::nullopt;
    DibLayout layout;
    if (ComputeDibLayout(reinterpret_cast<const unsigned char*>(dib.data()), dib.size(), layout) !=
        DibCheck::Ok) {
        prompts.Message(texts.cannotSaveBitmap, PromptIcon::Exclamation);
        return std::nullopt;
    }
    Answer answer;
    SaveImageChoice& choice = answer.choice;
    choice.fileName = ProposedImageName(imagePathPrefix, imageCounter);
    choice.saveImages = saveImages;
    choice.launchEditor = launchEditor;
    // Unsigned arithmetic: the number wraps instead of overflowing.
    imageCounter = static_cast<int>(static_cast<unsigned>(imageCounter) + 1u);
    asking = true;
    answer.confirmed = prompts.AskSaveImage(choice);
    asking = false;
    launchEditor = choice.launchEditor;
    if (!answer.confirmed)
        imageCounter = static_cast<int>(static_cast<unsigned>(imageCounter) - 1u);
    answer.dib = std::move(dib);
    return answer;
}

void ImageSaver::Finish(const Answer& answer) {
    if (!answer.confirmed)
        return;
    if (!Save(answer.choice.fileName, answer.dib)) {
        prompts.Message(texts.cannotSaveBitmap, PromptIcon::Exclamation);
    } else if (answer.choice.launchEditor) {
        LaunchFile(shell, prompts, answer.choice.fileName);
    }
}

bool ImageSaver::Save(const std::string& fileName, const std::string& dib) {
    try {
        return CreateDirectoryChain(shell, DirectoryPart(fileName)) &&
               SaveDibFile(shell, fileName, dib);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
