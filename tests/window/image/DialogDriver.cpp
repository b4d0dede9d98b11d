#include "DialogDriver.h"

#include "platform/win32/WideText.h"

const char* const kSaveImageCaption = "Pelimbrance - Saving Clipboard Image to File";

namespace {

struct DriverState {
    DialogDriver::Script script;
    DWORD deadline = 0;
    bool found = false;
    UINT_PTR timer = 0;
};
DriverState* state = nullptr;

HWND FindDialogOfThisThread() {
    HWND window = ::FindWindowA("#32770", kSaveImageCaption);
    if (window != nullptr && ::IsWindowVisible(window) &&
        ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
        return window;
    }
    return nullptr;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    if (state == nullptr || state->timer != timer)
        return;
    HWND dialog = FindDialogOfThisThread();
    if (dialog == nullptr) {
        if (static_cast<LONG>(::GetTickCount() - state->deadline) > 0) {
            ::KillTimer(nullptr, timer);
            state->timer = 0;
        }
        return;
    }
    ::KillTimer(nullptr, timer);
    state->timer = 0;
    state->found = true;
    state->script(dialog);
}

}  // namespace

DialogDriver::DialogDriver(Script script, DWORD timeoutMs) {
    state = new DriverState;
    state->script = std::move(script);
    state->deadline = ::GetTickCount() + timeoutMs;
    state->timer = ::SetTimer(nullptr, 0, 20, &OnTimer);
}

DialogDriver::~DialogDriver() {
    if (state->timer != 0)
        ::KillTimer(nullptr, state->timer);
    delete state;
    state = nullptr;
}

bool DialogDriver::found() const {
    return state->found;
}

std::string DialogDriver::Text(HWND dialog, int id) {
    wchar_t buffer[1024] = {};
    ::GetDlgItemTextW(dialog, id, buffer, 1024);
    return Narrow(std::wstring(buffer));
}

void DialogDriver::Type(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

bool DialogDriver::Checked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void DialogDriver::Click(HWND dialog, int id) {
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void DialogDriver::PressKey(HWND dialog, UINT key) {
    HWND target = ::GetFocus();
    if (target == nullptr)
        target = dialog;
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}
