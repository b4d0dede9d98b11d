#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/win32/Controls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/OwnerDrawItem.h"

// A dialog built from a dialog template of the program's resources, run modally
// (DoModal) or created modeless (Create, for in-process tests). Subclasses override the
// hooks below; the dialog procedure routes every message to them:
//   WM_INITDIALOG                          -> OnInitDialog
//   WM_COMMAND                             -> OnCommand; unhandled IDOK/IDCANCEL go to
//                                             OnOK/OnCancel, other unhandled commands that
//                                             come from no control (menus, help) to the
//                                             application object (WinApp::OnCommand)
//   WM_DRAWITEM/WM_MEASUREITEM/WM_DELETEITEM -> the OwnerDrawItem registered for the id
//   WM_HELP, F1 in a modal run             -> the help command (ID_HELP_COMMAND) as above
//   WM_DPICHANGED                          -> the layout of the template again at the new
//                                             DPI, then OnDpiChanged
//   anything else                          -> OnMessage
// How the dialog's windows take text. A Unicode dialog's controls hold any character (a
// path typed in any script); the others keep the ANSI code page the program's texts are in.
enum class DialogText { Ansi, Unicode };

class Dialog {
public:
    // parent nullptr: the application's main window owns the dialog when it is shown
    // (unless this dialog is the main window).
    explicit Dialog(int templateId, HWND parent = nullptr, DialogText text = DialogText::Ansi);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    // Destroys a window still open (modeless use). Destroy it yourself before the
    // subclass's members go away if they must see WM_DESTROY or WM_DELETEITEM.
    virtual ~Dialog();

    // Runs the modal loop; gives the value passed to EndDialog, or -1 when the dialog
    // can't be created.
    INT_PTR DoModal();
    // Modeless: creates and shows the dialog and returns at once; false on failure.
    bool Create(HWND parent = nullptr);
    // Modal: ends the loop with result. Modeless: records the result and destroys the
    // window (HasEnded/GetEndResult tell what happened).
    void EndDialog(INT_PTR result);
    bool HasEnded() const { return ended; }
    INT_PTR GetEndResult() const { return endResult; }
    void DestroyWindow();

    HWND GetSafeHwnd() const { return hwnd; }
    int GetTemplateId() const { return templateId; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd, id); }
    // The DPI the dialog is laid out for: the window's when it was created, then the one
    // each WM_DPICHANGED names.
    UINT GetDpi() const { return dpi; }
    // The template's font at that DPI, which the controls show.
    HFONT GetDialogFont() const;
    // Help context of the dialog: 0x20000 plus the template number.
    unsigned GetHelpContext() const { return 0x20000u + static_cast<unsigned>(templateId); }

    // Runs DoDataExchange in the given direction (true: controls -> members).
    bool UpdateData(bool save);

    // The object that draws the items of control id; it must outlive the window. Register
    // in the constructor: WM_MEASUREITEM arrives while the controls are being created.
    void RegisterOwnerDraw(int controlId, OwnerDrawItem* handler);

protected:
    // Binds members to controls and moves values in (save false) or out (save true).
    virtual void DoDataExchange(bool save);
    // Runs DoDataExchange(false); true lets the platform set the focus.
    virtual bool OnInitDialog();
    // UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    // id, notification code and control of a WM_COMMAND; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // Any other message. true: handled, result is the message's result. false: the
    // dialog manager's default handling follows (also after acting on the message).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // After the dialog and its controls are laid out again for a new DPI; sizes and fonts
    // of the subclass's own follow here.
    virtual void OnDpiChanged(UINT newDpi);

    // DoDataExchange helpers.
    void BindControl(int id, Window& control);
    void ExchangeCheck(bool save, int id, bool& value);
    void ExchangeText(bool save, int id, std::string& value);
    // The same with UTF-8 text, for the controls of a Unicode dialog.
    void ExchangeUnicodeText(bool save, int id, std::string& value);

    HWND hwnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RouteCommand(int id, int code, HWND control);
    // Positions, sizes and font of the template at newDpi; the window keeps the top-left
    // corner of suggested (the system's proposal for the new monitor).
    void LayOutForDpi(UINT newDpi, const RECT& suggested);
    void ReleaseScaledFont();
    HWND OwnerWindow() const;

    int templateId;
    HWND parent;
    DialogText text;
    bool modal = false;
    bool ended = false;
    INT_PTR endResult = 0;
    UINT dpi = kDefaultDpi;
    // The template's font made for a DPI other than the creation's; the dialog manager
    // owns the font of the creation.
    HFONT scaledFont = nullptr;
    std::map<int, OwnerDrawItem*> ownerDraw;
};
