// The owner-drawn menu: building from a template, the program-wide sub-menu list, records kept
// in step with the system menu, the version and theme that choose its look, measuring, and
// its painting in both looks by pixels (drawn directly and shown for real).
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

// The program-wide look settings and the theme value, put back after each test.
class BCMenuLook : public ::testing::Test {
protected:
    void TearDown() override {
        BCMenu::s_shellType = m_shellType;
        BCMenu::s_drawMode = 0;
        BCMenu::s_bThemeRead = FALSE;
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kThemeKey);
    }
    // Sets (or with null removes) the current theme's file name and forgets the cached answer.
    static void SetTheme(const wchar_t* file) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kThemeKey);
        if (file) {
            HKEY key;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kThemeKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(file),
                             static_cast<DWORD>((wcslen(file) + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
        BCMenu::s_bThemeRead = FALSE;
    }
    static void FlatLook() {
        BCMenu::s_shellType = 7;
        SetTheme(L"C:\\Windows\\Resources\\Themes\\Luna.theme");
    }
    static constexpr const wchar_t* kThemeKey = L"Software\\Microsoft\\Plus!\\Themes\\Current";
    int m_shellType = BCMenu::s_shellType;
};

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
    EXPECT_EQ(DataOf(menu, 3)->text, L"&More");
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

// Items added, removed or changed behind the menu's back, and changed through it.
TEST(BCMenu, KeepsItsRecordsInStepWithTheSystemMenu) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &menu), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('C', MF_POPUP, &menu), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('q', MF_POPUP, &menu), 0);
    EXPECT_EQ(BCMenu::FindMnemonic('x', 0, &menu), 0);
    CMenu plain;
    plain.CreatePopupMenu();
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &plain), 0);

    ::InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 4050, L"&Zebra");
    EXPECT_EQ(BCMenu::FindMnemonic('z', MF_POPUP, &menu), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &menu), MAKELRESULT(5, MNC_EXECUTE));
    EXPECT_EQ(DataOf(menu, 0)->text, L"&Zebra") << "a plain item becomes owner-drawn with a record";
    ::RemoveMenu(menu, 4001, MF_BYCOMMAND);
    ::RemoveMenu(menu, 4002, MF_BYCOMMAND);
    EXPECT_EQ(BCMenu::FindMnemonic('x', MF_POPUP, &menu), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(BCMenu::FindMnemonic('c', MF_POPUP, &menu), 0);

    ASSERT_TRUE(menu.ModifyOwnerDrawItem(4003, MF_BYCOMMAND | MF_GRAYED, 4004, L"&Quit"));
    EXPECT_EQ(menu.GetMenuItemID(3), 4004u);
    EXPECT_EQ(DataOf(menu, 3)->text, L"&Quit");
    EXPECT_NE(::GetMenuState(menu, 4004, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(BCMenu::FindMnemonic('q', MF_POPUP, &menu), MAKELRESULT(3, MNC_EXECUTE));
    ASSERT_TRUE(menu.ModifyOwnerDrawItem(0, MF_BYPOSITION, 0, L"ignored"));
    EXPECT_NE(DataOf(menu, 0)->flags & MF_SEPARATOR, 0u);
    EXPECT_EQ(BCMenu::FindMnemonic('z', MF_POPUP, &menu), 0);
    EXPECT_FALSE(menu.ModifyOwnerDrawItem(4999, MF_BYCOMMAND, 4998, L"none"));
}

TEST(BCMenu, LightensTowardsWhite) {
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 0.5), RGB(177, 127, 255));
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 0.0), RGB(100, 0, 255));
    EXPECT_EQ(BCMenu::LightenColor(RGB(100, 0, 255), 1.5), RGB(100, 0, 255));
}

struct FakeVersion {
    DWORD version, major, minor;
    int calls;
} g_version;
DWORD WINAPI FakeGetVersion() { return g_version.version; }
BOOL WINAPI FakeGetVersionEx(OSVERSIONINFOW* info) {
    ++g_version.calls;
    info->dwMajorVersion = g_version.major;
    info->dwMinorVersion = g_version.minor;
    return TRUE;
}

TEST_F(BCMenuLook, VersionAndThemeChooseTheLook) {
    EXPECT_EQ(BCMenu::s_shellType, 1) << "Wine reports an NT after XP: the classic look";
    BCMenu::VersionCalls real = BCMenu::SetVersionCalls({&FakeGetVersion, &FakeGetVersionEx});
    struct Case {
        FakeVersion v;
        int shell;
    } cases[] = {{{0x0A280105, 5, 1, 0}, 7}, {{0x00000005, 5, 0, 0}, 6}, {{0x00000004, 4, 0, 0}, 5},
                 {{0x00000005, 5, 2, 0}, 1}, {{0x1DB10106, 6, 1, 0}, 1}, {{0x80000003, 3, 10, 0}, 0},
                 {{0x80000004, 4, 10, 0}, 3}, {{0x80000004, 4, 90, 0}, 4}, {{0x80000004, 4, 0, 0}, 2}};
    for (const Case& c : cases) {
        g_version = c.v;
        EXPECT_EQ(BCMenu::QueryWindowsVersion(), c.shell) << std::hex << c.v.version << " " << c.v.major << "." << c.v.minor;
        if (c.shell == 0) {
            EXPECT_EQ(g_version.calls, 0) << "the version of Win32s is not asked for";
        }
    }
    BCMenu::SetVersionCalls(real);
    EXPECT_EQ(BCMenu::QueryWindowsVersion(), BCMenu::s_shellType);

    SetTheme(nullptr);
    EXPECT_FALSE(BCMenu::IsClassicTheme());
    SetTheme(L"C:\\WINDOWS\\Resources\\Themes\\windows CLASSIC.Theme");
    EXPECT_TRUE(BCMenu::IsClassicTheme());
    SetTheme(L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme.bak");
    EXPECT_FALSE(BCMenu::IsClassicTheme());
    SetTheme(L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme");
    EXPECT_TRUE(BCMenu::IsClassicTheme());
    SetTheme(L"C:\\WINDOWS\\Resources\\Themes\\Luna.theme");
    BCMenu::s_bThemeRead = TRUE;
    EXPECT_TRUE(BCMenu::IsClassicTheme()) << "the answer is read once";

    // Measured: the flat look pads by 7, the classic by 4; the text in the menu font unless
    // the shell is older than Windows 95's (Wine's own type 1).
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(200));
    auto measure = [&](int pos) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, pos));
        menu.MeasureItem(&mis);
        return std::make_pair(static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight));
    };
    auto extent = [](bool menuFont) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof ncm;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        HFONT font = ::CreateFontIndirectW(&ncm.lfMenuFont);
        HDC dc = ::GetDC(::GetDesktopWindow());
        HGDIOBJ old = menuFont ? ::SelectObject(dc, font) : nullptr;
        SIZE s{};
        ::GetTextExtentPoint32W(dc, L"E&xit", 5, &s);
        if (old) ::SelectObject(dc, old);
        ::ReleaseDC(::GetDesktopWindow(), dc);
        ::DeleteObject(font);
        return static_cast<int>(s.cx);
    };
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    struct Look {
        int shell, drawMode;
        const wchar_t* theme;
        bool flat, menuFont;
    } looks[] = {{7, 0, L"Luna.theme", true, true},           {7, 0, L"Windows Classic.theme", false, true},
                 {6, 0, L"Luna.theme", false, true},          {1, 0, nullptr, false, false},
                 {1, 1, L"Windows Classic.theme", true, false}, {2, 1, nullptr, true, true}};
    for (const Look& look : looks) {
        BCMenu::s_shellType = look.shell;
        BCMenu::s_drawMode = look.drawMode;
        SetTheme(look.theme);
        SCOPED_TRACE(testing::Message() << "shell " << look.shell << ", draw mode " << look.drawMode);
        EXPECT_EQ(BCMenu::IsFlatLook(), look.flat);
        const int dy = look.flat ? 7 : 4;
        auto separator = measure(2);
        EXPECT_EQ(separator.first, 0);
        EXPECT_EQ(separator.second, std::max(cyMenu / 2, (15 + dy) / 2));
        auto exit = measure(4);
        EXPECT_EQ(exit.second, std::max(cyMenu, 15 + dy));
        EXPECT_EQ(exit.first, look.flat ? 16 + extent(look.menuFont) + dy + 8 : extent(look.menuFont) + 33);
        EXPECT_GT(measure(0).first, exit.first) << "the accelerator text is measured too";
    }
    EXPECT_NE(extent(true), extent(false)) << "the two fonts must differ for the font rule to show";
}

constexpr COLORREF kSentinel = RGB(1, 2, 3), kRed = RGB(255, 0, 0), kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0);

// Draws item `pos` with the given state into a 200 x 22 item rectangle `top` pixels down a
// picture first filled with a sentinel colour.
Picture Draw(BCMenu& menu, int pos, UINT state, int top = 0) {
    CDC dc;
    HDC screen = ::GetDC(nullptr);
    dc.CreateCompatibleDC(screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(screen, 200, top + 22);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = dc.SelectObject(bmp);
    dc.FillSolidRect(0, 0, 200, top + 22, kSentinel);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = menu.GetMenuItemID(pos);
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
    dis.hDC = dc;
    dis.rcItem = {0, top, 200, top + 22};
    dis.itemData = reinterpret_cast<ULONG_PTR>(DataOf(menu, pos));
    menu.DrawItem(&dis);
    Picture p = Picture::FromDC(dc, 200, top + 22);
    dc.SelectObject(old);
    return p;
}

int CountColour(const Picture& p, COLORREF c, int x0, int x1, int y0 = 0, int y1 = -1) {
    int n = 0;
    for (int y = y0; y < (y1 < 0 ? p.height : y1); ++y)
        for (int x = x0; x < x1; ++x) n += p.At(x, y) == c;
    return n;
}

// 16 x 15 pictures side by side: a square of `colours[i]` at (4, 4) to (11, 10) on
// `background` (magenta: the colour to leave out).
HBITMAP Images(std::initializer_list<COLORREF> colours, COLORREF background = kMagenta) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    const int count = static_cast<int>(colours.size());
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16 * count, 15);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    HBRUSH magenta = ::CreateSolidBrush(background);
    RECT all{0, 0, 16 * count, 15};
    ::FillRect(dc, &all, magenta);
    int i = 0;
    for (COLORREF c : colours) {
        HBRUSH brush = ::CreateSolidBrush(c);
        RECT square{16 * i + 4, 4, 16 * i + 12, 11};
        ::FillRect(dc, &square, brush);
        ::DeleteObject(brush);
        ++i;
    }
    ::DeleteObject(magenta);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bmp;
}

// The menu of the painting tests: command 4023 has a red square on magenta as its image.
void LoadPictureMenu(BCMenu& menu) {
    menu.m_crImageTransparent = kMagenta;
    menu.m_bImageTransparentSet = TRUE;
    HBITMAP image = Images({kRed});
    ASSERT_TRUE(menu.AddImage(4023, image));
    ::DeleteObject(image);
    ASSERT_TRUE(menu.LoadMenu(201));
    ::CheckMenuRadioItem(menu, 4024, 4024, 4024, MF_BYCOMMAND);
}

TEST_F(BCMenuLook, PaintsTheClassicLookInEveryState) {
    BCMenu menu;
    LoadPictureMenu(menu);
    const COLORREF face = ::GetSysColor(COLOR_MENU), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF text = ::GetSysColor(COLOR_MENUTEXT), light = ::GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), grey = ::GetSysColor(COLOR_GRAYTEXT);
    ASSERT_FALSE(BCMenu::IsFlatLook());

    Picture plain = Draw(menu, 0, 0);
    EXPECT_EQ(plain.At(195, 2), face);
    EXPECT_EQ(plain.At(3, 3), face) << "no mark cell when unchecked";
    EXPECT_GT(CountColour(plain, text, 20, 200), 10);
    Picture selected = Draw(menu, 0, ODS_SELECTED);
    EXPECT_EQ(selected.At(195, 2), highlight);
    EXPECT_EQ(selected.At(3, 3), face) << "the mark cell is not highlighted";
    EXPECT_GT(CountColour(selected, ::GetSysColor(COLOR_HIGHLIGHTTEXT), 20, 200), 10);
    Picture disabled = Draw(menu, 0, ODS_GRAYED | ODS_SELECTED);
    EXPECT_EQ(disabled.At(195, 2), face) << "a disabled item shows no selection";
    EXPECT_GT(CountColour(disabled, grey, 20, 200), 10);
    EXPECT_GT(CountColour(disabled, light, 20, 200), 10) << "embossed";
    EXPECT_EQ(CountColour(disabled, text, 20, 200), 0);

    Picture checked = Draw(menu, 0, ODS_CHECKED);
    EXPECT_EQ(checked.At(1, 1), shadow);
    EXPECT_EQ(checked.At(18, 20), light);
    EXPECT_EQ(checked.At(3, 3), BCMenu::LightenColor(::GetSysColor(COLOR_BTNFACE), 0.6));
    EXPECT_GT(CountColour(checked, text, 2, 18), 10) << "the check mark";
    Picture radio = Draw(menu, 4, ODS_CHECKED);
    int checkInk = CountColour(checked, text, 2, 18), radioInk = CountColour(radio, text, 2, 18);
    EXPECT_GT(radioInk, 10) << "the radio mark";
    EXPECT_NE(checkInk, radioInk) << "a radio item shows a dot, not a check mark";

    // The image, its magenta left out; raised when selected; embossed when disabled.
    Picture image = Draw(menu, 3, 0);
    EXPECT_EQ(CountColour(image, kRed, 0, 20), 8 * 7);
    EXPECT_EQ(image.At(6, 7), kRed);
    EXPECT_EQ(CountColour(image, kMagenta, 0, 200), 0);
    EXPECT_EQ(image.At(3, 4), face);
    Picture imageSelected = Draw(menu, 3, ODS_SELECTED);
    EXPECT_EQ(imageSelected.At(1, 1), light);
    EXPECT_EQ(imageSelected.At(18, 20), shadow);
    EXPECT_EQ(CountColour(imageSelected, kRed, 0, 20), 8 * 7);
    Picture imageDisabled = Draw(menu, 3, ODS_GRAYED);
    EXPECT_EQ(CountColour(imageDisabled, kRed, 0, 200), 0);
    EXPECT_EQ(CountColour(imageDisabled, shadow, 0, 20), 8 * 7);
    EXPECT_EQ(imageDisabled.At(6, 7), shadow);
    EXPECT_EQ(imageDisabled.At(14, 14), light) << "the highlight one pixel down and right";

    Picture separator = Draw(menu, 5, 0);
    EXPECT_EQ(separator.At(70, 10), shadow);
    EXPECT_EQ(separator.At(70, 11), light);
    EXPECT_EQ(separator.At(70, 3), face);
    checked.Save("bc_menu_classic_checked");
}

TEST_F(BCMenuLook, PaintsTheFlatLookInEveryStateOffScreen) {
    FlatLook();
    BCMenu menu;
    LoadPictureMenu(menu);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), text = ::GetSysColor(COLOR_MENUTEXT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_3DHILIGHT);
    ASSERT_TRUE(BCMenu::IsFlatLook());
    ASSERT_NE(face, window);

    Picture plain = Draw(menu, 0, 0);
    EXPECT_EQ(plain.At(3, 3), face) << "the image strip";
    EXPECT_EQ(plain.At(23, 20), face);
    EXPECT_EQ(plain.At(24, 2), window) << "the body";
    EXPECT_EQ(plain.At(195, 20), window);
    EXPECT_GT(CountColour(plain, text, 24, 200), 10);
    Picture selected = Draw(menu, 0, ODS_SELECTED);
    const COLORREF selection = BCMenu::LightenColor(highlight, 0.7);
    EXPECT_EQ(selected.At(195, 2), selection);
    EXPECT_EQ(selected.At(3, 3), selection) << "the selection covers the strip";
    EXPECT_EQ(selected.At(0, 0), highlight);
    EXPECT_EQ(selected.At(199, 21), highlight);
    EXPECT_GT(CountColour(selected, text, 24, 200), 10) << "the text keeps its colour";
    Picture disabled = Draw(menu, 0, ODS_GRAYED | ODS_SELECTED);
    EXPECT_EQ(disabled.At(195, 2), window) << "a disabled item shows no selection";
    EXPECT_GT(CountColour(disabled, ::GetSysColor(COLOR_GRAYTEXT), 24, 200), 10);
    EXPECT_EQ(CountColour(disabled, text, 24, 200), 0);

    Picture checked = Draw(menu, 0, ODS_CHECKED);
    EXPECT_EQ(checked.At(1, 1), highlight);
    EXPECT_EQ(checked.At(22, 20), highlight);
    EXPECT_EQ(checked.At(3, 3), BCMenu::LightenColor(highlight, 0.5));
    EXPECT_GT(CountColour(checked, text, 2, 22), 10) << "the check mark";
    Picture checkedSelected = Draw(menu, 0, ODS_CHECKED | ODS_SELECTED);
    EXPECT_EQ(checkedSelected.At(3, 3), BCMenu::LightenColor(highlight, 0.4));
    Picture radio = Draw(menu, 4, ODS_CHECKED);
    EXPECT_GT(CountColour(radio, text, 2, 22), 10);
    EXPECT_NE(CountColour(radio, text, 2, 22), CountColour(checked, text, 2, 22));

    // The image at (4, 3), its magenta left out; lifted over a dithered shadow when selected.
    Picture image = Draw(menu, 3, 0);
    EXPECT_EQ(CountColour(image, kRed, 0, 24), 8 * 7);
    EXPECT_EQ(image.At(8, 7), kRed);
    EXPECT_EQ(image.At(7, 7), face);
    EXPECT_EQ(CountColour(image, kMagenta, 0, 200), 0);
    Picture lifted = Draw(menu, 3, ODS_SELECTED);
    EXPECT_EQ(lifted.At(7, 6), kRed);
    EXPECT_EQ(lifted.At(14, 12), kRed);
    int shade = CountColour(lifted, shadow, 0, 24);
    EXPECT_GE(shade, 8) << "the shadow shows right of and below the image";
    EXPECT_LE(shade, 18) << "dithered: every other pixel of 26";
    EXPECT_EQ(CountColour(lifted, shadow, 0, 24, 0, 8), 0);
    Picture imageDisabled = Draw(menu, 3, ODS_GRAYED);
    EXPECT_EQ(CountColour(imageDisabled, kRed, 0, 200), 0);
    EXPECT_EQ(imageDisabled.At(8, 7), shadow);
    EXPECT_EQ(imageDisabled.At(16, 14), light);

    Picture separator = Draw(menu, 5, 0);
    EXPECT_EQ(separator.At(100, 11), BCMenu::LightenColor(shadow, 0.4));
    EXPECT_EQ(separator.At(100, 5), window);
    EXPECT_EQ(separator.At(3, 11), face);

    // Drawn off screen and copied into the item's rectangle only.
    Picture lower = Draw(menu, 0, ODS_SELECTED, 30);
    EXPECT_EQ(CountColour(lower, kSentinel, 0, 200, 0, 30), 200 * 30);
    EXPECT_EQ(CountColour(lower, kSentinel, 0, 200, 30, 52), 0);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 200; x += 3) ASSERT_EQ(lower.At(x, 30 + y), selected.At(x, y)) << x << "," << y;

    // The classic theme on XP, or the draw mode elsewhere: a lighter face and selection.
    SetTheme(L"Windows Classic.theme");
    BCMenu::s_shellType = 1;
    BCMenu::s_drawMode = 1;
    Picture mode = Draw(menu, 0, 0);
    EXPECT_EQ(mode.At(3, 3), BCMenu::LightenColor(face, 0.25));
    EXPECT_EQ(mode.At(195, 2), window);
    EXPECT_EQ(Draw(menu, 0, ODS_SELECTED).At(195, 2), BCMenu::LightenColor(highlight, 0.85));
    selected.Save("bc_menu_flat_selected");
}

TEST(BCMenu, MemoryDcDrawsStraightOntoAMetafile) {
    HDC meta = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(meta, nullptr);
    CDC target;
    target.Attach(meta);
    RECT r{10, 10, 50, 30};
    {
        BCMenuMemDC dc(&target, &r);
        EXPECT_FALSE(dc.m_bMemDC);
        EXPECT_EQ(dc.m_hDC, meta);
    }
    EXPECT_EQ(::GetObjectType(meta), static_cast<DWORD>(OBJ_ENHMETADC)) << "the borrowed DC lives on";
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(target.Detach()));
}

// A 16 x 15 icon: the red square of Images, the rest transparent by its mask.
HICON RedIcon() {
    HBITMAP colour = Images({kRed}, RGB(0, 0, 0));
    const BYTE rows[15][2] = {{0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}, {0xF0, 0x0F},
                              {0xF0, 0x0F}, {0xF0, 0x0F}, {0xF0, 0x0F}, {0xF0, 0x0F}, {0xF0, 0x0F},
                              {0xF0, 0x0F}, {0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}};
    HBITMAP mask = ::CreateBitmap(16, 15, 1, 1, rows);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    return icon;
}

// Check-mark images in place of the drawn marks, taken over by the sub-menus; an icon as an
// item's image, replacing the command's earlier image.
TEST_F(BCMenuLook, DrawsCheckImagesAndIconsInBothLooks) {
    BCMenu menu;
    menu.m_crImageTransparent = kMagenta;
    HBITMAP strip = Images({kBlue, kGreen});
    ASSERT_TRUE(menu.SetCheckImages(strip, 0, 1));
    ::DeleteObject(strip);
    ASSERT_TRUE(menu.LoadMenu(200));
    auto* sub = dynamic_cast<BCMenu*>(CMenu::FromHandlePermanent(menu.GetSubMenu(3)));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->m_pCheckImages, menu.m_pCheckImages);
    EXPECT_TRUE(sub->m_bCheckImagesShared);
    EXPECT_FALSE(menu.m_bCheckImagesShared);
    HBITMAP blue = Images({kBlue});
    ASSERT_TRUE(menu.AddImage(4030, blue));
    ::DeleteObject(blue);
    HICON icon = RedIcon();
    ASSERT_TRUE(menu.AddImage(4030, icon));
    ::DestroyIcon(icon);
    ASSERT_TRUE(menu.AppendOwnerDrawItem(L"&Icon", MF_STRING, 4030));
    ASSERT_EQ(DataOf(menu, 5)->text, L"&Icon");
    for (bool flat : {false, true}) {
        if (flat) FlatLook();
        SCOPED_TRACE(flat ? "flat" : "classic");
        Picture checked = Draw(menu, 1, ODS_CHECKED);
        EXPECT_EQ(CountColour(checked, kBlue, 0, 24), 8 * 7);
        EXPECT_EQ(CountColour(checked, kGreen, 0, 24), 0);
        EXPECT_EQ(CountColour(checked, ::GetSysColor(COLOR_MENUTEXT), 0, 24), 0) << "no drawn mark";
        Picture unchecked = Draw(*sub, 0, 0);
        EXPECT_EQ(CountColour(unchecked, kGreen, 0, 24), 8 * 7);
        EXPECT_EQ(CountColour(unchecked, kMagenta, 0, 200), 0);
        Picture iconItem = Draw(menu, 5, 0);
        EXPECT_EQ(CountColour(iconItem, kRed, 0, 24), 8 * 7);
        EXPECT_EQ(CountColour(iconItem, kBlue, 0, 24), 0) << "the icon replaced the bitmap";
        EXPECT_EQ(iconItem.At(5, 5), flat ? ::GetSysColor(COLOR_BTNFACE) : ::GetSysColor(COLOR_MENU));
    }
}

// The first pixel column, from `x0`, of each run of ink (not `background`) that follows a
// gap of at least `gap` blank columns; the first run counts too.
std::vector<int> InkRuns(const Picture& p, COLORREF background, int x0, int gap) {
    std::vector<int> starts;
    int blank = gap;
    for (int x = x0; x < p.width; ++x) {
        bool ink = false;
        for (int y = 0; y < p.height; ++y) ink = ink || p.At(x, y) != background;
        if (ink && blank >= gap) starts.push_back(x);
        blank = ink ? 0 : blank + 1;
    }
    return starts;
}

TEST_F(BCMenuLook, AlignsTheAcceleratorTextsInOneColumn) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = ::CreateFontIndirectW(&ncm.lfMenuFont);
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE space{}, shortText{}, longText{};
    ::GetTextExtentPoint32W(screen, L" ", 1, &space);
    ::GetTextExtentPoint32W(screen, L"Short", 5, &shortText);
    ::GetTextExtentPoint32W(screen, L"Muchlongerword", 14, &longText);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(font);
    ASSERT_GT(longText.cx - shortText.cx, 4 * space.cx);

    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(201));
    EXPECT_EQ(DataOf(menu, 1)->text, L"Muchlonger&word\tF5") << "the widest text is not padded";
    EXPECT_EQ(DataOf(menu, 0)->text.rfind(L"&Short  ", 0), 0u) << "the others are";
    for (bool flat : {false, true}) {
        if (flat) FlatLook();
        SCOPED_TRACE(flat ? "flat" : "classic");
        const COLORREF background = ::GetSysColor(flat ? COLOR_WINDOW : COLOR_MENU);
        std::vector<int> columns;
        for (int pos = 0; pos < 3; ++pos) {
            std::vector<int> runs = InkRuns(Draw(menu, pos, 0), background, 25, 2 * space.cx - 1);
            ASSERT_EQ(runs.size(), 2u) << "item " << pos << ": the text and its accelerator";
            columns.push_back(runs[1]);
        }
        EXPECT_GE(columns[1], 25 + longText.cx);
        for (int column : columns) EXPECT_LE(std::abs(column - columns[1]), space.cx) << column;
    }
}

// Shown for real in both looks: the owner window's layer routes measuring and drawing to the
// menu, and the pointer over an item selects it.
TEST_F(BCMenuLook, IsMeasuredAndDrawnWhenShown) {
    struct Counting : BCMenu {
        int measured = 0, drawn = 0;
        void MeasureItem(MEASUREITEMSTRUCT* mis) override { ++measured; BCMenu::MeasureItem(mis); }
        void DrawItem(DRAWITEMSTRUCT* dis) override { ++drawn; BCMenu::DrawItem(dis); }
    };
    struct Owner : CWnd {} owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 600, 300, 50, 50, nullptr, nullptr));
    static Picture shown, hovered;
    for (bool flat : {false, true}) {
        if (flat) FlatLook();
        SCOPED_TRACE(flat ? "flat" : "classic");
        Counting menu;
        ASSERT_TRUE(menu.LoadMenu(200));
        ::SetForegroundWindow(owner);
        shown = hovered = Picture();
        ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            HWND popup = ::FindWindowW(L"#32768", nullptr);
            if (!popup) {
                ::EndMenu();
                return;
            }
            shown = Picture::FromScreen(popup);
            RECT r;
            ::GetWindowRect(popup, &r);
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dx = (r.left + 60) * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
            in.mi.dy = (r.top + 10) * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
            in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            ::SendInput(1, &in, sizeof in);
            ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR next, DWORD) {
                ::KillTimer(nullptr, next);
                HWND popup = ::FindWindowW(L"#32768", nullptr);
                if (popup) hovered = Picture::FromScreen(popup);
                ::EndMenu();
            });
        });
        menu.TrackPopupMenu(TPM_LEFTALIGN, 600, 300, owner);
        EXPECT_EQ(menu.measured, 5);
        EXPECT_GE(menu.drawn, 5);
        ASSERT_GT(shown.width, 0);
        ASSERT_GT(hovered.width, 0);
        if (flat) {
            EXPECT_EQ(shown.At(shown.width - 8, 8), ::GetSysColor(COLOR_WINDOW));
            EXPECT_GT(CountColour(shown, ::GetSysColor(COLOR_BTNFACE), 0, 20), 100) << "the image strip";
            EXPECT_GT(CountColour(hovered, BCMenu::LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.7), 0,
                                  hovered.width),
                      300) << "the item under the pointer is selected";
            hovered.Save("bc_menu_flat_shown");
        } else {
            EXPECT_EQ(shown.At(shown.width - 8, 8), ::GetSysColor(COLOR_MENU));
            EXPECT_GT(CountColour(hovered, ::GetSysColor(COLOR_HIGHLIGHT), 0, hovered.width), 300)
                << "the item under the pointer is selected";
            hovered.Save("bc_menu_classic_shown");
        }
    }
}

}  // namespace
