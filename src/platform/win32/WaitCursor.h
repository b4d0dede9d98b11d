#pragma once

#include <windows.h>

// Shows the hourglass for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() : previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ::SetCursor(previous); }

private:
    HCURSOR previous;
};
