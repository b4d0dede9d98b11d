// A bitmap put on the system clipboard, saved through the real dialog, the real clipboard
// and the real file system, then opened again by the system's own BMP reader.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "RecordingPrompts.h"
#include "TestPaths.h"
#include "image/ImageSaver.h"
#include "image/SaveImageDialog.h"
#include "platform/win32/ScopedWin.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Shell.h"
#include "resource.h"

namespace {

const int kWidth = 5;
const int kHeight = 3;

COLORREF SourceColor(int x, int y) {
    return RGB((x * 60) & 0xFF, (y * 100 + 20) & 0xFF, ((x + y) * 40) & 0xFF);
}

// A bottom-up 24-bit DIB of the source picture.
std::string SourceDib() {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = kWidth;
    header.biHeight = kHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::string dib(reinterpret_cast<const char*>(&header), sizeof header);
    for (int row = kHeight - 1; row >= 0; --row) {
        std::string line;
        for (int x = 0; x < kWidth; ++x) {
            COLORREF c = SourceColor(x, row);
            line.push_back(static_cast<char>(GetBValue(c)));
            line.push_back(static_cast<char>(GetGValue(c)));
            line.push_back(static_cast<char>(GetRValue(c)));
        }
        line.resize((line.size() + 3) / 4 * 4, '\0');
        dib += line;
    }
    return dib;
}

// Whether another program could open the clipboard now: a thread of its own asks, as
// another program's would.
bool AnotherProgramCanOpenTheClipboard() {
    BOOL opened = FALSE;
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID result) -> DWORD {
            BOOL ok = ::OpenClipboard(nullptr);
            if (ok)
                ::CloseClipboard();
            *static_cast<BOOL*>(result) = ok;
            return 0;
        },
        &opened, 0, nullptr);
    if (thread == nullptr)
        return false;
    ::WaitForSingleObject(thread, 10000);
    ::CloseHandle(thread);
    return opened != FALSE;
}

class RealClipboardSave : public ::testing::Test {
protected:
    void SetUp() override {
        owner = ::CreateWindowA("STATIC", "image test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        directory = MakeTempDirectory("real-clipboard");
    }
    void TearDown() override { ::DestroyWindow(owner); }

    bool PutOnClipboard(UINT format, HANDLE data) {
        ScopedClipboard clipboard(owner);
        if (!clipboard.IsOpen())
            return false;
        ::EmptyClipboard();
        return ::SetClipboardData(format, data) != nullptr;
    }

    // Runs one save; the user keeps the proposed file name but puts it in folder (UTF-8) of
    // the temporary directory. Gives the path saved to.
    std::string SaveThroughDialog(const std::string& folder = "shots\\") {
        std::string target;
        prompts.AnswerSaveImage([&](SaveImageChoice& choice) {
            DialogDriver driver([&](HWND dialog) {
                std::string proposed = DialogDriver::Text(dialog, IDC_OUTPUT_PATH);
                target = directory + folder + proposed.substr(proposed.rfind('\\') + 1);
                otherProgramCouldOpen = AnotherProgramCanOpenTheClipboard();
                DialogDriver::Type(dialog, IDC_OUTPUT_PATH, target);
                DialogDriver::PressKey(dialog, VK_RETURN);
            });
            bool saved = AskSaveImageWithDialog(choice);
            EXPECT_TRUE(driver.found());
            return saved;
        });
        Win32Clipboard clipboard(owner);
        ImageSaver saver(clipboard, prompts, shell, ImageSaverTexts(), prefix);
        saver.SaveClipboardImage(true);
        counter = saver.Counter();
        EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().text;
        return target;
    }

    // The saved file as the system's BMP reader sees it, compared with the source.
    void ExpectSourcePicture(const std::string& path) {
        HBITMAP loaded =
            static_cast<HBITMAP>(::LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(loaded, nullptr) << path;
        BITMAP info = {};
        ::GetObjectA(loaded, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, kWidth);
        EXPECT_EQ(info.bmHeight, kHeight);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, loaded);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                EXPECT_EQ(::GetPixel(dc, x, y), SourceColor(x, y)) << x << "," << y;
            }
        }
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        ::DeleteObject(loaded);
    }

    HWND owner = nullptr;
    std::string directory;
    bool otherProgramCouldOpen = false;
    RecordingPrompts prompts;
    Win32Shell shell;
    const std::string prefix = "C:\\Bitmaps\\Screen";
    // The number the saver would propose next.
    int counter = 1;
};

TEST_F(RealClipboardSave, DibIsSavedUnderTheProposedNameInANewFolderOfAnyScript) {
    // Two new levels, named in Cyrillic and CJK and with a snowman.
    const std::string folder =
        "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC\\\xE2\x98\x83\\";
    const std::string dib = SourceDib();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, dib.size());
    ASSERT_NE(block, nullptr);
    std::memcpy(ScopedGlobalLock(block).Get(), dib.data(), dib.size());
    ASSERT_TRUE(PutOnClipboard(CF_DIB, block));

    ASSERT_TRUE(AnotherProgramCanOpenTheClipboard());
    const std::string path = SaveThroughDialog(folder);
    EXPECT_EQ(path, directory + folder + "Screen001.bmp");
    EXPECT_TRUE(shell.IsDirectory(directory + folder));
    // Copy and paste went on working in other programs while the dialog waited.
    EXPECT_TRUE(otherProgramCouldOpen);
    EXPECT_EQ(ProposedImageName(prefix, counter), "C:\\Bitmaps\\Screen002.bmp");
    const std::string saved = ReadFileBytes(path);
    ASSERT_EQ(saved.size(), 14 + dib.size());
    std::string expectedDib = dib;
    const std::uint32_t pixelSize = static_cast<std::uint32_t>(dib.size() - 40);
    std::memcpy(&expectedDib[20], &pixelSize, 4);
    EXPECT_EQ(saved.substr(14), expectedDib);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    ExpectSourcePicture(path);
}

TEST_F(RealClipboardSave, DeviceDependentBitmapIsSavedThroughItsDibForm) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            ::SetPixel(dc, x, y, SourceColor(x, y));
    }
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(PutOnClipboard(CF_BITMAP, bitmap));
    // An earlier file of the name is replaced.
    ASSERT_TRUE(shell.MakeDirectory(directory + "shots\\"));
    ASSERT_TRUE(WriteFileBytes(directory + "shots\\Screen001.bmp", "earlier"));

    const std::string path = SaveThroughDialog();
    ASSERT_EQ(path, directory + "shots\\Screen001.bmp");
    ExpectSourcePicture(path);
}

}  // namespace

namespace {

// A picture that a Linux program offers on the X11 clipboard (x11-image-check.sh puts it
// there with xclip), saved like any other clipboard bitmap.
TEST(X11ClipboardImage, PictureCopiedInALinuxProgramIsSaved) {
    const char* source = std::getenv("PEL_X11_IMAGE_SOURCE");
    if (source == nullptr)
        GTEST_SKIP() << "run by x11-image-check.sh";
    const std::string directory = MakeTempDirectory("x11-image");
    RecordingPrompts prompts;
    std::string proposed;
    prompts.AnswerSaveImage([&](SaveImageChoice& choice) {
        DialogDriver driver([&](HWND dialog) {
            proposed = DialogDriver::Text(dialog, IDC_OUTPUT_PATH);
            DialogDriver::Type(dialog, IDC_OUTPUT_PATH, directory + "Screen001.bmp");
            DialogDriver::Click(dialog, IDOK);
        });
        return AskSaveImageWithDialog(choice);
    });
    Win32Clipboard clipboard(nullptr);
    Win32Shell shell;
    const std::string prefix = "C:\\Bitmaps\\Screen";
    ImageSaver saver(clipboard, prompts, shell, ImageSaverTexts(), prefix);
    // Wine takes the X11 selection over when the clipboard is opened; allow it a moment.
    const DWORD deadline = ::GetTickCount() + 10000;
    while (!::IsClipboardFormatAvailable(CF_DIB) &&
           static_cast<LONG>(::GetTickCount() - deadline) < 0) {
        ::Sleep(50);
    }
    saver.SaveClipboardImage(true);
    EXPECT_EQ(proposed, "C:\\Bitmaps\\Screen001.bmp");
    EXPECT_TRUE(prompts.messages.empty());

    HBITMAP expected = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, source, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    HBITMAP saved = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, (directory + "Screen001.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(expected, nullptr) << source;
    ASSERT_NE(saved, nullptr);
    BITMAP a = {}, b = {};
    ::GetObjectA(expected, sizeof a, &a);
    ::GetObjectA(saved, sizeof b, &b);
    ASSERT_EQ(b.bmWidth, a.bmWidth);
    ASSERT_EQ(b.bmHeight, a.bmHeight);
    HDC dcA = ::CreateCompatibleDC(nullptr), dcB = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldA = ::SelectObject(dcA, expected), oldB = ::SelectObject(dcB, saved);
    int differing = 0;
    for (int y = 0; y < a.bmHeight; ++y) {
        for (int x = 0; x < a.bmWidth; ++x)
            differing += ::GetPixel(dcA, x, y) != ::GetPixel(dcB, x, y);
    }
    EXPECT_EQ(differing, 0);
    ::SelectObject(dcA, oldA);
    ::SelectObject(dcB, oldB);
    ::DeleteDC(dcA);
    ::DeleteDC(dcB);
    ::DeleteObject(expected);
    ::DeleteObject(saved);
}

}  // namespace
