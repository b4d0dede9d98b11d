#pragma once

#include <windows.h>

#include <string>

// The application title (string 57344, "Pelimbrance"); the application object's title
// when there is one.
std::string AppTitle();

// A modal message box captioned with the application title. type: MB_* buttons and icon.
// owner nullptr: the application's main window, when it exists. text is UTF-8, so a path
// in it shows as it is (the string table's texts are ASCII, the same in both).
int AppMessageBox(const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION,
                  HWND owner = nullptr);
// The same with the text of a string resource.
int AppMessageBox(UINT stringId, UINT type = MB_OK | MB_ICONEXCLAMATION, HWND owner = nullptr);
