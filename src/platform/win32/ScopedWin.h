#pragma once

#include <windows.h>

// Pairs of Win32 calls bound to a scope, so that no return path misses the second one.

// GlobalLock for the lifetime of the object; Get is nullptr when the lock failed.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL handle) : handle(handle), data(::GlobalLock(handle)) {}
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    ~ScopedGlobalLock() {
        if (data != nullptr)
            ::GlobalUnlock(handle);
    }
    void* Get() const { return data; }

private:
    HGLOBAL handle;
    void* data;
};

// OpenClipboard for the lifetime of the object; IsOpen is false when another program holds
// the clipboard.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner) : open(::OpenClipboard(owner) != FALSE) {}
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    ~ScopedClipboard() {
        if (open)
            ::CloseClipboard();
    }
    bool IsOpen() const { return open; }

private:
    bool open;
};
