// The owner-drawn menu: building from a template, the program-wide sub-menu list, mnemonics,
// measuring, and its painting by pixels (drawn directly and shown for real).
#include <gtest/gtest.h>

#include "BCMenu.h"
#include "ui_support.h"

namespace {

const BCMenuData* DataOf(HMENU menu, int pos) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info);
    EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);
    return reinterpret_cast<const BCMenuData*>(info.dwItemData);
}

TEST(BCMenu, LoadsATemplateAsOwnerDrawnItemsAndListsItsSubMenus) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    ASSERT_EQ(menu.GetMenuItemCount(), 5);
    EXPECT_EQ(DataOf(menu, 0)->text, L"&Open\tCtrl+O");
    EXPECT_EQ(menu.GetMenuItemID(0), 4001u);
    EXPECT_NE(DataOf(menu, 2)->flags & MF_SEPARATOR, 0u);
    EXPECT_EQ(::GetMenuState(menu, 4002, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(menu.GetMenuItemID(4), 4003u) << "the item after the popup belongs to the top level";
    HMENU more = menu.GetSubMenu(3);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(::GetMenuItemCount(more), 2);
    EXPECT_EQ(DataOf(more, 1)->text, L"In&active");
    EXPECT_NE(::GetMenuState(more, 4011, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_TRUE(BCMenu::IsSubMenu(more));
    { BCMenu empty; }  // an empty menu touches no list
    EXPECT_TRUE(BCMenu::IsSubMenu(more));
    EXPECT_FALSE(menu.LoadMenu(999));
    menu.DestroyMenu();
    EXPECT_FALSE(BCMenu::IsSubMenu(more));
    EXPECT_FALSE(::IsMenu(more));
    EXPECT_EQ(menu.m_hMenu, nullptr);
}

TEST(BCMenu, FindsTheItemOfAMnemonic) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &menu), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('C', MF_POPUP, &menu), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('q', MF_POPUP, &menu), 0);
    EXPECT_EQ(BCMenu::FindMnemonic('x', 0, &menu), 0);
    CMenu plain;
    plain.CreatePopupMenu();
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &plain), 0);
}

TEST(BCMenu, MeasuresItemsAndSeparators) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, 2));
    menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, 0u);
    EXPECT_EQ(static_cast<int>(mis.itemHeight), std::max(::GetSystemMetrics(SM_CYMENU) / 2, 19 / 2));
    mis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, 4));
    menu.MeasureItem(&mis);
    EXPECT_EQ(static_cast<int>(mis.itemHeight), std::max(::GetSystemMetrics(SM_CYMENU), 19));
    EXPECT_GT(mis.itemWidth, 33u);
    LONG exitWidth = static_cast<LONG>(mis.itemWidth);
    mis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, 0));
    menu.MeasureItem(&mis);
    EXPECT_GT(static_cast<LONG>(mis.itemWidth), exitWidth) << "the accelerator text is measured too";
}

TEST(BCMenu, LightensTowardsWhite) {
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 0.5), RGB(177, 127, 255));
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 0.0), RGB(100, 0, 255));
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 1.5), RGB(100, 0, 255));
}

// Draws item `pos` into a 140 x 20 picture with the given state.
Picture Draw(BCMenu& menu, int pos, UINT state) {
    CDC dc;
    HDC screen = ::GetDC(nullptr);
    dc.CreateCompatibleDC(screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(screen, 140, 20);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = dc.SelectObject(bmp);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = menu.GetMenuItemID(pos);
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
    dis.hDC = dc;
    dis.rcItem = {0, 0, 140, 20};
    dis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, pos));
    menu.DrawItem(&dis);
    Picture p = Picture::FromDC(dc, 140, 20);
    dc.SelectObject(old);
    return p;
}

int CountColour(const Picture& p, COLORREF c, int x0, int x1) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = x0; x < x1; ++x) n += p.At(x, y) == c;
    return n;
}

TEST(BCMenu, PaintsSelectionMarksDisabledTextAndSeparators) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), face = ::GetSysColor(COLOR_MENU);
    Picture plain = Draw(menu, 0, 0);
    EXPECT_EQ(plain.At(135, 2), face);
    EXPECT_EQ(plain.At(3, 3), face) << "no mark cell when unchecked";
    EXPECT_GT(CountColour(plain, ::GetSysColor(COLOR_MENUTEXT), 20, 140), 10);
    Picture selected = Draw(menu, 0, ODS_SELECTED);
    EXPECT_EQ(selected.At(135, 2), highlight);
    EXPECT_EQ(selected.At(3, 3), face) << "the mark cell is not highlighted";
    EXPECT_GT(CountColour(selected, ::GetSysColor(COLOR_HIGHLIGHTTEXT), 20, 140), 10);
    Picture checked = Draw(menu, 1, ODS_CHECKED);
    EXPECT_EQ(checked.At(1, 1), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(checked.At(18, 18), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(checked.At(3, 3), BCMenu::LightenColor(::GetSysColor(COLOR_BTNFACE), 0.6));
    EXPECT_GT(CountColour(checked, ::GetSysColor(COLOR_MENUTEXT), 2, 18), 10) << "the check mark";
    Picture disabled = Draw(menu, 0, ODS_GRAYED);
    EXPECT_GT(CountColour(disabled, ::GetSysColor(COLOR_GRAYTEXT), 20, 140), 10);
    EXPECT_EQ(CountColour(disabled, ::GetSysColor(COLOR_MENUTEXT), 20, 140), 0);
    Picture separator = Draw(menu, 2, 0);
    EXPECT_EQ(separator.At(70, 9), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(separator.At(70, 10), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(separator.At(70, 3), face);
    checked.Save("bc_menu_item_checked");
}

// Shown for real: the owner window's layer routes measuring and drawing to the menu.
TEST(BCMenu, IsMeasuredAndDrawnWhenShown) {
    struct Counting : BCMenu {
        int measured = 0, drawn = 0;
        void MeasureItem(MEASUREITEMSTRUCT* mis) override { ++measured; BCMenu::MeasureItem(mis); }
        void DrawItem(DRAWITEMSTRUCT* dis) override { ++drawn; BCMenu::DrawItem(dis); }
    } menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    struct Owner : CWnd {} owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 600, 300, 50, 50, nullptr, nullptr));
    ::SetForegroundWindow(owner);
    ::SetTimer(nullptr, 0, 400, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        if (popup) Picture::FromScreen(popup).Save("bc_menu_shown");
        ::EndMenu();
    });
    menu.TrackPopupMenu(TPM_LEFTALIGN, 600, 300, owner);
    EXPECT_EQ(menu.measured, 5);
    EXPECT_GE(menu.drawn, 5);
}

}  // namespace
