#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeShell.h"
#include "RecordingPrompts.h"
#include "locale/FlagImageList.h"
#include "locale/LocaleTable.h"
#include "platform/InMemoryClipboard.h"
#include "viewer/MainDialog.h"

// The real main window with its real controls, given an in-memory clipboard that notifies
// the window of each change as the system does, recorded prompts and a scripted shell.
class MainDialogTest : public ::testing::Test {
protected:
    static constexpr unsigned short kSystemLanguage = 0x0407;  // DE-DE

    MainDialogTest();
    ~MainDialogTest() override;
    // Whatever a test did, every operation of the window gave the clipboard back and none
    // opened it inside another.
    void TearDown() override;

    // Creates the window; tests that prepare the clipboard or the chain first call it late.
    // Given a clipboard, the window works on that one (the system's) instead.
    MainDialog& Open();
    MainDialog& Open(Clipboard& other);
    void Close();

    HWND Item(int id) const { return ::GetDlgItem(dialog->GetSafeHwnd(), id); }
    std::string ItemText(int id) const;
    bool Checked(int id) const;
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    // As the user's click: BN_CLICKED reaches the window, auto buttons toggle.
    void Click(int id);
    // The user picks the line at position in a combo box: the selection changes and is
    // confirmed.
    void ChooseComboLine(int id, int position);
    int ComboSelection(int id) const;
    std::string ComboSelectedText(int id) const;
    int ComboPositionOf(int id, const std::string& text) const;
    std::vector<std::string> ListLines() const;
    std::vector<LPARAM> ListItemData() const;
    std::string DisplayText() const;

    void AddLocale(const char* code, const char* displayName, int languageId,
                   const char* codeSetName, const char* flagName);
    // Another program puts these blocks on the clipboard.
    void Put(const std::vector<std::pair<unsigned, std::string>>& blocks) {
        clipboard.PutFromAnotherProgram(blocks);
    }
    static std::string Utf16(const std::u16string& text);
    static std::string LocaleBlock(unsigned short language);
    std::vector<std::string> Messages() const { return prompts.MessageTexts(); }
    // The bits of the format buttons that can be chosen: 1 plain, 2 OEM, 4 Unicode, 8 RTF.
    unsigned EnabledFormatButtons() const;
    unsigned MarkerFormat() { return clipboard.RegisterFormat("Pelimbrance Flag"); }

    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    FakeShell shell;
    LocaleTable localeTable;
    FlagImageList flags;
    std::vector<std::string> fileNames;
    std::vector<std::string> displayNames;
    std::unique_ptr<MainDialog> dialog;
};
