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
    void Close() override;
    bool Empty() override;
    unsigned EnumFormats(unsigned format) override;
    std::string GetFormatName(unsigned format) override;
    unsigned RegisterFormat(const std::string& name) override;
    bool IsFormatAvailable(unsigned format) override;
    ClipboardRead GetData(unsigned format, std::string& bytes) override;
    bool SetData(unsigned format, const void* data, std::size_t size) override;
    bool SetNoData(unsigned format) override;

private:
    HWND window_;
};
