#pragma once

#include <string>

#include "platform/win32/Controls.h"
#include "platform/win32/Dialog.h"

struct SaveImageChoice;

// Asks for the file name of a clipboard bitmap about to be saved, with the two options.
// It moves the caller's three values in and out and keeps none of its own; Cancel stores
// them as "&Save" does, only the result differs.
class SaveImageDialog : public Dialog {
public:
    SaveImageDialog();

    // Binds the caller's values (the file name in UTF-8); before the dialog is shown.
    void SetData(std::string& fileName, bool& saveImages, bool& launchEditor);

protected:
    void DoDataExchange(bool save) override;
    bool OnInitDialog() override;
    void OnCancel() override;

private:
    Edit outputPath;
    Button launchEditorBox;
    Button disableSavingBox;
    std::string* fileName = nullptr;
    bool* saveImages = nullptr;
    bool* launchEditor = nullptr;
};

// The save image question of the Win32 prompts (Win32Prompts::SetSaveImageHandler): the
// dialog run modally over the choice; true for "&Save".
bool AskSaveImageWithDialog(SaveImageChoice& choice);
