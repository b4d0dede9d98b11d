#include "viewer/MainDialog.h"

#include "locale/LocaleTable.h"
#include "platform/Clipboard.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/win32/ResourceString.h"
#include "platform/win32/Win32Clipboard.h"
#include "resource.h"

#include "viewer/AboutDialog.h"

namespace {

const char kFlagFormatName[] = "Pelimbrance Flag";
const char kRichTextFormatName[] = "Rich Text Format";

ConversionMessages PipelineMessages() {
    ConversionMessages messages;
    messages.cannotLoadCodeSet = LoadResourceString(IDS_CANNOT_LOAD_CODESET);
    messages.cannotOpenClipboard = LoadResourceString(IDS_CANNOT_OPEN_CLIPBOARD);
    return messages;
}

ImageSaverTexts SaverTexts() {
    ImageSaverTexts texts;
    texts.cannotOpenClipboard = LoadResourceString(IDS_CANNOT_OPEN_CLIPBOARD);
    texts.cannotSaveBitmap = LoadResourceString(IDS_CANNOT_SAVE_BITMAP);
    return texts;
}

}  // namespace

MainDialog::MainDialog(Clipboard& clipboard, Prompts& prompts, Shell& shell,
                       const LocaleTable& localeTable,
                       const std::vector<std::string>& codeSetFileNames,
                       const std::vector<std::string>& codeSetDisplayNames,
                       const FlagImageList& flagImageList, HWND parent)
    : Dialog(IDD_MAIN, parent),
      localeCombo(localeTable, flagImageList),
      clipboardLanguageId(shell.SystemLanguageId()),
      selectedLanguageId(shell.SystemLanguageId()),
      clipboard(clipboard),
      prompts(prompts),
      shell(shell),
      localeTable(localeTable),
      codeSetFileNames(codeSetFileNames),
      codeSetDisplayNames(codeSetDisplayNames),
      pipeline(clipboard, this->prompts),
      imageSaver(
          clipboard, this->prompts, shell, imagePathPrefix, imageCounter, saveImages, launchEditor,
          [this](bool on) { saveImagesCheck.SetChecked(on); }, SaverTexts()) {
    icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PELIMBRANCE));
    // A bare name: the file is looked up in the data directory. A missing file leaves the
    // holder empty; the first conversion then reports it.
    loadedCodeSet.Load(currentCodeSetName);
    pipeline.messages = PipelineMessages();
    pipeline.saveClipboardImage = [this] { imageSaver.SaveClipboardImage(); };
    // The combo box is measured while the dialog creates its controls.
    RegisterOwnerDraw(IDC_LOCALE, &localeCombo);
}

MainDialog::~MainDialog() {
    // Destroyed here, not by the base class, so that leaving the viewer chain (WM_DESTROY)
    // and releasing the combo box's item data (WM_DELETEITEM) still reach this object.
    DestroyWindow();
}

void MainDialog::DoDataExchange(bool save) {
    BindControl(IDC_TO_HEXA, toHexaCheck);
    BindControl(IDC_SAVE_IMAGES, saveImagesCheck);
    BindControl(IDC_ALLOW_ENTITIES, allowEntitiesCheck);
    BindControl(IDC_USE_CLIPBOARD_LOCALE, useClipboardLocaleCheck);
    BindControl(IDC_CODESET_FOLLOWS_LOCALE, codeSetFollowsLocaleCheck);
    BindControl(IDC_DISPLAY_DATA, displayDataCheck);
    BindControl(IDC_AUTO_CONVERT, autoConvertCheck);
    BindControl(IDC_REFRESH_AUTO, refreshAutomaticallyCheck);
    BindControl(IDC_LOCALE, localeCombo);
    BindControl(IDC_SYSTEM_LOCALE, systemLocaleText);
    BindControl(IDC_CLIPBOARD_LOCALE, clipboardLocaleText);
    BindControl(IDC_CODE_SET, codeSetCombo);
    BindControl(IDC_PLAIN_TEXT, plainTextRadio);
    BindControl(IDC_OEM_TEXT, oemTextRadio);
    BindControl(IDC_UNICODE_TEXT, unicodeTextRadio);
    BindControl(IDC_RICH_TEXT, richTextRadio);
    BindControl(IDC_FORMAT_LIST, formatList);
    BindControl(IDC_DATA_DISPLAY, dataDisplay);
    if (save) {
        // The members follow their check boxes through the click handlers already.
        return;
    }
    plainTextRadio.SetChecked(true);
    refreshAutomaticallyCheck.SetChecked(refreshAutomatically);
    autoConvertCheck.SetChecked(autoConvert);
    useClipboardLocaleCheck.SetChecked(useClipboardLocale);
    codeSetFollowsLocaleCheck.SetChecked(codeSetFollowsLocale);
    displayDataCheck.SetChecked(displayData);
    toHexaCheck.SetChecked(toHexa);
    allowEntitiesCheck.SetChecked(allowEntities);
    saveImagesCheck.SetChecked(saveImages);
}

bool MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // The system clipboard is opened for this window, which exists only from now on.
    if (auto* system = dynamic_cast<Win32Clipboard*>(&clipboard)) {
        system->SetWindow(hwnd);
    }
    // A full Unicode listing is about 72,000 characters.
    dataDisplay.LimitText(1 << 20);

    localeCombo.FillFromLocaleTable();
    localeCombo.SelectLocale(selectedLocaleCode.c_str(), 0);
    FillCodeSetList();
    rtfFormat = clipboard.RegisterFormat(kRichTextFormatName);
    flagFormat = clipboard.RegisterFormat(kFlagFormatName);
    JoinSystemMenu();
    ::SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    // Joining the chain sends this window a clipboard-draw notification at once, which
    // lists the clipboard before nextViewer is known.
    inViewerChain = true;
    nextViewer = ::SetClipboardViewer(hwnd);

    refreshAutomatically = refreshAutomaticallyCheck.IsChecked();
    Window(GetDlgItem(IDC_REFRESH)).Enable(!refreshAutomatically);
    AutoConvertClicked();
    if (codeSetFollowsLocale) {
        SelectCodeSetForLocale();
    }
    DisplayDataClicked();
    return true;
}

void MainDialog::JoinSystemMenu() {
    HMENU menu = ::GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr) {
        return;
    }
    std::string about = LoadResourceString(IDS_ABOUT_MENU);
    if (about.empty()) {
        return;
    }
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

bool MainDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
        case IDC_REFRESH:
            if (code == BN_CLICKED) {
                Refresh();
            }
            return true;
        case IDC_REFRESH_AUTO:
            if (code == BN_CLICKED) {
                RefreshAutomaticallyClicked();
            }
            return true;
        case IDC_EMPTY_CLIPBOARD:
            if (code == BN_CLICKED) {
                EmptyClipboardClicked();
            }
            return true;
        case IDC_PLAIN_TEXT:
        case IDC_OEM_TEXT:
        case IDC_RICH_TEXT:
        case IDC_UNICODE_TEXT:
            if (code == BN_CLICKED) {
                ShowFormat(id == IDC_PLAIN_TEXT  ? ClipboardText
                           : id == IDC_OEM_TEXT  ? ClipboardOemText
                           : id == IDC_RICH_TEXT ? rtfFormat
                                                 : ClipboardUnicodeText);
            }
            return true;
        case IDC_CONVERT:
            if (code == BN_CLICKED) {
                ConvertClicked();
            }
            return true;
        case IDC_AUTO_CONVERT:
            if (code == BN_CLICKED) {
                AutoConvertClicked();
            }
            return true;
        case IDC_EXIT:
            if (code == BN_CLICKED) {
                ExitClicked();
            }
            return true;
        case IDC_CODE_SET:
            if (code == CBN_SELCHANGE) {
                CodeSetSelected();
            } else if (code == CBN_SELENDOK) {
                codeSetFollowsLocale = false;
                codeSetFollowsLocaleCheck.SetChecked(false);
            }
            return true;
        case IDC_DISPLAY_DATA:
            if (code == BN_CLICKED) {
                DisplayDataClicked();
            }
            return true;
        case IDC_ABOUT:
            if (code == BN_CLICKED) {
                ShowAbout();
            }
            return true;
        case IDC_CODESET_FOLLOWS_LOCALE:
            if (code == BN_CLICKED) {
                CodeSetFollowsLocaleClicked();
            }
            return true;
        case IDC_USE_CLIPBOARD_LOCALE:
            if (code == BN_CLICKED) {
                UseClipboardLocaleClicked();
            }
            return true;
        case IDC_LOCALE:
            if (code == CBN_SELCHANGE) {
                LocaleSelected();
            } else if (code == CBN_SELENDOK) {
                useClipboardLocale = false;
                useClipboardLocaleCheck.SetChecked(false);
                unsupportedLanguageTold = -1;
            }
            return true;
        case IDC_ALLOW_ENTITIES:
            if (code == BN_CLICKED) {
                allowEntities = allowEntitiesCheck.IsChecked();
            }
            return true;
        case IDC_HELP_BUTTON:
            if (code == BN_CLICKED) {
                // The application object shows the help topic of this window.
                ::SendMessageA(hwnd, WM_COMMAND, Dialog::kHelpCommand, 0);
            }
            return true;
        case IDC_SAVE_IMAGES:
            if (code == BN_CLICKED) {
                saveImages = saveImagesCheck.IsChecked();
            }
            return true;
        case IDC_TO_HEXA:
            if (code == BN_CLICKED) {
                toHexa = toHexaCheck.IsChecked();
            }
            return true;
        default:
            return false;
    }
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            return SystemCommand(wParam);
        case WM_PAINT:
            return PaintIconic();
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(icon);
            return true;
        case WM_DESTROY:
            ::WinHelpA(hwnd, nullptr, HELP_QUIT, 0);
            LeaveViewerChain();
            return false;
        case WM_CLOSE:
            // From outside (End task, taskkill): closes like Exit. Escape and Enter come as
            // IDCANCEL and IDOK and still do nothing.
            ExitClicked();
            return true;
        case WM_ENDSESSION:
            // The process may end as soon as this returns: the chain is repaired now.
            if (wParam != FALSE) {
                LeaveViewerChain();
                ExitClicked();
            }
            result = 0;
            return true;
        case WM_DRAWCLIPBOARD:
            DrawClipboard();
            return false;
        case WM_CHANGECBCHAIN:
            ChangeClipboardChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
            return false;
        default:
            return false;
    }
}

void MainDialog::DrawClipboard() {
    // The rest of the chain hears of the change before this window works on it, which can
    // mean message boxes and dialogs that wait for the user.
    if (nextViewer != nullptr) {
        ::SendMessageA(nextViewer, WM_DRAWCLIPBOARD, 0, 0);
    }
    // SkipNext waits for the notification of the program's own write, which this is. A
    // refresh that converts consumes it; otherwise, left set, it would hold back the next
    // conversion the user asks for.
    if (skipState == SkipNext && !(refreshAutomatically && autoConvert)) {
        skipState = Idle;
    }
    if (refreshAutomatically) {
        Refresh();
    }
}

void MainDialog::LeaveViewerChain() {
    if (inViewerChain) {
        inViewerChain = false;
        ::ChangeClipboardChain(hwnd, nextViewer);
    }
}

void MainDialog::ChangeClipboardChain(HWND removed, HWND following) {
    if (removed == nextViewer) {
        nextViewer = following;
    } else if (nextViewer != nullptr) {
        ::SendMessageA(nextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                       reinterpret_cast<LPARAM>(following));
    }
}

bool MainDialog::SystemCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case IDM_ABOUTBOX:
            ShowAbout();
            return true;
        case SC_MAXIMIZE:
            return true;
        case SC_CLOSE:
            ExitClicked();
            return true;
        default:
            return false;
    }
}

bool MainDialog::PaintIconic() {
    if (!::IsIconic(hwnd)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    ::SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(hwnd, &client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon);
    ::EndPaint(hwnd, &paint);
    return true;
}

void MainDialog::Refresh() {
    ListClipboard();
    if (autoConvert) {
        Convert();
        ListClipboard();
    }
}

void MainDialog::Convert() {
    ConversionState state{skipState,     saveImages,    unicodeText,
                          flagFormat,    rtfFormat,     currentCodeSetName,
                          loadedCodeSet, allowEntities, selectedLanguageId};
    pipeline.Run(state);
}

void MainDialog::RefreshAutomaticallyClicked() {
    refreshAutomatically = refreshAutomaticallyCheck.IsChecked();
    Window(GetDlgItem(IDC_REFRESH)).Enable(!refreshAutomatically);
    if (refreshAutomatically) {
        // Armed only for a conversion that follows; otherwise the guard would hold back
        // whatever conversion came next.
        if (autoConvert) {
            skipState = Armed;
        }
        Refresh();
    }
}

void MainDialog::AutoConvertClicked() {
    autoConvert = autoConvertCheck.IsChecked();
    Window(GetDlgItem(IDC_CONVERT)).Enable(!autoConvert);
    if (autoConvert) {
        skipState = Armed;
        ConvertClicked();
    }
}

void MainDialog::ConvertClicked() {
    Convert();
    ListClipboard();
}

void MainDialog::EmptyClipboardClicked() {
    if (!clipboard.Open()) {
        Message(Text(IDS_CANNOT_OPEN_CLIPBOARD));
        return;
    }
    clipboard.Empty();
    clipboard.Close();
}

void MainDialog::ExitClicked() {
    // The base class's OK action: exchange the data and end with IDOK.
    Dialog::OnOK();
}

void MainDialog::ShowFormat(unsigned format) {
    displayFormat = format;
    ShowClipboardData();
}

void MainDialog::ShowAbout() {
    CountedPrompts::Showing showing(prompts);
    AboutDialog about(hwnd);
    about.DoModal();
}

void MainDialog::Message(const std::string& text) {
    prompts.Message(text, PromptIcon::Exclamation);
}

std::string MainDialog::Text(unsigned id) {
    return LoadResourceString(id);
}

std::uint16_t MainDialog::SystemLanguageId() {
    return shell.SystemLanguageId();
}
