#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>

// Thin wrappers over child windows: each holds the control's HWND and forwards to
// SendMessage, so that dialog code reads like the platform calls it replaces. A wrapper
// does not own its window; the dialog destroys its controls.
class Window {
public:
    Window() = default;
    explicit Window(HWND window) : hwnd(window) {}

    void Attach(HWND window) { hwnd = window; }
    HWND Detach() {
        HWND old = hwnd;
        hwnd = nullptr;
        return old;
    }
    HWND GetSafeHwnd() const { return hwnd; }
    bool IsValid() const { return hwnd != nullptr && ::IsWindow(hwnd) != FALSE; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(hwnd, message, wParam, lParam);
    }

    std::string GetText() const {
        int length = ::GetWindowTextLengthA(hwnd);
        if (length <= 0) {
            return std::string();
        }
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int copied = ::GetWindowTextA(hwnd, &text[0], length + 1);
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    void SetText(const std::string& text) { ::SetWindowTextA(hwnd, text.c_str()); }

    void Enable(bool enable) { ::EnableWindow(hwnd, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(hwnd) != FALSE; }
    void Show(int command) { ::ShowWindow(hwnd, command); }
    bool IsVisible() const { return ::IsWindowVisible(hwnd) != FALSE; }
    int GetControlId() const { return ::GetDlgCtrlID(hwnd); }

    void SetFont(HFONT font, bool redraw = true) {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw ? TRUE : FALSE, 0));
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

protected:
    HWND hwnd = nullptr;
};

// Push button, check box or radio button.
class Button : public Window {
public:
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int state) { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
    void SetChecked(bool checked) { SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }
    // Acts like a user's click: the parent gets BN_CLICKED.
    void Click() { Send(BM_CLICK); }
};

class Static : public Window {
public:
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};

class Edit : public Window {
public:
    void SetSel(int start, int end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void ReplaceSel(const std::string& text) {
        Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void LimitText(int limit) { Send(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }
    void SetReadOnly(bool readOnly) { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
};

class ListBox : public Window {
public:
    // Each gives the index of the line, or LB_ERR / LB_ERRSPACE.
    int AddString(const std::string& text) {
        return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int InsertString(int index, const std::string& text) {
        return static_cast<int>(Send(LB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int index) {
        return static_cast<int>(Send(LB_DELETESTRING, static_cast<WPARAM>(index)));
    }
    void ResetContent() { Send(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    int SetCurSel(int index) {
        return static_cast<int>(Send(LB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, LPARAM data) {
        return static_cast<int>(Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data));
    }
    LPARAM GetItemData(int index) const { return Send(LB_GETITEMDATA, static_cast<WPARAM>(index)); }
    // The line's text; empty for an index out of range.
    std::string GetText(int index) const {
        LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
        if (length == LB_ERR || length <= 0) {
            return std::string();
        }
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT copied =
            Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    // Tab stops in dialog units.
    bool SetTabStops(int count, const int* stops) {
        return Send(LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops)) !=
               FALSE;
    }
};

class ComboBox : public Window {
public:
    // Each gives the index of the item, or CB_ERR / CB_ERRSPACE.
    int AddString(const std::string& text) {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int InsertString(int index, const std::string& text) {
        return static_cast<int>(Send(CB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int index) {
        return static_cast<int>(Send(CB_DELETESTRING, static_cast<WPARAM>(index)));
    }
    void ResetContent() { Send(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) {
        return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, LPARAM data) {
        return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data));
    }
    // CB_ERR for an index out of range.
    LPARAM GetItemData(int index) const { return Send(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    // Selects the first item after start (-1: from the top) whose text begins with text,
    // ignoring case; gives its index or CB_ERR (the selection is then unchanged).
    int SelectString(int start, const std::string& text) {
        return static_cast<int>(Send(CB_SELECTSTRING, static_cast<WPARAM>(start),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    int FindString(int start, const std::string& text) const {
        return static_cast<int>(Send(CB_FINDSTRING, static_cast<WPARAM>(start),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    int FindStringExact(int start, const std::string& text) const {
        return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    // The item's text; empty for an index out of range.
    std::string GetLBText(int index) const {
        LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length == CB_ERR || length <= 0) {
            return std::string();
        }
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT copied =
            Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    // index -1 is the selection field.
    int SetItemHeight(int index, int height) {
        return static_cast<int>(
            Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), static_cast<LPARAM>(height)));
    }
    int GetItemHeight(int index) const {
        return static_cast<int>(Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
    }
    void ShowDropDown(bool show) { Send(CB_SHOWDROPDOWN, show ? TRUE : FALSE); }
    bool GetDroppedState() const { return Send(CB_GETDROPPEDSTATE) != FALSE; }
};

// Rich edit 2.0 ("RichEdit20A"); the library is loaded by start-up before any dialog
// that holds one is created.
class RichEdit : public Window {
public:
    // SetText and ReplaceSel read text that begins with "{\rtf" as Rich Text Format; this
    // shows any text as the characters it holds.
    void SetPlainText(const std::string& text) {
        struct Source {
            const char* next;
            std::size_t left;
        } source{text.data(), text.size()};
        EDITSTREAM stream = {};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        stream.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG wanted,
                                LONG* given) -> DWORD {
            auto* from = reinterpret_cast<Source*>(cookie);
            std::size_t count = from->left < static_cast<std::size_t>(wanted)
                                    ? from->left
                                    : static_cast<std::size_t>(wanted);
            std::memcpy(buffer, from->next, count);
            from->next += count;
            from->left -= count;
            *given = static_cast<LONG>(count);
            return 0;
        };
        Send(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    }
    void SetSel(int start, int end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void ReplaceSel(const std::string& text) {
        Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The default limit of 32767 characters is too small for long clipboard listings.
    void LimitText(int limit) { Send(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(limit)); }
    void SetReadOnly(bool readOnly) { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
    int GetTextLength() const { return ::GetWindowTextLengthA(hwnd); }
};
