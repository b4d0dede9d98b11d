#include "viewer/AboutDialog.h"

#include "platform/FormatText.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"

namespace {

HFONT CreateBoldFont() {
    LOGFONTA description = {};
    description.lfHeight = -11;
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

void AboutDialog::DoDataExchange(bool save) {
    if (save) {
        return;
    }
    Static productLine;
    BindControl(IDC_PRODUCT_LINE, productLine);
    productLine.SetFont(boldFont, true);
    std::string version = LoadResourceString(IDS_VERSION);
    productLine.SetText(FormatText(LoadResourceString(IDS_PRODUCT_LINE).c_str(), version.c_str()));
}
