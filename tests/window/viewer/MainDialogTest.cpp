// The main window's state, handlers, viewer chain and system menu, driven through its real
// controls with the messages a user's actions send.

#include "MainDialogFixture.h"
#include "Version.h"

#include "platform/win32/WinApp.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::u16string kText = u"Caf\u00E9";

std::string ConvertedMarker(InMemoryClipboard& clipboard) {
    return std::to_string(clipboard.RegisterFormat("Pelimbrance Flag"));
}

// A tiny bottom-up DIB: 1 x 1 pixel, 24 bits.
std::string SmallDib() {
    std::string dib(40 + 4, '\0');
    dib[0] = 40;
    dib[4] = 1;   // width
    dib[8] = 1;   // height
    dib[12] = 1;  // planes
    dib[14] = 24;
    return dib;
}

// A window that records the clipboard chain messages it receives.
struct ChainRecorder {
    struct Call {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    static std::vector<Call>& Calls() {
        static std::vector<Call> calls;
        return calls;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DRAWCLIPBOARD || message == WM_CHANGECBCHAIN) {
            Calls().push_back({message, wParam, lParam});
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static HWND Create() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = &Proc;
            windowClass.hInstance = ::GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "PelChainRecorder";
            ::RegisterClassA(&windowClass);
            registered = true;
        }
        return ::CreateWindowA("PelChainRecorder", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
};

// Closes the next modal box captioned caption from inside its own modal loop, and keeps
// the text of item id of it.
struct ModalCloser {
    static std::string& Caption() {
        static std::string caption;
        return caption;
    }
    static std::string& SeenText() {
        static std::string text;
        return text;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        HWND box = ::FindWindowA(nullptr, Caption().c_str());
        if (box != nullptr) {
            SeenText() = Window(::GetDlgItem(box, 1232)).GetText();
            ::KillTimer(nullptr, timer);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    static void Arm(const std::string& caption) {
        Caption() = caption;
        SeenText() = "<not shown>";
        ::SetTimer(nullptr, 0, 20, &Tick);
    }
};

TEST_F(MainDialogTest, StartsWithTheDefaultsAndListsTheClipboardWithoutConverting) {
    Put({{1, std::string("abc\0", 4)}});
    MainDialog& window = Open();

    EXPECT_EQ(Window(window.GetSafeHwnd()).GetText(), "Pelimbrance - Quendrisal");
    EXPECT_TRUE(Checked(1001));
    EXPECT_FALSE(Checked(1006));
    EXPECT_TRUE(Checked(1020));
    EXPECT_TRUE(Checked(1018));
    EXPECT_TRUE(Checked(1016));
    EXPECT_FALSE(Checked(1024));
    EXPECT_FALSE(Enabled(1024));
    EXPECT_FALSE(Checked(1022));
    EXPECT_FALSE(Checked(1023));
    EXPECT_TRUE(Checked(1007));
    EXPECT_FALSE(Checked(1008));
    EXPECT_FALSE(Checked(1017));
    EXPECT_FALSE(Checked(1009));
    EXPECT_FALSE(Enabled(1003));
    EXPECT_TRUE(Enabled(1012));

    const ConversionSettings settings = window.Settings();
    EXPECT_EQ(settings.codeSetName, "windows-1252");
    EXPECT_FALSE(settings.allowEntities);
    EXPECT_FALSE(settings.saveImages);
    EXPECT_EQ(settings.languageId, kSystemLanguage);
    // The clipboard has no locale: the system's.
    EXPECT_EQ(ComboSelectedText(1015), "German (Germany)");
    EXPECT_EQ(ComboSelectedText(1014), "Western European (Windows)");

    // The clipboard is opened for this window.
    EXPECT_EQ(clipboard.OwnerWindow(), window.GetSafeHwnd());

    // Listed at once through the notification of joining the chain; nothing converted.
    EXPECT_EQ(ListLines(), std::vector<std::string>{"1\tPlain Text"});
    EXPECT_EQ(ItemText(1011), "Count = 1");
    EXPECT_EQ(DisplayText(), "abc");
    EXPECT_FALSE(clipboard.IsFormatAvailable(MarkerFormat()));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MainDialogTest, AppendsTheAboutItemToTheSystemMenu) {
    MainDialog& window = Open();
    HMENU menu = ::GetSystemMenu(window.GetSafeHwnd(), FALSE);
    ASSERT_NE(menu, nullptr);
    char text[64] = {};
    ASSERT_GT(::GetMenuStringA(menu, 16, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "&About Pelimbrance...");
    int count = ::GetMenuItemCount(menu);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);
    MENUITEMINFOA separator = {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoA(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
}

TEST_F(MainDialogTest, EnterAndEscapeKeepTheWindowOpenWhileExitAndCloseEndIt) {
    MainDialog& window = Open();
    HWND hwnd = window.GetSafeHwnd();
    ::SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
    ::SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(window.HasEnded());
    EXPECT_TRUE(::IsWindow(hwnd));

    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(::IsZoomed(hwnd));
    EXPECT_TRUE(::IsWindow(hwnd));

    Click(1013);
    EXPECT_TRUE(window.HasEnded());
    EXPECT_EQ(window.GetEndResult(), IDOK);
    EXPECT_FALSE(::IsWindow(hwnd));

    MainDialog& second = Open();
    HWND secondHwnd = second.GetSafeHwnd();
    ::SendMessageA(secondHwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(second.HasEnded());
    EXPECT_EQ(second.GetEndResult(), IDOK);
    EXPECT_FALSE(::IsWindow(secondHwnd));
}

TEST_F(MainDialogTest, AboutButtonAndSystemMenuItemShowTheAboutBox) {
    MainDialog& window = Open();
    ModalCloser::Arm("About Pelimbrance");
    Click(1019);
    EXPECT_EQ(ModalCloser::SeenText(), "Pelimbrance - Quendrisal\nVersion " PEL_VERSION_TEXT);

    ModalCloser::Arm("About Pelimbrance");
    ::SendMessageA(window.GetSafeHwnd(), WM_SYSCOMMAND, 16, 0);
    EXPECT_EQ(ModalCloser::SeenText(), "Pelimbrance - Quendrisal\nVersion " PEL_VERSION_TEXT);
    EXPECT_TRUE(::IsWindow(window.GetSafeHwnd()));
}

// The application object, which receives the commands no window handles.
struct RecordingApp : WinApp {
    bool OnCommand(int id, int, Dialog& source) override {
        commands.push_back(id);
        sources.push_back(&source);
        return true;
    }
    std::vector<int> commands;
    std::vector<Dialog*> sources;
};

TEST_F(MainDialogTest, HelpButtonSendsTheHelpCommandToTheApplication) {
    RecordingApp app;
    MainDialog& window = Open();
    Click(9);
    ASSERT_EQ(app.commands, std::vector<int>{0xE146});
    EXPECT_EQ(app.sources[0], &window);
    EXPECT_EQ(window.GetHelpContext(), 131174u);
    Close();
}

TEST_F(MainDialogTest, OptionCheckBoxesGoIntoTheSettingsOfARun) {
    MainDialog& window = Open();
    Click(1022);
    EXPECT_TRUE(window.Settings().allowEntities);
    Click(1023);
    EXPECT_TRUE(window.Settings().saveImages);
    Click(1022);
    Click(1023);
    EXPECT_FALSE(window.Settings().allowEntities);
    EXPECT_FALSE(window.Settings().saveImages);
}

TEST_F(MainDialogTest, AutoConvertConvertsAtOnceButNotItsOwnWriteAndSavesOneImage) {
    Put({{13, Utf16(kText)}, {8, SmallDib()}});
    Open();
    Click(1023);
    prompts.AnswerSaveImage(false);

    Click(1006);
    EXPECT_TRUE(Checked(1006));
    EXPECT_FALSE(Enabled(1012));
    EXPECT_TRUE(clipboard.IsFormatAvailable(MarkerFormat()));
    EXPECT_EQ(clipboard.Block(1), std::string("Caf\xE9\0", 5));
    // The write's own notification found SkipNext and only reset it; no second image offer.
    EXPECT_EQ(prompts.saveImageQuestions.size(), 1u);

    // The listing shows the converted clipboard, marker included.
    auto lines = ListLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), ConvertedMarker(clipboard) + "\tPelimbrance Flag"),
        lines.end());

    // A later change by another program is converted again.
    Put({{13, Utf16(u"x\u0100y")}});
    EXPECT_EQ(clipboard.Block(1), std::string("x?y\0", 4));

    Click(1006);
    EXPECT_FALSE(Checked(1006));
    EXPECT_TRUE(Enabled(1012));
    Put({{13, Utf16(kText)}});
    EXPECT_FALSE(clipboard.IsFormatAvailable(MarkerFormat()));
}

TEST_F(MainDialogTest, ConvertButtonConvertsAndListsAgain) {
    Put({{1, std::string("Caf\xE9\0", 5)}});
    Open();
    Click(1012);
    EXPECT_EQ(clipboard.Block(13), Utf16(kText));
    EXPECT_EQ(ItemText(1004), "0x0407");  // CF_LOCALE written with the selected language
}

TEST_F(MainDialogTest, WithoutAutomaticRefreshChangesWaitForTheRefreshButton) {
    Open();
    Click(1001);
    EXPECT_FALSE(Checked(1001));
    EXPECT_TRUE(Enabled(1003));
    Click(1006);  // Auto-convert on, empty clipboard: nothing to convert

    Put({{13, Utf16(kText)}});
    EXPECT_EQ(ItemText(1011), "Count = 0");
    EXPECT_FALSE(clipboard.IsFormatAvailable(MarkerFormat()));

    // Switching Auto-convert on armed the guard; that run wrote nothing, so nothing is held
    // back and the refresh converts.
    Click(1003);
    EXPECT_TRUE(clipboard.IsFormatAvailable(MarkerFormat()));
    // 13, 1, Rich Text Format and the marker; CF_LOCALE gets no line.
    EXPECT_EQ(ItemText(1011), "Count = 4");
}

TEST_F(MainDialogTest, WithAutomaticRefreshOffTheFirstRefreshAfterAutoConvertConverts) {
    Put({{13, Utf16(kText)}});
    Open();
    Click(1001);
    Click(1006);
    ASSERT_EQ(clipboard.Block(1), std::string("Caf\xE9\0", 5));

    Put({{13, Utf16(u"new")}});
    EXPECT_EQ(ItemText(1011), "Count = 4");  // still the converted clipboard's listing
    Click(1003);
    EXPECT_EQ(clipboard.Block(1), std::string("new\0", 4));
}

TEST_F(MainDialogTest, SwitchingAutomaticRefreshOnRefreshesAndConvertsOnce) {
    Put({{13, Utf16(kText)}, {8, SmallDib()}});
    Open();
    Click(1001);
    Click(1006);  // converts now (armed), its own change is not listed automatically
    Put({{13, Utf16(u"new")}, {8, SmallDib()}});
    Click(1023);
    prompts.AnswerSaveImage(false);

    Click(1001);  // armed again: this refresh converts, the change it causes does not
    EXPECT_FALSE(Enabled(1003));
    EXPECT_EQ(clipboard.Block(1), std::string("new\0", 4));
    EXPECT_EQ(prompts.saveImageQuestions.size(), 1u);
}

TEST_F(MainDialogTest, EmptyTheClipboardButton) {
    Put({{1, std::string("abc\0", 4)}});
    Open();
    clipboard.SetHeldByAnotherProgram(true);
    Click(1005);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot open the Clipboard."});
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(clipboard.HasBlock(1));

    clipboard.SetHeldByAnotherProgram(false);
    Click(1005);
    EXPECT_TRUE(clipboard.Formats().empty());
    EXPECT_EQ(ItemText(1011), "Count = 0");
}

TEST_F(MainDialogTest, ViewerChainForwardsAndFollowsChainChanges) {
    ChainRecorder::Calls().clear();
    HWND recorder = ChainRecorder::Create();
    HWND afterRecorder = ::SetClipboardViewer(recorder);
    MainDialog& window = Open();
    HWND hwnd = window.GetSafeHwnd();
    ASSERT_EQ(::GetClipboardViewer(), hwnd);
    ChainRecorder::Calls().clear();

    // A change is passed on with both parameters 0.
    Put({{1, std::string("abc\0", 4)}});
    ASSERT_EQ(ChainRecorder::Calls().size(), 1u);
    EXPECT_EQ(ChainRecorder::Calls()[0].message, static_cast<UINT>(WM_DRAWCLIPBOARD));
    EXPECT_EQ(ChainRecorder::Calls()[0].wParam, 0u);
    EXPECT_EQ(ChainRecorder::Calls()[0].lParam, 0);

    // A window further down leaves: the notice goes on unchanged.
    HWND further = reinterpret_cast<HWND>(0x1234);
    HWND next = reinterpret_cast<HWND>(0x5678);
    ::SendMessageA(hwnd, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(further),
                   reinterpret_cast<LPARAM>(next));
    ASSERT_EQ(ChainRecorder::Calls().size(), 2u);
    EXPECT_EQ(ChainRecorder::Calls()[1].message, static_cast<UINT>(WM_CHANGECBCHAIN));
    EXPECT_EQ(ChainRecorder::Calls()[1].wParam, reinterpret_cast<WPARAM>(further));
    EXPECT_EQ(ChainRecorder::Calls()[1].lParam, reinterpret_cast<LPARAM>(next));
    // Still the next viewer: told of the next change.
    Put({{1, std::string("def\0", 4)}});
    ASSERT_EQ(ChainRecorder::Calls().size(), 3u);
    EXPECT_EQ(ChainRecorder::Calls()[2].message, static_cast<UINT>(WM_DRAWCLIPBOARD));

    // The next viewer leaves: it is replaced and not told, neither now nor of later changes.
    ::SendMessageA(hwnd, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(recorder),
                   reinterpret_cast<LPARAM>(afterRecorder));
    Put({{1, std::string("ghi\0", 4)}});
    EXPECT_EQ(ChainRecorder::Calls().size(), 3u);

    Close();
    ::ChangeClipboardChain(recorder, afterRecorder);
    ::DestroyWindow(recorder);
}

const char kUnsupportedLocale[] =
    "The current locale code in the Clipboard is not supported in automatic selection.";
const char kCannotOpen[] = "Cannot open the Clipboard.";

TEST_F(MainDialogTest, TheRestOfTheChainHearsOfAChangeBeforeOurBoxesAreShown) {
    ChainRecorder::Calls().clear();
    HWND recorder = ChainRecorder::Create();
    HWND afterRecorder = ::SetClipboardViewer(recorder);
    MainDialog& window = Open();
    ASSERT_EQ(::GetClipboardViewer(), window.GetSafeHwnd());
    ChainRecorder::Calls().clear();
    std::vector<std::size_t> heardWhileShown;
    prompts.onMessage = [&](const RecordingPrompts::MessageCall&) {
        heardWhileShown.push_back(ChainRecorder::Calls().size());
    };

    // A clipboard language without a locale, then a clipboard that another program holds.
    Put({{1, std::string("a\0", 2)}, {16, LocaleBlock(0x0412)}});
    clipboard.SetHeldByAnotherProgram(true);
    Put({{1, std::string("b\0", 2)}});
    clipboard.SetHeldByAnotherProgram(false);

    EXPECT_EQ(Messages(), (std::vector<std::string>{kUnsupportedLocale, kCannotOpen}));
    // Each box was shown only after the next viewer had been told of its change.
    EXPECT_EQ(heardWhileShown, (std::vector<std::size_t>{1, 2}));

    prompts.onMessage = nullptr;
    Close();
    ::ChangeClipboardChain(recorder, afterRecorder);
    ::DestroyWindow(recorder);
}

TEST_F(MainDialogTest, UnsupportedClipboardLanguageIsToldOnceAndNeverOverAnotherBox) {
    Open();
    auto copyWithLanguage = [&](unsigned short language) {
        Put({{1, std::string("a\0", 2)}, {16, LocaleBlock(language)}});
    };
    auto told = [&] {
        auto texts = Messages();
        return std::count(texts.begin(), texts.end(), std::string(kUnsupportedLocale));
    };
    for (int i = 0; i < 3; ++i)
        copyWithLanguage(0x0412);
    EXPECT_EQ(told(), 1);
    copyWithLanguage(0x0413);  // another language without a locale
    EXPECT_EQ(told(), 2);
    copyWithLanguage(0x0409);  // one with a locale, then the earlier one again
    copyWithLanguage(0x0413);
    EXPECT_EQ(told(), 3);
    Click(1020);  // the user changes the rules: off, then on again
    Click(1020);
    EXPECT_TRUE(Checked(1020));
    EXPECT_EQ(told(), 4);

    // A change that arrives while another box is open tells nothing over it; the next
    // listing of that language does.
    bool changed = false;
    prompts.onMessage = [&](const RecordingPrompts::MessageCall& call) {
        if (call.text == kCannotOpen && !changed) {
            changed = true;
            clipboard.SetHeldByAnotherProgram(false);
            copyWithLanguage(0x0414);
        }
    };
    clipboard.SetHeldByAnotherProgram(true);
    Click(1005);
    EXPECT_TRUE(changed);
    EXPECT_EQ(told(), 4);
    EXPECT_EQ(ItemText(1004), "0x0414");
    copyWithLanguage(0x0414);
    EXPECT_EQ(told(), 5);
    prompts.onMessage = nullptr;
}

TEST_F(MainDialogTest, ConvertIsNeverHeldBackWhenNoConversionFollowedTheGuard) {
    Put({{13, Utf16(kText)}});
    Open();
    // Automatic refresh off and on again with Auto-convert off: no conversion follows.
    Click(1001);
    Click(1001);
    Click(1012);
    ASSERT_EQ(clipboard.Block(1), std::string("Caf\xE9\0", 5));
    Put({{13, Utf16(u"new")}});
    Click(1012);
    EXPECT_EQ(clipboard.Block(1), std::string("new\0", 4));

    // Auto-convert switched on with automatic refresh off converts under the guard; the
    // notification of that write clears it, since the refresh it starts doesn't convert.
    Click(1001);
    Put({{13, Utf16(u"again")}});
    Click(1006);
    EXPECT_EQ(clipboard.Block(1), std::string("again\0", 6));
    Click(1006);
    Click(1001);
    Put({{13, Utf16(u"last")}});
    Click(1012);
    EXPECT_EQ(clipboard.Block(1), std::string("last\0", 5));
}

TEST_F(MainDialogTest, TheClipboardIsFreeWhileTheSaveDialogWaits) {
    Put({{13, Utf16(kText)}, {8, SmallDib()}});
    Open();
    Click(1023);
    std::vector<bool> openWhileAsked;
    prompts.AnswerSaveImage([&](SaveImageChoice&) {
        openWhileAsked.push_back(clipboard.IsOpen());
        return false;
    });
    Click(1012);
    EXPECT_EQ(openWhileAsked, std::vector<bool>{false});
    EXPECT_EQ(clipboard.Block(1), std::string("Caf\xE9\0", 5));
}

TEST_F(MainDialogTest, TheSaveImagesBoxShowsTheDialogsAnswerBeforeTheSaveReports) {
    Put({{13, Utf16(kText)}, {8, SmallDib()}});
    Open();
    Click(1023);
    shell.failingDirectories.insert("C:\\Bitmaps\\");
    prompts.AnswerSaveImage(RecordingPrompts::SaveImageAnswer([](SaveImageChoice& choice) {
        choice.saveImages = false;
        return true;
    }));
    std::vector<bool> boxWhileTold;
    prompts.onMessage = [&](const RecordingPrompts::MessageCall&) {
        boxWhileTold.push_back(Checked(1023));
    };
    Click(1012);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot save the bitmap."});
    EXPECT_EQ(boxWhileTold, std::vector<bool>{false});
    prompts.onMessage = nullptr;
}

TEST_F(MainDialogTest, CloseFromOutsideEndsLikeExitAndTheEndOfTheSessionLeavesTheChain) {
    HWND recorder = ChainRecorder::Create();
    HWND afterRecorder = ::SetClipboardViewer(recorder);
    MainDialog& window = Open();
    HWND hwnd = window.GetSafeHwnd();
    ASSERT_EQ(::GetClipboardViewer(), hwnd);
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.HasEnded());
    EXPECT_EQ(window.GetEndResult(), IDOK);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(::GetClipboardViewer(), recorder);

    // The process may end as soon as WM_ENDSESSION returns: the chain is whole by then.
    MainDialog& second = Open();
    ASSERT_EQ(::GetClipboardViewer(), second.GetSafeHwnd());
    ::SendMessageA(second.GetSafeHwnd(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(second.HasEnded());
    ::SendMessageA(second.GetSafeHwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(::GetClipboardViewer(), recorder);
    EXPECT_TRUE(second.HasEnded());

    Close();
    ::ChangeClipboardChain(recorder, afterRecorder);
    ::DestroyWindow(recorder);
}

TEST_F(MainDialogTest, MinimisedWindowAnswersTheDragIconQuery) {
    MainDialog& window = Open();
    HWND hwnd = window.GetSafeHwnd();
    const auto icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_QUERYDRAGICON, 0, 0)), icon);
    ::ShowWindow(hwnd, SW_MINIMIZE);
    ::UpdateWindow(hwnd);  // paints through the iconic path without failing
    EXPECT_TRUE(::IsIconic(hwnd));
    ::ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(::IsIconic(hwnd));
}

}  // namespace
