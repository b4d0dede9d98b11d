#include "platform/ClipboardSnapshot.h"

#include <algorithm>
#include <chrono>

#include "platform/Clipboard.h"

namespace {

// About half a second: on Windows a pause lasts at least a timer tick (15.6 ms), under
// Wine about the 5 ms asked for.
constexpr std::chrono::milliseconds kOpenPatience(500);
constexpr int kOpenAttempts = 100;

}  // namespace

bool ClipboardSnapshot::Has(unsigned format) const {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

bool OpenClipboardPatiently(Clipboard& clipboard) {
    const auto deadline = std::chrono::steady_clock::now() + kOpenPatience;
    for (int attempt = 1; !clipboard.Open(); ++attempt) {
        if (attempt >= kOpenAttempts || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        clipboard.PauseBeforeRetry();
    }
    return true;
}

ClipboardSnapshot TakeSnapshot(Clipboard& clipboard, const SnapshotRequest& request) {
    ClipboardSnapshot snapshot;
    if (!OpenClipboardPatiently(clipboard)) {
        return snapshot;
    }
    for (unsigned format = clipboard.EnumFormats(0); format != 0;
         format = clipboard.EnumFormats(format)) {
        snapshot.formats.push_back(format);
    }
    // Listing the formats asks nothing of the owner; every read of data may.
    if (!clipboard.OwnerResponds()) {
        snapshot.state = ClipboardSnapshot::State::OwnerNotResponding;
        snapshot.sequence = clipboard.SequenceNumber();
        clipboard.Close();
        return snapshot;
    }
    snapshot.state = ClipboardSnapshot::State::Copied;

    if (snapshot.Has(ClipboardLocale)) {
        std::string block;
        // A block too short to hold a language is no more usable than a missing one.
        if (clipboard.GetData(ClipboardLocale, block, 4) == ClipboardRead::Ok &&
            block.size() >= 2) {
            snapshot.locale = ClipboardSnapshot::Locale::Read;
            snapshot.languageId = static_cast<std::uint16_t>(
                static_cast<unsigned char>(block[0]) | (static_cast<unsigned char>(block[1]) << 8));
        } else {
            snapshot.locale = ClipboardSnapshot::Locale::Unreadable;
        }
    }

    unsigned display = request.displayFormat;
    if (display != 0 && !snapshot.Has(display) && request.displayFallsBackToText) {
        display = ClipboardText;
    }
    if (display != 0 && snapshot.Has(display)) {
        snapshot.displayFormat = display;
        snapshot.displayRead = clipboard.GetData(display, snapshot.display, request.displayLimit);
    }

    if (request.text && !(request.markerFormat != 0 && snapshot.Has(request.markerFormat))) {
        if (snapshot.Has(ClipboardUnicodeText)) {
            snapshot.textFormat = ClipboardUnicodeText;
        } else if (snapshot.Has(ClipboardText)) {
            snapshot.textFormat = ClipboardText;
        }
        if (snapshot.textFormat != 0) {
            snapshot.textRead = clipboard.GetData(snapshot.textFormat, snapshot.text);
        }
    }
    // Taken after the reads: an owner that renders on demand writes while we read.
    snapshot.sequence = clipboard.SequenceNumber();
    clipboard.Close();
    return snapshot;
}
