#include "app/ConverterApp.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "codeset/DataDirectory.h"
#include "image/SaveImageDialog.h"
#include "locale/FlagImageList.h"
#include "locale/LocaleTable.h"
#include "platform/FormatText.h"
#include "platform/ProgramPath.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/ResourceString.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Prompts.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/WideText.h"
#include "resource.h"
#include "viewer/CodeSetLists.h"
#include "viewer/MainDialog.h"

std::string ProgramDirectory() {
    const std::string path = ProgramPath();
    std::string::size_type slash = path.rfind('\\');
    if (slash == std::string::npos) {
        return std::string();
    }
    return path.substr(0, slash + 1);
}

ConverterApp::~ConverterApp() {
    if (richEditLibrary != nullptr) {
        ::FreeLibrary(richEditLibrary);
    }
}

bool ConverterApp::InitInstance() {
    // Before anything is loaded by name.
    RestrictDllSearchToSystemFolder();
    SetDataDirectory(ProgramDirectory());
    EnumerateCodeSets();
    // A missing or faulty Locales.def leaves the table empty or partly filled.
    ProgramLocaleTable().Load();
    BuildFlagImageList(ProgramLocaleTable(), ProgramFlagImageList());
    helpPagePath = GetDataDirectory() + HELP_PAGE_NAME;

    // The main window holds a rich-edit 2.0 control.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    richEditLibrary = LoadSystemLibrary(L"riched20.dll");

    Win32Clipboard clipboard(nullptr);  // the main window attaches itself when it starts
    Win32Prompts prompts;
    prompts.SetSaveImageHandler(&AskSaveImageWithDialog);
    Win32Shell shell;
    {
        MainDialog dialog(clipboard, prompts, shell, ProgramLocaleTable(), codeSetFileNames,
                          codeSetDisplayNames, ProgramFlagImageList());
        mainWindow = &dialog;
        dialog.DoModal();
        mainWindow = nullptr;
    }
    return false;
}

bool ConverterApp::OnCommand(int id, int, Dialog& source) {
    if (id != ID_HELP_COMMAND) {
        return false;
    }
    ShowHelp(source);
    return true;
}

void ConverterApp::ShowHelp(Dialog& source) {
    // One page covers the whole program, so every dialog's help context opens it.
    HINSTANCE result = ::ShellExecuteW(source.GetSafeHwnd(), L"open", Widen(helpPagePath).c_str(),
                                       nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        AppMessageBox(
            FormatText(LoadResourceString(IDS_CANNOT_OPEN_HELP).c_str(), helpPagePath.c_str()),
            MB_OK | MB_ICONEXCLAMATION, source.GetSafeHwnd());
    }
}
