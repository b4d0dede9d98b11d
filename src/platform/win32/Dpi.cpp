#include "platform/win32/Dpi.h"

#include "platform/win32/SystemLibrary.h"

namespace {

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFunction getDpiForWindow =
        SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const AdjustFunction adjustForDpi =
        SystemFunction<AdjustFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}
