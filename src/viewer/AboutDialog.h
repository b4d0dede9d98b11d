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
    void OnDpiChanged(UINT newDpi) override;

private:
    // The product line's bold font at dpi, set on the control.
    void ApplyBoldFont(UINT dpi);

    HFONT boldFont;
    UINT boldFontDpi = kDefaultDpi;
};
