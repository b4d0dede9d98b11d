#include "platform/win32/Win32Clipboard.h"

#include <cstring>

#include "platform/win32/ScopedWin.h"

namespace {

// A global memory block, freed unless the clipboard has taken it.
struct GlobalBlock : PreparedBlock {
    ~GlobalBlock() override {
        if (handle != nullptr)
            GlobalFree(handle);
    }
    HGLOBAL handle = nullptr;
};

// A movable block holding size bytes of data (zero bytes when data is null); nullptr when it
// can't be allocated or locked.
HGLOBAL NewBlock(const void* data, std::size_t size) {
    HGLOBAL handle = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size);
    if (handle == nullptr || size == 0) {
        return handle;
    }
    ScopedGlobalLock block(handle);
    if (block.Get() == nullptr) {
        GlobalFree(handle);
        return nullptr;
    }
    if (data != nullptr) {
        std::memcpy(block.Get(), data, size);
    } else {
        std::memset(block.Get(), 0, size);
    }
    return handle;
}

}  // namespace

bool Win32Clipboard::Open() {
    return OpenClipboard(window_) != FALSE;
}

void Win32Clipboard::Close() {
    CloseClipboard();
}

bool Win32Clipboard::Empty() {
    return EmptyClipboard() != FALSE;
}

unsigned Win32Clipboard::EnumFormats(unsigned format) {
    return EnumClipboardFormats(format);
}

std::string Win32Clipboard::GetFormatName(unsigned format) {
    char name[256] = {};
    const int length = GetClipboardFormatNameA(format, name, 255);
    if (length <= 0) {
        return std::string();
    }
    return std::string(name, length < 254 ? static_cast<std::size_t>(length) : 254);
}

unsigned Win32Clipboard::RegisterFormat(const std::string& name) {
    return RegisterClipboardFormatA(name.c_str());
}

bool Win32Clipboard::IsFormatAvailable(unsigned format) {
    return IsClipboardFormatAvailable(format) != FALSE;
}

ClipboardRead Win32Clipboard::GetData(unsigned format, std::string& bytes, std::size_t limit) {
    bytes.clear();
    HANDLE handle = GetClipboardData(format);
    if (handle == nullptr) {
        return ClipboardRead::NoHandle;
    }
    ScopedGlobalLock block(handle);
    if (block.Get() == nullptr) {
        return ClipboardRead::LockFailed;
    }
    // The owner's idea of the length can't be trusted: copy no more than the block holds.
    const std::size_t size = GlobalSize(handle);
    bytes.assign(static_cast<const char*>(block.Get()), size < limit ? size : limit);
    return ClipboardRead::Ok;
}

bool Win32Clipboard::SetData(unsigned format, const void* data, std::size_t size) {
    return SetPrepared(format, Prepare(data, size));
}

std::unique_ptr<PreparedBlock> Win32Clipboard::Prepare(const void* data, std::size_t size) {
    auto block = std::make_unique<GlobalBlock>();
    block->handle = NewBlock(data, size);
    if (block->handle == nullptr) {
        return nullptr;
    }
    return block;
}

std::unique_ptr<PreparedBlock> Win32Clipboard::Prepare(std::string&& bytes) {
    std::unique_ptr<PreparedBlock> block = Prepare(bytes.data(), bytes.size());
    // The string's memory goes back at once: the block is a copy.
    std::string().swap(bytes);
    return block;
}

bool Win32Clipboard::SetPrepared(unsigned format, std::unique_ptr<PreparedBlock> block) {
    // On success the clipboard owns the block; otherwise the block frees it.
    auto* global = static_cast<GlobalBlock*>(block.get());
    if (global == nullptr || SetClipboardData(format, global->handle) == nullptr) {
        return false;
    }
    global->handle = nullptr;
    return true;
}

bool Win32Clipboard::SetNoData(unsigned format) {
    // Announcing a format without data is the only use of a null handle, and its result
    // is null as well.
    SetClipboardData(format, nullptr);
    return IsClipboardFormatAvailable(format) != FALSE;
}

bool Win32Clipboard::OwnerResponds() {
    HWND owner = GetClipboardOwner();
    // A window of this thread is called directly and can't keep us waiting.
    if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId()) {
        return true;
    }
    // A hung owner fails at once; a busy one gets kOwnerPatienceMs to answer.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kOwnerPatienceMs, &result) != 0;
}
