// BCMenu: a menu whose items are measured and painted by the program (MF_OWNERDRAW): an image
// or a check or radio mark in a cell at the left, the text, and the accelerator text in a
// column of its own. Two looks: the classic 3D look in the menu colours, and a flat look (a
// face-coloured image strip beside a window-coloured body, a framed light selection) chosen on
// Windows XP with a non-classic theme, or by the draw mode. Built from an RT_MENU template by
// LoadMenu or item by item with AppendOwnerDrawItem. Every popup handle a BCMenu appends is
// kept in one program-wide list (IsSubMenu), which owners of BCMenus consult before they route
// menu messages to one.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ListCtrl.h"
#include "framework.h"

// One item of a BCMenu; the item data of the system menu item points to it.
struct BCMenuData {
    std::wstring text;
    int globalOffset = -1;  // index of the command in the program-wide image table, or -1
    UINT flags = 0;         // MF_ values, always with MF_OWNERDRAW
    UINT_PTR id = 0;        // the command, or the sub-menu handle of a popup
    int syncFlag = 0;       // set while the records are matched with the system menu
    std::unique_ptr<CImageList> image;  // the item's own copy of its image
};

// A DC to draw into off screen: drawing uses the target's coordinates, and the rectangle is
// copied to the target when the object ends. On a device that is no display (a printer or a
// metafile) drawing goes straight to the target.
class BCMenuMemDC : public CDC {
public:
    BCMenuMemDC(CDC* pDC, const RECT* rect);
    ~BCMenuMemDC() override;

    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};

class BCMenu : public CMenu {
public:
    BCMenu();
    ~BCMenu() override;

    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    virtual BOOL LoadMenu(UINT id);
    virtual BOOL LoadMenu(const wchar_t* resourceName);
    BOOL DestroyMenu() override;

    // An id of 0 (not a popup) makes a separator; popups are listed program-wide.
    BOOL AppendOwnerDrawItem(const wchar_t* text, UINT flags, UINT_PTR id);
    // ModifyMenu for an owner-drawn item: `position` by command, or by position with
    // MF_BYPOSITION.
    BOOL ModifyOwnerDrawItem(UINT position, UINT flags, UINT_PTR id, const wchar_t* text);
    // Pads the item texts with spaces before their tab so that the accelerator texts start
    // in one column.
    void AlignAcceleratorText();

    // Gives command `id` an image in the program-wide image table (replacing one it had):
    // a bitmap of m_cxIcon x m_cyIcon whose pixels of m_crImageTransparent are not drawn (they
    // turn black in the caller's bitmap), or an icon. Items appended afterwards with that
    // command show it.
    BOOL AddImage(UINT id, HBITMAP bitmap);
    BOOL AddImage(UINT id, HICON icon);
    // Check-mark images: a strip of m_cxIcon-wide images (m_crImageTransparent not drawn);
    // `checked` and `unchecked` index into it, -1 for the drawn mark or none.
    BOOL SetCheckImages(HBITMAP strip, int checked, int unchecked);

    // The answer to WM_MENUCHAR: MNC_EXECUTE with the position of the first item whose text
    // holds "&" and the typed character, or 0 (also when `menu` is no BCMenu or `flags` has no
    // MF_POPUP).
    static LRESULT FindMnemonic(UINT ch, UINT flags, CMenu* menu);
    // Whether `menu` is a popup that some BCMenu appended and has not destroyed yet.
    static bool IsSubMenu(HMENU menu);
    // Each channel moved towards white by `factor` (0 < factor <= 1); others unchanged.
    static COLORREF LightenColor(COLORREF colour, double factor);
    // The shell type: 0 Win32s, 2 Windows 95, 3 Windows 98, 4 Windows Me, 5 NT 4, 6 Windows
    // 2000, 7 Windows XP, 1 any other NT.
    static int QueryWindowsVersion();
    // Whether the current theme is "Windows Classic"; read once, then remembered.
    static BOOL IsClassicTheme();
    // Whether items are measured and painted in the flat look.
    static bool IsFlatLook();

    // The version calls QueryWindowsVersion makes; SetVersionCalls returns the ones replaced.
    struct VersionCalls {
        DWORD(WINAPI* GetVersion)();
        BOOL(WINAPI* GetVersionEx)(OSVERSIONINFOW* info);
    };
    static VersionCalls SetVersionCalls(const VersionCalls& calls);

    // Program-wide settings: the shell type found at start, the draw mode (1 makes every menu
    // flat), and the theme answer with whether the registry was read.
    static int s_shellType;
    static int s_drawMode;
    static BOOL s_bClassicTheme;
    static BOOL s_bThemeRead;
    static CPINFO s_cpInfo;

    int m_cxIcon = 16;
    int m_cyIcon = 15;
    COLORREF m_crImageTransparent = RGB(192, 192, 192);
    BOOL m_bImageTransparentSet = FALSE;
    int m_nCheckedImage = -1;
    int m_nUncheckedImage = -1;
    CImageList* m_pCheckImages = nullptr;
    BOOL m_bCheckImagesShared = FALSE;
    BOOL m_bLoaded = FALSE;
    BOOL m_bSelectDisabled = FALSE;  // a selected disabled item is highlighted too

private:
    void Synchronize();
    void Clear(bool checkImages);
    void DrawClassic(DRAWITEMSTRUCT* dis, const BCMenuData& item);
    void DrawFlat(DRAWITEMSTRUCT* dis, const BCMenuData& item);
    // The check or radio mark, or the check image for the item's state, centred in `cell`.
    void DrawMark(CDC& dc, const CRect& cell, const DRAWITEMSTRUCT* dis, COLORREF colour);
    void TakeImage(BCMenuData& item) const;

    std::vector<std::unique_ptr<BCMenuData>> m_items;
    std::vector<HMENU> m_popupHandles;
    std::vector<std::unique_ptr<BCMenu>> m_subMenus;
};
