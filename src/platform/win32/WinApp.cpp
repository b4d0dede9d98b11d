#include "platform/win32/WinApp.h"

#include "platform/win32/ResourceString.h"
#include "resource.h"

namespace {
WinApp* currentApp = nullptr;
}

WinApp::WinApp() {
    currentApp = this;
    instance = ::GetModuleHandleA(nullptr);
    title = LoadResourceString(IDS_APP_TITLE);
}

WinApp::~WinApp() {
    if (currentApp == this) {
        currentApp = nullptr;
    }
}

WinApp* WinApp::Current() {
    return currentApp;
}

int WinApp::Run(HINSTANCE programInstance) {
    if (programInstance != nullptr) {
        instance = programInstance;
    }
    // InitInstance holds the program's whole life (the main window's modal run); its
    // false result is the normal end.
    InitInstance();
    mainWindow = nullptr;
    return 0;
}

bool WinApp::OnCommand(int, int, Dialog&) {
    return false;
}

HINSTANCE AppResourceInstance() {
    WinApp* app = WinApp::Current();
    if (app != nullptr && app->GetInstance() != nullptr) {
        return app->GetInstance();
    }
    return ::GetModuleHandleA(nullptr);
}
