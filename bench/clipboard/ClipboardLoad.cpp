// Measures the running pelimbrance.exe on large clipboards, as a user with other clipboard
// programs on the desktop sees it. This process copies a Japanese and Latin text of each
// size (CF_UNICODETEXT with a Japanese CF_LOCALE) while the window shows Plain text with
// Auto-convert on, and meanwhile probes OpenClipboard every 2 ms as clipboard managers do.
// For each size it prints the time to the program's marker, the time until the clipboard
// is free and the window answers, the longest time the probe could not open the clipboard,
// and how long the window then takes to answer a message; it checks that CF_TEXT is the
// text in windows-932 and that the program showed no message box.
//
//   clipboard_load.exe [SIZE_KIB...]   default: 64 1024 10240 51200
//   clipboard_load.exe --display       with Auto-convert off: how long the window takes to
//                                      list and show texts that are hard to lay out
//   clipboard_load.exe --close         closes the program
//
// Exit code 0 when every check passed.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Tries to open the clipboard every 2 ms and keeps the longest run of failures.
class Probe {
public:
    Probe() : thread_([this] { Run(); }) {}
    ~Probe() {
        stop_ = true;
        thread_.join();
    }
    // This process's own opens are not other programs' lock-outs.
    void Pause(bool paused) {
        paused_ = paused;
        while (paused && inOpen_) {
            Sleep(1);
        }
    }
    void Reset() { longest_ = 0; }
    double LongestMs() const { return longest_ / 1000.0; }

private:
    void Run() {
        HWND window = MessageWindow();
        Clock::time_point failingSince{};
        bool failing = false;
        while (!stop_) {
            if (!paused_) {
                inOpen_ = true;
                const auto now = Clock::now();
                const bool opened = OpenClipboard(window) != FALSE;
                if (opened) {
                    CloseClipboard();
                }
                inOpen_ = false;
                if (!opened && !failing) {
                    failing = true;
                    failingSince = now;
                }
                if (failing) {
                    long long us = std::chrono::duration_cast<std::chrono::microseconds>(
                                       Clock::now() - failingSince)
                                       .count();
                    longest_ = std::max<long long>(longest_, us);
                    failing = !opened;
                }
            } else {
                failing = false;
            }
            Sleep(2);
        }
        DestroyWindow(window);
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> inOpen_{false};
    std::atomic<long long> longest_{0};
    std::thread thread_;
};

// Japanese with Latin words and line ends, as copied from a web page: units of kib KiB.
std::wstring SampleText(std::size_t kib) {
    const std::wstring piece =
        L"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3068 Latin words, numbers 12345 \u3001"
        L"\u30AB\u30BF\u30AB\u30CA\u3082\u6F22\u5B57\u3082\u3002\r\n";
    std::wstring text;
    const std::size_t units = kib * 512;
    text.reserve(units);
    while (text.size() < units) {
        text += piece;
    }
    text.resize(units);
    return text;
}

// The owner of what it copied answers the program's messages while it waits, as a
// program with a message loop does.
void Wait() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    Sleep(1);
}

bool OpenPatiently(HWND window) {
    for (int i = 0; i < 10000; ++i) {
        if (OpenClipboard(window)) {
            return true;
        }
        Sleep(1);
    }
    return false;
}

void SetBlock(unsigned format, const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
}

std::string Block(HWND window, unsigned format) {
    std::string bytes;
    if (OpenPatiently(window)) {
        if (HANDLE handle = GetClipboardData(format)) {
            const char* data = static_cast<const char*>(GlobalLock(handle));
            bytes.assign(data, GlobalSize(handle));
            GlobalUnlock(handle);
        }
        CloseClipboard();
    }
    return bytes.substr(0, bytes.find('\0'));
}

// The time the window takes to answer a message, or -1 after 60 s.
double AnswerMs(HWND program) {
    const auto start = Clock::now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(program, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) {
        return -1;
    }
    return Ms(Clock::now() - start);
}

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<std::pair<DWORD, int>*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (process == found->first && std::strcmp(caption, "Pelimbrance") == 0 &&
        IsWindowVisible(window)) {
        ++found->second;
    }
    return TRUE;
}

// Puts the blocks on the clipboard and gives the time until the window answers with a
// display that has changed.
double ShowMs(HWND self, HWND program,
              const std::vector<std::pair<unsigned, std::string>>& blocks) {
    HWND display = GetDlgItem(program, 1002);
    DWORD_PTR before = 0, length = 0;
    SendMessageTimeoutA(display, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &before);
    if (!OpenPatiently(self)) {
        return -1;
    }
    EmptyClipboard();
    for (const auto& block : blocks) {
        SetBlock(block.first, block.second.data(), block.second.size());
    }
    CloseClipboard();
    const auto written = Clock::now();
    while (Ms(Clock::now() - written) < 60000 &&
           !(SendMessageTimeoutA(display, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5, &length) &&
             length != before)) {
        Wait();
    }
    return Ms(Clock::now() - written);
}

int MeasureDisplay(HWND self, HWND program) {
    std::wstring units;
    while (units.size() < 12000) {
        units += L"\u65E5\u672C\u8A9E abc ";
    }
    std::string shortLines, highBytes, prose;
    while (shortLines.size() < 64 * 1024) {
        shortLines += "short line of text\r\n";
    }
    while (highBytes.size() < 32 * 1024) {
        highBytes += "\x82\xa0\x82\xa2 abc \xe9\x93\xfa\x96\x7b\x8c\xea ";
    }
    while (prose.size() < 50u << 20) {
        prose += "Lorem ipsum dolor sit amet, consectetur adipiscing elit. ";
    }
    const std::wstring japanese = SampleText(51200);
    const std::string wide(reinterpret_cast<const char*>(units.c_str()), 2 * units.size() + 2);
    const std::string wideJapanese(reinterpret_cast<const char*>(japanese.c_str()),
                                   2 * japanese.size() + 2);
    struct Case {
        const char* what;
        int radio;
        std::vector<std::pair<unsigned, std::string>> blocks;
    } cases[] = {
        {"Unicode listing of 12,000 units", 1017, {{CF_UNICODETEXT, wide}, {CF_TEXT, "x"}}},
        {"64 KiB plain text in 3,300 short lines", 1007, {{CF_TEXT, shortLines + '\0'}}},
        {"32 KiB of Shift-JIS bytes, no line end", 1007, {{CF_TEXT, highBytes + '\0'}}},
        {"50 MiB plain text, no line end", 1007, {{CF_TEXT, prose + '\0'}}},
        {"50 MiB UTF-16 Japanese, shown as Plain text", 1007, {{CF_UNICODETEXT, wideJapanese}}},
    };
    for (const Case& c : cases) {
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            // A short text in both formats between runs, so that each run changes the display.
            const std::string ab("a\0b\0\0\0", 6);
            ShowMs(self, program, {{CF_UNICODETEXT, ab}, {CF_TEXT, "x"}});
            SendMessageA(GetDlgItem(program, c.radio), BM_CLICK, 0, 0);
            best = std::min(best, ShowMs(self, program, c.blocks));
        }
        std::printf("%-46s %7.0f ms\n", c.what, best);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--close") == 0) {
        PostMessageA(FindWindowA(nullptr, "Pelimbrance - Quendrisal"), WM_CLOSE, 0, 0);
        return 0;
    }
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    }
    if (sizes.empty()) {
        sizes = {64, 1024, 10240, 51200};
    }
    HWND program = nullptr;
    for (int i = 0; i < 600 && program == nullptr; ++i) {
        program = FindWindowA(nullptr, "Pelimbrance - Quendrisal");
        Sleep(100);
    }
    if (program == nullptr) {
        std::printf("FAIL: no window \"Pelimbrance - Quendrisal\"\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(program, &processId);
    HWND self = MessageWindow();
    // A clipboard without plain text switches the display off (the program may have started
    // on one): on again, over a plain text.
    ShowMs(self, program, {{CF_TEXT, std::string("x\0", 2)}});
    if (SendMessageA(GetDlgItem(program, 1016), BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SendMessageA(GetDlgItem(program, 1016), BM_CLICK, 0, 0);
    }
    if (argc > 1 && std::strcmp(argv[1], "--display") == 0) {
        return MeasureDisplay(self, program);
    }
    const UINT marker = RegisterClipboardFormatA("Pelimbrance Flag");
    HWND autoConvert = GetDlgItem(program, 1006);
    if (SendMessageA(autoConvert, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SendMessageA(autoConvert, BM_CLICK, 0, 0);
    }
    Probe probe;
    int failures = 0;
    std::printf("%10s %12s %22s %14s %16s  %s\n", "text", "marker", "free and answering",
                "locked out", "answer after", "check");
    for (std::size_t kib : sizes) {
        const std::wstring text = SampleText(kib);
        const DWORD locale = 0x0411;
        probe.Pause(true);
        if (!OpenPatiently(self)) {
            std::printf("FAIL: this process could not open the clipboard\n");
            return 1;
        }
        EmptyClipboard();
        SetBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * 2);
        SetBlock(CF_LOCALE, &locale, sizeof locale);
        probe.Reset();
        probe.Pause(false);
        CloseClipboard();
        const auto written = Clock::now();

        while (!IsClipboardFormatAvailable(marker) && Ms(Clock::now() - written) < 120000) {
            Wait();
        }
        const double markerMs = Ms(Clock::now() - written);
        // Free for others (the probe's own open) and answering its own messages.
        DWORD_PTR result = 0;
        while (Ms(Clock::now() - written) < 180000) {
            if (SendMessageTimeoutA(program, WM_NULL, 0, 0, SMTO_NORMAL, 5, &result) &&
                OpenClipboard(self)) {
                CloseClipboard();
                break;
            }
            Wait();
        }
        const double freeMs = Ms(Clock::now() - written);
        const double lockedMs = probe.LongestMs();
        const double answerMs = AnswerMs(program);

        probe.Pause(true);
        int length =
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.c_str(),
                                static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string expected(static_cast<std::size_t>(length), '\0');
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()),
                            &expected[0], length, nullptr, nullptr);
        const bool exact = Block(self, CF_TEXT) == expected;
        std::pair<DWORD, int> boxes{processId, 0};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&boxes));
        probe.Pause(false);
        const bool ok = exact && boxes.second == 0 && IsClipboardFormatAvailable(marker);
        failures += ok ? 0 : 1;
        std::printf("%7zu KiB %9.0f ms %19.0f ms %11.0f ms %13.1f ms  %s%s%s\n", kib, markerMs,
                    freeMs, lockedMs, answerMs, ok ? "ok" : "FAIL",
                    exact ? "" : " (CF_TEXT is not the text in windows-932)",
                    boxes.second == 0 ? "" : " (a message box is shown)");
        std::fflush(stdout);
    }
    DestroyWindow(self);
    return failures == 0 ? 0 : 1;
}
