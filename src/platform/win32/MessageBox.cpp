#include "platform/win32/MessageBox.h"

#include "platform/win32/Dialog.h"
#include "platform/win32/ResourceString.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinApp.h"
#include "resource.h"

std::string AppTitle() {
    WinApp* app = WinApp::Current();
    if (app != nullptr && !app->GetTitle().empty()) {
        return app->GetTitle();
    }
    return LoadResourceString(IDS_APP_TITLE);
}

int AppMessageBox(const std::string& text, UINT type, HWND owner) {
    if (owner == nullptr) {
        WinApp* app = WinApp::Current();
        if (app != nullptr && app->mainWindow != nullptr) {
            owner = app->mainWindow->GetSafeHwnd();
        }
    }
    return ::MessageBoxW(owner, Widen(text).c_str(), Widen(AppTitle()).c_str(), type);
}

int AppMessageBox(UINT stringId, UINT type, HWND owner) {
    return AppMessageBox(LoadResourceString(stringId), type, owner);
}
