#include "BCMenu.h"

#include <algorithm>
#include <cwctype>

namespace {

// Every popup handle appended by a BCMenu that still exists.
std::vector<HMENU>& SubMenuList() {
    static std::vector<HMENU> list;
    return list;
}

void Forget(HMENU menu) {
    auto& list = SubMenuList();
    list.erase(std::remove(list.begin(), list.end(), menu), list.end());
}

NONCLIENTMETRICSW MenuMetrics() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return ncm;
}

// The check mark: seven one-pixel strokes, a short arm and a long arm, three pixels thick.
void DrawCheckMark(CDC& dc, int x, int y, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    HGDIOBJ old = dc.SelectObject(pen);
    for (int i = 0; i < 3; ++i) {
        dc.MoveTo(x, y + 2 + i);
        dc.LineTo(x + 2, y + 4 + i);
        dc.LineTo(x + 7, y - 1 + i);
    }
    dc.MoveTo(x, y + 5);
    dc.LineTo(x + 1, y + 6);
    dc.SelectObject(old);
}

void DrawRadioMark(CDC& dc, int x, int y, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    CBrush brush(colour);
    HGDIOBJ oldPen = dc.SelectObject(pen);
    HGDIOBJ oldBrush = dc.SelectObject(brush);
    ::Ellipse(dc, x, y, x + 7, y + 7);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

}  // namespace

BCMenu::~BCMenu() { DestroyMenu(); }

bool BCMenu::IsSubMenu(HMENU menu) {
    auto& list = SubMenuList();
    return menu && std::find(list.begin(), list.end(), menu) != list.end();
}

COLORREF BCMenu::LightenColor(COLORREF colour, double factor) {
    if (!(factor > 0.0 && factor <= 1.0)) return colour;
    auto up = [factor](BYTE c) { return static_cast<BYTE>(c + (255 - c) * factor); };
    return RGB(up(GetRValue(colour)), up(GetGValue(colour)), up(GetBValue(colour)));
}

BOOL BCMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEW(id)); }

BOOL BCMenu::LoadMenu(const wchar_t* resourceName) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, resourceName, MAKEINTRESOURCEW(4) /* RT_MENU */);
    if (!found) {
        module = ::GetModuleHandleW(nullptr);
        found = ::FindResourceW(module, resourceName, MAKEINTRESOURCEW(4));
    }
    if (!found) return FALSE;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    DWORD size = ::SizeofResource(module, found);
    if (!data || size < 4) return FALSE;

    DestroyMenu();
    if (!CreatePopupMenu()) return FALSE;
    m_bLoaded = true;

    // The template: a header (version, offset), then items: flags, the command for a plain
    // item, and the text. MF_POPUP opens a level, MF_END closes the current one.
    const BYTE* end = data + size;
    const BYTE* p = data + 4 + reinterpret_cast<const WORD*>(data)[1];
    // An MF_END on a popup item ends its level once the popup's own items have ended.
    struct Truncated {};
    std::vector<BCMenu*> levels{this};
    auto word = [&]() -> WORD {
        if (p + 2 > end) throw Truncated{};
        WORD w = static_cast<WORD>(p[0] | (p[1] << 8));
        p += 2;
        return w;
    };
    try {
        while (!levels.empty() && p < end) {
            WORD flags = word();
            WORD id = (flags & MF_POPUP) ? 0 : word();
            std::wstring text;
            for (WORD c; (c = word()) != 0;) text += static_cast<wchar_t>(c);
            BCMenu* level = levels.back();
            bool last = (flags & MF_END) != 0;
            UINT itemFlags = flags & ~(MF_END | MF_POPUP);
            if (flags & MF_POPUP) {
                auto sub = std::make_unique<BCMenu>();
                sub->CreatePopupMenu();
                sub->m_bLoaded = true;
                sub->m_cxIcon = m_cxIcon;
                sub->m_cyIcon = m_cyIcon;
                BCMenu* opened = sub.get();
                level->AppendOwnerDrawItem(text.c_str(), itemFlags | MF_POPUP,
                                           reinterpret_cast<UINT_PTR>(opened->m_hMenu));
                level->m_subMenus.push_back(std::move(sub));
                if (last) levels.pop_back();
                levels.push_back(opened);
            } else {
                level->AppendOwnerDrawItem(text.c_str(), itemFlags, id);
                if (last) levels.pop_back();
            }
        }
    } catch (const Truncated&) {
        DestroyMenu();
        return FALSE;
    }
    return TRUE;
}

BOOL BCMenu::AppendOwnerDrawItem(const wchar_t* text, UINT flags, UINT_PTR id) {
    auto item = std::make_unique<BCMenuData>();
    if (id == 0 && !(flags & MF_POPUP)) {
        flags = MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    } else {
        flags |= MF_OWNERDRAW;
        item->text = text ? text : L"";
    }
    if (flags & MF_POPUP) {
        HMENU popup = reinterpret_cast<HMENU>(id);
        SubMenuList().push_back(popup);
        m_popupHandles.push_back(popup);
    }
    item->flags = flags;
    item->id = id;
    BCMenuData* record = item.get();
    m_items.push_back(std::move(item));
    return ::AppendMenuW(m_hMenu, flags, id, reinterpret_cast<const wchar_t*>(record));
}

BOOL BCMenu::DestroyMenu() {
    Forget(m_hMenu);
    for (HMENU popup : m_popupHandles) Forget(popup);
    m_popupHandles.clear();
    // The sub-menus belong to this menu's handle: destroying it destroys them, so their
    // objects only forget their handles.
    for (auto& sub : m_subMenus) {
        sub->DestroyMenu();
    }
    m_subMenus.clear();
    m_items.clear();
    m_bLoaded = false;
    return CMenu::DestroyMenu();
}

LRESULT BCMenu::FindMnemonic(UINT ch, UINT flags, CMenu* menu) {
    auto* bc = dynamic_cast<BCMenu*>(menu);
    if (!bc || !(flags & MF_POPUP)) return 0;
    wchar_t key[3] = {L'&', static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch))), 0};
    for (std::size_t i = 0; i < bc->m_items.size(); ++i) {
        std::wstring text = bc->m_items[i]->text;
        for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (text.find(key) != std::wstring::npos)
            return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
    }
    return 0;
}

void BCMenu::MeasureItem(MEASUREITEMSTRUCT* mis) {
    const auto* item = reinterpret_cast<const BCMenuData*>(mis->itemData);
    const int dy = 4;
    if (!item || (item->flags & MF_SEPARATOR)) {
        mis->itemWidth = 0;
        mis->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU) / 2, (m_cyIcon + dy) / 2));
        return;
    }
    NONCLIENTMETRICSW ncm = MenuMetrics();
    CFont font;
    font.CreateFontIndirect(&ncm.lfMenuFont);
    CWinApp* app = AfxGetApp();
    HWND wnd = app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd ? app->m_pMainWnd->m_hWnd
                                                                 : ::GetDesktopWindow();
    CClientDC dc(wnd);
    HGDIOBJ old = dc.SelectObject(font);
    std::wstring text = item->text;
    for (auto& c : text)
        if (c == L'\t') c = L' ';
    CSize size = dc.GetTextExtent(text.c_str(), static_cast<int>(text.size()));
    dc.SelectObject(old);
    mis->itemWidth = static_cast<UINT>(size.cx + 2 * m_cxIcon + 1);
    mis->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), m_cyIcon + dy));
}

// The classic look: the menu colour (the highlight colour right of the mark cell when
// selected), a sunken cell in a lightened face colour with the mark when checked, the text
// and the accelerator in the menu text colour (highlight text when selected, embossed grey
// when disabled, bold for the default item).
void BCMenu::DrawItem(DRAWITEMSTRUCT* dis) {
    const auto* item = reinterpret_cast<const BCMenuData*>(dis->itemData);
    if (!item) return;
    CDC dc;
    dc.Attach(dis->hDC);
    CRect r(dis->rcItem);
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    if (item->flags & MF_SEPARATOR) {
        dc.FillSolidRect(&r, menu);
        int y = r.top + r.Height() / 2 - 1;
        dc.FillSolidRect(r.left, y, r.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
        dc.FillSolidRect(r.left, y + 1, r.Width(), 1, ::GetSysColor(COLOR_3DHILIGHT));
        dc.Detach();
        return;
    }
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const bool disabled = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (dis->itemState & ODS_CHECKED) != 0;
    const int cell = m_cxIcon + 4;
    CRect cellRect(r.left, r.top, r.left + cell, r.bottom);
    CRect textRect(r.left + cell, r.top, r.right, r.bottom);

    dc.FillSolidRect(&cellRect, menu);
    dc.FillSolidRect(&textRect, selected && !disabled ? ::GetSysColor(COLOR_HIGHLIGHT) : menu);
    if (checked) {
        CRect box(cellRect);
        box.DeflateRect(1, 1);
        dc.FillSolidRect(&box, LightenColor(::GetSysColor(COLOR_BTNFACE), 0.6));
        dc.Draw3dRect(&box, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        COLORREF mark = ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
        int mx = box.left + (box.Width() - 7) / 2, my = box.top + (box.Height() - 7) / 2;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(m_hMenu, dis->itemID, FALSE, &info);
        if (info.fType & MFT_RADIOCHECK)
            DrawRadioMark(dc, mx, my, mark);
        else
            DrawCheckMark(dc, mx, my, mark);
    }

    NONCLIENTMETRICSW ncm = MenuMetrics();
    if (dis->itemState & ODS_DEFAULT) ncm.lfMenuFont.lfWeight = FW_BOLD;
    CFont font;
    font.CreateFontIndirect(&ncm.lfMenuFont);
    HGDIOBJ oldFont = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    std::wstring text = item->text, accel;
    if (auto tab = text.find(L'\t'); tab != std::wstring::npos) {
        accel = text.substr(tab + 1);
        text.erase(tab);
    }
    CRect t(textRect);
    t.left += 4;
    t.right -= 6;
    auto draw = [&](CRect at, COLORREF colour) {
        dc.SetTextColor(colour);
        dc.DrawText(text.c_str(), -1, &at, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!accel.empty())
            dc.DrawText(accel.c_str(), -1, &at, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    if (disabled) {
        CRect shifted(t);
        shifted.OffsetRect(1, 1);
        draw(shifted, ::GetSysColor(COLOR_3DHILIGHT));
        draw(t, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        draw(t, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    dc.SelectObject(oldFont);
    dc.Detach();
}
