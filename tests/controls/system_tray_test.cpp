// The notification-area icon, with the shell calls recorded instead of made.
#include <gtest/gtest.h>

#include <vector>

#include "SystemTray.h"
#include "resource.h"
#include "ui_support.h"

namespace {

struct Call {
    DWORD message;
    NOTIFYICONDATAW data;
};

std::vector<Call> g_calls;
std::vector<BOOL> g_answers;  // the answers of the next calls; TRUE once they run out

BOOL Record(DWORD message, NOTIFYICONDATAW* data) {
    g_calls.push_back({message, *data});
    if (g_answers.empty()) return TRUE;
    BOOL answer = g_answers.front();
    g_answers.erase(g_answers.begin());
    return answer;
}

struct Target : CWnd {
    std::vector<UINT> commands;
    BOOL OnCmdMsg(UINT id, int) override {
        commands.push_back(id);
        return TRUE;
    }
};

struct Tray : ::testing::Test {
    ShellCalls saved{};
    Target target;
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    void SetUp() override {
        ShellCalls calls = Shell();
        calls.NotifyIcon = Record;
        saved = SetShellCalls(calls);
        g_calls.clear();
        g_answers.clear();
        ASSERT_TRUE(target.CreateEx(0, nullptr, L"target", WS_POPUP | WS_VISIBLE, 500, 400, 60, 60, nullptr, nullptr));
    }
    void TearDown() override { SetShellCalls(saved); }
};

TEST_F(Tray, CreateAddsTheIconOnceWithItsBalloon) {
    CSystemTray tray;
    ASSERT_TRUE(tray.m_bBalloonShell) << "Wine reports a shell with balloons";
    EXPECT_TRUE(tray.Create(icon));
    ASSERT_EQ(g_calls.size(), 1u);
    const NOTIFYICONDATAW& d = g_calls[0].data;
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(d.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(d.hWnd, tray.m_hWnd);
    EXPECT_EQ(d.uID, 132u);
    EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(d.uCallbackMessage, static_cast<UINT>(WM_APP + 10));
    EXPECT_EQ(d.hIcon, icon);
    EXPECT_STREQ(d.szTip, L"Kestrivo Encoder");
    EXPECT_STREQ(d.szInfo, L"Encoder");
    EXPECT_STREQ(d.szInfoTitle, L"Kestrivo");
    EXPECT_EQ(d.uTimeout, 20000u);
    EXPECT_EQ(d.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_STREQ(tray.m_iconData.szInfo, L"") << "the balloon is not repeated";
    EXPECT_FALSE(tray.m_bIconHidden);
    EXPECT_EQ(::GetWindowLongW(tray, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
}

TEST_F(Tray, ARefusedAddIsReportedAndPending) {
    CSystemTray tray;
    g_answers = {FALSE};
    EXPECT_FALSE(tray.Create(icon));
    EXPECT_TRUE(tray.m_bIconHidden);
    EXPECT_TRUE(tray.m_bIconDeleted);
    EXPECT_TRUE(tray.m_bAddPending);
    g_calls.clear();
    EXPECT_TRUE(tray.ShowIcon()) << "shown again by adding";
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[0].data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST_F(Tray, HideAndShowUseTheHiddenState) {
    CSystemTray tray;
    tray.Create(icon);
    g_calls.clear();
    EXPECT_TRUE(tray.HideIcon());
    EXPECT_TRUE(tray.HideIcon()) << "already hidden: no call";
    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls[0].data.uFlags, static_cast<UINT>(NIF_STATE));
    EXPECT_EQ(g_calls[0].data.dwState, static_cast<DWORD>(NIS_HIDDEN));
    EXPECT_EQ(g_calls[1].data.dwState, 0u);
    EXPECT_EQ(g_calls[1].data.dwStateMask, static_cast<DWORD>(NIS_HIDDEN));
}

TEST_F(Tray, AFailedShowFallsBackToAddingAndReportsTheRealResult) {
    CSystemTray tray;
    tray.Create(icon);
    tray.HideIcon();
    g_calls.clear();
    g_answers = {FALSE, TRUE};  // the shell no longer knows the icon; the add works
    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_FALSE(tray.m_bIconHidden);
    tray.HideIcon();
    g_answers = {FALSE, FALSE};
    EXPECT_FALSE(tray.ShowIcon()) << "neither call worked: the icon is not there";
    EXPECT_TRUE(tray.m_bAddPending);
}

TEST_F(Tray, AShellRestartAddsAVisibleIconAndAHiddenOneWhenItIsShown) {
    CSystemTray tray;
    tray.Create(icon);
    g_calls.clear();
    tray.SendMessage(CSystemTray::TaskbarCreatedMessage());
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_STREQ(g_calls[0].data.szInfo, L"") << "no balloon the second time";
    tray.HideIcon();
    g_calls.clear();
    tray.SendMessage(CSystemTray::TaskbarCreatedMessage());
    EXPECT_TRUE(g_calls.empty()) << "a hidden icon stays away";
    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD)) << "the old shell's icon is gone";
    g_calls.clear();
    tray.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(Tray, WithoutBalloonsHidingDeletesAndShowingAdds) {
    CSystemTray tray;
    tray.m_bBalloonShell = FALSE;
    tray.Create(icon);
    g_calls.clear();
    EXPECT_TRUE(tray.HideIcon());
    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls[1].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(Tray, TheDestructorDeletesTheIcon) {
    HWND wnd = nullptr;
    {
        CSystemTray tray;
        tray.Create(icon);
        wnd = tray.m_hWnd;
        g_calls.clear();
    }
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST_F(Tray, ADoubleClickSendsTheDefaultCommandAndOtherIconsAreIgnored) {
    CSystemTray tray;
    tray.Create(icon);
    tray.m_pCommandWnd = &target;
    EXPECT_EQ(tray.SendMessage(WM_APP + 10, 77, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(tray.SendMessage(WM_APP + 10, IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(tray.SendMessage(WM_APP + 10, IDR_TRAYMENU, WM_MOUSEMOVE), 1);
    Pump(100);
    EXPECT_EQ(target.commands, (std::vector<UINT>{ID_APP_ABOUT}));
}

struct MenuTray : CSystemTray {
    int defaultItem = -2;
    void CustomizeTrayMenu(CMenu* menu) override {
        defaultItem = static_cast<int>(::GetMenuDefaultItem(*menu, TRUE, 0));
        // Choose the first item with the keyboard once the menu is up.
        ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            HWND popup = ::FindWindowW(L"#32768", nullptr);
            if (popup) Picture::FromScreen(popup).Save("system_tray_menu");
            HWND focus = ::GetFocus() ? ::GetFocus() : ::GetActiveWindow();
            ::PostMessageW(focus, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
        });
    }
};

TEST_F(Tray, ARightClickOpensTheMenuWithItsDefaultAndDeliversTheChoice) {
    MenuTray tray;
    tray.Create(icon);
    tray.m_pCommandWnd = &target;
    ::SetCursorPos(520, 420);
    EXPECT_EQ(tray.SendMessage(WM_APP + 10, IDR_TRAYMENU, WM_RBUTTONUP), 1);
    Pump(200);
    EXPECT_EQ(tray.defaultItem, 0) << "\"&About\" is the default";
    EXPECT_EQ(target.commands, (std::vector<UINT>{ID_APP_ABOUT}));
}

}  // namespace
