#include "BitmapBtn.h"

void CBitmapBtn::PreSubclassWindow() {
    UINT style = GetStyle() & 0xFFFF;
    if ((style & 0x0F) == BS_DEFPUSHBUTTON) m_bHover = TRUE;
    SendMessage(BM_SETSTYLE, style | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
    ModifyStyle(WS_TABSTOP, 0);
}

void CBitmapBtn::CreateTip() {
    if (m_tip.m_hWnd) return;
    m_tip.Create(this, 0);
    m_tip.Activate(FALSE);
}

void CBitmapBtn::SetToolTipText(const CString* text) {
    if (!text) return;
    CreateTip();
    if (m_tip.GetToolCount() == 0) {
        CRect r;
        GetClientRect(&r);
        m_tip.AddTool(this, *text, &r, 1);
    }
    m_tip.UpdateTipText(*text, this, 1);
    m_tip.Activate(TRUE);
}

BOOL CBitmapBtn::PreTranslateMessage(MSG* msg) {
    CreateTip();
    m_tip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void CBitmapBtn::DrawItem(DRAWITEMSTRUCT* dis) {
    const CBitmap* picture = &m_bmpNormal;
    if (m_bFixedLook) {
        if (m_bLatched) picture = &m_bmpPressed;
    } else if (m_bLatched && !m_bHover) {
        picture = &m_bmpPressed;
    } else if (dis->itemState & ODS_SELECTED) {
        picture = &m_bmpPressed;
    } else if (m_bHover) {
        picture = &m_bmpHover;
    } else if (dis->itemState & ODS_DISABLED) {
        picture = &m_bmpDisabled;
    }
    CDC memory;
    memory.CreateCompatibleDC(dis->hDC);
    HGDIOBJ old = picture->m_hObject ? memory.SelectObject(*picture) : nullptr;
    CRect r;
    GetClientRect(&r);
    ::BitBlt(dis->hDC, 0, 0, r.Width(), r.Height(), memory, 0, 0, SRCCOPY);
    if (old) memory.SelectObject(old);
}

void CBitmapBtn::EndHover() {
    if (!m_bHover) return;
    m_bHover = FALSE;
    Invalidate();
}

void CBitmapBtn::OnMouseMove(UINT flags, CPoint point) {
    if ((flags & MK_LBUTTON) && !m_bHover) return;
    if (::GetCapture() != m_hWnd && ::GetActiveWindow() && GetOwner()) {
        m_bHover = TRUE;
        SetCapture();
        Invalidate();
        return;
    }
    ClientToScreen(&point);
    HWND under = ::WindowFromPoint(point);
    if (!under || under == m_hWnd) return;
    EndHover();
    if (!(flags & MK_LBUTTON)) ::ReleaseCapture();
}

LRESULT CBitmapBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        LRESULT r = Default();
        EndHover();
        return r;
    }
    case WM_MOUSEMOVE: {
        LRESULT r = Default();
        OnMouseMove(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return r;
    }
    case WM_CAPTURECHANGED:
        // Released by the button's own click, the pointer is still over it and the hover look
        // stays; taken by another window, no mouse move will end the look here, so it ends now.
        if (m_bHover) {
            if (lParam && reinterpret_cast<HWND>(lParam) != m_hWnd) m_bHover = FALSE;
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            Invalidate();
        }
        return Default();
    case WM_CANCELMODE: {
        LRESULT r = Default();
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        EndHover();
        return r;
    }
    case WM_ERASEBKGND:
        return FALSE;
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}
