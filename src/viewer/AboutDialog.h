#pragma once

#include <windows.h>

#include "platform/win32/Dialog.h"

// The About box: product line with the version and the edition line.
class AboutDialog : public Dialog {
public:
    explicit AboutDialog(HWND parent = nullptr);
    ~AboutDialog() override;

protected:
    void DoDataExchange(bool save) override;

private:
    HFONT boldFont;
};
