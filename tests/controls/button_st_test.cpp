// The flat colour button in a dialog: hover, clicks, check state, default style, disabling.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ButtonST.h"
#include <mmsystem.h>
#include "controls_dialog.h"

namespace {

const COLORREF Face = ::GetSysColor(COLOR_BTNFACE), Light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
               Dark = ::GetSysColor(COLOR_BTNSHADOW);

class ButtonDialog : public ControlsDialog {
public:
    CButtonST push, check, def, other;
    HBRUSH face = nullptr;                   // the dialog's background, when set
    std::vector<WPARAM> menuCallbacks;       // wParam of each WM_APP + 5 that arrived
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CTLCOLORDLG && face) return reinterpret_cast<LRESULT>(face);
        if (message == WM_APP + 5) menuCallbacks.push_back(wParam);
        return ControlsDialog::WindowProc(message, wParam, lParam);
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IdPush, push);
        DDX_Control(dx, IdCheck, check);
        DDX_Control(dx, IdDef, def);
        DDX_Control(dx, IdOther, other);
    }
};

// The frame's top-left and bottom-right pixels.
std::pair<COLORREF, COLORREF> Frame(HWND button) {
    Picture p = Picture::PrintClient(button);
    return {p.At(0, 0), p.At(p.width - 1, p.height - 1)};
}

TEST(ButtonST, HoverFollowsThePointerWithARaisedFrame) {
    ButtonDialog dlg;
    dlg.Add("outside", [&] {
        ::SetCursorPos(5, 700);
        return true;
    });
    dlg.Add("flat", [&] { return Frame(dlg.push) == std::make_pair(Face, Face) && !dlg.push.m_bHover; });
    dlg.Add("enter", [&] {
        POINT c = ScreenCentre(dlg.push);
        MovePointer(c.x, c.y);
        return true;
    });
    dlg.Add("raised", [&] {
        if (!dlg.push.m_bHover || Frame(dlg.push) != std::make_pair(Light, Dark)) return false;
        Picture::PrintClient(dlg.push).Save("button_st_hover");
        return true;
    });
    dlg.Add("leave", [&] {
        MovePointer(5, 700);
        return true;
    });
    dlg.Add("ended by WM_MOUSELEAVE", [&] {
        return !dlg.push.m_bHover && Frame(dlg.push) == std::make_pair(Face, Face);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, ACheckBoxButtonKeepsItsStateAndTheParentStillGetsTheClick) {
    ButtonDialog dlg;
    HWND check = nullptr;
    dlg.Add("click", [&] {
        check = dlg.check;
        EXPECT_TRUE(dlg.check.m_bCheckBox);
        EXPECT_EQ(dlg.check.GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        dlg.check.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(check));
        dlg.check.PostMessage(WM_LBUTTONUP, 0, CentreOf(check));
        return true;
    });
    dlg.Add("checked", [&] {
        if (dlg.Count(IdCheck, BN_CLICKED) != 1) return false;
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), 1);
        EXPECT_EQ(::GetFocus(), check);
        auto [tl, br] = Frame(check);
        EXPECT_EQ(tl, Dark) << "a checked button is drawn pressed";
        EXPECT_EQ(br, Light);
        Picture::PrintClient(check).Save("button_st_checked");
        return true;
    });
    dlg.Add("click again", [&] {
        ::PostMessageW(check, BM_CLICK, 0, 0);
        return true;
    });
    dlg.Add("unchecked", [&] {
        if (dlg.Count(IdCheck, BN_CLICKED) != 2) return false;
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), 0);
        ::SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), 1) << "indeterminate counts as checked";
        ::SendMessageW(dlg.push, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(::SendMessageW(dlg.push, BM_GETCHECK, 0, 0), 0) << "a push button has no check";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, ADoubleClickCountsAsTwoClicks) {
    ButtonDialog dlg;
    dlg.Add("double click", [&] {
        LPARAM at = CentreOf(dlg.push);
        dlg.push.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        dlg.push.PostMessage(WM_LBUTTONUP, 0, at);
        dlg.push.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        dlg.push.PostMessage(WM_LBUTTONUP, 0, at);
        return true;
    });
    dlg.Add("two clicks", [&] { return dlg.Count(IdPush, BN_CLICKED) == 2; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Count(IdPush, BN_DOUBLECLICKED), 0);
}

TEST(ButtonST, TheDefaultMovesAndBothButtonsStayOwnerDrawn) {
    ButtonDialog dlg;
    dlg.Add("default", [&] {
        EXPECT_TRUE(dlg.def.m_bDefault);
        EXPECT_EQ(dlg.def.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON, static_cast<LRESULT>(DLGC_DEFPUSHBUTTON));
        ::SendMessageW(dlg, DM_SETDEFID, IdOther, 0);
        EXPECT_TRUE(dlg.other.m_bDefault);
        EXPECT_FALSE(dlg.def.m_bDefault);
        EXPECT_EQ(dlg.other.GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(dlg.def.GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(dlg.def.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON, static_cast<LRESULT>(DLGC_UNDEFPUSHBUTTON));
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, DisablingAFocusedButtonMovesTheFocusAndEmbossesTheCaption) {
    ButtonDialog dlg;
    dlg.Add("disable", [&] {
        dlg.push.SetFocus();
        dlg.push.EnableWindow(FALSE);
        EXPECT_NE(::GetFocus(), dlg.push.m_hWnd);
        EXPECT_NE(::GetFocus(), nullptr);
        Picture p = Picture::PrintClient(dlg.push);
        int shadow = 0, light = 0, text = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                COLORREF c = p.At(x, y);
                shadow += c == ::GetSysColor(COLOR_3DSHADOW);
                light += c == ::GetSysColor(COLOR_3DHILIGHT);
                text += c == ::GetSysColor(COLOR_BTNTEXT);
            }
        EXPECT_GT(shadow, 10);
        EXPECT_GT(light, 10);
        EXPECT_EQ(text, 0);
        p.Save("button_st_disabled");
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, MenuMessagesGoToTheMenuOnlyForListedSubMenus) {
    ButtonDialog dlg;
    dlg.Add("menu char", [&] {
        BCMenu menu;
        EXPECT_TRUE(menu.LoadMenu(200));
        HMENU more = menu.GetSubMenu(3);
        EXPECT_TRUE(BCMenu::IsSubMenu(more));
        EXPECT_EQ(dlg.push.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), reinterpret_cast<LPARAM>(more)),
                  MAKELRESULT(1, MNC_EXECUTE));
        HMENU plain = ::CreatePopupMenu();
        EXPECT_NE(HIWORD(dlg.push.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), reinterpret_cast<LPARAM>(plain))), MNC_EXECUTE);
        // WM_MEASUREITEM about a popup item: measured by the menu when the popup is listed.
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(more));
        EXPECT_EQ(dlg.push.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
        EXPECT_GT(mis.itemHeight, 0u);
        MEASUREITEMSTRUCT other{};
        other.CtlType = ODT_MENU;
        other.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(plain));
        EXPECT_EQ(dlg.push.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&other)), FALSE);
        EXPECT_EQ(other.itemHeight, 0u);
        ::DestroyMenu(plain);
        menu.DestroyMenu();
        EXPECT_NE(HIWORD(dlg.push.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), reinterpret_cast<LPARAM>(more))), MNC_EXECUTE)
            << "a destroyed menu is no longer routed";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// Pixels of the picture in `colour` within the rectangle (x0, y0) - (x1, y1), exclusive.
int CountColour(const Picture& p, COLORREF colour, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    if (x1 < 0) x1 = p.width;
    if (y1 < 0) y1 = p.height;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += p.At(x, y) == colour;
    return n;
}

// Pixels of row `y`, inside the frame, that are not the face: a focus rectangle's dots.
int Dots(const Picture& p, int y) { return (p.width - 8) - CountColour(p, Face, 4, y, p.width - 4, y + 1); }

TEST(ButtonST, TheClassicLookHasARaisedEdgeABlackFrameWhenFocusedOrDefaultAndAFocusRectangle) {
    ButtonDialog dlg;
    const COLORREF Light3d = ::GetSysColor(COLOR_3DLIGHT), DarkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    dlg.Add("classic", [&] {
        dlg.push.m_bFlat = dlg.def.m_bFlat = FALSE;
        ::SetFocus(::GetDlgItem(dlg, IdEdit));
        Picture p = Picture::PrintClient(dlg.push);
        const int r = p.width - 1, b = p.height - 1;
        EXPECT_EQ(p.At(0, 0), Light);
        EXPECT_EQ(p.At(1, 1), Light3d);
        EXPECT_EQ(p.At(r, b), DarkShadow);
        EXPECT_EQ(p.At(r - 1, b - 1), Dark);
        EXPECT_EQ(p.At(r / 2, 2), Face);
        EXPECT_EQ(Dots(p, 3), 0) << "no focus rectangle without the focus";
        p = Picture::PrintClient(dlg.def);
        EXPECT_EQ(p.At(0, 0), RGB(0, 0, 0)) << "the default button has a black frame";
        EXPECT_EQ(p.At(r, b), RGB(0, 0, 0));
        EXPECT_EQ(p.At(1, 1), Light);
        EXPECT_EQ(p.At(r - 1, b - 1), DarkShadow);
        // Focused: the black frame and the dotted focus rectangle 3 pixels in.
        dlg.push.SetFocus();
        p = Picture::PrintClient(dlg.push);
        EXPECT_EQ(p.At(0, 0), RGB(0, 0, 0));
        EXPECT_GT(Dots(p, 3), 5);
        EXPECT_EQ(Dots(p, 5), 0) << "one dotted line, 3 pixels in";
        p.Save("button_st_classic_focused");
        // Pressed: a shadow frame inside the black one.
        dlg.push.SendMessage(BM_SETSTATE, TRUE);
        p = Picture::PrintClient(dlg.push);
        EXPECT_EQ(p.At(1, 1), Dark);
        EXPECT_EQ(p.At(r - 1, b - 1), Dark);
        dlg.push.SendMessage(BM_SETSTATE, FALSE);
        // The flat look draws the focus rectangle only when asked to.
        EXPECT_EQ(Dots(Picture::PrintClient(dlg.other), 3), 0);
        dlg.other.SetFocus();
        EXPECT_EQ(Dots(Picture::PrintClient(dlg.other), 3), 0);
        dlg.other.m_bFlatFocus = TRUE;
        EXPECT_GT(Dots(Picture::PrintClient(dlg.other), 3), 5);
        POINT c = ScreenCentre(dlg.push);
        MovePointer(c.x, c.y);
        return true;
    });
    int ticks = 0;
    dlg.Add("no hover in the classic look", [&] {
        if (++ticks < 5) return false;
        EXPECT_FALSE(dlg.push.m_bHover);
        MovePointer(5, 700);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 160, 0), Magenta = RGB(255, 0, 255);

// A 16 x 16 colour bitmap: `left` in the left half, `right` in the right half.
HBITMAP HalfBitmap(COLORREF left, COLORREF right) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16, 16);
    CDC dc;
    dc.CreateCompatibleDC(screen);
    HGDIOBJ old = dc.SelectObject(bmp);
    dc.FillSolidRect(0, 0, 8, 16, left);
    dc.FillSolidRect(8, 0, 8, 16, right);
    dc.SelectObject(old);
    ::ReleaseDC(nullptr, screen);
    return bmp;
}

// A 16 x 16 monochrome mask: 0 (opaque) in the left half, 1 (transparent) in the right half.
HBITMAP HalfMask() {
    BYTE bits[32];
    for (int row = 0; row < 16; ++row) bits[2 * row] = 0x00, bits[2 * row + 1] = 0xFF;
    return ::CreateBitmap(16, 16, 1, 1, bits);
}

// An icon of `colour` in its left half, transparent in its right half.
HICON HalfIcon(COLORREF colour) {
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = HalfMask();
    info.hbmColor = HalfBitmap(colour, RGB(0, 0, 0));
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    return icon;
}

// The bounding box of the pixels in `colour`; empty when there are none.
RECT Where(const Picture& p, COLORREF colour) {
    RECT r{p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, y) == colour) {
                r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r.right < 0 ? RECT{} : r;
}

TEST(ButtonST, IconsAndBitmapsAreDrawnWithTheirTransparencyBesideOrInsteadOfTheCaption) {
    ButtonDialog dlg;
    dlg.Add("images", [&] {
        dlg.push.m_icons[CButtonST::In] = {HalfIcon(Red), 16, 16};
        dlg.push.m_icons[CButtonST::Out] = {HalfIcon(Blue), 16, 16};
        ::SetFocus(::GetDlgItem(dlg, IdEdit));
        Picture p = Picture::PrintClient(dlg.push);
        const int midY = (p.height - 16) / 2;
        RECT blue = Where(p, Blue);
        EXPECT_EQ(CountColour(p, Red), 0) << "the \"out\" icon while the pointer is away";
        EXPECT_EQ(blue.left, 3) << "left of the caption, at the margin";
        EXPECT_EQ(blue.top, midY);
        EXPECT_EQ(blue.right - blue.left, 8) << "the icon's right half is transparent";
        EXPECT_EQ(p.At(3 + 12, midY + 8), Face);
        int firstInk = p.width;  // the caption starts right of the icon
        for (int x = 0; x < p.width; ++x)
            for (int y = 2; y < p.height - 2; ++y)
                if (p.At(x, y) == ::GetSysColor(COLOR_BTNTEXT)) firstInk = std::min(firstInk, x);
        EXPECT_GE(firstInk, 19);
        p.Save("button_st_icon");
        dlg.push.SendMessage(BM_SETSTATE, TRUE);
        RECT red = Where(Picture::PrintClient(dlg.push), Red);
        EXPECT_EQ(red.left, 4) << "the \"in\" icon, shifted while pressed";
        EXPECT_EQ(red.top, midY + 1);
        dlg.push.SendMessage(BM_SETSTATE, FALSE);
        dlg.push.EnableWindow(FALSE);
        p = Picture::PrintClient(dlg.push);
        EXPECT_EQ(CountColour(p, Red) + CountColour(p, Blue), 0) << "a disabled icon is drawn grey";
        EXPECT_GT(CountColour(p, ::GetSysColor(COLOR_3DSHADOW), 0, 0, 20), 10);

        // A bitmap through its mask: the magenta right half never shows; centred without a caption.
        dlg.other.m_bitmaps[CButtonST::In] = {HalfBitmap(Green, Magenta), 16, 16, HalfMask()};
        dlg.other.SetWindowText(L"");
        p = Picture::PrintClient(dlg.other);
        RECT green = Where(p, Green);
        EXPECT_EQ(CountColour(p, Magenta), 0);
        EXPECT_EQ(green.left, (p.width - 16) / 2);
        EXPECT_EQ(green.top, (p.height - 16) / 2);
        EXPECT_EQ(green.right - green.left, 8);
        EXPECT_EQ(CountColour(p, Green), 8 * 16);
        p.Save("button_st_bitmap");
        dlg.other.SetWindowText(L"Other");
        dlg.other.m_nImageAlign = CButtonST::ImageRight;
        green = Where(Picture::PrintClient(dlg.other), Green);
        EXPECT_EQ(green.left, p.width - 3 - 16) << "right of the caption, at the margin";
        dlg.other.m_nImageAlign = CButtonST::ImageAbove;
        green = Where(Picture::PrintClient(dlg.other), Green);
        EXPECT_EQ(green.top, 3) << "above the caption, at the margin";
        dlg.other.EnableWindow(FALSE);
        p = Picture::PrintClient(dlg.other);
        EXPECT_EQ(CountColour(p, Green) + CountColour(p, Magenta), 0) << "a disabled bitmap is drawn grey";
        dlg.other.m_bGreyDisabledImage = FALSE;
        dlg.other.m_nImageAlign = CButtonST::ImageLeft;
        EXPECT_EQ(CountColour(Picture::PrintClient(dlg.other), Green), 8 * 16) << "unless asked not to";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, ATransparentButtonShowsTheParentsBackgroundCopiedOnce) {
    ButtonDialog dlg;
    const COLORREF Yellow = RGB(255, 255, 0);
    CBrush yellow(Yellow);
    dlg.Add("hide", [&] {
        dlg.face = yellow;
        dlg.other.ShowWindow(SW_HIDE);
        ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return true;
    });
    dlg.Add("copied", [&] {
        dlg.other.m_bTransparent = TRUE;
        Picture p = Picture::PrintClient(dlg.other);
        EXPECT_EQ(p.At(2, 2), Yellow);
        EXPECT_EQ(p.At(p.width - 3, p.height - 3), Yellow);
        EXPECT_GT(CountColour(p, ::GetSysColor(COLOR_BTNTEXT)), 10) << "the caption over it";
        dlg.other.ShowWindow(SW_SHOW);
        dlg.face = nullptr;
        ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_EQ(Picture::PrintClient(dlg.other).At(2, 2), Yellow) << "the first copy is kept";
        dlg.other.SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(dlg.other.m_dcParentBk.m_hDC, nullptr) << "a colour change drops the copy";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// The shell and sound calls the buttons make, recorded instead of made.
std::vector<std::wstring> g_opened, g_sounds;
BOOL RecordOpen(SHELLEXECUTEINFOW* info) {
    g_opened.push_back(std::wstring(info->lpVerb) + L" " + info->lpFile + L" " + std::to_wstring(info->fMask) +
                       L" " + std::to_wstring(info->nShow));
    return TRUE;
}
BOOL RecordSound(const wchar_t* sound, HMODULE, DWORD flags) {
    g_sounds.push_back(std::wstring(sound) + L" " + std::to_wstring(flags));
    return TRUE;
}

void Click(POINT at) {
    MovePointer(at.x, at.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof in[0]);
}

TEST(ButtonST, AClickOpensThePopupMenuAndPostsTheChosenCommand) {
    ButtonDialog dlg;
    HWND popup = nullptr;
    dlg.Add("click", [&] {
        EXPECT_TRUE(dlg.push.m_menu.LoadMenu(202));
        dlg.push.m_hMenuOwner = dlg;
        dlg.push.m_hMenuCallbackWnd = dlg;
        dlg.push.m_nMenuCallbackMessage = WM_APP + 5;
        Click(ScreenCentre(dlg.push));
        return true;
    });
    dlg.Add("menu up", [&] {
        popup = ::FindWindowW(L"#32768", nullptr);
        if (!popup || !::IsWindowVisible(popup)) return false;
        EXPECT_TRUE(dlg.push.m_bMenuShown);
        EXPECT_EQ(dlg.menuCallbacks, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(dlg.push.m_menu.GetSubMenu(0))}));
        EXPECT_EQ(Frame(dlg.push), std::make_pair(Dark, Light)) << "pressed while the menu is open";
        RECT menu, button;
        ::GetWindowRect(popup, &menu);
        ::GetWindowRect(dlg.push, &button);
        EXPECT_EQ(menu.left, button.left) << "at the button's bottom-left corner";
        EXPECT_EQ(menu.top, button.bottom);
        Picture::FromScreen(popup).Save("button_st_menu");
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    dlg.Add("chosen", [&] {
        if (dlg.Count(4101, 0) != 1) return false;
        EXPECT_FALSE(dlg.push.m_bMenuShown);
        EXPECT_FALSE(::IsWindowVisible(popup));
        EXPECT_EQ(dlg.Count(IdPush, BN_CLICKED), 1) << "the parent still gets the click";
        EXPECT_NE(Frame(dlg.push).first, Dark) << "no longer pressed";
        MovePointer(5, 700);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ButtonST, TheAddressTheSoundsAndTheCursorGoThroughTheirSeams) {
    ShellCalls calls = Shell();
    calls.ExecuteEx = RecordOpen;
    calls.Sound = RecordSound;
    const ShellCalls saved = SetShellCalls(calls);
    g_opened.clear();
    g_sounds.clear();
    ButtonDialog dlg;
    HCURSOR cursor = ::CopyIcon(::LoadCursorW(nullptr, IDC_HAND));
    dlg.Add("enter", [&] {
        wcscpy(dlg.push.m_szUrl, L"https://www.kestrivo.example/");
        wcscpy(dlg.push.m_sounds[CButtonST::HoverSound].name, L"hover.wav");
        dlg.push.m_sounds[CButtonST::HoverSound].flags = SND_FILENAME | SND_ASYNC;
        wcscpy(dlg.push.m_sounds[CButtonST::ClickSound].name, L"click.wav");
        dlg.push.m_sounds[CButtonST::ClickSound].flags = SND_FILENAME | SND_ASYNC;
        dlg.push.m_hButtonCursor = cursor;
        MovePointer(5, 700);
        return true;
    });
    dlg.Add("enter", [&] {
        POINT c = ScreenCentre(dlg.push);
        MovePointer(c.x, c.y);
        return true;
    });
    dlg.Add("hovered", [&] {
        if (!dlg.push.m_bHover) return false;
        EXPECT_EQ(g_sounds, (std::vector<std::wstring>{L"hover.wav 131073"}));
        EXPECT_EQ(::GetCursor(), cursor) << "the button's own cursor";
        Click(ScreenCentre(dlg.push));
        return true;
    });
    dlg.Add("clicked", [&] {
        if (dlg.Count(IdPush, BN_CLICKED) != 1) return false;
        EXPECT_EQ(g_sounds.size(), 2u);
        EXPECT_EQ(g_sounds.back(), L"click.wav 131073");
        EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"open https://www.kestrivo.example/ 1024 3"}));
        EXPECT_EQ(::GetFocus(), dlg.push.m_hWnd);
        MovePointer(5, 700);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    SetShellCalls(saved);
    EXPECT_TRUE(g_sounds.size() == 2) << "no second hover sound while the pointer stayed";
}

}  // namespace
