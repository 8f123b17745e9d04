// CDialog and CDialogEx: dialogs from templates, modal (DoModal, with the layer's own message
// loop) or modeless (Create), with data exchange (UpdateData -> DoDataExchange -> DDX_*).
//
// The modal loop disables the owner, shows the dialog, and for every message runs the
// PreTranslateMessage walk from the message's window up through its parents and owners to the
// application's main window (or this dialog), then translates and dispatches it, until
// EndDialog. WM_QUIT ends the loop too: it is posted again for the loops outside, and the
// dialog window is destroyed as after EndDialog. A dialog's PreTranslateMessage gives keyboard
// messages to IsDialogMessage, so modeless panes get Tab, Enter and Escape handling.
#pragma once
#include <windows.h>

#include "window.h"

class CDialog : public CWnd {
public:
    CDialog() = default;
    CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    virtual INT_PTR DoModal();
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    BOOL CreateFromTemplate(HWND owner);
    bool m_bModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};

class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};

// The user refused a value (data exchange failed); caught by UpdateData.
struct CUserException {};

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dlg) {}
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // The value of the last prepared control is refused: focus to it, then CUserException.
    [[noreturn]] void Fail();
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
