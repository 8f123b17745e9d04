// The bitmap tool button: its four pictures, the hover look held by the mouse capture, and the
// tooltip.
#include <gtest/gtest.h>

#include "BitmapBtn.h"
#include "controls_dialog.h"

namespace {

const COLORREF Normal = RGB(200, 0, 0), Hover = RGB(0, 200, 0), Pressed = RGB(0, 0, 200),
               Disabled = RGB(90, 90, 90);

void Fill(CBitmap& bmp, HWND wnd, COLORREF colour) {
    CClientDC screen(wnd);
    bmp.CreateCompatibleBitmap(screen, 60, 24);
    CDC dc;
    dc.CreateCompatibleDC(screen);
    HGDIOBJ old = dc.SelectObject(bmp);
    dc.FillSolidRect(0, 0, 60, 24, colour);
    dc.SelectObject(old);
}

class ToolDialog : public ControlsDialog {
public:
    CBitmapBtn tool;
    BOOL OnInitDialog() override {
        ControlsDialog::OnInitDialog();
        tool.Create(L"", WS_VISIBLE, CRect(300, 80, 360, 104), this, 600);
        Fill(tool.m_bmpNormal, tool, Normal);
        Fill(tool.m_bmpHover, tool, Hover);
        Fill(tool.m_bmpPressed, tool, Pressed);
        Fill(tool.m_bmpDisabled, tool, Disabled);
        CString tip(L"Options");
        tool.SetToolTipText(&tip);
        return TRUE;
    }
    COLORREF Shown() { return Picture::PrintClient(tool).At(30, 12); }
    // A point of the dialog, outside the button, in the button's client coordinates.
    LPARAM Outside() {
        POINT p{10, 120};
        ::MapWindowPoints(m_hWnd, tool, &p, 1);
        return MAKELPARAM(p.x, p.y);
    }
};

TEST(BitmapBtn, IsOwnerDrawnOutOfTheTabOrderWithItsTooltip) {
    ToolDialog dlg;
    dlg.Add("created", [&] {
        EXPECT_EQ(dlg.tool.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(dlg.tool.GetStyle() & WS_TABSTOP, 0u);
        EXPECT_EQ(dlg.Shown(), Normal);
        EXPECT_EQ(dlg.tool.m_tip.GetToolCount(), 1);
        CString text;
        dlg.tool.m_tip.GetText(text, &dlg.tool, 1);
        EXPECT_EQ(text, L"Options");
        dlg.tool.MoveWindow(300, 80, 30, 24);
        CString other(L"Special Keyboard");
        dlg.tool.SetToolTipText(&other);
        EXPECT_EQ(dlg.tool.m_tip.GetToolCount(), 1) << "later calls only change the text";
        dlg.tool.m_tip.GetText(text, &dlg.tool, 1);
        EXPECT_EQ(text, L"Special Keyboard");
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = dlg.tool;
        ti.uId = 1;
        dlg.tool.m_tip.SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
        EXPECT_EQ(ti.rect.right, 60) << "the tool keeps the first client rectangle";
        dlg.tool.SetToolTipText(nullptr);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(BitmapBtn, HoverTakesTheCaptureAndAMoveElsewhereEndsIt) {
    ToolDialog dlg;
    dlg.Add("enter", [&] {
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("hovered", [&] {
        if (!dlg.tool.m_bHover) return false;
        EXPECT_EQ(::GetCapture(), dlg.tool.m_hWnd);
        EXPECT_EQ(dlg.Shown(), Hover);
        Picture::PrintClient(dlg.tool).Save("bitmap_btn_hover");
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, dlg.Outside());
        return true;
    });
    dlg.Add("left", [&] {
        if (dlg.tool.m_bHover) return false;
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(dlg.Shown(), Normal);
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(BitmapBtn, ADragFromElsewhereShowsNoHoverAndAHeldButtonKeepsTheCapture) {
    ToolDialog dlg;
    dlg.Add("drag over", [&] {
        dlg.tool.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, CentreOf(dlg.tool));
        dlg.tool.PostMessage(WM_NULL);
        return true;
    });
    dlg.Add("no hover", [&] {
        EXPECT_FALSE(dlg.tool.m_bHover);
        EXPECT_EQ(dlg.Shown(), Normal);
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("hovered", [&] { return dlg.tool.m_bHover != FALSE; });
    dlg.Add("leave held", [&] {
        dlg.tool.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, dlg.Outside());
        return true;
    });
    dlg.Add("capture kept", [&] {
        if (dlg.tool.m_bHover) return false;
        EXPECT_EQ(::GetCapture(), dlg.tool.m_hWnd);
        EXPECT_EQ(dlg.Shown(), Normal);
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, dlg.Outside());
        return true;
    });
    dlg.Add("released", [&] { return ::GetCapture() == nullptr; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(BitmapBtn, TheHoverLookEndsWhenAnotherWindowTakesTheCapture) {
    ToolDialog dlg;
    dlg.Add("enter", [&] {
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("hovered", [&] { return dlg.tool.m_bHover != FALSE; });
    dlg.Add("capture taken", [&] {
        ::SetCapture(::GetDlgItem(dlg, IdEdit));
        return true;
    });
    dlg.Add("normal again", [&] {
        EXPECT_EQ(::GetCapture(), ::GetDlgItem(dlg, IdEdit)) << "the other window keeps it";
        ::ReleaseCapture();
        return !dlg.tool.m_bHover && dlg.Shown() == Normal;
    });
    dlg.Add("enter again", [&] {
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("cancel mode", [&] {
        if (!dlg.tool.m_bHover) return false;
        dlg.tool.SendMessage(WM_CANCELMODE);
        return !dlg.tool.m_bHover && ::GetCapture() == nullptr && dlg.Shown() == Normal;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(BitmapBtn, PressedAndDisabledPictures) {
    ToolDialog dlg;
    dlg.Add("pressed", [&] {
        dlg.tool.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(dlg.Shown(), Pressed);
        dlg.tool.SendMessage(BM_SETSTATE, FALSE);
        dlg.tool.EnableWindow(FALSE);
        EXPECT_EQ(dlg.Shown(), Disabled);
        return true;
    });
    dlg.Add("click", [&] {
        dlg.tool.EnableWindow(TRUE);
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        dlg.tool.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(dlg.tool));
        dlg.tool.PostMessage(WM_LBUTTONUP, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("clicked", [&] {
        if (dlg.Count(600, BN_CLICKED) != 1) return false;
        EXPECT_TRUE(dlg.tool.m_bHover) << "after a click the pointer is still over the button";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(BitmapBtn, ALatchedButtonShowsPressedUntilHoveredAndAFixedLookIgnoresTheState) {
    ToolDialog dlg;
    dlg.Add("latched", [&] {
        dlg.tool.m_bLatched = TRUE;
        dlg.tool.Invalidate();
        EXPECT_EQ(dlg.Shown(), Pressed);
        dlg.tool.EnableWindow(FALSE);
        EXPECT_EQ(dlg.Shown(), Pressed) << "latched wins over disabled";
        dlg.tool.EnableWindow(TRUE);
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("latched and hovered", [&] {
        if (!dlg.tool.m_bHover) return false;
        EXPECT_EQ(dlg.Shown(), Hover) << "the pointer over a latched button shows the hover picture";
        dlg.tool.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(dlg.Shown(), Pressed);
        dlg.tool.SendMessage(BM_SETSTATE, FALSE);
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, dlg.Outside());
        return true;
    });
    dlg.Add("left", [&] {
        if (dlg.tool.m_bHover) return false;
        EXPECT_EQ(dlg.Shown(), Pressed);
        // The fixed look: pressed when latched, else normal, whatever the pointer or state.
        dlg.tool.m_bFixedLook = TRUE;
        dlg.tool.PostMessage(WM_MOUSEMOVE, 0, CentreOf(dlg.tool));
        return true;
    });
    dlg.Add("fixed", [&] {
        if (!dlg.tool.m_bHover) return false;
        EXPECT_EQ(dlg.Shown(), Pressed);
        dlg.tool.m_bLatched = FALSE;
        EXPECT_EQ(dlg.Shown(), Normal) << "hovered";
        dlg.tool.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(dlg.Shown(), Normal) << "held down";
        dlg.tool.SendMessage(BM_SETSTATE, FALSE);
        dlg.tool.EnableWindow(FALSE);
        EXPECT_EQ(dlg.Shown(), Normal) << "disabled";
        dlg.tool.m_bLatched = TRUE;
        EXPECT_EQ(dlg.Shown(), Pressed) << "disabled and latched";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
