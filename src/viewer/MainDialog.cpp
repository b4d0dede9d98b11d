#include "viewer/MainDialog.h"

#include <utility>

#include "locale/LocaleTable.h"
#include "platform/Clipboard.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/AboutDialog.h"

namespace {

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
      imageSaver(clipboard, this->prompts, shell, SaverTexts()) {
    icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PELIMBRANCE));
    // A bare name: the file is looked up in the data directory. A missing file leaves the
    // holder empty; the first conversion then reports it.
    pipeline.LoadCodeSet(currentCodeSetName);
    pipeline.messages = PipelineMessages();
    pipeline.saveClipboardImage = [this] { SaveClipboardImage(); };
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
        // The members follow their check boxes through the click handlers already; the
        // options a run needs are read from their boxes when it begins.
        return;
    }
    plainTextRadio.SetChecked(true);
    refreshAutomaticallyCheck.SetChecked(refreshAutomatically);
    autoConvertCheck.SetChecked(autoConvert);
    useClipboardLocaleCheck.SetChecked(useClipboardLocale);
    codeSetFollowsLocaleCheck.SetChecked(codeSetFollowsLocale);
    displayDataCheck.SetChecked(displayData);
    toHexaCheck.SetChecked(false);
    allowEntitiesCheck.SetChecked(false);
    saveImagesCheck.SetChecked(false);
}

bool MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // The clipboard is opened for this window, which exists only from now on.
    clipboard.SetOwnerWindow(hwnd);
    // A full Unicode listing is about 72,000 characters.
    dataDisplay.LimitText(1 << 20);

    localeCombo.FitToFont(GetDpi());
    localeCombo.FillFromLocaleTable();
    localeCombo.SelectLocale(selectedLocaleCode.c_str(), 0);
    FillCodeSetList();
    rtfFormat = pipeline.RichTextFormat();
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

// One line per command the window handles: a notification that no line names is taken
// and ignored when its control has a line at all.
const MainDialog::CommandRoute MainDialog::kCommands[] = {
    {IDC_REFRESH, BN_CLICKED, &MainDialog::Refresh},
    {IDC_REFRESH_AUTO, BN_CLICKED, &MainDialog::RefreshAutomaticallyClicked},
    {IDC_EMPTY_CLIPBOARD, BN_CLICKED, &MainDialog::EmptyClipboardClicked},
    {IDC_PLAIN_TEXT, BN_CLICKED, &MainDialog::PlainTextClicked},
    {IDC_OEM_TEXT, BN_CLICKED, &MainDialog::OemTextClicked},
    {IDC_RICH_TEXT, BN_CLICKED, &MainDialog::RichTextClicked},
    {IDC_UNICODE_TEXT, BN_CLICKED, &MainDialog::UnicodeTextClicked},
    {IDC_CONVERT, BN_CLICKED, &MainDialog::ConvertClicked},
    {IDC_AUTO_CONVERT, BN_CLICKED, &MainDialog::AutoConvertClicked},
    {IDC_EXIT, BN_CLICKED, &MainDialog::ExitClicked},
    {IDC_CODE_SET, CBN_SELCHANGE, &MainDialog::CodeSetSelected},
    {IDC_CODE_SET, CBN_SELENDOK, &MainDialog::CodeSetChosenByHand},
    {IDC_DISPLAY_DATA, BN_CLICKED, &MainDialog::DisplayDataClicked},
    {IDC_ABOUT, BN_CLICKED, &MainDialog::ShowAbout},
    {IDC_CODESET_FOLLOWS_LOCALE, BN_CLICKED, &MainDialog::CodeSetFollowsLocaleClicked},
    {IDC_USE_CLIPBOARD_LOCALE, BN_CLICKED, &MainDialog::UseClipboardLocaleClicked},
    {IDC_LOCALE, CBN_SELCHANGE, &MainDialog::LocaleSelected},
    {IDC_LOCALE, CBN_SELENDOK, &MainDialog::LocaleChosenByHand},
    {IDC_HELP_BUTTON, BN_CLICKED, &MainDialog::HelpClicked},
    // Read from their boxes when needed: the clicks need nothing more.
    {IDC_ALLOW_ENTITIES, BN_CLICKED, nullptr},
    {IDC_SAVE_IMAGES, BN_CLICKED, nullptr},
    {IDC_TO_HEXA, BN_CLICKED, nullptr},
};

bool MainDialog::OnCommand(int id, int code, HWND) {
    bool known = false;
    for (const CommandRoute& route : kCommands) {
        if (route.id != id) {
            continue;
        }
        known = true;
        if (route.code == code && route.handler != nullptr) {
            (this->*route.handler)();
            return true;
        }
    }
    return known;
}

void MainDialog::PlainTextClicked() {
    ShowFormat(ClipboardText);
}

void MainDialog::OemTextClicked() {
    ShowFormat(ClipboardOemText);
}

void MainDialog::RichTextClicked() {
    ShowFormat(rtfFormat);
}

void MainDialog::UnicodeTextClicked() {
    ShowFormat(ClipboardUnicodeText);
}

void MainDialog::CodeSetChosenByHand() {
    codeSetFollowsLocale = false;
    codeSetFollowsLocaleCheck.SetChecked(false);
}

void MainDialog::LocaleChosenByHand() {
    useClipboardLocale = false;
    useClipboardLocaleCheck.SetChecked(false);
    unsupportedLanguageTold = -1;
}

void MainDialog::HelpClicked() {
    // The application object shows the help topic of this window.
    ::SendMessageA(hwnd, WM_COMMAND, ID_HELP_COMMAND, 0);
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

void MainDialog::OnDpiChanged(UINT newDpi) {
    localeCombo.FitToFont(newDpi);
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
    if (!(refreshAutomatically && autoConvert)) {
        pipeline.ForgetOwnWrite();
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
    // One copy for the listing and the run: the code set chosen from the clipboard's locale
    // is the one of the text that is converted.
    const bool converts = autoConvert;
    ClipboardSnapshot snapshot = TakeSnapshot(clipboard, SnapshotFor(converts));
    const bool listed = ShowListing(snapshot);
    if (converts) {
        pipeline.Run(Settings(), std::move(snapshot));
        if (listed) {
            ListClipboardIfChanged();
        }
    }
}

void MainDialog::Convert() {
    pipeline.Run(Settings());
}

ConversionSettings MainDialog::Settings() const {
    ConversionSettings settings;
    settings.codeSetName = currentCodeSetName;
    settings.allowEntities = allowEntitiesCheck.IsChecked();
    settings.languageId = selectedLanguageId;
    settings.saveImages = saveImagesCheck.IsChecked();
    return settings;
}

void MainDialog::SaveClipboardImage() {
    // The box shows the dialog's answer before the file is written, so that a run that
    // starts meanwhile (a message box of the save lets one in) offers no second image.
    if (std::optional<ImageSaver::Answer> answer = imageSaver.Ask(saveImagesCheck.IsChecked())) {
        saveImagesCheck.SetChecked(answer->choice.saveImages);
        imageSaver.Finish(*answer);
    }
}

void MainDialog::RefreshAutomaticallyClicked() {
    refreshAutomatically = refreshAutomaticallyCheck.IsChecked();
    Window(GetDlgItem(IDC_REFRESH)).Enable(!refreshAutomatically);
    if (refreshAutomatically) {
        // Armed only for a conversion that follows; otherwise the guard would hold back
        // whatever conversion came next.
        if (autoConvert) {
            pipeline.Arm();
        }
        Refresh();
    }
}

void MainDialog::AutoConvertClicked() {
    autoConvert = autoConvertCheck.IsChecked();
    Window(GetDlgItem(IDC_CONVERT)).Enable(!autoConvert);
    if (autoConvert) {
        pipeline.Arm();
        ConvertClicked();
    }
}

void MainDialog::ConvertClicked() {
    Convert();
    ListClipboardIfChanged();
}

void MainDialog::EmptyClipboardClicked() {
    if (!OpenClipboardPatiently(clipboard)) {
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
