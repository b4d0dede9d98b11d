#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <utility>

// Standard clipboard format numbers (the platform's values).
constexpr unsigned ClipboardText = 1;          // CF_TEXT
constexpr unsigned ClipboardBitmap = 2;        // CF_BITMAP
constexpr unsigned ClipboardOemText = 7;       // CF_OEMTEXT
constexpr unsigned ClipboardDib = 8;           // CF_DIB
constexpr unsigned ClipboardUnicodeText = 13;  // CF_UNICODETEXT
constexpr unsigned ClipboardLocale = 16;       // CF_LOCALE
constexpr unsigned ClipboardDibV5 = 17;        // CF_DIBV5

// Outcome of reading one format's data block.
enum class ClipboardRead {
    Ok,          // bytes hold the whole block, exactly its real size
    NoHandle,    // the format has no data (set with none, or the owner failed to render)
    LockFailed,  // the data exists but can't be reached
};

// A data block made ready while the clipboard is closed, so that an open only hands it over.
// Each clipboard takes only the blocks it prepared.
struct PreparedBlock {
    virtual ~PreparedBlock() = default;
    std::string bytes;  // the block of a clipboard that keeps blocks in memory
};

// The system clipboard as the program uses it; shaped like the Win32 calls so that the
// callers read like the platform code they replace. Everything runs on one thread.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // The window the clipboard is opened for and owned by (an HWND on Windows), handed over
    // by the main window once it exists.
    virtual void SetOwnerWindow(void* window) = 0;
    // false when another program holds the clipboard.
    virtual bool Open() = 0;
    // Between two attempts to open: gives the holder a moment. A simulated clipboard needs
    // none.
    virtual void PauseBeforeRetry() {}
    virtual void Close() = 0;
    virtual bool Empty() = 0;
    // 0 gives the first format; a format gives the next one; 0 at the end.
    virtual unsigned EnumFormats(unsigned format) = 0;
    // The registered name, cut to 254 characters; empty for formats without a name.
    virtual std::string GetFormatName(unsigned format) = 0;
    // The same number for the same name in every program; 0 on failure.
    virtual unsigned RegisterFormat(const std::string& name) = 0;
    // May be called while the clipboard is closed.
    virtual bool IsFormatAvailable(unsigned format) = 0;
    // Copies the first limit bytes of the block of a format, never more than its real size.
    virtual ClipboardRead GetData(unsigned format, std::string& bytes, std::size_t limit) = 0;
    ClipboardRead GetData(unsigned format, std::string& bytes) {
        return GetData(format, bytes, (std::numeric_limits<std::size_t>::max)());
    }
    // Puts a new block of exactly size bytes under the format, replacing an earlier one;
    // false when the block can't be allocated or the clipboard refuses it.
    virtual bool SetData(unsigned format, const void* data, std::size_t size) = 0;
    // SetData for a block that the caller hands over, all of bytes: a clipboard that keeps
    // blocks in memory takes the string instead of copying it; the others copy.
    virtual bool SetOwnedData(unsigned format, std::string&& bytes) {
        return SetData(format, bytes.data(), bytes.size());
    }
    // A block of exactly these bytes for a later SetPrepared; nullptr when it can't be
    // allocated.
    virtual std::unique_ptr<PreparedBlock> Prepare(std::string&& bytes) {
        auto block = std::make_unique<PreparedBlock>();
        block->bytes = std::move(bytes);
        return block;
    }
    virtual std::unique_ptr<PreparedBlock> Prepare(const void* data, std::size_t size) {
        return Prepare(std::string(static_cast<const char*>(data), size));
    }
    // SetData with a block of Prepare, which it takes over whatever the result.
    virtual bool SetPrepared(unsigned format, std::unique_ptr<PreparedBlock> block) {
        return block != nullptr && SetOwnedData(format, std::move(block->bytes));
    }
    // Announces the format with no data.
    virtual bool SetNoData(unsigned format) = 0;
    // Advances with every change of the content; may be called while the clipboard is
    // closed.
    virtual unsigned SequenceNumber() = 0;
    // false when the clipboard's owner is a window of another thread that does not answer
    // within a few hundred milliseconds: asking it for data it renders on demand would wait
    // for it, with the clipboard held open against everyone else.
    virtual bool OwnerResponds() = 0;
};
