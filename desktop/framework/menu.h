// CMenu: a menu object bound to a menu handle in its own per-thread map, so that owner-drawn
// items (WM_DRAWITEM, WM_MEASUREITEM of type ODT_MENU) reach the object of their menu.
#pragma once
#include <windows.h>

#include <functional>

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    virtual ~CMenu();

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    static CMenu* FromHandlePermanent(HMENU menu);
    static void ForEachPermanent(const std::function<void(CMenu*)>& visit);

    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL LoadMenu(UINT id);
    virtual BOOL DestroyMenu();

    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT*) {}

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* item = nullptr) {
        return ::AppendMenuW(m_hMenu, flags, id, item);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    HMENU GetSubMenu(int pos) const { return ::GetSubMenu(m_hMenu, pos); }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) {
        return ::SetMenuDefaultItem(m_hMenu, item, byPos);
    }
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner) {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
    }
};
