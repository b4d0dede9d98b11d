#pragma once

#include <windows.h>

#include "platform/Clipboard.h"

// The system clipboard, opened for one window of the program.
class Win32Clipboard : public Clipboard {
public:
    // The window may be created after this object and handed over with SetOwnerWindow.
    explicit Win32Clipboard(HWND window) : window_(window) {}

    void SetOwnerWindow(void* window) override { window_ = static_cast<HWND>(window); }
    bool Open() override;
    void PauseBeforeRetry() override { Sleep(5); }
    void Close() override;
    bool Empty() override;
    unsigned EnumFormats(unsigned format) override;
    std::string GetFormatName(unsigned format) override;
    unsigned RegisterFormat(const std::string& name) override;
    bool IsFormatAvailable(unsigned format) override;
    using Clipboard::GetData;
    ClipboardRead GetData(unsigned format, std::string& bytes, std::size_t limit) override;
    bool SetData(unsigned format, const void* data, std::size_t size) override;
    bool SetNoData(unsigned format) override;
    // Allocates and fills the global memory block, so that only the hand-over needs the
    // clipboard open.
    std::unique_ptr<PreparedBlock> Prepare(std::string&& bytes) override;
    std::unique_ptr<PreparedBlock> Prepare(const void* data, std::size_t size) override;
    bool SetPrepared(unsigned format, std::unique_ptr<PreparedBlock> block) override;
    unsigned SequenceNumber() override { return GetClipboardSequenceNumber(); }
    bool OwnerResponds() override;

private:
    // How long a clipboard owner of another thread may take to answer.
    static constexpr UINT kOwnerPatienceMs = 200;

    HWND window_;
};
