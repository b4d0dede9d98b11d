#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Win32Prompts.h"

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    bool found = false;
};

// Waits for a message box captioned "Pelimbrance", reads it and presses its OK button.
void AnswerNextBox(SeenBox& seen) {
    RunWhenReady([] { return FindOwnWindow("Pelimbrance") != nullptr; },
                 [&seen] {
                     HWND box = FindOwnWindow("Pelimbrance");
                     seen.found = true;
                     seen.caption = WindowText(box);
                     seen.text = MessageBoxText(box);
                     ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                 },
                 [] {});
}

TEST(PromptsTest, MessagesAreCaptionedWithTheApplicationTitle) {
    EXPECT_EQ(AppTitle(), "Pelimbrance");
    SeenBox seen;
    AnswerNextBox(seen);
    Win32Prompts prompts;
    prompts.Message("Cannot open the Clipboard.", PromptIcon::Exclamation);
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Pelimbrance");
    EXPECT_EQ(seen.text, "Cannot open the Clipboard.");
}

TEST(PromptsTest, SaveImageQuestionGoesToTheInstalledHandler) {
    Win32Prompts prompts;
    SaveImageChoice choice{"C:\\Bitmaps\\Screen001.bmp", true, false};
    EXPECT_FALSE(prompts.AskSaveImage(choice));  // no dialog installed: Cancel

    std::string asked;
    prompts.SetSaveImageHandler([&asked](SaveImageChoice& c) {
        asked = c.fileName;
        c.launchEditor = true;
        return true;
    });
    EXPECT_TRUE(prompts.AskSaveImage(choice));
    EXPECT_EQ(asked, "C:\\Bitmaps\\Screen001.bmp");
    EXPECT_TRUE(choice.launchEditor);
}

}  // namespace
