#pragma once

#include <windows.h>

// Display scale. Sizes given for 96 DPI (100 %) are scaled to the DPI a window is laid out
// for. The per-monitor functions exist from Windows 10 1607 and in recent Wine; they are
// looked up at run time, and elsewhere the screen's system DPI stands for every window.
constexpr UINT kDefaultDpi = 96;

// The DPI the window is laid out for.
UINT WindowDpi(HWND window);

// A length of value pixels at 96 DPI, at dpi; rounded to the nearest pixel.
inline int ScaleToDpi(int value, UINT dpi) {
    return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

// The window rectangle for a client rectangle, with the frame sizes at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
