#include "platform/win32/Win32Prompts.h"

#include <windows.h>

#include "platform/win32/MessageBox.h"

void Win32Prompts::Message(const std::string& text, PromptIcon icon) {
    AppMessageBox(text, MB_OK | static_cast<UINT>(icon));
}

bool Win32Prompts::AskSaveImage(SaveImageChoice& choice) {
    if (!saveImageHandler) {
        return false;
    }
    return saveImageHandler(choice);
}
