#include "image/SaveImageDialog.h"

#include "platform/Prompts.h"
#include "resource.h"

// Unicode, so that a path in any script can be typed and shown.
SaveImageDialog::SaveImageDialog() : Dialog(IDD_SAVE_IMAGE, nullptr, DialogText::Unicode) {}

void SaveImageDialog::SetData(std::string& fileNameValue, bool& saveImagesValue,
                              bool& launchEditorValue) {
    fileName = &fileNameValue;
    saveImages = &saveImagesValue;
    launchEditor = &launchEditorValue;
}

void SaveImageDialog::DoDataExchange(bool save) {
    BindControl(IDC_OUTPUT_PATH, outputPath);
    BindControl(IDC_LAUNCH_EDITOR, launchEditorBox);
    BindControl(IDC_DISABLE_SAVING, disableSavingBox);
    if (fileName == nullptr)
        return;
    ExchangeUnicodeText(save, IDC_OUTPUT_PATH, *fileName);
    ExchangeCheck(save, IDC_LAUNCH_EDITOR, *launchEditor);
    // The box asks the opposite question to the value it sets.
    bool disable = !*saveImages;
    ExchangeCheck(save, IDC_DISABLE_SAVING, disable);
    if (save)
        *saveImages = !disable;
}

bool SaveImageDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // The template asks for a system-modal dialog; topmost is what that means today.
    ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetFocus(hwnd);
    // true: the dialog manager puts the focus on the first tab stop, the output path.
    return true;
}

void SaveImageDialog::OnCancel() {
    UpdateData(true);
    Dialog::OnCancel();
}

bool AskSaveImageWithDialog(SaveImageChoice& choice) {
    SaveImageDialog dialog;
    dialog.SetData(choice.fileName, choice.saveImages, choice.launchEditor);
    return dialog.DoModal() == IDOK;
}
