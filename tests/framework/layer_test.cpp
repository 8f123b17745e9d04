// The window layer: binding, Default, lifetime, the guard, styles and drawing helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "framework.h"
#include "ui_support.h"

namespace {

// A top-level window of the layer's own class that records what it sees.
class Recorder : public CWnd {
public:
    std::vector<std::string> events;
    bool throwOnCreate = false;
    void PreSubclassWindow() override {
        events.push_back(m_hWnd ? "pre-subclass with handle" : "pre-subclass without handle");
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCCREATE) events.push_back("nccreate");
        if (message == WM_CREATE && throwOnCreate) throw std::bad_alloc();
        if (message == WM_APP + 1) throw std::bad_alloc();
        if (message == WM_APP + 2) return 42;
        if (message == WM_NCCALCSIZE) events.push_back("nccalcsize");
        if (message == WM_STYLECHANGING) events.push_back("stylechanging");
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { events.push_back("postncdestroy"); }
    BOOL Make() { return CreateEx(0, nullptr, L"rec", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr); }
};

TEST(Binding, PreSubclassWindowRunsBeforeTheFirstMessageOfACreatedWindow) {
    Recorder r;
    ASSERT_TRUE(r.Make());
    ASSERT_GE(r.events.size(), 2u);
    EXPECT_EQ(r.events[0], "pre-subclass with handle");
    EXPECT_EQ(r.events[1], "nccreate");
    EXPECT_EQ(CWnd::FromHandlePermanent(r.m_hWnd), &r);
}

TEST(Binding, SubclassingAnExistingControlAndUndoingIt) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    Recorder r;
    ASSERT_TRUE(r.SubclassWindow(edit));
    EXPECT_EQ(r.events.at(0), "pre-subclass with handle");
    EXPECT_EQ(::SendMessageW(edit, WM_APP + 2, 0, 0), 42);
    EXPECT_FALSE(Recorder().SubclassWindow(edit)) << "a window is bound to one object";
    EXPECT_EQ(r.UnsubclassWindow(), edit);
    EXPECT_EQ(::SendMessageW(edit, WM_APP + 2, 0, 0), 0) << "the edit's own procedure answers again";
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    ::DestroyWindow(edit);
}

TEST(Lifetime, NcDestroyUnbindsAndEndsInPostNcDestroy) {
    Recorder r;
    ASSERT_TRUE(r.Make());
    HWND wnd = r.m_hWnd;
    r.DestroyWindow();
    EXPECT_EQ(r.events.back(), "postncdestroy");
    EXPECT_EQ(r.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd), nullptr);
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST(Lifetime, AnObjectCanFreeItselfInPostNcDestroy) {
    struct SelfFreeing : CWnd {
        bool* freed;
        explicit SelfFreeing(bool* f) : freed(f) {}
        ~SelfFreeing() override { *freed = true; }
        void PostNcDestroy() override { delete this; }
    };
    bool freed = false;
    auto* w = new SelfFreeing(&freed);
    ASSERT_TRUE(w->CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ::DestroyWindow(w->m_hWnd);
    EXPECT_TRUE(freed);
}

TEST(Lifetime, DestroyingTheObjectDestroysALiveWindow) {
    HWND wnd = nullptr;
    {
        Recorder r;
        ASSERT_TRUE(r.Make());
        wnd = r.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd), nullptr);
}

// An edit whose WM_SETTEXT handler sends itself another message before it lets the edit
// have the text.
class NestedEdit : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT) {
            SendMessage(WM_GETTEXTLENGTH);
            SendMessage(WM_APP + 5);
            return Default();
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(Default, ReplaysTheCurrentMessageAfterNestedOnes) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    NestedEdit e;
    ASSERT_TRUE(e.SubclassWindow(edit));
    ::SetWindowTextW(edit, L"replayed");
    CString text;
    e.GetWindowText(text);
    EXPECT_EQ(text, L"replayed");
    e.DestroyWindow();
}

TEST(Guard, NoExceptionLeavesTheWindowProcedure) {
    Recorder r;
    ASSERT_TRUE(r.Make());
    EXPECT_EQ(r.SendMessage(WM_APP + 1), 0);
    EXPECT_EQ(r.SendMessage(WM_APP + 2), 42) << "the window goes on working";
    Recorder failing;
    failing.throwOnCreate = true;
    EXPECT_FALSE(failing.Make()) << "a handler that fails in WM_CREATE fails the creation";
    EXPECT_EQ(failing.m_hWnd, nullptr);
}

TEST(ModifyStyle, NothingHappensWhenNothingChanges) {
    Recorder r;
    ASSERT_TRUE(r.Make());
    r.events.clear();
    EXPECT_FALSE(r.ModifyStyle(0, WS_POPUP, SWP_FRAMECHANGED));
    EXPECT_FALSE(r.ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED));
    EXPECT_TRUE(r.events.empty());
    EXPECT_TRUE(r.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
    EXPECT_NE(r.GetExStyle() & WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(std::find(r.events.begin(), r.events.end(), "nccalcsize"), r.events.end());
}

TEST(Gdi, Draw3dRectCornersAndFillSolidRectLeavesTheBackgroundColour) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HDC screen = ::GetDC(nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(screen, 20, 20);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = dc.SelectObject(bmp);
    const COLORREF white = RGB(255, 255, 255), tl = RGB(255, 0, 0), br = RGB(0, 0, 255);
    dc.FillSolidRect(0, 0, 20, 20, white);
    EXPECT_EQ(::GetBkColor(dc), white);
    dc.Draw3dRect(2, 3, 10, 8, tl, br);  // x 2..11, y 3..10
    EXPECT_EQ(dc.GetPixel(2, 3), tl);
    EXPECT_EQ(dc.GetPixel(10, 3), tl) << "top edge to x+cx-2";
    EXPECT_EQ(dc.GetPixel(11, 3), br) << "top-right corner";
    EXPECT_EQ(dc.GetPixel(2, 9), tl) << "left edge to y+cy-2";
    EXPECT_EQ(dc.GetPixel(2, 10), br) << "bottom-left corner";
    EXPECT_EQ(dc.GetPixel(11, 10), br);
    EXPECT_EQ(dc.GetPixel(6, 6), white) << "inside untouched";
    EXPECT_EQ(dc.GetPixel(12, 3), white) << "nothing outside";
    EXPECT_EQ(dc.GetPixel(2, 11), white);
    dc.SelectObject(old);
}

TEST(CStringText, ConvertsAndCompares) {
    CString s(L"Abc");
    s += L"def";
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_EQ(s.Mid(2, 2), L"cd");
    EXPECT_EQ(s.Left(10), L"Abcdef");
    EXPECT_EQ(s.Find(L'd'), 3);
    EXPECT_EQ(s.CompareNoCase(L"ABCDEF"), 0);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(s)), L"Abcdef");
}

}  // namespace
