#include "WindowTestSupport.h"

#include <memory>

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (static_cast<int>(::GetTickCount() - start) > timeoutMs) {
            return done();
        }
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

namespace {

struct PendingAction {
    std::function<bool()> ready;
    std::function<void()> action;
    std::function<void()> onTimeout;
    DWORD deadline;
};

std::unique_ptr<PendingAction> pending;

void CALLBACK PendingTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (!pending) {
        ::KillTimer(nullptr, id);
        return;
    }
    bool timedOut = static_cast<int>(::GetTickCount() - pending->deadline) > 0;
    if (!timedOut && !pending->ready()) {
        return;
    }
    ::KillTimer(nullptr, id);
    std::unique_ptr<PendingAction> current = std::move(pending);
    if (timedOut) {
        current->onTimeout();
    } else {
        current->action();
    }
}

}  // namespace

void RunWhenReady(std::function<bool()> ready, std::function<void()> action,
                  std::function<void()> onTimeout, int timeoutMs) {
    pending.reset(new PendingAction{std::move(ready), std::move(action), std::move(onTimeout),
                                    ::GetTickCount() + static_cast<DWORD>(timeoutMs)});
    ::SetTimer(nullptr, 0, 20, &PendingTimer);
}

namespace {
struct FindData {
    std::string caption;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM lParam) {
    FindData* data = reinterpret_cast<FindData*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
        WindowText(window) == data->caption) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindOwnWindow(const std::string& caption) {
    FindData data{caption, nullptr};
    ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    ::GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string ClassNameOf(HWND window) {
    char buffer[256] = {};
    ::GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string MessageBoxText(HWND box) {
    // The message is the static control with id 0xFFFF.
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

void LoadRichEdit() {
    static HMODULE library = ::LoadLibraryA("riched20.dll");
    (void)library;
}
