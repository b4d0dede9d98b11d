#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Acts on the save image dialog while its modal loop runs: a timer of this thread looks for
// the dialog and, once it is shown, runs the script on it (as a user would act on it).
// found() tells afterwards whether the dialog appeared before the deadline.
class DialogDriver {
public:
    using Script = std::function<void(HWND dialog)>;

    explicit DialogDriver(Script script, DWORD timeoutMs = 20000);
    ~DialogDriver();
    bool found() const;

    // What a user does and sees; texts are UTF-8.
    static std::string Text(HWND dialog, int id);
    static void Type(HWND dialog, int id, const std::string& text);
    static bool Checked(HWND dialog, int id);
    static void Click(HWND dialog, int id);
    // Keys go through the modal loop's message queue, as typed keys do.
    static void PressKey(HWND dialog, UINT key);
};

// The caption of the save image dialog.
extern const char* const kSaveImageCaption;
