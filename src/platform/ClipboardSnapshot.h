#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clipboard.h"

class Clipboard;

// What one operation asks to be copied from the clipboard.
struct SnapshotRequest {
    // The format whose data is shown, or 0 for none; only its first displayLimit bytes are
    // copied.
    unsigned displayFormat = 0;
    std::size_t displayLimit = 0;
    // When displayFormat is not on the clipboard, CF_TEXT is copied in its place (the
    // display falls back to plain text).
    bool displayFallsBackToText = false;
    // The whole text a conversion reads: CF_UNICODETEXT, or else CF_TEXT.
    bool text = false;
    // A clipboard that carries this format holds the program's own output: its text is not
    // copied.
    unsigned markerFormat = 0;
};

// A copy of what the clipboard held, made in one open so that the program works on it
// with the clipboard closed. Everything in it comes from the same content, identified by
// its sequence number.
struct ClipboardSnapshot {
    enum class State {
        Copied,
        Busy,                // another program held the clipboard: nothing was copied
        OwnerNotResponding,  // formats listed, no data asked for (see Clipboard::OwnerResponds)
    };
    enum class Locale {
        Absent,      // no CF_LOCALE on the clipboard
        Unreadable,  // CF_LOCALE without usable data
        Read,
    };

    State state = State::Busy;
    unsigned sequence = 0;
    // In the clipboard's order.
    std::vector<unsigned> formats;
    Locale locale = Locale::Absent;
    std::uint16_t languageId = 0;

    // The format display holds, 0 when none was copied.
    unsigned displayFormat = 0;
    ClipboardRead displayRead = ClipboardRead::NoHandle;
    std::string display;

    // The format text holds (CF_UNICODETEXT or CF_TEXT), 0 when none was copied.
    unsigned textFormat = 0;
    ClipboardRead textRead = ClipboardRead::NoHandle;
    std::string text;

    bool Has(unsigned format) const;
};

// Opens the clipboard, trying again for up to about half a second while another program
// holds it: clipboard managers and .NET programs open it for a moment after every change.
bool OpenClipboardPatiently(Clipboard& clipboard);

// Copies what request asks for in one open of the clipboard.
ClipboardSnapshot TakeSnapshot(Clipboard& clipboard, const SnapshotRequest& request);
