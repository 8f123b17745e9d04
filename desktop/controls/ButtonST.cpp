#include "ButtonST.h"

CButtonST::CButtonST() { SetDefaultColors(); }

CButtonST::~CButtonST() {
    if (m_menu.m_hMenu) m_menu.DestroyMenu();
}

void CButtonST::SetDefaultColors() {
    for (int i : {ColorInBk, ColorOutBk, ColorFocusBk}) m_colors[i] = ::GetSysColor(COLOR_BTNFACE);
    for (int i : {ColorInFg, ColorOutFg, ColorFocusFg}) m_colors[i] = ::GetSysColor(COLOR_BTNTEXT);
}

void CButtonST::PreSubclassWindow() {
    UINT style = GetStyle() & 0xFFFF;
    m_nButtonType = style & 0x1F;
    if (style & BS_CHECKBOX) m_bCheckBox = TRUE;
    if (m_nButtonType == BS_DEFPUSHBUTTON) {
        m_bDefault = TRUE;
        m_nButtonType = BS_PUSHBUTTON;
    }
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CButtonST::PreTranslateMessage(MSG* msg) {
    if (!m_tip.m_hWnd) {
        m_tip.Create(this, m_dwTipStyle);
        m_tip.Activate(FALSE);
        m_tip.SetMaxTipWidth(400);
    }
    m_tip.RelayEvent(msg);
    if (msg->message == WM_LBUTTONDBLCLK) msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

void CButtonST::CancelHover() {
    if (m_bHover) {
        m_bHover = FALSE;
        Invalidate();
    }
}

void CButtonST::OnMouseMove(UINT flags, CPoint point) {
    ClientToScreen(&point);
    CWnd* under = WindowFromPoint(point);
    if ((flags & MK_LBUTTON) && !m_bHover) return;
    if (under && under->m_hWnd == m_hWnd && (m_bHoverWhenInactive || GetActiveWindow())) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate();
            TRACKMOUSEEVENT tme{};
            tme.cbSize = sizeof tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_hWnd;
            ::TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

LRESULT CButtonST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        LRESULT r = Default();
        CancelHover();
        return r;
    }
    case WM_MOUSEMOVE: {
        LRESULT r = Default();
        OnMouseMove(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return r;
    }
    case WM_SYSCOLORCHANGE: {
        LRESULT r = Default();
        SetDefaultColors();
        Invalidate();
        return r;
    }
    case WM_ACTIVATE: {
        LRESULT r = Default();
        if (LOWORD(wParam) == WA_INACTIVE) CancelHover();
        return r;
    }
    case WM_ENABLE: {
        LRESULT r = Default();
        if (!wParam) {
            HWND parent = ::GetParent(m_hWnd);
            HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, FALSE) : nullptr;
            ::SetFocus(next && next != m_hWnd ? next : parent);
            CancelHover();
        }
        return r;
    }
    case WM_GETDLGCODE:
        return Default() | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (BCMenu::IsSubMenu(menu))
            return BCMenu::FindMnemonic(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandlePermanent(menu));
        return Default();
    }
    case BM_SETSTYLE: {
        UINT type = static_cast<UINT>(wParam) & 0x1F;
        if (type == BS_DEFPUSHBUTTON) m_bDefault = TRUE;
        else if (type == BS_PUSHBUTTON) m_bDefault = FALSE;
        return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(0x14)) | BS_OWNERDRAW, lParam);
    }
    case WM_MOUSELEAVE:
        CancelHover();
        return 0;
    case BM_SETCHECK:
        if (m_bCheckBox) {
            m_nCheckState = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
            Invalidate();
        }
        return 0;
    case BM_GETCHECK:
        return m_nCheckState;
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

BOOL CButtonST::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        SetFocus();
        if (m_bCheckBox) {
            m_nCheckState = m_nCheckState == 0;
            Invalidate();
        }
        return FALSE;  // the parent still gets BN_CLICKED
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return TRUE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

void CButtonST::DrawItem(DRAWITEMSTRUCT* dis) {
    CDC dc;
    dc.Attach(dis->hDC);
    m_bPressed = (dis->itemState & ODS_SELECTED) != 0 || (m_bCheckBox && m_nCheckState);
    m_bFocused = (dis->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (dis->itemState & ODS_DISABLED) != 0;
    dc.SetBkMode(TRANSPARENT);
    CRect item(dis->rcItem);
    PaintBackground(&dc, &item);
    PaintBorder(&dc, &item);
    CString title;
    GetWindowText(title);
    CRect caption(dis->rcItem);
    if (!title.IsEmpty()) PaintCaption(&dc, title, &dis->rcItem, &caption, m_bPressed, m_bDisabled);
    dc.Detach();
}

int CButtonST::PaintBackground(CDC* dc, CRect* r) {
    COLORREF face = (m_bHover || m_bPressed) ? m_colors[ColorInBk]
                    : m_bFocused             ? m_colors[ColorFocusBk]
                                             : m_colors[ColorOutBk];
    CBrush brush(face);
    dc->FillRect(r, brush);
    return 0;
}

int CButtonST::PaintBorder(CDC* dc, CRect* r) {
    if (m_bPressed)
        dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_bHover)
        dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

int CButtonST::PaintCaption(CDC* dc, const wchar_t* title, RECT*, CRect* caption, BOOL pressed,
                            BOOL) {
    if (pressed && !m_bCheckBox) caption->OffsetRect(m_ptPressedShift.x, m_ptPressedShift.y);
    CRect centred(*caption);
    dc->DrawText(title, -1, &centred, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    centred.OffsetRect((caption->Width() - centred.Width()) / 2,
                       (caption->Height() - centred.Height()) / 2);
    if (m_bDisabled) {
        centred.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        dc->DrawText(title, -1, &centred, DT_WORDBREAK | DT_CENTER);
        centred.OffsetRect(-1, -1);
        dc->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        dc->DrawText(title, -1, &centred, DT_WORDBREAK | DT_CENTER);
    } else {
        int fg = (m_bHover || m_bPressed) ? ColorInFg : m_bFocused ? ColorFocusFg : ColorOutFg;
        dc->SetTextColor(m_colors[fg]);
        dc->SetBkColor(m_colors[fg - 1]);
        dc->DrawText(title, -1, &centred, DT_WORDBREAK | DT_CENTER);
    }
    return 0;
}
