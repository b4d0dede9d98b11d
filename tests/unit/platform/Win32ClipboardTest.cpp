#include "platform/win32/Win32Clipboard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "RecordingPrompts.h"
#include "TestCodeSets.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "convert/ConversionPipeline.h"

namespace {

// A hidden top-level window that owns the clipboard while the tests write it.
class ClipboardWindow {
public:
    ClipboardWindow() {
        window = CreateWindowExA(0, "STATIC", "clipboard test", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ClipboardWindow() {
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }
    HWND window = nullptr;
};

// The system's own clipboard machinery may hold the clipboard for a moment.
bool OpenWithin(Clipboard& clipboard, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!clipboard.Open()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        SwitchToThread();
    }
    return true;
}

class Win32ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(owner.window, nullptr); }

    ClipboardWindow owner;
    Win32Clipboard clipboard{owner.window};
};

TEST_F(Win32ClipboardTest, RegisteredFormatsKeepTheirNumberAndName) {
    const unsigned flag = clipboard.RegisterFormat("Pelimbrance Flag");
    EXPECT_GE(flag, 0xC000u);
    EXPECT_EQ(clipboard.RegisterFormat("Pelimbrance Flag"), flag);
    EXPECT_EQ(clipboard.GetFormatName(flag), "Pelimbrance Flag");
    EXPECT_EQ(clipboard.GetFormatName(ClipboardText), "");
}

TEST_F(Win32ClipboardTest, WritesAndReadsBlocksOfTheirRealSize) {
    const unsigned custom = clipboard.RegisterFormat("Pelimbrance Test Block");
    const unsigned flag = clipboard.RegisterFormat("Pelimbrance Flag");
    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    ASSERT_TRUE(clipboard.Empty());
    EXPECT_TRUE(clipboard.SetData(ClipboardText, "hello", 6));
    // No terminating zero: a reader must stop at the end of the block.
    EXPECT_TRUE(clipboard.SetOwnedData(custom, std::string("abc")));
    EXPECT_TRUE(clipboard.SetData(ClipboardLocale, "\x09\x04\x09\x04", 4));
    EXPECT_TRUE(clipboard.SetNoData(flag));
    clipboard.Close();

    EXPECT_TRUE(clipboard.IsFormatAvailable(flag));
    EXPECT_TRUE(clipboard.IsFormatAvailable(custom));

    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    std::string bytes;
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, std::string("hello", 6));
    EXPECT_EQ(clipboard.GetData(custom, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, "abc");
    EXPECT_EQ(clipboard.GetData(ClipboardLocale, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, "\x09\x04\x09\x04");

    bool sawCustom = false;
    for (unsigned format = clipboard.EnumFormats(0); format != 0;
         format = clipboard.EnumFormats(format)) {
        sawCustom = sawCustom || format == custom;
    }
    EXPECT_TRUE(sawCustom);

    // Writing without emptying replaces just that format.
    EXPECT_TRUE(clipboard.SetData(custom, "replaced", 8));
    clipboard.Close();

    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    EXPECT_EQ(clipboard.GetData(custom, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, "replaced");
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, std::string("hello", 6));
    clipboard.Close();
}

TEST_F(Win32ClipboardTest, ASecondWindowCannotOpenAHeldClipboard) {
    ClipboardWindow other;
    Win32Clipboard second(other.window);
    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    EXPECT_FALSE(second.Open());
    clipboard.Close();
    EXPECT_TRUE(OpenWithin(second, std::chrono::seconds(10)));
    second.Close();
}

TEST_F(Win32ClipboardTest, ConversionRunWritesEveryFormatOnTheRealClipboard) {
    UseTestCodeSets();
    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(clipboard.SetData(ClipboardUnicodeText, "C\0a\0f\0\xE9\0\0\0", 10));
    clipboard.Close();

    ConversionSettings settings;
    settings.codeSetName = "sb-test";
    settings.languageId = 1033;
    RecordingPrompts prompts;
    ConversionPipeline pipeline(clipboard, prompts);

    ASSERT_EQ(pipeline.Run(settings), ConversionOutcome::Converted);
    EXPECT_EQ(pipeline.UnicodeText(), u"Caf\u00E9");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(clipboard.IsFormatAvailable(pipeline.MarkerFormat()));
    // A second run sees the marker and leaves the clipboard alone.
    EXPECT_EQ(pipeline.Run(settings), ConversionOutcome::AlreadyMarked);

    ASSERT_TRUE(OpenWithin(clipboard, std::chrono::seconds(10)));
    std::string bytes;
    EXPECT_EQ(clipboard.GetData(ClipboardText, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, std::string("Caf\xE9", 5));
    EXPECT_EQ(clipboard.GetData(ClipboardLocale, bytes), ClipboardRead::Ok);
    EXPECT_EQ(bytes, "\x09\x04\x09\x04");
    EXPECT_EQ(clipboard.GetData(pipeline.RichTextFormat(), bytes), ClipboardRead::Ok);
    const std::string tail = std::string("\\lang1033 Caf\\u233 \\'e9}") + '\0';
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
    clipboard.Close();
}

}  // namespace
