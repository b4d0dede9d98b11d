#include <cstdio>
#include <string>

#include "platform/Clipboard.h"
#include "platform/ClipboardSnapshot.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/MainDialog.h"

namespace {

// More units than a reader can take in; the listing is cut after the first one beyond.
constexpr std::size_t kMaxListedUnits = 10000;
// The most of an 8-bit text that is shown. The rich-edit control lays out all it is given,
// at about 1.5 ms per KiB of wrapped text and 5 us per line under Wine: 32 KiB or 1000 lines
// fill it no slower than the 10,000 units of a Unicode listing.
constexpr std::size_t kMaxShownBytes = 32 * 1024;
constexpr std::size_t kMaxShownLines = 1000;
// Copied of the displayed format: one byte more than is shown tells whether it was cut.
constexpr std::size_t kDisplayCopyLimit = kMaxShownBytes + 1 > 2 * (kMaxListedUnits + 1)
                                              ? kMaxShownBytes + 1
                                              : 2 * (kMaxListedUnits + 1);

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

// 8-bit text up to its first zero byte or the end of the block, cut after kMaxShownBytes
// or kMaxShownLines lines.
std::string BytesUpToZero(const std::string& block, const std::string& cutText) {
    std::size_t end = block.find('\0');
    if (end == std::string::npos) {
        end = block.size();
    }
    std::size_t shown = end < kMaxShownBytes ? end : kMaxShownBytes;
    std::size_t lines = 0;
    for (std::size_t at = block.find('\n'); at < shown; at = block.find('\n', at + 1)) {
        if (++lines == kMaxShownLines) {
            shown = at + 1;
            break;
        }
    }
    std::string text = block.substr(0, shown);
    if (shown < end) {
        text += cutText;
    }
    return text;
}

}  // namespace

SnapshotRequest MainDialog::DisplayRequest() const {
    SnapshotRequest request;
    if (displayData) {
        request.displayFormat = displayFormat;
        request.displayLimit = kDisplayCopyLimit;
        request.displayFallsBackToText = true;
    }
    return request;
}

void MainDialog::ShowClipboardData() {
    if (!displayData) {
        dataDisplay.SetPlainText(Text(IDS_DISPLAY_NOT_ENABLED));
        return;
    }
    ClipboardSnapshot snapshot = TakeSnapshot(clipboard, DisplayRequest());
    if (snapshot.state == ClipboardSnapshot::State::Busy) {
        Message(Text(IDS_CANNOT_OPEN_CLIPBOARD));
    }
    ShowData(snapshot);
}

void MainDialog::ShowData(const ClipboardSnapshot& snapshot) {
    if (!displayData) {
        dataDisplay.SetPlainText(Text(IDS_DISPLAY_NOT_ENABLED));
        return;
    }
    switch (snapshot.state) {
        case ClipboardSnapshot::State::Busy:
            dataDisplay.SetPlainText(Text(IDS_CANNOT_DISPLAY));
            return;
        case ClipboardSnapshot::State::OwnerNotResponding:
            dataDisplay.SetPlainText(Text(IDS_OWNER_NOT_RESPONDING));
            return;
        case ClipboardSnapshot::State::Copied:
            break;
    }
    if (snapshot.displayFormat != displayFormat) {
        dataDisplay.SetPlainText(Text(IDS_NO_DATA));
        return;
    }
    switch (snapshot.displayRead) {
        case ClipboardRead::NoHandle:
            dataDisplay.SetPlainText(Text(IDS_DATA_HANDLE_NULL));
            break;
        case ClipboardRead::LockFailed:
            dataDisplay.SetPlainText("");
            break;
        case ClipboardRead::Ok:
            // Shown as the characters the block holds, Rich Text Format included: the
            // control would take any text that begins with "{\rtf" for a document.
            dataDisplay.SetPlainText(
                displayFormat == ClipboardUnicodeText
                    ? UnitListing(snapshot.display, Text(IDS_TOO_MUCH_DATA))
                    : BytesUpToZero(snapshot.display, Text(IDS_TOO_MUCH_DATA)));
            break;
    }
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
