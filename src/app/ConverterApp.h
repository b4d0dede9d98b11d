#pragma once

#include <string>

#include "platform/win32/WinApp.h"

// The application: start-up (data directory, code set lists, locale table, flag image
// list, rich-edit library) and the main window's modal run, plus help.
class ConverterApp : public WinApp {
public:
    ConverterApp() = default;
    ~ConverterApp() override;

    // The whole run of the program; returns false once the main window has closed.
    bool InitInstance() override;
    // The help command opens the help page beside the program.
    bool OnCommand(int id, int code, Dialog& source) override;

    const std::string& GetHelpPagePath() const { return helpPagePath; }

private:
    void ShowHelp(Dialog& source);

    std::string helpPagePath;
    HMODULE richEditLibrary = nullptr;
};

// The program file's directory as UTF-8, ending in a backslash ("" when it has none).
std::string ProgramDirectory();
