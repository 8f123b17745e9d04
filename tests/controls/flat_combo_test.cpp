// The flat combo boxes: the frame looks by pixels, the pointer timer, completion of typed
// text, and the notifying combo's keys.
#include <gtest/gtest.h>

#include "FlatComboBox.h"
#include "controls_dialog.h"

namespace {

class ComboDialog : public ControlsDialog {
public:
    CCJFlatComboBox edit, disabled;
    CNotifyCombo<CCJFlatComboBox> list;
    int returns = 0;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IdEditCombo, edit);
        DDX_Control(dx, IdListCombo, list);
        DDX_Control(dx, IdDisabledCombo, disabled);
    }
    BOOL OnInitDialog() override {
        ControlsDialog::OnInitDialog();
        for (CComboBox* c : {static_cast<CComboBox*>(&edit), static_cast<CComboBox*>(&list)})
            for (const wchar_t* item : {L"Alpha", L"Beta", L"Gamma"}) c->AddString(item);
        return TRUE;
    }
    BOOL OnCmdMsg(UINT id, int code) override {
        if (id == IdListCombo && code == static_cast<int>(NM_RETURN)) ++returns;
        return ControlsDialog::OnCmdMsg(id, code);
    }
    void Type(const wchar_t* text) {
        HWND field = ::GetWindow(edit, GW_CHILD);
        for (const wchar_t* p = text; *p; ++p) ::PostMessageW(field, WM_CHAR, *p, 0);
    }
    void Key(WPARAM key) {
        HWND field = ::GetWindow(edit, GW_CHILD);
        ::PostMessageW(field, WM_KEYDOWN, key, 0);  // the loop's translation adds the character
    }
    std::pair<CString, std::pair<int, int>> Field() {
        CString text;
        edit.GetWindowText(text);
        DWORD sel = edit.GetEditSel();
        return {text, {LOWORD(sel), HIWORD(sel)}};
    }
};

enum class Look { Normal, Raised, Pressed, Other };

// The look drawn on the screen: the outer frame's top-left pixel and the drop button's frame.
Look LookOf(CCJFlatComboBox& c) {
    Picture p = Picture::FromScreen(c);
    const int w = p.width, h = p.height, cx = c.m_cxDropButton;
    COLORREF outer = p.At(0, 0), buttonBottomRight = p.At(w - 4, h - 3), pressedTopLeft = p.At(w - cx, 3);
    if (outer == c.m_clrFace && buttonBottomRight == c.m_clrLight) return Look::Normal;
    if (outer == c.m_clrDark && pressedTopLeft == c.m_clrDark) return Look::Pressed;
    if (outer == c.m_clrDark && buttonBottomRight == c.m_clrDark) return Look::Raised;
    return Look::Other;
}

TEST(FlatComboBox, TypedTextIsCompletedFromTheList) {
    ComboDialog dlg;
    using Field = std::pair<CString, std::pair<int, int>>;
    dlg.Add("type", [&] {
        dlg.edit.SetFocus();
        dlg.Type(L"be");
        return true;
    });
    dlg.Add("completed", [&] { return dlg.Field() == Field{L"Beta", {2, 4}}; });
    dlg.Add("type on", [&] {
        Picture::FromScreen(dlg.edit).Save("flat_combo_completed");
        dlg.Type(L"x");
        return true;
    });
    dlg.Add("no match keeps the text", [&] { return dlg.Field() == Field{L"Bex", {3, 3}}; });
    dlg.Add("inside", [&] {
        dlg.edit.SetWindowText(L"Apha");
        dlg.edit.SetEditSel(1, 1);
        dlg.Type(L"l");
        return true;
    });
    dlg.Add("caret kept", [&] { return dlg.Field() == Field{L"Alpha", {2, 2}}; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(FlatComboBox, BackspaceAndDeleteAreNotUndoneByCompletion) {
    ComboDialog dlg;
    using Field = std::pair<CString, std::pair<int, int>>;
    dlg.Add("type", [&] {
        dlg.edit.SetFocus();
        dlg.Type(L"ga");
        return true;
    });
    dlg.Add("completed", [&] { return dlg.Field() == Field{L"Gamma", {2, 5}}; });
    dlg.Add("backspace", [&] {
        dlg.Key(VK_BACK);
        return true;
    });
    dlg.Add("tail gone", [&] { return dlg.Field() == Field{L"Ga", {2, 2}}; });
    dlg.Add("delete", [&] {
        dlg.edit.SetEditSel(0, 0);
        dlg.Key(VK_DELETE);
        return true;
    });
    dlg.Add("first gone", [&] { return dlg.Field().first == L"a"; });
    dlg.Add("typing completes again", [&] {
        dlg.Key(VK_END);
        dlg.Type(L"l");
        return true;
    });
    dlg.Add("completed again", [&] { return dlg.Field() == Field{L"Alpha", {2, 5}}; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(FlatComboBox, FocusRaisesTheFrameAndItsLossFlattensIt) {
    ComboDialog dlg;
    dlg.Add("away", [&] {
        ::SetCursorPos(5, 700);
        ::SetFocus(::GetDlgItem(dlg, IdEdit));
        dlg.Invalidate();
        return true;
    });
    dlg.Add("normal", [&] { return LookOf(dlg.list) == Look::Normal; });
    dlg.Add("focus", [&] {
        dlg.list.SetFocus();
        return true;
    });
    dlg.Add("raised", [&] {
        if (!dlg.list.m_bFocus || LookOf(dlg.list) != Look::Raised) return false;
        Picture::FromScreen(dlg.list).Save("flat_combo_raised");
        ::SetFocus(::GetDlgItem(dlg, IdEdit));
        return true;
    });
    dlg.Add("flat again", [&] { return !dlg.list.m_bFocus && LookOf(dlg.list) == Look::Normal; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(FlatComboBox, ThePointerTimerRaisesAndFlattensTheFrame) {
    ComboDialog dlg;
    dlg.Add("away", [&] {
        ::SetFocus(::GetDlgItem(dlg, IdEdit));
        MovePointer(5, 700);
        return true;
    });
    dlg.Add("enter", [&] {
        POINT c = ScreenCentre(dlg.list);
        MovePointer(c.x, c.y);
        return true;
    });
    dlg.Add("raised", [&] { return dlg.list.m_bRaisedShown && LookOf(dlg.list) == Look::Raised; });
    dlg.Add("leave", [&] {
        ::SetCursorPos(5, 700);  // no mouse message reaches the combo: its timer notices
        return true;
    });
    dlg.Add("flat", [&] { return !dlg.list.m_bRaisedShown && LookOf(dlg.list) == Look::Normal; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(FlatComboBox, ThePressedLookEndsWhenTheCaptureIsLost) {
    ComboDialog dlg;
    dlg.Add("press", [&] {
        POINT c = ScreenCentre(dlg.list);
        ::SetCursorPos(c.x, c.y);
        dlg.list.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.list));
        dlg.list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(dlg.list));
        return true;
    });
    dlg.Add("pressed", [&] {
        if (!dlg.list.m_bButtonDown) return false;
        // The next tick draws the pressed look (a later paint draws over it).
        dlg.list.m_bRaisedShown = TRUE;
        dlg.list.SendMessage(WM_TIMER, 1);
        EXPECT_EQ(LookOf(dlg.list), Look::Pressed);
        Picture::FromScreen(dlg.list).Save("flat_combo_pressed");
        return true;
    });
    dlg.Add("list closed elsewhere", [&] {
        dlg.list.ShowDropDown(FALSE);
        dlg.list.SendMessage(WM_CANCELMODE);
        return true;
    });
    dlg.Add("not pressed", [&] { return !dlg.list.m_bButtonDown; });
    dlg.Add("move", [&] {
        dlg.list.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.list));
        return true;
    });
    dlg.Add("the hover look comes back", [&] {
        return dlg.list.m_bRaisedShown && LookOf(dlg.list) == Look::Raised;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(FlatComboBox, ADisabledComboHasAHighlightInnerFrameAndNoButtonFrame) {
    ComboDialog dlg;
    dlg.Add("paint", [&] {
        dlg.disabled.Invalidate();
        dlg.disabled.UpdateWindow();
        Picture p = Picture::FromScreen(dlg.disabled);
        const int w = p.width, h = p.height;
        EXPECT_EQ(p.At(1, 1), dlg.disabled.m_clrLight);
        EXPECT_EQ(p.At(w - 2, h - 2), dlg.disabled.m_clrLight);
        EXPECT_EQ(p.At(w - 4, h - 3), dlg.disabled.m_clrFace);
        p.Save("flat_combo_disabled");
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(NotifyCombo, EnterAndEscapeCloseTheListAndNotifyWithoutEndingTheDialog) {
    ComboDialog dlg;
    dlg.Add("down opens", [&] {
        dlg.list.SetFocus();
        dlg.list.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
        return true;
    });
    dlg.Add("open", [&] { return dlg.list.GetDroppedState() != FALSE; });
    dlg.Add("enter", [&] {
        dlg.list.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    dlg.Add("closed and told", [&] { return !dlg.list.GetDroppedState() && dlg.returns == 1; });
    dlg.Add("escape", [&] {
        dlg.list.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    dlg.Add("told again", [&] { return dlg.returns == 2; });
    dlg.Add("still running", [&] {
        EXPECT_EQ(dlg.Count(IDOK, BN_CLICKED) + dlg.Count(IDCANCEL, BN_CLICKED), 0);
        return dlg.IsWindowVisible() != FALSE;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
