#include <cstdio>
#include <string>

#include "platform/Clipboard.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/MainDialog.h"

namespace {

// More units than a reader can take in; the listing is cut after the first one beyond.
constexpr std::size_t kMaxListedUnits = 10000;

// "U+%04X " for every unit up to the first zero unit or the end of the block, ten to a
// line. A block of odd size ends with half a unit, which is not shown.
std::string UnitListing(const std::string& block, const std::string& cutText) {
    std::string text;
    char piece[16];
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
        unsigned unit =
            static_cast<unsigned char>(block[i]) | (static_cast<unsigned char>(block[i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        std::snprintf(piece, sizeof piece, "U+%04X ", unit);
        text += piece;
        ++count;
        if (count % 10 == 0) {
            text += "\r\n";
        }
        if (count > kMaxListedUnits) {
            text += cutText;
            break;
        }
    }
    return text;
}

// 8-bit text up to its first zero byte or the end of the block.
std::string BytesUpToZero(const std::string& block) {
    return block.substr(0, block.find('\0'));
}

}  // namespace

void MainDialog::ShowClipboardData() {
    if (!displayData) {
        dataDisplay.SetPlainText(Text(IDS_DISPLAY_NOT_ENABLED));
        return;
    }
    if (!clipboard.Open()) {
        Message(Text(IDS_CANNOT_OPEN_CLIPBOARD));
        dataDisplay.SetPlainText(Text(IDS_CANNOT_DISPLAY));
        return;
    }
    if (!clipboard.IsFormatAvailable(displayFormat)) {
        dataDisplay.SetPlainText(Text(IDS_NO_DATA));
    } else {
        std::string block;
        switch (clipboard.GetData(displayFormat, block)) {
            case ClipboardRead::NoHandle:
                dataDisplay.SetPlainText(Text(IDS_DATA_HANDLE_NULL));
                break;
            case ClipboardRead::LockFailed:
                dataDisplay.SetPlainText("");
                break;
            case ClipboardRead::Ok:
                // Shown as the characters the block holds, Rich Text Format included: the
                // control would take any text that begins with "{\rtf" for a document.
                dataDisplay.SetPlainText(displayFormat == ClipboardUnicodeText
                                             ? UnitListing(block, Text(IDS_TOO_MUCH_DATA))
                                             : BytesUpToZero(block));
                break;
        }
    }
    clipboard.Close();
}

void MainDialog::UpdateFormatButtons() {
    if (!displayData) {
        plainTextRadio.Enable(false);
        oemTextRadio.Enable(false);
        unicodeTextRadio.Enable(false);
        richTextRadio.Enable(false);
        return;
    }
    plainTextRadio.Enable((availableText & kHasText) != 0);
    oemTextRadio.Enable((availableText & kHasOemText) != 0);
    unicodeTextRadio.Enable((availableText & kHasUnicodeText) != 0);
    richTextRadio.Enable((availableText & kHasRichText) != 0);

    auto fallBack = [this](Button& radio) {
        displayFormat = ClipboardText;
        radio.SetChecked(false);
        plainTextRadio.SetChecked(true);
    };
    if (displayFormat == rtfFormat && (availableText & kHasRichText) == 0) {
        fallBack(richTextRadio);
    } else if (displayFormat == ClipboardOemText && (availableText & kHasOemText) == 0) {
        fallBack(oemTextRadio);
    } else if (displayFormat == ClipboardUnicodeText && (availableText & kHasUnicodeText) == 0) {
        fallBack(unicodeTextRadio);
    }
    if (displayFormat == ClipboardText && (availableText & kHasText) == 0) {
        displayData = false;
        displayDataCheck.SetChecked(false);
        DisplayDataClicked();
    }
}

void MainDialog::DisplayDataClicked() {
    displayData = displayDataCheck.IsChecked();
    UpdateFormatButtons();
    ShowClipboardData();
}
