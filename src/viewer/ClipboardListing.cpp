#include <cstdio>
#include <string>

#include "platform/Clipboard.h"
#include "platform/ClipboardSnapshot.h"
#include "platform/FormatText.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/MainDialog.h"

// One line of the format list; empty when the format gets none (16 and 17, or a missing
// string of the table).
std::string MainDialog::FormatLine(unsigned format) {
    std::string name = clipboard.GetFormatName(format);
    if (!name.empty()) {
        return FormatText(Text(IDS_FORMAT_NAMED).c_str(), static_cast<int>(format), name.c_str());
    }
    if (format >= 1 && format <= 15) {
        std::string text = LoadResourceString(IDS_FORMAT_BASE + format);
        return text.empty() ? text : FormatText(text.c_str(), static_cast<int>(format));
    }
    if (format == ClipboardLocale || format == ClipboardDibV5) {
        return std::string();
    }
    return FormatText(Text(IDS_FORMAT_NO_NAME).c_str(), static_cast<int>(format));
}

void MainDialog::ListClipboard() {
    ShowListing(TakeSnapshot(clipboard, SnapshotFor(false)));
}

void MainDialog::ListClipboardIfChanged() {
    if (!listedSequence || *listedSequence != clipboard.SequenceNumber()) {
        ListClipboard();
    }
}

SnapshotRequest MainDialog::SnapshotFor(bool conversion) const {
    SnapshotRequest request = DisplayRequest();
    // A run that the guard holds back reads nothing.
    request.text = conversion && !pipeline.HoldsBackNextRun();
    request.markerFormat = pipeline.MarkerFormat();
    return request;
}

bool MainDialog::ShowListing(const ClipboardSnapshot& snapshot) {
    if (snapshot.state == ClipboardSnapshot::State::Busy) {
        Message(Text(IDS_CANNOT_OPEN_CLIPBOARD));
        return false;
    }
    listedSequence = snapshot.sequence;
    formatList.ResetContent();
    availableText = 0;
    int count = 0;
    for (unsigned format : snapshot.formats) {
        std::string line = FormatLine(format);
        if (line.empty()) {
            continue;
        }
        ++count;
        if (format == ClipboardText) {
            availableText |= kHasText;
        } else if (format == ClipboardOemText) {
            availableText |= kHasOemText;
        } else if (format == ClipboardUnicodeText) {
            availableText |= kHasUnicodeText;
        }
        if (format == rtfFormat) {
            availableText |= kHasRichText;
        }
        int index = formatList.AddString(line);
        if (index >= 0) {
            formatList.SetItemData(index, static_cast<LPARAM>(format));
        }
    }
    formatList.SetCurSel(0);

    // An owner that does not answer was not asked for the locale: the last one stays.
    if (snapshot.state == ClipboardSnapshot::State::Copied) {
        switch (snapshot.locale) {
            case ClipboardSnapshot::Locale::Absent:
                clipboardLanguageId = SystemLanguageId();
                clipboardLocaleText.SetText(Text(IDS_NO_LOCALE_INFO));
                break;
            case ClipboardSnapshot::Locale::Unreadable:
                clipboardLocaleText.SetText(Text(IDS_LOCALE_HANDLE_NULL));
                break;
            case ClipboardSnapshot::Locale::Read:
                clipboardLanguageId = snapshot.languageId;
                clipboardLocaleText.SetText(
                    FormatText(Text(IDS_LOCALE_VALUE).c_str(), clipboardLanguageId));
                break;
        }
    }

    systemLocaleText.SetText(FormatText(Text(IDS_SYSTEM_LOCALE).c_str(), SystemLanguageId()));
    Window(GetDlgItem(IDC_FORMAT_COUNT)).SetText(FormatText(Text(IDS_FORMAT_COUNT).c_str(), count));

    ApplyClipboardLocale();
    UpdateFormatButtons();
    ShowData(snapshot);
    return true;
}
