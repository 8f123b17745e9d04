// The flat colour button in a dialog: hover, clicks, check state, default style, disabling.
#include <gtest/gtest.h>

#include "ButtonST.h"
#include "controls_dialog.h"

namespace {

const COLORREF Face = ::GetSysColor(COLOR_BTNFACE), Light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
               Dark = ::GetSysColor(COLOR_BTNSHADOW);

class ButtonDialog : public ControlsDialog {
public:
    CButtonST push, check, def, other;
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

TEST(ButtonST, MenuCharGoesToTheMenuOnlyForListedSubMenus) {
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
        ::DestroyMenu(plain);
        menu.DestroyMenu();
        EXPECT_NE(HIWORD(dlg.push.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), reinterpret_cast<LPARAM>(more))), MNC_EXECUTE)
            << "a destroyed menu is no longer routed";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
