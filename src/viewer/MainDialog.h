#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeset/CodeSetHolder.h"
#include "convert/ConversionPipeline.h"
#include "platform/ClipboardSnapshot.h"
#include "image/ImageSaver.h"
#include "locale/LocaleComboBox.h"
#include "platform/CountedPrompts.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Dialog.h"

class Clipboard;
class FlagImageList;
class LocaleTable;
class Prompts;
class Shell;

// The main window: lists the clipboard's formats and locale, shows the data of one text
// format, and converts the clipboard's text through the chosen code set, on demand or on
// every clipboard change. It is a member of the clipboard viewer chain while it exists.
//
// Everything it does with the clipboard goes through the Clipboard port (the system
// clipboard in the program, an in-memory one in tests); only the viewer chain itself talks
// to the platform directly.
class MainDialog : public Dialog {
public:
    MainDialog(Clipboard& clipboard, Prompts& prompts, Shell& shell, const LocaleTable& localeTable,
               const std::vector<std::string>& codeSetFileNames,
               const std::vector<std::string>& codeSetDisplayNames,
               const FlagImageList& flagImageList, HWND parent = nullptr);
    ~MainDialog() override;

    // The listing, then with Auto-convert on a conversion and the listing again. The listing
    // and the conversion work on one copy of the clipboard.
    void Refresh();
    // Format list, count, clipboard and system locale; then the locale choice and the
    // data display follow the clipboard.
    void ListClipboard();
    void ShowClipboardData();
    // One run of the conversion pipeline with this window's settings.
    void Convert();

    // First index whose text equals text byte for byte, or -1.
    static int FindName(const std::vector<std::string>& list, const std::string& text);
    // Position of the first line whose item data is index, or -1.
    static int FindItemByData(const ComboBox& combo, int index);

    // What the next run receives: read from the controls and the window's choices.
    ConversionSettings Settings() const;

protected:
    void DoDataExchange(bool save) override;
    bool OnInitDialog() override;
    // Enter and Escape must not close the window.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(UINT newDpi) override;

private:
    // A WM_COMMAND from control id with notification code calls handler.
    struct CommandRoute {
        int id;
        int code;
        void (MainDialog::*handler)();
    };
    static const CommandRoute kCommands[];

    // What a listing copies from the clipboard; with conversion, the text of a run too.
    SnapshotRequest SnapshotFor(bool conversion) const;
    SnapshotRequest DisplayRequest() const;
    // false when the clipboard was busy (the user is told; nothing changes).
    bool ShowListing(const ClipboardSnapshot& snapshot);
    void ShowData(const ClipboardSnapshot& snapshot);
    // Lists again unless the last listing showed the clipboard as it is (a notification of
    // the program's own write may have listed it already).
    void ListClipboardIfChanged();
    void UpdateFormatButtons();
    void FillCodeSetList();
    void SelectCodeSetForLocale();
    void ApplyClipboardLocale();

    // Handlers.
    void DisplayDataClicked();
    void CodeSetSelected();
    void RefreshAutomaticallyClicked();
    void AutoConvertClicked();
    void EmptyClipboardClicked();
    void ConvertClicked();
    void ExitClicked();
    void ShowFormat(unsigned format);
    void PlainTextClicked();
    void OemTextClicked();
    void RichTextClicked();
    void UnicodeTextClicked();
    // A line of the code set or locale list chosen by the user: it stops following.
    void CodeSetChosenByHand();
    void LocaleChosenByHand();
    void HelpClicked();
    void LocaleSelected();
    void CodeSetFollowsLocaleClicked();
    void UseClipboardLocaleClicked();
    void ShowAbout();
    // The pipeline's offer of the clipboard's image; the window's box takes over the save
    // images choice the save dialog left.
    void SaveClipboardImage();

    // Viewer chain and system menu.
    void DrawClipboard();
    // Leaves the chain once, at WM_DESTROY or when the session ends, whichever comes first.
    void LeaveViewerChain();
    void ChangeClipboardChain(HWND removed, HWND following);
    bool SystemCommand(WPARAM command);
    bool PaintIconic();
    void JoinSystemMenu();

    void Message(const std::string& text);
    // A text of the string table.
    static std::string Text(unsigned id);
    std::string FormatLine(unsigned format);
    std::uint16_t SystemLanguageId();
    // The language of the selected locale, or the system's when none is selected.
    std::uint16_t SelectedLocaleLanguage();

    // Controls.
    Button toHexaCheck;                // 1024
    Button saveImagesCheck;            // 1023
    Button allowEntitiesCheck;         // 1022
    Button useClipboardLocaleCheck;    // 1020
    Button codeSetFollowsLocaleCheck;  // 1018
    Button displayDataCheck;           // 1016
    Button autoConvertCheck;           // 1006
    Button refreshAutomaticallyCheck;  // 1001
    LocaleComboBox localeCombo;        // 1015
    Static systemLocaleText;           // 1010
    Static clipboardLocaleText;        // 1004
    ComboBox codeSetCombo;             // 1014
    Button plainTextRadio;             // 1007
    Button oemTextRadio;               // 1008
    Button unicodeTextRadio;           // 1017
    Button richTextRadio;              // 1009
    ListBox formatList;                // 1000
    RichEdit dataDisplay;              // 1002

    HICON icon = nullptr;
    bool refreshAutomatically = true;
    bool autoConvert = false;
    bool codeSetFollowsLocale = true;
    bool displayData = true;
    bool useClipboardLocale = true;
    HWND nextViewer = nullptr;
    unsigned displayFormat = 1;
    std::uint32_t availableText = 0;
    std::string currentCodeSetName = "windows-1252";
    unsigned rtfFormat = 0;
    std::uint16_t clipboardLanguageId;
    std::uint16_t selectedLanguageId;
    std::string selectedLocaleCode = "EN-US";
    // The sequence number of the content the list shows.
    std::optional<unsigned> listedSequence;
    // The clipboard language last told to be unsupported, or -1: told once until it changes.
    int unsupportedLanguageTold = -1;

    // Bits of availableText.
    static constexpr std::uint32_t kHasText = 1;
    static constexpr std::uint32_t kHasOemText = 2;
    static constexpr std::uint32_t kHasUnicodeText = 4;
    static constexpr std::uint32_t kHasRichText = 8;

    Clipboard& clipboard;
    // Every box of the window, the pipeline and image saving goes through it.
    CountedPrompts prompts;
    bool inViewerChain = false;
    Shell& shell;
    const LocaleTable& localeTable;
    const std::vector<std::string>& codeSetFileNames;
    const std::vector<std::string>& codeSetDisplayNames;
    ConversionPipeline pipeline;
    ImageSaver imageSaver;
};
