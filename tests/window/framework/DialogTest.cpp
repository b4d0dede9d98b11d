#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/WinApp.h"
#include "resource.h"

namespace {

// A dialog over the save image template (an edit field and two check boxes) that records
// what the framework routes to it.
class ProbeDialog : public Dialog {
public:
    ProbeDialog() : Dialog(IDD_SAVE_IMAGE) {}

    std::string text = "initial text";
    bool launch = true;
    bool disable = false;
    std::vector<bool> exchanges;  // the directions DoDataExchange ran in
    std::vector<int> commands;    // ids OnCommand saw
    std::vector<int> codes;
    std::vector<UINT> appMessages;
    bool handleCommands = false;  // claim every command in OnCommand
    int okCalls = 0;
    int cancelCalls = 0;
    bool initSawWindow = false;

protected:
    void DoDataExchange(bool save) override {
        exchanges.push_back(save);
        ExchangeText(save, IDC_OUTPUT_PATH, text);
        ExchangeCheck(save, IDC_LAUNCH_EDITOR, launch);
        ExchangeCheck(save, IDC_DISABLE_SAVING, disable);
    }
    bool OnInitDialog() override {
        initSawWindow = hwnd != nullptr && ::IsWindow(hwnd);
        return Dialog::OnInitDialog();
    }
    void OnOK() override {
        ++okCalls;
        Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        Dialog::OnCancel();
    }
    bool OnCommand(int id, int code, HWND) override {
        commands.push_back(id);
        codes.push_back(code);
        return handleCommands;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message >= WM_APP) {
            appMessages.push_back(message);
            result = static_cast<LRESULT>(wParam) * 2;
            return true;
        }
        return false;
    }
};

// Records the commands that no dialog handled.
class RecordingApp : public WinApp {
public:
    bool OnCommand(int id, int, Dialog& source) override {
        appCommands.push_back(id);
        sources.push_back(&source);
        return true;
    }
    std::vector<int> appCommands;
    std::vector<Dialog*> sources;
};

std::string ItemText(const Dialog& dialog, int id) {
    return WindowText(dialog.GetDlgItem(id));
}
bool ItemChecked(const Dialog& dialog, int id) {
    return ::SendMessageA(dialog.GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(DialogTest, InitialisationFillsControlsAndOkReadsThemBack) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.initSawWindow);
    ASSERT_EQ(dialog.exchanges, std::vector<bool>{false});
    EXPECT_EQ(ItemText(dialog, IDC_OUTPUT_PATH), "initial text");
    EXPECT_TRUE(ItemChecked(dialog, IDC_LAUNCH_EDITOR));
    EXPECT_FALSE(ItemChecked(dialog, IDC_DISABLE_SAVING));

    ::SetWindowTextA(dialog.GetDlgItem(IDC_OUTPUT_PATH), "  typed name ");
    ::SendMessageA(dialog.GetDlgItem(IDC_LAUNCH_EDITOR), BM_CLICK, 0, 0);
    ::SendMessageA(dialog.GetDlgItem(IDC_DISABLE_SAVING), BM_CLICK, 0, 0);
    ::SendMessageA(dialog.GetDlgItem(IDOK), BM_CLICK, 0, 0);

    EXPECT_EQ(dialog.okCalls, 1);
    EXPECT_EQ(dialog.exchanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(dialog.text, "  typed name ");
    EXPECT_FALSE(dialog.launch);
    EXPECT_TRUE(dialog.disable);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.GetEndResult(), IDOK);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogTest, CancelEndsWithoutReadingBack) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ::SetWindowTextA(dialog.GetDlgItem(IDC_OUTPUT_PATH), "changed");
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dialog.cancelCalls, 1);
    EXPECT_EQ(dialog.exchanges, std::vector<bool>{false});
    EXPECT_EQ(dialog.text, "initial text");
    EXPECT_EQ(dialog.GetEndResult(), IDCANCEL);
}

TEST(DialogTest, CommandsReachOnCommandWithIdAndCodeFirst) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_OUTPUT_PATH, EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_OUTPUT_PATH)));
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.back(), IDC_OUTPUT_PATH);
    EXPECT_EQ(dialog.codes.back(), EN_KILLFOCUS);

    // A handled IDOK does not reach the default OK action.
    dialog.handleCommands = true;
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dialog.okCalls, 0);
    EXPECT_FALSE(dialog.HasEnded());
    dialog.DestroyWindow();
}

TEST(DialogTest, OtherMessagesReachOnMessageWithTheirResult) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    LRESULT result = ::SendMessageA(dialog.GetSafeHwnd(), WM_APP + 7, 21, 0);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(dialog.appMessages, std::vector<UINT>{WM_APP + 7});
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogTest, UnhandledCommandsAndHelpGoToTheApplication) {
    RecordingApp app;
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, ID_HELP_COMMAND, 0);
    HELPINFO help = {
        sizeof help, HELPINFO_WINDOW, IDC_OUTPUT_PATH, dialog.GetDlgItem(IDC_OUTPUT_PATH),
        0,           {0, 0}};
    ::SendMessageA(dialog.GetSafeHwnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    ASSERT_EQ(app.appCommands, (std::vector<int>{ID_HELP_COMMAND, ID_HELP_COMMAND}));
    EXPECT_EQ(app.sources[0], &dialog);
    EXPECT_EQ(dialog.GetHelpContext(), 0x20000u + IDD_SAVE_IMAGE);
    dialog.DestroyWindow();
}

TEST(DialogTest, ModalRunEndsWithTheResultOfTheButton) {
    for (int button : {IDOK, IDCANCEL}) {
        ProbeDialog dialog;
        HWND seen = nullptr;
        RunWhenReady([&] { return dialog.GetSafeHwnd() != nullptr; },
                     [&] {
                         seen = dialog.GetSafeHwnd();
                         ::SetWindowTextA(dialog.GetDlgItem(IDC_OUTPUT_PATH), "modal");
                         ::SendMessageA(dialog.GetDlgItem(button), BM_CLICK, 0, 0);
                     },
                     [&] { dialog.EndDialog(-2); });
        INT_PTR result = dialog.DoModal();
        EXPECT_EQ(result, button);
        EXPECT_NE(seen, nullptr);
        EXPECT_FALSE(::IsWindow(seen));
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(dialog.text, button == IDOK ? "modal" : "initial text");
    }
}

TEST(DialogTest, MissingTemplateFails) {
    class Missing : public Dialog {
    public:
        Missing() : Dialog(4711) {}
    } dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create());
}

// Counts what the dialog hands to the owner-draw object of the locale combo box.
class CountingOwnerDraw : public OwnerDrawItem {
public:
    void DrawItem(const DRAWITEMSTRUCT& item) override {
        ++draws;
        lastDrawId = item.CtlID;
    }
    void MeasureItem(MEASUREITEMSTRUCT& item) override {
        ++measures;
        item.itemHeight = 21;
    }
    void DeleteItem(const DELETEITEMSTRUCT& item) override {
        ++deletes;
        deletedData.push_back(item.itemData);
    }
    int draws = 0;
    int measures = 0;
    int deletes = 0;
    UINT lastDrawId = 0;
    std::vector<ULONG_PTR> deletedData;
};

class OwnerDrawHost : public Dialog {
public:
    explicit OwnerDrawHost(OwnerDrawItem* handler) : Dialog(IDD_MAIN) {
        RegisterOwnerDraw(IDC_LOCALE, handler);
    }
    int measuresBeforeInit = -1;
    CountingOwnerDraw* counter = nullptr;

protected:
    bool OnInitDialog() override {
        if (counter != nullptr) {
            measuresBeforeInit = counter->measures;
        }
        return Dialog::OnInitDialog();
    }
};

TEST(DialogTest, OwnerDrawMessagesReachTheRegisteredObject) {
    LoadRichEdit();
    CountingOwnerDraw counter;
    OwnerDrawHost host(&counter);
    host.counter = &counter;
    ASSERT_TRUE(host.Create());
    // The owner-drawn combo box is measured while the dialog creates it.
    EXPECT_GE(host.measuresBeforeInit, 1);
    HWND combo = host.GetDlgItem(IDC_LOCALE);
    EXPECT_EQ(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 21);

    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
    ::SendMessageA(combo, CB_SETITEMDATA, 0, 11);
    ::SendMessageA(combo, CB_SETITEMDATA, 1, 22);
    ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
    ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(counter.draws, 1);
    EXPECT_EQ(counter.lastDrawId, static_cast<UINT>(IDC_LOCALE));

    // Destroying the window deletes each item through the object.
    host.DestroyWindow();
    EXPECT_EQ(counter.deletes, 2);
    std::vector<ULONG_PTR> sorted = counter.deletedData;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<ULONG_PTR>{11, 22}));
}

TEST(DialogTest, F1InAModalDialogAsksTheApplicationForHelp) {
    RecordingApp app;
    ProbeDialog dialog;
    RunWhenReady([&] { return dialog.GetSafeHwnd() != nullptr; },
                 [&] {
                     HWND edit = dialog.GetDlgItem(IDC_OUTPUT_PATH);
                     ::SetFocus(edit);
                     ::PostMessageA(edit, WM_KEYDOWN, VK_F1, 0x003B0001);
                     ::PostMessageA(edit, WM_KEYUP, VK_F1, 0xC03B0001);
                     RunWhenReady([&] { return !app.appCommands.empty(); },
                                  [&] { dialog.EndDialog(IDOK); }, [&] { dialog.EndDialog(-2); },
                                  3000);
                 },
                 [&] { dialog.EndDialog(-3); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(app.appCommands, std::vector<int>{ID_HELP_COMMAND});
}

}  // namespace
