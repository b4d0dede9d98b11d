// The main window on the system clipboard, against another thread that holds the clipboard
// for a moment or owns it and stops answering, as other programs do.

#include "MainDialogFixture.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/win32/Win32Clipboard.h"

namespace {

using Clock = std::chrono::steady_clock;

// Another program: a thread with a window of its own that writes the clipboard, renders
// CF_UNICODETEXT on demand, holds the clipboard open, and stops answering when told.
class Peer {
public:
    Peer() : thread_([this] { Run(); }) { ::WaitForSingleObject(ready_, INFINITE); }
    ~Peer() {
        ::SetEvent(resume_);
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    // Runs job on the peer's thread and waits until it has returned; with stall, the peer
    // then answers nothing until Resume.
    void Do(std::function<void()> job, bool stall = false) {
        job_ = std::move(job);
        ::PostThreadMessageA(threadId_, WM_APP, stall, 0);
        ::WaitForSingleObject(done_, INFINITE);
    }
    void Resume() { ::SetEvent(resume_); }

    static void SetBlock(unsigned format, const std::string& bytes) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        ::SetClipboardData(format, memory);
    }
    bool Open() { return ::OpenClipboard(window_) != FALSE; }

    static std::string& Rendered() {  // what WM_RENDERFORMAT puts on the clipboard
        static std::string rendered;
        return rendered;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_RENDERFORMAT) {
            SetBlock(static_cast<unsigned>(wParam), Rendered());
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    void Run() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &Proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PelClipboardPeer";
        ::RegisterClassA(&windowClass);
        window_ = ::CreateWindowA("PelClipboardPeer", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
        threadId_ = ::GetCurrentThreadId();
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
        ::SetEvent(ready_);
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message != WM_APP) {
                ::DispatchMessageA(&message);
                continue;
            }
            job_();
            ::SetEvent(done_);
            if (message.wParam != 0) {
                ::WaitForSingleObject(resume_, INFINITE);
            }
        }
        ::DestroyWindow(window_);
    }

    HANDLE ready_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE done_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE resume_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::function<void()> job_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

// Lets the window handle what has arrived until done holds, for at most ten seconds.
bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done() && Clock::now() < deadline) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
        ::Sleep(1);
    }
    return done();
}

const unsigned kMarker = ::RegisterClipboardFormatA("Pelimbrance Flag");

std::string Bytes(Win32Clipboard& clipboard, unsigned format) {
    std::string bytes;
    if (clipboard.Open()) {
        clipboard.GetData(format, bytes);
        clipboard.Close();
    }
    return bytes;
}

// The change arrives while the other program holds the clipboard for 100 ms: no box, and
// the text goes through the code set of its own locale, read with it.
TEST_F(MainDialogTest, SystemClipboardHeldForAMomentIsWaitedOut) {
    Win32Clipboard system(nullptr);
    Open(system);
    Click(1006);
    Peer peer;
    peer.Do([&] {
        ASSERT_TRUE(peer.Open());
        ::EmptyClipboard();
        Peer::SetBlock(CF_UNICODETEXT, Utf16(u"\u3042\u3044 abc"));
        Peer::SetBlock(CF_LOCALE, LocaleBlock(0x0411));
        ::CloseClipboard();
        // Held before the window hears of the change.
        ASSERT_TRUE(peer.Open());
    });
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peer.Do([] { ::CloseClipboard(); });
    });
    EXPECT_TRUE(PumpUntil([] { return ::IsClipboardFormatAvailable(kMarker) != FALSE; }));
    release.join();
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(ComboSelectedText(1015), "Japanese");
    EXPECT_EQ(Bytes(system, CF_TEXT), std::string("\x82\xA0\x82\xA2 abc\0", 9));
}

// An owner that announced its text for rendering on demand and stopped answering: the
// window does not wait for it, the clipboard is free for others, nothing is converted and
// no box is shown; once the owner is back a refresh shows and converts its text.
TEST_F(MainDialogTest, StalledOwnerIsNotWaitedFor) {
    Win32Clipboard system(nullptr);
    MainDialog& window = Open(system);
    Click(1006);
    Peer peer;
    Peer::Rendered() = Utf16(u"rendered late");
    peer.Do(
        [&] {
            ASSERT_TRUE(peer.Open());
            ::EmptyClipboard();
            ::SetClipboardData(CF_UNICODETEXT, nullptr);
            ::CloseClipboard();
        },
        true);
    const std::string notResponding = "<The program that owns the Clipboard is not responding>";
    EXPECT_TRUE(PumpUntil([&] { return DisplayText() == notResponding; }));
    // Another program opens the clipboard while the owner still stalls.
    bool othersCanOpen = false;
    std::thread other([&] {
        othersCanOpen = ::OpenClipboard(nullptr) != FALSE;
        if (othersCanOpen) {
            ::CloseClipboard();
        }
    });
    other.join();
    EXPECT_TRUE(othersCanOpen);
    EXPECT_FALSE(::IsClipboardFormatAvailable(kMarker));
    EXPECT_EQ(Messages(), std::vector<std::string>{});

    peer.Resume();
    window.Refresh();
    EXPECT_EQ(DisplayText(), "rendered late");
    EXPECT_EQ(Bytes(system, CF_TEXT), std::string("rendered late\0", 14));
}

}  // namespace
