#include "MainDialogFixture.h"

#include <commctrl.h>

#include <cstring>

#include "TestPaths.h"
#include "codeset/DataDirectory.h"

namespace {

// Without a window manager on the virtual display, Wine waits two seconds for each
// managed window to be withdrawn when it is destroyed. This program's windows are left
// unmanaged; the key is read when the display driver loads, before the first window.
void LeaveWindowsUnmanaged() {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER,
                          "Software\\Wine\\AppDefaults\\viewer_window_tests.exe\\X11 Driver", 0,
                          nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
        ::RegCloseKey(key);
    }
}

void LoadWindowLibraries() {
    static bool loaded = false;
    if (!loaded) {
        LeaveWindowsUnmanaged();
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        ::LoadLibraryA("riched20.dll");
        loaded = true;
    }
}

}  // namespace

MainDialogTest::MainDialogTest() {
    LoadWindowLibraries();
    SetDataDirectory(DataDirectoryForTests());
    shell.languageId = kSystemLanguage;
    AddLocale("EN-US", "English (United States)", 0x0409, "windows-1252", "FLG_US");
    AddLocale("DE-DE", "German (Germany)", 0x0407, "windows-1252", "FLG_DE");
    AddLocale("JA-JP", "Japanese", 0x0411, "windows-932", "FLG_JP");
    AddLocale("EL-GR", "Greek", 0x0408, "windows-1253", "FLG_GR");
    AddLocale("XX-QQ", "Nowhere", 0x0499, "", "FLG_XX");
    // Shipped code sets, in the order a file search might give them; the combo box sorts.
    fileNames = {"windows-932", "windows-1252", "iso-8859-2"};
    displayNames = {"Japanese (Shift-JIS)", "Western European (Windows)", "Central European (ISO)"};
    BuildFlagImageList(localeTable, flags);
    // The system tells the clipboard viewers of every change once the clipboard is closed.
    clipboard.onChange = [this] {
        if (dialog && dialog->GetSafeHwnd()) {
            ::SendMessageA(dialog->GetSafeHwnd(), WM_DRAWCLIPBOARD, 0, 0);
        }
    };
}

MainDialogTest::~MainDialogTest() {
    Close();
}

void MainDialogTest::TearDown() {
    Close();
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_EQ(clipboard.NestedOpens(), 0u);
}

MainDialog& MainDialogTest::Open() {
    return Open(clipboard);
}

MainDialog& MainDialogTest::Open(Clipboard& other) {
    dialog = std::make_unique<MainDialog>(other, prompts, shell, localeTable, fileNames,
                                          displayNames, flags);
    EXPECT_TRUE(dialog->Create());
    return *dialog;
}

void MainDialogTest::Close() {
    dialog.reset();
}

void MainDialogTest::AddLocale(const char* code, const char* displayName, int languageId,
                               const char* codeSetName, const char* flagName) {
    LocaleEntry entry;
    std::strncpy(entry.code, code, sizeof entry.code - 1);
    entry.displayName = displayName;
    entry.languageId = languageId;
    entry.codeSetName = codeSetName;
    entry.flagName = flagName;
    localeTable.entries.push_back(entry);
    localeTable.count = static_cast<std::int32_t>(localeTable.entries.size());
}

std::string MainDialogTest::ItemText(int id) const {
    return Window(Item(id)).GetText();
}

bool MainDialogTest::Checked(int id) const {
    return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainDialogTest::Click(int id) {
    ::SendMessageA(Item(id), BM_CLICK, 0, 0);
}

void MainDialogTest::ChooseComboLine(int id, int position) {
    HWND combo = Item(id);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    HWND window = dialog->GetSafeHwnd();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(combo));
}

int MainDialogTest::ComboSelection(int id) const {
    return static_cast<int>(::SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
}

std::string MainDialogTest::ComboSelectedText(int id) const {
    ComboBox combo;
    combo.Attach(Item(id));
    return combo.GetLBText(combo.GetCurSel());
}

int MainDialogTest::ComboPositionOf(int id, const std::string& text) const {
    ComboBox combo;
    combo.Attach(Item(id));
    return combo.FindStringExact(-1, text);
}

std::vector<std::string> MainDialogTest::ListLines() const {
    ListBox list;
    list.Attach(Item(1000));
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i) {
        lines.push_back(list.GetText(i));
    }
    return lines;
}

std::vector<LPARAM> MainDialogTest::ListItemData() const {
    ListBox list;
    list.Attach(Item(1000));
    std::vector<LPARAM> data;
    for (int i = 0; i < list.GetCount(); ++i) {
        data.push_back(list.GetItemData(i));
    }
    return data;
}

unsigned MainDialogTest::EnabledFormatButtons() const {
    return (Enabled(1007) ? 1u : 0u) | (Enabled(1008) ? 2u : 0u) | (Enabled(1017) ? 4u : 0u) |
           (Enabled(1009) ? 8u : 0u);
}

std::string MainDialogTest::DisplayText() const {
    // The rich-edit control gives paragraph ends back as "\r\n".
    return ItemText(1002);
}

std::string MainDialogTest::Utf16(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    bytes.append(2, '\0');
    return bytes;
}

std::string MainDialogTest::LocaleBlock(unsigned short language) {
    std::string block(4, '\0');
    block[0] = static_cast<char>(language & 0xFF);
    block[1] = static_cast<char>(language >> 8);
    return block;
}
