#include "ButtonST.h"

CButtonST::CButtonST() { SetDefaultColors(); }

CButtonST::~CButtonST() {
    FreeParentBk();
    for (auto& image : m_icons)
        if (image.icon) ::DestroyIcon(image.icon);
    for (auto& image : m_bitmaps) {
        if (image.bitmap) ::DeleteObject(image.bitmap);
        if (image.mask) ::DeleteObject(image.mask);
    }
    if (m_hButtonCursor) ::DestroyCursor(m_hButtonCursor);
    if (m_menu.m_hMenu) m_menu.DestroyMenu();
}

void CButtonST::FreeParentBk() {
    if (m_dcParentBk.m_hDC && m_pOldParentBk) m_dcParentBk.SelectObject(m_pOldParentBk);
    m_pOldParentBk = nullptr;
    m_bmpParentBk.DeleteObject();
    m_dcParentBk.DeleteDC();
}

// The parent's face under the button, copied once and put back before each paint.
void CButtonST::PaintParentBk(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    if (!m_dcParentBk.m_hDC) {
        HWND parent = ::GetParent(m_hWnd);
        CRect onParent(client);
        ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&onParent), 2);
        CClientDC parentDC(parent);
        m_dcParentBk.CreateCompatibleDC(parentDC);
        m_bmpParentBk.CreateCompatibleBitmap(parentDC, client.Width(), client.Height());
        m_pOldParentBk = m_dcParentBk.SelectObject(m_bmpParentBk);
        m_dcParentBk.BitBlt(0, 0, client.Width(), client.Height(), parentDC, onParent.left, onParent.top, SRCCOPY);
    }
    dc->BitBlt(0, 0, client.Width(), client.Height(), m_dcParentBk, 0, 0, SRCCOPY);
}

void CButtonST::PlayButtonSound(int which) {
    const Sound& s = m_sounds[which];
    if (s.name[0])
        Shell().Sound(s.name, s.module, s.flags);
    else if (s.sound)
        Shell().Sound(s.sound, s.module, s.flags);
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
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Invalidate();
    }
}

void CButtonST::OnMouseMove(UINT flags, CPoint point) {
    ClientToScreen(&point);
    HWND under = ::WindowFromPoint(point);
    if (((flags & MK_LBUTTON) && !m_bHover) || !m_bFlat) return;
    if (under == m_hWnd && (m_bHoverWhenInactive || ::GetActiveWindow())) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate();
            PlayButtonSound(HoverSound);
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

void CButtonST::OnClicked() {
    SetFocus();
    PlayButtonSound(ClickSound);
    if (m_bCheckBox) {
        m_nCheckState = m_nCheckState == 0;
        Invalidate();
        return;
    }
    if (m_menu.m_hMenu) {
        m_bMenuShown = TRUE;
        Invalidate();
        UpdateWindow();
        HMENU popup = m_menu.GetSubMenu(0);
        if (m_hMenuCallbackWnd)
            ::SendMessageW(m_hMenuCallbackWnd, m_nMenuCallbackMessage, reinterpret_cast<WPARAM>(popup),
                           m_lMenuCallbackParam);
        CRect r;
        GetWindowRect(&r);
        UINT chosen = static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                         r.left, r.bottom, 0, m_hWnd, nullptr));
        m_bMenuShown = FALSE;
        Invalidate();
        if (chosen) ::PostMessageW(m_hMenuOwner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
        return;
    }
    if (m_szUrl[0]) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"open";
        info.lpFile = m_szUrl;
        info.nShow = SW_SHOWMAXIMIZED;
        Shell().ExecuteEx(&info);
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
    case WM_SETCURSOR:
        if (m_hButtonCursor) {
            ::SetCursor(m_hButtonCursor);
            return TRUE;
        }
        return Default();
    case WM_SYSCOLORCHANGE: {
        LRESULT r = Default();
        FreeParentBk();
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
    case WM_MEASUREITEM: {
        // Items of the popup menu's own sub-menus are measured by the menu.
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        HMENU menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(mis->itemID));
        if (mis->CtlType == ODT_MENU && ::IsMenu(menu) && BCMenu::IsSubMenu(menu)) {
            m_menu.MeasureItem(mis);
            return TRUE;
        }
        return CButton::WindowProc(message, wParam, lParam);
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
        OnClicked();
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
    if (m_bCheckBox)
        m_bPressed = (dis->itemState & ODS_SELECTED) != 0 || m_nCheckState;
    else
        m_bPressed = (dis->itemState & ODS_SELECTED) != 0 || m_bMenuShown;
    m_bFocused = (dis->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (dis->itemState & ODS_DISABLED) != 0;
    dc.SetBkMode(TRANSPARENT);
    CRect item(dis->rcItem);
    if (m_bTransparent)
        PaintParentBk(&dc);
    else
        PaintBackground(&dc, &item);
    PaintBorder(&dc, &item);
    CString title;
    GetWindowText(title);
    const BOOL hasTitle = !title.IsEmpty();
    CRect caption(dis->rcItem);
    if (m_icons[In].icon) PaintIcon(&dc, hasTitle, &dis->rcItem, &caption, m_bPressed, m_bDisabled);
    if (m_bitmaps[In].bitmap) {
        dc.SetBkColor(RGB(255, 255, 255));
        PaintBitmap(&dc, hasTitle, &dis->rcItem, &caption, m_bPressed, m_bDisabled);
    }
    if (hasTitle) PaintCaption(&dc, title, &dis->rcItem, &caption, m_bPressed, m_bDisabled);
    if (m_bFocused && (!m_bFlat || m_bFlatFocus)) {
        CRect focus(dis->rcItem);
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(&focus);
    }
    dc.Detach();
}

CRect CButtonST::ImageRect(BOOL hasTitle, const RECT* item, CRect* caption, int width, int height,
                           BOOL pressed) const {
    CRect r(*item);
    int x = (r.left + r.right - width) / 2, y = (r.top + r.bottom - height) / 2;
    if (hasTitle) {
        switch (m_nImageAlign) {
        case ImageAbove:
            y = r.top + m_ptImageMargin.y;
            caption->top = y + height;
            break;
        case ImageRight:
            x = r.right - m_ptImageMargin.x - width;
            caption->right = x;
            break;
        default:
            x = r.left + m_ptImageMargin.x;
            caption->left = x + width;
            break;
        }
    }
    CRect image(x, y, x + width, y + height);
    if (pressed && !m_bCheckBox) image.OffsetRect(m_ptPressedShift.x, m_ptPressedShift.y);
    return image;
}

int CButtonST::PaintIcon(CDC* dc, BOOL hasTitle, RECT* item, CRect* caption, BOOL pressed, BOOL disabled) {
    const IconImage& image = (m_bHover || pressed || !m_icons[Out].icon) ? m_icons[In] : m_icons[Out];
    CRect r = ImageRect(hasTitle, item, caption, image.width, image.height, pressed);
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.icon), 0, r.left, r.top, r.Width(),
                 r.Height(), DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    return 0;
}

int CButtonST::PaintBitmap(CDC* dc, BOOL hasTitle, RECT* item, CRect* caption, BOOL pressed, BOOL disabled) {
    const BitmapImage& image = (m_bHover || pressed || !m_bitmaps[Out].bitmap) ? m_bitmaps[In] : m_bitmaps[Out];
    CRect r = ImageRect(hasTitle, item, caption, image.width, image.height, pressed);
    if (disabled && m_bGreyDisabledImage) {
        ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.bitmap), 0, r.left, r.top, r.Width(),
                     r.Height(), DST_BITMAP | DSS_DISABLED);
        return 0;
    }
    CDC picture;
    picture.CreateCompatibleDC(*dc);
    HGDIOBJ oldPicture = picture.SelectObject(image.bitmap);
    if (!image.mask) {
        dc->BitBlt(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, SRCCOPY);
    } else {
        // Picture XOR face, AND the mask (white, the background colour, keeps; black clears),
        // XOR picture again: the face stays where the mask is set, the picture shows elsewhere.
        CDC mask;
        mask.CreateCompatibleDC(*dc);
        HGDIOBJ oldMask = mask.SelectObject(image.mask);
        COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
        dc->BitBlt(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, SRCINVERT);
        dc->BitBlt(r.left, r.top, r.Width(), r.Height(), mask, 0, 0, SRCAND);
        dc->BitBlt(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, SRCINVERT);
        dc->SetTextColor(oldText);
        mask.SelectObject(oldMask);
    }
    picture.SelectObject(oldPicture);
    return 0;
}

int CButtonST::PaintBackground(CDC* dc, CRect* r) {
    if (!m_bFlat && (m_bFocused || m_bDefault)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(r, black);
        r->DeflateRect(1, 1);
    }
    COLORREF face = (m_bHover || m_bPressed) ? m_colors[ColorInBk]
                    : m_bFocused             ? m_colors[ColorFocusBk]
                                             : m_colors[ColorOutBk];
    CBrush brush(face);
    dc->FillRect(r, brush);
    return 0;
}

int CButtonST::PaintBorder(CDC* dc, CRect* r) {
    if (m_bPressed) {
        if (m_bFlat) {
            if (m_bHoverBorder)
                dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            dc->FrameRect(r, shadow);
        }
        return 0;
    }
    if (m_bFlat) {
        if (m_bHover && m_bHoverBorder)
            dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }
    // The classic raised edge: light outside and inside at the top-left, dark at the bottom-right.
    CPen highlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)), light(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT)),
        darkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW)), shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ old = dc->SelectObject(highlight);
    dc->MoveTo(r->left, r->bottom - 1);
    dc->LineTo(r->left, r->top);
    dc->LineTo(r->right, r->top);
    dc->SelectObject(light);
    dc->MoveTo(r->left + 1, r->bottom - 1);
    dc->LineTo(r->left + 1, r->top + 1);
    dc->LineTo(r->right, r->top + 1);
    dc->SelectObject(darkShadow);
    dc->MoveTo(r->left, r->bottom - 1);
    dc->LineTo(r->right - 1, r->bottom - 1);
    dc->LineTo(r->right - 1, r->top - 1);
    dc->SelectObject(shadow);
    dc->MoveTo(r->left + 1, r->bottom - 2);
    dc->LineTo(r->right - 2, r->bottom - 2);
    dc->LineTo(r->right - 2, r->top);
    dc->SelectObject(old);
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
