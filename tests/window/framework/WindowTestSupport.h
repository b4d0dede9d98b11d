#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Dispatches this thread's messages until done() is true or timeoutMs has passed; gives
// done()'s last value.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs action on this thread from inside the next message loop (e.g. a modal run) as soon
// as ready() is true; after timeoutMs it runs onTimeout instead, so a test never hangs.
void RunWhenReady(std::function<bool()> ready, std::function<void()> action,
                  std::function<void()> onTimeout, int timeoutMs = 5000);

// A visible top-level window of this process with the caption, or nullptr.
HWND FindOwnWindow(const std::string& caption);
std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
// Text of the first static control of a message box (its message).
std::string MessageBoxText(HWND box);

// Loads the rich-edit library once for the tests that create the main window template.
void LoadRichEdit();

// A 32-bit memory surface whose pixels can be compared exactly.
class Surface {
public:
    Surface(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(dc, bitmap);
    }
    ~Surface() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }

    int width;
    int height;
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
};
