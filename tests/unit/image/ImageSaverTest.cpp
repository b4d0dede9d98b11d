#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "DibBuilder.h"
#include "FakeShell.h"
#include "RecordingPrompts.h"
#include "TestPaths.h"
#include "image/ImageSaver.h"
#include "platform/InMemoryClipboard.h"

namespace {

bool Exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

std::string SmallDib() {
    return InfoHeader(3, 2, 24, 0, 0, 0) + std::string(24, 'q');
}

TEST(ProposedImageName, AtLeastThreeDigits) {
    EXPECT_EQ(ProposedImageName("C:\\Bitmaps\\Screen", 1), "C:\\Bitmaps\\Screen001.bmp");
    EXPECT_EQ(ProposedImageName("C:\\Bitmaps\\Screen", 999), "C:\\Bitmaps\\Screen999.bmp");
    EXPECT_EQ(ProposedImageName("C:\\Bitmaps\\Screen", 1000), "C:\\Bitmaps\\Screen1000.bmp");
    EXPECT_EQ(ProposedImageName("", -5), "-05.bmp");
}

class ImageSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = MakeTempDirectory("saver");
        sep = directory.back();
        prefix = directory + "Bitmaps" + sep + "Screen";
        clipboard.PutFromAnotherProgram({{ClipboardDib, SmallDib()}});
    }
    void TearDown() override {
        EXPECT_FALSE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.NestedOpens(), 0u);
    }

    ImageSaver MakeSaver(ImageSaverTexts texts = ImageSaverTexts()) {
        return ImageSaver(clipboard, prompts, shell, texts, prefix);
    }
    // As the window does: its box gives the choice and shows what the dialog left.
    void Save(ImageSaver& saver) {
        if (std::optional<bool> shown = saver.SaveClipboardImage(saveImages)) {
            saveImages = *shown;
            boxShown.push_back(*shown);
        }
    }

    // Answers the dialog after noting whether the clipboard is held open meanwhile.
    void Answer(bool save, std::function<void(SaveImageChoice&)> edit = nullptr) {
        prompts.AnswerSaveImage([this, save, edit](SaveImageChoice& choice) {
            openDuringDialog.push_back(clipboard.IsOpen());
            if (edit)
                edit(choice);
            return save;
        });
    }

    std::string Proposed(std::size_t question) const {
        return prompts.saveImageQuestions.at(question).fileName;
    }

    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    FakeShell shell;
    std::string directory, prefix;
    char sep = '/';
    bool saveImages = true;
    std::vector<bool> boxShown;
    std::vector<bool> openDuringDialog;
};

TEST_F(ImageSaverTest, ConfirmedSaveWritesTheProposedFileAndAdvancesTheNumber) {
    ImageSaver saver = MakeSaver();
    Answer(true);
    Answer(true);
    Save(saver);
    Save(saver);

    ASSERT_EQ(prompts.saveImageQuestions.size(), 2u);
    EXPECT_EQ(Proposed(0), prefix + "001.bmp");
    EXPECT_TRUE(prompts.saveImageQuestions[0].saveImages);
    EXPECT_EQ(Proposed(1), prefix + "002.bmp");
    EXPECT_EQ(saver.Counter(), 3);
    std::string saved = ReadFileBytes(prefix + "001.bmp");
    ASSERT_EQ(saved.size(), 78u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    EXPECT_EQ(saved.substr(54), std::string(24, 'q'));
    EXPECT_TRUE(Exists(prefix + "002.bmp"));
    EXPECT_EQ(shell.madeDirectories, (std::vector<std::string>{directory + "Bitmaps" + sep}));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(boxShown, (std::vector<bool>{true, true}));
    // Other programs can use the clipboard while the dialog waits for the user.
    EXPECT_EQ(openDuringDialog, (std::vector<bool>{false, false}));
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_TRUE(shell.launched.empty());
}

TEST_F(ImageSaverTest, CancelProposesTheSameNumberAgainButKeepsTheOptions) {
    ImageSaver saver = MakeSaver();
    Answer(false, [](SaveImageChoice& c) {
        c.launchEditor = true;
        c.saveImages = false;
    });
    Save(saver);
    EXPECT_EQ(saver.Counter(), 1);
    EXPECT_TRUE(saver.LaunchEditor());
    EXPECT_FALSE(saveImages);
    EXPECT_EQ(boxShown, (std::vector<bool>{false}));
    EXPECT_FALSE(Exists(prefix + "001.bmp"));
    EXPECT_FALSE(clipboard.IsOpen());

    Answer(true);
    Save(saver);
    EXPECT_EQ(Proposed(1), prefix + "001.bmp");
    EXPECT_TRUE(prompts.saveImageQuestions[1].launchEditor);
    EXPECT_EQ(shell.launched, (std::vector<std::string>{prefix + "001.bmp"}));
}

TEST_F(ImageSaverTest, FailedSaveReportsAndDoesNotProposeTheNumberAgain) {
    ImageSaver saver = MakeSaver();
    shell.failingDirectories.insert(directory + "Bitmaps" + sep);
    Answer(true);
    Save(saver);
    ASSERT_EQ(prompts.MessageTexts(), (std::vector<std::string>{"Cannot save the bitmap."}));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(saver.Counter(), 2);

    shell.failingDirectories.clear();
    shell.failCreate = true;
    Answer(true, [](SaveImageChoice& c) { c.launchEditor = true; });
    Save(saver);
    EXPECT_EQ(Proposed(1), prefix + "002.bmp");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(saver.Counter(), 3);
    EXPECT_TRUE(shell.launched.empty());
    EXPECT_TRUE(saveImages);
    EXPECT_FALSE(clipboard.IsOpen());
}

TEST_F(ImageSaverTest, DibThatCantBeWrittenIsRefusedBeforeTheDialog) {
    ImageSaver saver = MakeSaver();
    // Rows beyond the block, and a JPEG stream that would be taken for uncompressed rows.
    for (const std::string& dib : {InfoHeader(3, 100000, 24, 0, 0, 0) + std::string(24, '\0'),
                                   InfoHeader(3, 2, 24, 4, 24, 0) + std::string(24, '\0')}) {
        clipboard.PutFromAnotherProgram({{ClipboardDib, dib}});
        Answer(true);
        Save(saver);
    }
    EXPECT_EQ(prompts.MessageTexts(), (std::vector<std::string>(2, "Cannot save the bitmap.")));
    EXPECT_TRUE(prompts.saveImageQuestions.empty());
    EXPECT_EQ(saver.Counter(), 1);
    EXPECT_TRUE(boxShown.empty());
    EXPECT_TRUE(shell.createdFiles.empty());

    clipboard.PutFromAnotherProgram({{ClipboardDib, SmallDib()}});
    Save(saver);
    EXPECT_EQ(Proposed(0), prefix + "001.bmp");
}

TEST_F(ImageSaverTest, TheImageSavedIsTheOneOfWhenTheSaveBegan) {
    ImageSaver saver = MakeSaver();
    // While the dialog is open another program copies a picture, and the notification of
    // it starts another run: it offers nothing while the first dialog is open.
    const std::string later = InfoHeader(1, 1, 24, 0, 0, 0) + std::string(4, 'z');
    prompts.AnswerSaveImage([&](SaveImageChoice&) {
        clipboard.PutFromAnotherProgram({{ClipboardDib, later}});
        Save(saver);
        return true;
    });
    Save(saver);
    EXPECT_EQ(prompts.saveImageQuestions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(prefix + "001.bmp").substr(54), std::string(24, 'q'));
    EXPECT_EQ(saver.Counter(), 2);
}

TEST_F(ImageSaverTest, LongestPathTheSystemTakesIsSavedWithoutATemporaryNameLongerThanIt) {
    // Directories of up to 100 characters until the full name is 259 characters long.
    std::string target = directory;
    while (target.size() + 102 + 13 < shell.maxPathLength)
        target += std::string(100, 'd') + sep;
    target += std::string(shell.maxPathLength - 13 - target.size() - 1, 'e') + sep;
    target += "Screen001.bmp";
    ASSERT_EQ(target.size(), 259u);
    ImageSaver saver = MakeSaver();
    Answer(true, [&](SaveImageChoice& c) { c.fileName = target; });
    Save(saver);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadFileBytes(target).size(), 78u);
    ASSERT_EQ(shell.createdFiles.size(), 1u);
    const std::string temporary = shell.createdFiles[0];
    EXPECT_EQ(temporary.size(), target.size());
    EXPECT_EQ(temporary.substr(0, temporary.rfind(sep)), target.substr(0, target.rfind(sep)));
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(ImageSaverTest, EditedNameSavesElsewhereAndTheNextProposalKeepsThePrefix) {
    const std::string other = directory + "elsewhere" + sep + "deeper" + sep + " shot .bmp";
    ImageSaver saver = MakeSaver();
    Answer(true, [&](SaveImageChoice& c) { c.fileName = other; });
    Answer(false);
    Save(saver);
    Save(saver);
    EXPECT_TRUE(Exists(other));
    EXPECT_EQ(Proposed(1), prefix + "002.bmp");
}

TEST_F(ImageSaverTest, DisablingSavesThisImageAndClearsTheBox) {
    ImageSaver saver = MakeSaver();
    Answer(true, [](SaveImageChoice& c) { c.saveImages = false; });
    Save(saver);
    EXPECT_TRUE(Exists(prefix + "001.bmp"));
    EXPECT_FALSE(saveImages);
    EXPECT_EQ(boxShown, (std::vector<bool>{false}));
}

TEST_F(ImageSaverTest, NothingHappensWithoutAReadableBitmap) {
    ImageSaver saver = MakeSaver();
    clipboard.PutFromAnotherProgram({{ClipboardText, std::string("text", 5)}});
    Save(saver);
    clipboard.PutFromAnotherProgram({{ClipboardDib, SmallDib()}});
    clipboard.SetReadFault(ClipboardDib, ClipboardRead::LockFailed);
    Save(saver);
    EXPECT_TRUE(prompts.saveImageQuestions.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(saver.Counter(), 1);
    EXPECT_TRUE(boxShown.empty());
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_EQ(clipboard.OpenCount(), 2u);
}

TEST_F(ImageSaverTest, ClipboardHeldElsewhereIsReportedWithTheGivenText) {
    ImageSaverTexts texts;
    texts.cannotOpenClipboard = "busy";
    ImageSaver saver = MakeSaver(texts);
    clipboard.SetHeldByAnotherProgram(true);
    Save(saver);
    ASSERT_EQ(prompts.MessageTexts(), (std::vector<std::string>{"busy"}));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(prompts.saveImageQuestions.empty());
    EXPECT_EQ(saver.Counter(), 1);
}

TEST_F(ImageSaverTest, LaunchFailureShowsTheSystemText) {
    ImageSaver saver = MakeSaver();
    shell.launchSucceeds = false;
    shell.launchError = 1155;
    shell.errorTexts[1155] = "No application is associated with the specified file.";
    Answer(true, [](SaveImageChoice& c) { c.launchEditor = true; });
    Save(saver);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, shell.errorTexts[1155]);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::None);
    EXPECT_TRUE(Exists(prefix + "001.bmp"));
    EXPECT_TRUE(saver.LaunchEditor());
}

TEST_F(ImageSaverTest, NameWithoutDirectoryIsSavedInTheCurrentDirectory) {
    char previous[4096];
#ifdef _WIN32
    ASSERT_NE(_getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(_chdir(directory.c_str()), 0);
#else
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(directory.c_str()), 0);
#endif
    ImageSaver saver = MakeSaver();
    Answer(true, [](SaveImageChoice& c) { c.fileName = "plain.bmp"; });
    Save(saver);
#ifdef _WIN32
    ASSERT_EQ(_chdir(previous), 0);
#else
    ASSERT_EQ(chdir(previous), 0);
#endif
    EXPECT_TRUE(Exists(directory + "plain.bmp"));
    EXPECT_TRUE(shell.madeDirectories.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
