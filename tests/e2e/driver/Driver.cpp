// Drives a running pelimbrance.exe through the real clipboard and window messages, as a
// user and another program would, and checks what the window shows and what the program
// writes to the clipboard. Plain Win32 on purpose: it tests the program from outside.
//
//   driver.exe            all checks, then closes the program through its system menu
//   driver.exe --auto     only switches Auto-convert on (for the checks from the X11 side)
//   driver.exe --demo T [L]  switches Auto-convert on, puts the text T on the
//                         clipboard (with the locale L, hexadecimal, when given), waits for
//                         the conversion and prints what the clipboard holds
//   driver.exe --show     waits for a conversion and prints what the clipboard holds
//   driver.exe --check T B   waits for a conversion and checks that CF_UNICODETEXT holds
//                         the text T and CF_TEXT the bytes B (as printed: \xHH)
//   driver.exe --close    closes the program through its system menu
//   driver.exe --click N  clicks the button with control id N
//
// Exit code 0 when every check passed, 1 otherwise.

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/ScopedWin.h"

namespace {

const char kMainCaption[] = "Pelimbrance - Quendrisal";
const char kBoxCaption[] = "Pelimbrance";
const char kFlagFormatName[] = "Pelimbrance Flag";
const char kSampleFormatName[] = "Pelimbrance E2E Sample";
const unsigned kPrivateFormat = 0x0200;  // CF_PRIVATEFIRST: a format without a name

int failures = 0;

void Fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    std::fflush(stdout);
    ++failures;
}

void Pass(const std::string& what) {
    std::printf("ok:   %s\n", what.c_str());
    std::fflush(stdout);
}

bool Check(bool condition, const std::string& what) {
    if (condition) {
        Pass(what);
    } else {
        Fail(what);
    }
    return condition;
}

// Polls the condition until it holds or the deadline passes. Meanwhile the driver answers
// its messages, as a program with a window does: the program under test does not ask an
// owner of the clipboard for data while it does not answer.
bool WaitFor(const std::function<bool()>& condition, int seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::string();
    }
    return std::string(buffer, std::strlen(buffer));
}

// Answers the program's message boxes (caption "Pelimbrance") with OK and remembers their
// texts, so that a box never blocks the checks.
class BoxAnswerer {
public:
    explicit BoxAnswerer(DWORD processId) : processId_(processId), thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }

    std::vector<std::string> Texts() {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM context) {
        auto* self = reinterpret_cast<BoxAnswerer*>(context);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (processId == self->processId_ && std::strcmp(caption, kBoxCaption) == 0 &&
            IsWindowVisible(window) && self->answered_.count(window) == 0) {
            self->answered_.insert(window);
            std::string text;
            // The text of a message box is its static item 0xFFFF.
            HWND label = GetDlgItem(window, 0xFFFF);
            if (label) {
                text = WindowText(label);
            }
            std::printf("note: message box \"%s\" answered with OK\n", text.c_str());
            std::fflush(stdout);
            {
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->texts_.push_back(text);
            }
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }

    void Run() {
        while (!stop_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> texts_;
    std::set<HWND> answered_;
    std::thread thread_;
};

// The clipboard of this driver, opened for a hidden window of its own.
class DriverClipboard {
public:
    DriverClipboard() {
        window_ = CreateWindowExA(0, "STATIC", "pelimbrance e2e driver", 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~DriverClipboard() { DestroyWindow(window_); }

    // Another program (the one under test, or Wine's bridge) may hold it for a moment.
    bool Open() {
        return WaitFor([this] { return OpenClipboard(window_) != FALSE; }, 10);
    }

    bool Put(const std::vector<std::pair<unsigned, std::string>>& blocks) {
        if (!Open()) {
            Fail("the driver could not open the clipboard");
            return false;
        }
        EmptyClipboard();
        bool ok = true;
        for (const auto& block : blocks) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.second.size());
            if (!memory) {
                ok = false;
                continue;
            }
            {
                // Unlocked before the clipboard takes the block.
                ScopedGlobalLock lock(memory);
                if (!lock.Get()) {
                    GlobalFree(memory);
                    ok = false;
                    continue;
                }
                std::memcpy(lock.Get(), block.second.data(), block.second.size());
            }
            if (!SetClipboardData(block.first, memory)) {
                GlobalFree(memory);
                ok = false;
            }
        }
        CloseClipboard();
        return ok;
    }

    // The whole block of a format, or false when the format has no data.
    bool Get(unsigned format, std::string& bytes) {
        bytes.clear();
        if (!Open()) {
            return false;
        }
        bool found = false;
        HANDLE handle = GetClipboardData(format);
        if (handle) {
            ScopedGlobalLock lock(handle);
            if (lock.Get()) {
                bytes.assign(static_cast<const char*>(lock.Get()), GlobalSize(handle));
                found = true;
            }
        }
        CloseClipboard();
        return found;
    }

    std::vector<unsigned> Formats() {
        std::vector<unsigned> formats;
        if (!Open()) {
            return formats;
        }
        for (unsigned f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
            formats.push_back(f);
        }
        CloseClipboard();
        return formats;
    }

private:
    HWND window_;
};

std::string Utf16Bytes(const std::wstring& text) {
    std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
    return bytes;
}

// Argument i as the user typed it: the narrow argv holds it in the ANSI code page, which
// can't represent every character.
std::wstring WideArgument(int i) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring argument = arguments != nullptr && i < count ? arguments[i] : L"";
    LocalFree(arguments);
    return argument;
}

// Block text up to its first zero byte.
std::string UpToZero(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

struct Program {
    HWND window = nullptr;
    DWORD processId = 0;

    HWND Item(int id) const { return GetDlgItem(window, id); }

    std::vector<std::string> ListLines() const {
        std::vector<std::string> lines;
        HWND list = Item(1000);
        DWORD_PTR count = 0;
        SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        for (int i = 0; i < static_cast<int>(count); ++i) {
            // Wine hands list box texts across processes as UTF-16 whatever the caller
            // asked for, so the wide form is asked for and converted here.
            wchar_t buffer[512] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer),
                                SMTO_ABORTIFHUNG, 5000, &length);
            char text[1024] = {};
            WideCharToMultiByte(CP_ACP, 0, buffer, -1, text, sizeof text, nullptr, nullptr);
            lines.emplace_back(text);
        }
        return lines;
    }

    bool Checked(int id) const {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(Item(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        return state == BST_CHECKED;
    }

    void Click(int id) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(Item(id), BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result);
    }
};

bool FindProgram(Program& program) {
    bool found = WaitFor(
        [&] {
            program.window = FindWindowA(nullptr, kMainCaption);
            return program.window != nullptr && GetDlgItem(program.window, 1011) != nullptr &&
                   WindowText(GetDlgItem(program.window, 1011)).rfind("Count = ", 0) == 0;
        },
        60);
    if (!found) {
        Fail(std::string("no window captioned \"") + kMainCaption + "\" with a listing");
        return false;
    }
    GetWindowThreadProcessId(program.window, &program.processId);
    Pass(std::string("found the window \"") + kMainCaption + "\"");
    return true;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

// The window lists what the clipboard holds: the named and unnamed formats, no CF_LOCALE
// line, and a count that agrees with the list.
void CheckListing(Program& program, DriverClipboard& clipboard) {
    unsigned sample = RegisterClipboardFormatA(kSampleFormatName);
    clipboard.Put({{CF_UNICODETEXT, Utf16Bytes(L"listing")},
                   {sample, std::string("sample\0", 7)},
                   {kPrivateFormat, std::string("\x01\x02\x03", 3)}});

    std::string sampleLine = std::to_string(sample) + "\t" + kSampleFormatName;
    bool listed = WaitFor([&] { return HasLine(program.ListLines(), sampleLine); }, 30);
    Check(listed, "the window lists the registered format as \"" + Printable(sampleLine) + "\"");
    auto lines = program.ListLines();
    for (const auto& line : lines) {
        std::printf("      list: %s\n", Printable(line).c_str());
    }
    if (!listed) {
        std::printf("      count: %s\n", WindowText(program.Item(1011)).c_str());
        return;
    }
    Check(HasLine(lines, "13\tUnicode Text"), "line \"13\\tUnicode Text\"");
    Check(HasLine(lines, "512\t<no name>"), "line \"512\\t<no name>\" for the private format");
    bool localeLine = false;
    for (const auto& line : lines) {
        localeLine = localeLine || line.rfind("16\t", 0) == 0 || line.rfind("17\t", 0) == 0;
    }
    Check(!localeLine, "no line for formats 16 and 17");

    // Every format the clipboard offers except 16 and 17 gives one line.
    unsigned expected = 0;
    for (unsigned format : clipboard.Formats()) {
        expected += (format == CF_LOCALE || format == 17) ? 0 : 1;
    }
    std::string countText = WindowText(program.Item(1011));
    Check(countText == "Count = " + std::to_string(lines.size()),
          "count line \"" + countText + "\" agrees with the list");
    Check(lines.size() == expected, "one line per format on the clipboard (" +
                                        std::to_string(lines.size()) + " lines, " +
                                        std::to_string(expected) + " formats)");
    std::string systemLocale = WindowText(program.Item(1010));
    Check(systemLocale.rfind("System Locale: 0x", 0) == 0,
          "system locale line \"" + systemLocale + "\"");
}

bool SwitchAutoConvertOn(Program& program) {
    if (!program.Checked(1006)) {
        program.Click(1006);
    }
    bool on = WaitFor([&] { return program.Checked(1006); }, 10);
    Check(on, "Auto-convert (1006) is checked after a click");
    Check(!IsWindowEnabled(program.Item(1012)), "Convert (1012) is disabled with Auto-convert on");
    return on;
}

bool WaitForMarker() {
    UINT flag = RegisterClipboardFormatA(kFlagFormatName);
    return WaitFor([&] { return IsClipboardFormatAvailable(flag) != FALSE; }, 30);
}

// A text with characters of windows-1252 and one that it lacks (U+0100), in English so that
// the EN-US locale and windows-1252 are chosen from the clipboard locale 0x0409.
void CheckConversion(Program& program, DriverClipboard& clipboard) {
    const std::wstring text = L"Gr\u00FC\u00DFe \u20AC \u0100 ok";
    std::string locale("\x09\x04\x00\x00", 4);
    clipboard.Put({{CF_UNICODETEXT, Utf16Bytes(text)}, {CF_LOCALE, locale}});
    if (!WaitForMarker()) {
        Fail("the program did not mark the clipboard with \"Pelimbrance Flag\"");
        return;
    }
    Pass("the clipboard carries \"Pelimbrance Flag\" after the change");

    std::string bytes;
    clipboard.Get(CF_TEXT, bytes);
    std::string expectedText =
        "Gr\xFC\xDF"
        "e \x80 ? ok";
    Check(UpToZero(bytes) == expectedText && bytes.size() > expectedText.size(),
          "CF_TEXT is \"" + Printable(UpToZero(bytes)) + "\" (windows-1252, ? for U+0100)");

    clipboard.Get(CF_UNICODETEXT, bytes);
    std::wstring unicode;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wchar_t unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        unicode += unit;
    }
    Check(unicode == text, "CF_UNICODETEXT keeps the text, U+0100 included");

    UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    clipboard.Get(rtf, bytes);
    std::string expectedRtf =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
        "\\widctlpar\\fs20\\lang1033 Gr\\u252 \\'fc\\u223 \\'dfe \\u8364 \\'80 \\u256 ? ok}";
    Check(UpToZero(bytes) == expectedRtf, "Rich Text Format is \"" + UpToZero(bytes) + "\"");

    clipboard.Get(CF_LOCALE, bytes);
    Check(bytes.size() >= 4 && bytes.compare(0, 4, std::string("\x09\x04\x09\x04", 4)) == 0,
          "CF_LOCALE holds 09 04 09 04 (" + Printable(bytes) + ")");

    UINT flag = RegisterClipboardFormatA(kFlagFormatName);
    std::string flagLine = std::to_string(flag) + "\t" + kFlagFormatName;
    Check(WaitFor([&] { return HasLine(program.ListLines(), flagLine); }, 20),
          "the window lists its marker as \"" + Printable(flagLine) + "\"");
    Check(WindowText(program.Item(1004)) == "0x0409",
          "clipboard locale shows \"" + WindowText(program.Item(1004)) + "\"");
}

// A character above U+FFFF and the RTF markup characters: the document carries the pair's
// two values and escapes the markup alone. The block is also left in e2e-paste.rtf in the
// working folder, for LibreOffice to read back.
void CheckLosslessRtf(DriverClipboard& clipboard) {
    const std::wstring text = L"x\U0001F600{y}\\z";
    std::remove("e2e-paste.rtf");
    clipboard.Put(
        {{CF_UNICODETEXT, Utf16Bytes(text)}, {CF_LOCALE, std::string("\x09\x04\0\0", 4)}});
    if (!WaitForMarker()) {
        Fail("the program did not convert \"x U+1F600 {y}\\z\"");
        return;
    }
    std::string bytes;
    clipboard.Get(RegisterClipboardFormatA("Rich Text Format"), bytes);
    const std::string expected =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
        "\\widctlpar\\fs20\\lang1033 x\\u55357 ?\\u56832 ?\\{y\\}\\\\z}";
    const std::string rtf = UpToZero(bytes);
    Check(rtf == expected, "Rich Text Format of a pair and markup is \"" + rtf + "\"");
    clipboard.Get(CF_TEXT, bytes);
    Check(UpToZero(bytes) == "x?{y}\\z", "CF_TEXT is \"" + Printable(UpToZero(bytes)) + "\"");
    if (FILE* file = std::fopen("e2e-paste.rtf", "wb")) {
        std::fwrite(rtf.data(), 1, rtf.size(), file);
        std::fclose(file);
    }
}

void CloseProgram(Program& program) {
    // As "End task" does: taskkill without /F asks the program's windows to close.
    char command[64];
    std::snprintf(command, sizeof command, "taskkill.exe /pid %lu",
                  static_cast<unsigned long>(program.processId));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!Check(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process) != FALSE,
               "taskkill starts")) {
        return;
    }
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Check(WaitFor([&] { return !IsWindow(program.window); }, 30),
          "taskkill without /F ends the program");
}

void PrintClipboard(DriverClipboard& clipboard) {
    for (unsigned format : clipboard.Formats()) {
        char name[256] = {};
        if (!GetClipboardFormatNameA(format, name, sizeof name)) {
            std::snprintf(name, sizeof name, "%s",
                          format == CF_TEXT          ? "CF_TEXT"
                          : format == CF_OEMTEXT     ? "CF_OEMTEXT"
                          : format == CF_UNICODETEXT ? "CF_UNICODETEXT"
                          : format == CF_LOCALE      ? "CF_LOCALE"
                                                     : "");
        }
        std::string bytes;
        clipboard.Get(format, bytes);
        std::string shown;
        if (format == CF_UNICODETEXT) {
            // As UTF-8, so that the terminal shows the characters.
            std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            wide = wide.substr(0, wide.find(L'\0'));
            int length =
                WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
            shown.assign(length, '\0');
            WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), &shown[0],
                                length, nullptr, nullptr);
            shown = "\"" + shown + "\"";
        } else {
            shown = Printable(bytes.size() > 300 ? bytes.substr(0, 300) + "..." : bytes);
        }
        std::printf("  %5u %-18s %s\n", format, name, shown.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    Program program;
    if (!FindProgram(program)) {
        return 1;
    }
    BoxAnswerer answerer(program.processId);
    DriverClipboard clipboard;

    if (mode == "--auto") {
        // What another program copied may reach the window a moment after it appears.
        WaitFor([&] { return !program.ListLines().empty(); }, 10);
        SwitchAutoConvertOn(program);
    } else if (mode == "--click" && argc > 2) {
        program.Click(std::atoi(argv[2]));
    } else if (mode == "--close") {
        CloseProgram(program);
    } else if (mode == "--demo" && argc > 2) {
        std::vector<std::pair<unsigned, std::string>> blocks = {
            {CF_UNICODETEXT, Utf16Bytes(WideArgument(2))}};
        if (argc > 3) {
            unsigned long language = std::strtoul(argv[3], nullptr, 16);
            blocks.push_back({CF_LOCALE, std::string(reinterpret_cast<const char*>(&language), 4)});
        }
        // Put first: switching Auto-convert on converts what the clipboard holds at once.
        clipboard.Put(blocks);
        if (SwitchAutoConvertOn(program)) {
            Check(WaitForMarker(), "the program converted the clipboard");
            std::printf("The clipboard now holds:\n");
            PrintClipboard(clipboard);
        }
    } else if (mode == "--check" && argc > 3) {
        if (Check(WaitForMarker(), "the program converted the clipboard")) {
            std::string bytes;
            clipboard.Get(CF_UNICODETEXT, bytes);
            std::wstring unicode(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            unicode = unicode.substr(0, unicode.find(L'\0'));
            std::string units;
            for (wchar_t unit : unicode) {
                char hex[8];
                std::snprintf(hex, sizeof hex, " %04X", static_cast<unsigned>(unit));
                units += hex;
            }
            Check(unicode == WideArgument(2), "CF_UNICODETEXT holds the copied text:" + units);
            clipboard.Get(CF_TEXT, bytes);
            std::string text = Printable(UpToZero(bytes));
            Check(text == argv[3], "CF_TEXT is \"" + text + "\"");
        }
    } else if (mode == "--show") {
        Check(WaitForMarker(), "the program converted the clipboard");
        std::printf("The clipboard now holds:\n");
        PrintClipboard(clipboard);
    } else {
        Check(!program.Checked(1006), "Auto-convert (1006) starts off");
        Check(program.Checked(1001), "Refresh automatically (1001) starts on");
        CheckListing(program, clipboard);
        if (SwitchAutoConvertOn(program)) {
            CheckConversion(program, clipboard);
            CheckLosslessRtf(clipboard);
        }
        for (const auto& text : answerer.Texts()) {
            if (text.rfind("Cannot", 0) == 0) {
                Fail("the program reported \"" + text + "\"");
            }
        }
        CloseProgram(program);
    }
    std::printf(failures == 0 ? "PASS\n" : "FAILED: %d check(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
