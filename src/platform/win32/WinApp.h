#pragma once

#include <windows.h>

#include <string>

class Dialog;

// The application object: one per program. WinMain constructs the subclass and calls Run,
// which calls InitInstance; the program's whole life happens inside it.
class WinApp {
public:
    WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;
    virtual ~WinApp();

    // The one application object, or nullptr (e.g. in tests that construct none).
    static WinApp* Current();

    // Calls InitInstance; gives the process exit code.
    int Run(HINSTANCE instance);

    // Start-up; false ends the program when it returns.
    virtual bool InitInstance() { return false; }
    // Commands that no dialog handled (e.g. the help command); true when handled.
    virtual bool OnCommand(int id, int code, Dialog& source);

    HINSTANCE GetInstance() const { return instance; }
    // Loaded from IDS_APP_TITLE when the object is constructed.
    const std::string& GetTitle() const { return title; }

    // The dialog that owns message boxes and dialogs shown without a parent.
    Dialog* mainWindow = nullptr;

protected:
    HINSTANCE instance = nullptr;
    std::string title;
};

// The module whose resources the program uses: the application's instance, or the running
// executable when there is no application object.
HINSTANCE AppResourceInstance();
