#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>

#include "platform/win32/WideText.h"

// Thin wrappers over child windows: each holds the control's HWND and forwards to
// SendMessage, so that dialog code reads like the platform calls it replaces. A wrapper
// does not own its window; the dialog destroys its controls.
class Window {
public:
    Window() = default;
    explicit Window(HWND window) : hwnd(window) {}

    void Attach(HWND window) { hwnd = window; }
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
    // The text as UTF-8 through the wide calls: every character of a Unicode window's text.
    std::string GetUnicodeText() const {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
        int copied = ::GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()));
        return Narrow(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
    }
    void SetUnicodeText(const std::string& text) { ::SetWindowTextW(hwnd, Widen(text).c_str()); }

    void Enable(bool enable) { ::EnableWindow(hwnd, enable ? TRUE : FALSE); }

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
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetChecked(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
    // Acts like a user's click: the parent gets BN_CLICKED.
    void Click() { Send(BM_CLICK); }
};

class Static : public Window {};

class Edit : public Window {};

class ListBox : public Window {
public:
    // Each gives the index of the line, or LB_ERR / LB_ERRSPACE.
    int AddString(const std::string& text) {
        return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
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
};

class ComboBox : public Window {
public:
    // Each gives the index of the item, or CB_ERR / CB_ERRSPACE.
    int AddString(const std::string& text) {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
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
};

// Rich edit 2.0 ("RichEdit20A"); the library is loaded by start-up before any dialog
// that holds one is created.
class RichEdit : public Window {
public:
    // SetText reads text that begins with "{\rtf" as Rich Text Format; this
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
        // One stream with drawing held back: under Wine WM_SETTEXT lays out again at every
        // line (quadratic), where the stream lays out once.
        Send(WM_SETREDRAW, FALSE);
        Send(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
        Send(WM_SETREDRAW, TRUE);
        ::InvalidateRect(hwnd, nullptr, TRUE);
    }
    // The default limit of 32767 characters is too small for long clipboard listings.
    void LimitText(int limit) { Send(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(limit)); }
};
