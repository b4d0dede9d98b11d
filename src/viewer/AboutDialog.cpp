#include "viewer/AboutDialog.h"

#include "platform/FormatText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"

namespace {

// 11 pixels high at 96 DPI, the size of the dialog's 8-point font.
HFONT CreateBoldFont(UINT dpi = kDefaultDpi) {
    LOGFONTA description = {};
    description.lfHeight = -ScaleToDpi(11, dpi);
    description.lfWeight = FW_BOLD;
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(description.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return ::CreateFontIndirectA(&description);
}

}  // namespace

AboutDialog::AboutDialog(HWND parent) : Dialog(IDD_ABOUT, parent), boldFont(CreateBoldFont()) {}

AboutDialog::~AboutDialog() {
    // The static text must not keep drawing with a deleted font.
    DestroyWindow();
    if (boldFont != nullptr) {
        ::DeleteObject(boldFont);
    }
}

void AboutDialog::ApplyBoldFont(UINT dpi) {
    HFONT previous = nullptr;
    if (dpi != boldFontDpi) {
        if (HFONT scaled = CreateBoldFont(dpi)) {
            previous = boldFont;
            boldFont = scaled;
            boldFontDpi = dpi;
        }
    }
    Window(GetDlgItem(IDC_PRODUCT_LINE)).SetFont(boldFont, true);
    // Deleted only once the control no longer draws with it.
    if (previous != nullptr) {
        ::DeleteObject(previous);
    }
}

void AboutDialog::OnDpiChanged(UINT newDpi) {
    ApplyBoldFont(newDpi);
}

void AboutDialog::DoDataExchange(bool save) {
    if (save) {
        return;
    }
    Static productLine;
    BindControl(IDC_PRODUCT_LINE, productLine);
    ApplyBoldFont(GetDpi());
    std::string version = LoadResourceString(IDS_VERSION);
    productLine.SetText(FormatText(LoadResourceString(IDS_PRODUCT_LINE).c_str(), version.c_str()));
}
