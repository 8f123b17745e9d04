#include "FlatComboBox.h"

CCJFlatComboBox::CCJFlatComboBox() : m_cxDropButton(::GetSystemMetrics(SM_CXHTHUMB)) {
    ReadColors();
}

void CCJFlatComboBox::ReadColors() {
    m_clrLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrDark = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrFace = ::GetSysColor(COLOR_BTNFACE);
}

void CCJFlatComboBox::PaintFlatBorder(int state, COLORREF topLeft, COLORREF bottomRight) {
    CClientDC dc(m_hWnd);
    CRect r;
    GetClientRect(&r);
    dc.Draw3dRect(&r, topLeft, bottomRight);
    r.DeflateRect(1, 1);
    BOOL enabled = IsWindowEnabled();
    dc.Draw3dRect(&r, enabled ? m_clrFace : m_clrLight, enabled ? m_clrFace : m_clrLight);
    // Paint out the system's frame of the drop-down button.
    r.DeflateRect(1, 1);
    r.left = r.right - m_cxDropButton;
    dc.Draw3dRect(&r, m_clrFace, m_clrFace);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, m_clrFace, m_clrFace);
    if (!enabled) return;
    r.top -= 1;
    r.bottom += 1;
    switch (state) {
    case StateNormal:
        dc.Draw3dRect(&r, m_clrLight, m_clrLight);
        r.left -= 1;
        dc.Draw3dRect(&r, m_clrLight, m_clrLight);
        break;
    case StateRaised:
        dc.Draw3dRect(&r, m_clrLight, m_clrDark);
        break;
    case StatePressed:
        r.OffsetRect(1, 1);
        dc.Draw3dRect(&r, m_clrDark, m_clrLight);
        break;
    }
}

namespace {
bool PointerOutside(HWND wnd) {
    POINT p;
    RECT r;
    ::GetCursorPos(&p);
    ::GetWindowRect(wnd, &r);
    return !::PtInRect(&r, p);
}
}  // namespace

void CCJFlatComboBox::OnPaint() {
    ModifyStyleEx(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    Default();
    if (PointerOutside(m_hWnd) && !m_bFocus)
        PaintFlatBorder(StateNormal, m_clrFace, m_clrFace);
    else
        PaintFlatBorder(StateRaised, m_clrDark, m_clrLight);
}

void CCJFlatComboBox::OnTimer() {
    if (m_bButtonDown) {
        KillTimer(1);
        if (m_bRaisedShown) {
            PaintFlatBorder(StatePressed, m_clrDark, m_clrLight);
            m_bRaisedShown = FALSE;
        }
        return;
    }
    if (PointerOutside(m_hWnd) && !m_bFocus) {
        KillTimer(1);
        if (m_bRaisedShown) {
            PaintFlatBorder(StateNormal, m_clrFace, m_clrFace);
            m_bRaisedShown = FALSE;
        }
        return;
    }
    if (!m_bRaisedShown) {
        m_bRaisedShown = TRUE;
        PaintFlatBorder(StateRaised, m_clrDark, m_clrLight);
        Default();
    }
}

LRESULT CCJFlatComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        SetTimer(1, 10, nullptr);
        OnTimer();
        return Default();
    case WM_LBUTTONDOWN:
        m_bButtonDown = TRUE;
        return Default();
    case WM_LBUTTONUP:
        m_bButtonDown = FALSE;
        Invalidate();
        return Default();
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        // The button-up may never come (the list took the mouse, a dialog popped up): the
        // pressed look ends with the capture, and the next paint or tick draws the right one.
        if (m_bButtonDown) {
            m_bButtonDown = FALSE;
            m_bRaisedShown = FALSE;
            Invalidate();
        }
        return Default();
    case WM_TIMER:
        OnTimer();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SYSCOLORCHANGE: {
        LRESULT r = Default();
        ReadColors();
        return r;
    }
    default:
        return CComboBox::WindowProc(message, wParam, lParam);
    }
}

// Reflected notifications: the control acts on them and the parent still gets them.
BOOL CCJFlatComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_COMMAND) return CComboBox::OnChildNotify(message, wParam, lParam, result);
    switch (HIWORD(wParam)) {
    case CBN_SETFOCUS:
        m_bFocus = TRUE;
        PaintFlatBorder(StateRaised, m_clrDark, m_clrLight);
        break;
    case CBN_KILLFOCUS:
        m_bFocus = FALSE;
        PaintFlatBorder(StateNormal, m_clrFace, m_clrFace);
        break;
    case CBN_EDITUPDATE:
        OnCbnEditUpdate();
        break;
    }
    return FALSE;
}

void CCJFlatComboBox::OnCbnEditUpdate() {
    if (m_bSkipCompletion) {
        // The update comes from Backspace or Delete: completing would bring back what the
        // user just removed.
        m_bSkipCompletion = FALSE;
        return;
    }
    CString text;
    GetWindowText(text);
    int n = text.GetLength();
    DWORD sel = GetEditSel();
    int start = static_cast<short>(LOWORD(sel)), end = static_cast<short>(HIWORD(sel));
    bool selValid = sel != static_cast<DWORD>(CB_ERR);
    if (SelectString(-1, text) == CB_ERR) {
        SetWindowText(text);
        if (selValid) SetEditSel(start, end);
    }
    if (selValid && end < n)
        SetEditSel(start, end);
    else
        SetEditSel(n, -1);
}

BOOL CCJFlatComboBox::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_SYSCHAR) return TRUE;
    if (msg->message == WM_KEYDOWN)
        m_bSkipCompletion = msg->wParam == VK_BACK || msg->wParam == VK_DELETE;
    else if (msg->message == WM_CHAR)
        m_bSkipCompletion = msg->wParam == VK_BACK;
    return CComboBox::PreTranslateMessage(msg);
}
