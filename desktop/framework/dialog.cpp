#include "dialog.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

// Everything is done by the bound window's own procedure; the dialog manager's defaults apply.
INT_PTR CALLBACK LayerDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The top-level window that a dialog of `parent` is owned by.
HWND OwnerFor(CWnd* parent) {
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd) owner = AfxGetApp()->m_pMainWnd->m_hWnd;
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

}  // namespace

BOOL CDialog::CreateFromTemplate(HWND owner) {
    if (m_hWnd) return FALSE;
    HWND wnd = CreateBound([&] {
        return ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                                    &LayerDialogProc, 0);
    });
    return wnd != nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bModal = false;
    return CreateFromTemplate(OwnerFor(parent));
}

INT_PTR CDialog::DoModal() {
    HWND owner = OwnerFor(m_pParentWnd);
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    if (CreateFromTemplate(owner)) {
        if (!m_bEndModal && !IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);
        while (!m_bEndModal) {
            MSG msg;
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) DeleteTempMap();
            if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
                // WM_QUIT: the loops outside end too.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_bEndModal = true;
                break;
            }
            CWinApp* app = AfxGetApp();
            HWND stop = app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd ? app->m_pMainWnd->m_hWnd
                                                                          : m_hWnd;
            if (!WalkPreTranslateTree(stop, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (m_hWnd)
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    if (m_bModal) {
        m_nModalResult = result;
        m_bEndModal = true;
        if (m_hWnd) PostMessage(WM_NULL);  // wakes the loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);  // a modeless dialog is hidden
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT id, int code) {
    if (code != BN_CLICKED) return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

// A command the dialog does not handle goes to its owner, then to the application.
BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (code != 0 && code != 1) return FALSE;  // notifications are not commands
    if (CWnd* owner = FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER)))
        if (owner->OnCmdMsg(id, code)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    HWND& lockout = AfxLockoutNotifyWindow();
    HWND outer = lockout;
    lockout = m_hWnd;
    BOOL ok = TRUE;
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        ok = FALSE;
    }
    lockout = outer;
    return ok;
}

HWND CDataExchange::PrepareCtrl(int id) {
    HWND ctl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_hWndLastControl = ctl;
    m_bEditLastControl = false;
    return ctl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND ctl = PrepareCtrl(id);
    m_bEditLastControl = true;
    return ctl;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate) throw CUserException{};
    if (m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException{};
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd) control.SubclassWindow(dx->PrepareCtrl(id));
}

namespace {

std::wstring ControlText(HWND ctl) {
    int n = ::GetWindowTextLengthW(ctl);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    int got = ::GetWindowTextW(ctl, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

// Writes the text only when the control shows another one.
void SetControlText(HWND ctl, const std::wstring& text) {
    if (ControlText(ctl) != text) ::SetWindowTextW(ctl, text.c_str());
}

// A whole number with optional blanks around it and an optional sign; false when there is
// anything else or it does not fit an int.
bool ParseInt(const std::wstring& text, int& value) {
    const wchar_t* p = text.c_str();
    while (std::iswspace(*p)) ++p;
    if (!*p) return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long v = std::wcstoll(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    while (std::iswspace(*end)) ++end;
    if (*end) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND ctl = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = CString(ControlText(ctl));
    else
        SetControlText(ctl, value.str());
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    HWND ctl = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetControlText(ctl, std::to_wstring(value));
        return;
    }
    int parsed = 0;
    if (!ParseInt(ControlText(ctl), parsed)) {
        AfxMessageBox(L"Please enter an integer.");
        dx->Fail();
    }
    value = parsed;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND ctl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(ctl, BM_GETCHECK, 0, 0));
    } else if (::SendMessageW(ctl, BM_GETCHECK, 0, 0) != value) {
        ::SendMessageW(ctl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}
