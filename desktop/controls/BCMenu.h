// BCMenu: a menu whose items are measured and painted by the program (MF_OWNERDRAW): a check
// or radio mark in a cell at the left, the text, and the accelerator text right-aligned, in
// the classic menu colours. Built from an RT_MENU template by LoadMenu or item by item with
// AppendOwnerDrawItem. Every popup handle a BCMenu appends is kept in one program-wide list
// (IsSubMenu), which owners of BCMenus consult before they route menu messages to one.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework.h"

// One item of a BCMenu; the item data of the system menu item points to it.
struct BCMenuData {
    std::wstring text;
    UINT flags = 0;
    UINT_PTR id = 0;  // the command, or the sub-menu handle of a popup
};

class BCMenu : public CMenu {
public:
    BCMenu() = default;
    ~BCMenu() override;

    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(const wchar_t* resourceName);
    BOOL DestroyMenu() override;
    BOOL AppendOwnerDrawItem(const wchar_t* text, UINT flags, UINT_PTR id);

    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;

    // The answer to WM_MENUCHAR: MNC_EXECUTE with the position of the first item whose text
    // holds "&" and the typed character, or 0 (also when `menu` is no BCMenu or `flags` has no
    // MF_POPUP).
    static LRESULT FindMnemonic(UINT ch, UINT flags, CMenu* menu);
    // Whether `menu` is a popup that some BCMenu appended and has not destroyed yet.
    static bool IsSubMenu(HMENU menu);
    // Each channel moved towards white by `factor` (0 < factor <= 1); others unchanged.
    static COLORREF LightenColor(COLORREF colour, double factor);

    int m_cxIcon = 16;
    int m_cyIcon = 15;

private:
    std::vector<std::unique_ptr<BCMenuData>> m_items;
    std::vector<HMENU> m_popupHandles;
    std::vector<std::unique_ptr<BCMenu>> m_subMenus;
    bool m_bLoaded = false;
};
