#include <cstdio>
#include <string>

#include "platform/Clipboard.h"
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
    if (!clipboard.Open()) {
        Message(Text(IDS_CANNOT_OPEN_CLIPBOARD));
        return;
    }
    formatList.ResetContent();
    availableText = 0;
    int count = 0;
    for (unsigned format = clipboard.EnumFormats(0); format != 0;
         format = clipboard.EnumFormats(format)) {
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

    if (!clipboard.IsFormatAvailable(ClipboardLocale)) {
        clipboardLanguageId = SystemLanguageId();
        clipboardLocaleText.SetText(Text(IDS_NO_LOCALE_INFO));
    } else {
        std::string block;
        // A block too short to hold a language is no more usable than a missing one.
        if (clipboard.GetData(ClipboardLocale, block) != ClipboardRead::Ok || block.size() < 2) {
            clipboardLocaleText.SetText(Text(IDS_LOCALE_HANDLE_NULL));
        } else {
            clipboardLanguageId = static_cast<std::uint16_t>(
                static_cast<unsigned char>(block[0]) | (static_cast<unsigned char>(block[1]) << 8));
            clipboardLocaleText.SetText(
                FormatText(Text(IDS_LOCALE_VALUE).c_str(), clipboardLanguageId));
        }
    }
    clipboard.Close();

    systemLocaleText.SetText(FormatText(Text(IDS_SYSTEM_LOCALE).c_str(), SystemLanguageId()));
    Window(GetDlgItem(IDC_FORMAT_COUNT)).SetText(FormatText(Text(IDS_FORMAT_COUNT).c_str(), count));

    ApplyClipboardLocale();
    UpdateFormatButtons();
    ShowClipboardData();
}
