#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "FakeShell.h"
#include "RecordingPrompts.h"
#include "TestPaths.h"
#include "image/ImageSaver.h"
#include "image/SaveImageDialog.h"
#include "platform/InMemoryClipboard.h"
#include "platform/Prompts.h"
#include "resource.h"

namespace {

using D = DialogDriver;

// What the dialog showed when it opened.
struct Shown {
    std::string path;
    bool launch = false;
    bool disable = false;
    bool focusInPath = false;
    bool topmost = false;
};

Shown Look(HWND dialog) {
    Shown shown;
    shown.path = D::Text(dialog, IDC_OUTPUT_PATH);
    shown.launch = D::Checked(dialog, IDC_LAUNCH_EDITOR);
    shown.disable = D::Checked(dialog, IDC_DISABLE_SAVING);
    shown.focusInPath = ::GetFocus() == ::GetDlgItem(dialog, IDC_OUTPUT_PATH);
    shown.topmost = (::GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return shown;
}

// Shows the dialog over choice, looks at it and lets act() end it.
bool ShowDialog(SaveImageChoice& choice, Shown& shown, std::function<void(HWND)> act) {
    DialogDriver driver([&](HWND dialog) {
        shown = Look(dialog);
        act(dialog);
    });
    bool saved = AskSaveImageWithDialog(choice);
    EXPECT_TRUE(driver.found());
    return saved;
}

SaveImageChoice Choice(const std::string& name, bool saveImages, bool launchEditor) {
    SaveImageChoice choice;
    choice.fileName = name;
    choice.saveImages = saveImages;
    choice.launchEditor = launchEditor;
    return choice;
}

TEST(SaveImageDialog, OpensWithTheValuesAndTheFocusInThePathAndEnterSaves) {
    SaveImageChoice choice = Choice("C:\\Bitmaps\\Screen001.bmp", true, false);
    Shown shown;
    bool saved = ShowDialog(choice, shown, [](HWND d) { D::PressKey(d, VK_RETURN); });
    EXPECT_TRUE(saved);
    EXPECT_EQ(shown.path, "C:\\Bitmaps\\Screen001.bmp");
    EXPECT_FALSE(shown.launch);
    EXPECT_FALSE(shown.disable);
    EXPECT_TRUE(shown.focusInPath);
    EXPECT_TRUE(shown.topmost);
    EXPECT_EQ(choice.fileName, "C:\\Bitmaps\\Screen001.bmp");
    EXPECT_TRUE(choice.saveImages);
    EXPECT_FALSE(choice.launchEditor);
}

TEST(SaveImageDialog, BoxesShowTheOptionsTheyStartFrom) {
    SaveImageChoice choice = Choice("x.bmp", false, true);
    Shown shown;
    EXPECT_TRUE(ShowDialog(choice, shown, [](HWND d) { D::Click(d, IDOK); }));
    EXPECT_TRUE(shown.launch);
    EXPECT_TRUE(shown.disable);
    EXPECT_FALSE(choice.saveImages);
    EXPECT_TRUE(choice.launchEditor);
}

TEST(SaveImageDialog, EditedNameComesBackExactlyAsTyped) {
    SaveImageChoice choice = Choice("C:\\Bitmaps\\Screen001.bmp", true, false);
    Shown shown;
    EXPECT_TRUE(ShowDialog(choice, shown, [](HWND d) {
        D::Type(d, IDC_OUTPUT_PATH, "  D:\\other dir\\shot .bmp  ");
        D::Click(d, IDOK);
    }));
    EXPECT_EQ(choice.fileName, "  D:\\other dir\\shot .bmp  ");
}

TEST(SaveImageDialog, DisablingAndSavingClearsSaveImages) {
    SaveImageChoice choice = Choice("a.bmp", true, false);
    Shown shown;
    EXPECT_TRUE(ShowDialog(choice, shown, [](HWND d) {
        D::Click(d, IDC_DISABLE_SAVING);
        D::Click(d, IDOK);
    }));
    EXPECT_FALSE(choice.saveImages);
}

TEST(SaveImageDialog, CancelStoresTheValuesLikeSave) {
    // Escape, the Cancel button and the close box all cancel and all store.
    const std::vector<std::function<void(HWND)>> cancels = {
        [](HWND d) { D::PressKey(d, VK_ESCAPE); },
        [](HWND d) { D::Click(d, IDCANCEL); },
        [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (std::size_t i = 0; i < cancels.size(); ++i) {
        SaveImageChoice choice = Choice("a.bmp", true, false);
        Shown shown;
        bool saved = ShowDialog(choice, shown, [&](HWND d) {
            D::Type(d, IDC_OUTPUT_PATH, "edited.bmp");
            D::Click(d, IDC_LAUNCH_EDITOR);
            D::Click(d, IDC_DISABLE_SAVING);
            cancels[i](d);
        });
        EXPECT_FALSE(saved) << i;
        EXPECT_EQ(choice.fileName, "edited.bmp") << i;
        EXPECT_TRUE(choice.launchEditor) << i;
        EXPECT_FALSE(choice.saveImages) << i;
    }
}

// Image saving with the real dialog: the user's answers as the saver sees them.
class ImageSavingWithDialog : public ::testing::Test {
protected:
    void SetUp() override {
        directory = MakeTempDirectory("dialog-saver");
        prefix = directory + "Bitmaps\\Screen";
        clipboard.PutFromAnotherProgram(
            {{ClipboardDib, std::string("\x28\0\0\0\3\0\0\0\2\0\0\0\1\0\x18\0", 16) +
                                std::string(24, '\0') + std::string(24, 'z')}});
        box = ::CreateWindowA("BUTTON", "&Save images", BS_AUTOCHECKBOX | WS_POPUP, 0, 0, 100, 20,
                              nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    }
    void TearDown() override {
        ::DestroyWindow(box);
        EXPECT_FALSE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.NestedOpens(), 0u);
    }

    // The next question is answered in the real dialog by act.
    void Answer(std::function<void(HWND)> act) {
        prompts.AnswerSaveImage([this, act](SaveImageChoice& choice) {
            DialogDriver driver([&](HWND dialog) {
                shown.push_back(D::Text(dialog, IDC_OUTPUT_PATH));
                act(dialog);
            });
            return AskSaveImageWithDialog(choice);
        });
    }

    // As the main window does: its box gives the choice and shows what the dialog left.
    void Save() {
        if (!saver)
            saver =
                std::make_unique<ImageSaver>(clipboard, prompts, shell, ImageSaverTexts(), prefix);
        if (std::optional<bool> on = saver->SaveClipboardImage(saveImages)) {
            saveImages = *on;
            ::SendMessageA(box, BM_SETCHECK, *on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    bool BoxChecked() const { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    FakeShell shell;
    std::string directory, prefix;
    bool saveImages = true;
    std::unique_ptr<ImageSaver> saver;
    HWND box = nullptr;
    std::vector<std::string> shown;
};

TEST_F(ImageSavingWithDialog, NumberingAcrossSaveCancelAndAFailedSave) {
    // Cancel with the launch option checked: nothing saved, the same number comes again.
    Answer([](HWND d) {
        D::Click(d, IDC_LAUNCH_EDITOR);
        D::Click(d, IDCANCEL);
    });
    Save();
    EXPECT_EQ(saver->Counter(), 1);
    EXPECT_TRUE(saver->LaunchEditor());
    EXPECT_TRUE(saveImages);
    EXPECT_TRUE(BoxChecked());

    // Save: written, the launch asked for.
    Answer([](HWND d) {
        D::Click(d, IDC_LAUNCH_EDITOR);  // unchecks it again
        D::PressKey(d, VK_RETURN);
    });
    Save();
    EXPECT_EQ(saver->Counter(), 2);
    EXPECT_FALSE(saver->LaunchEditor());
    EXPECT_EQ(ReadFileBytes(prefix + "001.bmp").size(), 78u);

    // A failed save: reported, its number not proposed again.
    shell.failCreate = true;
    Answer([](HWND d) { D::Click(d, IDOK); });
    Save();
    EXPECT_EQ(prompts.MessageTexts(), (std::vector<std::string>{"Cannot save the bitmap."}));
    EXPECT_EQ(saver->Counter(), 3);
    shell.failCreate = false;

    // Disable and cancel: nothing saved and the main window's box is cleared.
    Answer([](HWND d) {
        D::Click(d, IDC_DISABLE_SAVING);
        D::PressKey(d, VK_ESCAPE);
    });
    Save();
    EXPECT_FALSE(saveImages);
    EXPECT_FALSE(BoxChecked());
    EXPECT_EQ(saver->Counter(), 3);

    EXPECT_EQ(shown, (std::vector<std::string>{prefix + "001.bmp", prefix + "001.bmp",
                                               prefix + "002.bmp", prefix + "003.bmp"}));
    EXPECT_TRUE(shell.launched.empty());
}

}  // namespace
