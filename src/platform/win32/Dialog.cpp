#include "platform/win32/Dialog.h"

#include "platform/win32/DialogTemplate.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WinApp.h"
#include "resource.h"

namespace {

// The dialog being created on this thread. Messages arrive before WM_INITDIALOG (e.g.
// WM_MEASUREITEM while an owner-drawn combo box is created), so the dialog procedure
// attaches the window to its object on the first message it sees.
thread_local Dialog* creatingDialog = nullptr;

// Messages whose result is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

// The dialog manager's base units of a font: average width of the Latin letters (rounded)
// and the character height; a dialog unit is a quarter of the first, an eighth of the
// second.
SIZE BaseUnits(HWND window, HFONT font) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    SIZE letters = {};
    ::GetTextExtentPoint32A(dc, kLetters, 52, &letters);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// Says that this program lays its dialogs out again itself (Windows 10 1703 and later
// would otherwise also rescale them).
void KeepDpiChangesToTheProgram(HWND window) {
    using SetBehaviour = BOOL(WINAPI*)(HWND, int, int);
    static const SetBehaviour set =
        SystemFunction<SetBehaviour>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (set != nullptr) {
        const int kDisableAll = 1;  // DDC_DISABLE_ALL
        set(window, kDisableAll, kDisableAll);
    }
}

}  // namespace

// The dialog manager's modal loop passes every message through WH_MSGFILTER hooks first;
// F1 there becomes the help command of the dialog it was pressed in (the platform itself
// does not turn it into WM_HELP everywhere).
LRESULT CALLBACK Dialog::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message != nullptr && message->message == WM_KEYDOWN &&
        message->wParam == VK_F1 && ::GetKeyState(VK_SHIFT) >= 0 &&
        ::GetKeyState(VK_CONTROL) >= 0) {
        HWND root = ::GetAncestor(message->hwnd, GA_ROOT);
        // The procedure reads back as it was set only in the window's own character set.
        auto getLong =
            root != nullptr && ::IsWindowUnicode(root) ? ::GetWindowLongPtrW : ::GetWindowLongPtrA;
        if (root != nullptr &&
            getLong(root, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&Dialog::DialogProc) &&
            ::GetWindowLongPtrA(root, DWLP_USER) != 0) {
            ::SendMessageA(root, WM_COMMAND, ID_HELP_COMMAND, 0);
            return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

Dialog::Dialog(int templateId, HWND parent, DialogText text)
    : templateId(templateId), parent(parent), text(text) {}

Dialog::~Dialog() {
    if (hwnd != nullptr) {
        // The subclass is gone: no message may reach its overrides any more.
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        HWND window = hwnd;
        hwnd = nullptr;
        ::DestroyWindow(window);
    }
    ReleaseScaledFont();
}

HWND Dialog::OwnerWindow() const {
    if (parent != nullptr) {
        return parent;
    }
    WinApp* app = WinApp::Current();
    if (app != nullptr && app->mainWindow != nullptr && app->mainWindow != this) {
        return app->mainWindow->GetSafeHwnd();
    }
    return nullptr;
}

INT_PTR Dialog::DoModal() {
    modal = true;
    ended = false;
    creatingDialog = this;
    HHOOK filter =
        ::SetWindowsHookExA(WH_MSGFILTER, &Dialog::MessageFilter, nullptr, ::GetCurrentThreadId());
    INT_PTR result =
        text == DialogText::Unicode
            ? ::DialogBoxParamW(AppResourceInstance(), MAKEINTRESOURCEW(templateId), OwnerWindow(),
                                &Dialog::DialogProc, reinterpret_cast<LPARAM>(this))
            : ::DialogBoxParamA(AppResourceInstance(), MAKEINTRESOURCEA(templateId), OwnerWindow(),
                                &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (filter != nullptr) {
        ::UnhookWindowsHookEx(filter);
    }
    creatingDialog = nullptr;
    modal = false;
    return result;
}

bool Dialog::Create(HWND parentWindow) {
    if (parentWindow != nullptr) {
        parent = parentWindow;
    }
    modal = false;
    ended = false;
    creatingDialog = this;
    HWND window = text == DialogText::Unicode
                      ? ::CreateDialogParamW(AppResourceInstance(), MAKEINTRESOURCEW(templateId),
                                             OwnerWindow(), &Dialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this))
                      : ::CreateDialogParamA(AppResourceInstance(), MAKEINTRESOURCEA(templateId),
                                             OwnerWindow(), &Dialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    creatingDialog = nullptr;
    if (window == nullptr) {
        return false;
    }
    ::ShowWindow(window, SW_SHOW);
    return true;
}

void Dialog::EndDialog(INT_PTR result) {
    ended = true;
    endResult = result;
    if (hwnd == nullptr) {
        return;
    }
    if (modal) {
        ::EndDialog(hwnd, result);
    } else {
        DestroyWindow();
    }
}

void Dialog::DestroyWindow() {
    if (hwnd != nullptr) {
        ::DestroyWindow(hwnd);
    }
}

bool Dialog::UpdateData(bool save) {
    if (hwnd == nullptr) {
        return false;
    }
    DoDataExchange(save);
    return true;
}

void Dialog::RegisterOwnerDraw(int controlId, OwnerDrawItem* handler) {
    if (handler == nullptr) {
        ownerDraw.erase(controlId);
    } else {
        ownerDraw[controlId] = handler;
    }
}

HFONT Dialog::GetDialogFont() const {
    if (scaledFont != nullptr) {
        return scaledFont;
    }
    return hwnd != nullptr ? reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0))
                           : nullptr;
}

void Dialog::ReleaseScaledFont() {
    if (scaledFont != nullptr) {
        ::DeleteObject(scaledFont);
        scaledFont = nullptr;
    }
}

void Dialog::LayOutForDpi(UINT newDpi, const RECT& suggested) {
    dpi = newDpi;
    DialogTemplateLayout layout;
    if (!ReadDialogTemplateLayout(AppResourceInstance(), templateId, layout) ||
        layout.pointSize == 0) {
        return;
    }
    LOGFONTA description = {};
    description.lfHeight = -::MulDiv(layout.pointSize, static_cast<int>(newDpi), 72);
    description.lfWeight = layout.weight;
    description.lfItalic = layout.italic ? TRUE : FALSE;
    description.lfCharSet = layout.charSet;
    description.lfQuality = PROOF_QUALITY;
    lstrcpynA(description.lfFaceName, layout.faceName.c_str(), LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&description);
    if (font == nullptr) {
        return;
    }
    HFONT oldFont = GetDialogFont();
    SIZE units = BaseUnits(hwnd, font);

    // The dialog manager creates the controls in template order, each below the previous.
    HWND child = ::GetWindow(hwnd, GW_CHILD);
    for (const RECT& item : layout.items) {
        if (child == nullptr) {
            break;
        }
        int x = ::MulDiv(item.left, units.cx, 4);
        int y = ::MulDiv(item.top, units.cy, 8);
        int cx = ::MulDiv(item.right - item.left, units.cx, 4);
        int cy = ::MulDiv(item.bottom - item.top, units.cy, 8);
        if (reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) == oldFont) {
            ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        // A combo box's height is its dropped-down height, as at creation.
        ::SetWindowPos(child, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    ReleaseScaledFont();
    scaledFont = font;

    RECT frame = {0, 0, ::MulDiv(layout.cx, units.cx, 4), ::MulDiv(layout.cy, units.cy, 8)};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_STYLE)),
                           static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_EXSTYLE)), newDpi);
    ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void Dialog::OnDpiChanged(UINT) {}

void Dialog::DoDataExchange(bool) {}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::OnCommand(int, int, HWND) {
    return false;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void Dialog::BindControl(int id, Window& control) {
    control.Attach(GetDlgItem(id));
}

void Dialog::ExchangeCheck(bool save, int id, bool& value) {
    HWND control = GetDlgItem(id);
    if (save) {
        value = ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    } else {
        ::SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Dialog::ExchangeText(bool save, int id, std::string& value) {
    Window control(GetDlgItem(id));
    if (save) {
        value = control.GetText();
    } else {
        control.SetText(value);
    }
}

void Dialog::ExchangeUnicodeText(bool save, int id, std::string& value) {
    Window control(GetDlgItem(id));
    if (save) {
        value = control.GetUnicodeText();
    } else {
        control.SetUnicodeText(value);
    }
}

void Dialog::RouteCommand(int id, int code, HWND control) {
    if (OnCommand(id, code, control)) {
        return;
    }
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else if (control == nullptr) {
        // Menu, accelerator and program commands (help) are the application's; control
        // notifications stay with the dialog.
        if (WinApp* app = WinApp::Current()) {
            app->OnCommand(id, code, *this);
        }
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) {
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<Dialog*>(lParam);
        } else {
            self = creatingDialog;
        }
        if (self == nullptr || (self->hwnd != nullptr && self->hwnd != window)) {
            return FALSE;
        }
        self->hwnd = window;
        self->dpi = WindowDpi(window);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        creatingDialog = nullptr;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd;
    switch (message) {
        case WM_INITDIALOG:
            KeepDpiChangesToTheProgram(window);
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            RouteCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM: {
            auto found = ownerDraw.find(static_cast<int>(wParam));
            if (found == ownerDraw.end()) {
                break;
            }
            if (message == WM_DRAWITEM) {
                found->second->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            } else if (message == WM_MEASUREITEM) {
                found->second->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            } else {
                found->second->DeleteItem(*reinterpret_cast<const DELETEITEMSTRUCT*>(lParam));
            }
            ::SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        case WM_DPICHANGED:
            LayOutForDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            OnDpiChanged(dpi);
            ::SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_HELP:
            RouteCommand(ID_HELP_COMMAND, 0, nullptr);
            ::SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        default:
            break;
    }

    LRESULT result = 0;
    bool handled = OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        // The window is gone; the object may live on (modal runs, tests).
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        hwnd = nullptr;
        ReleaseScaledFont();
    }
    if (!handled) {
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(result);
    }
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
