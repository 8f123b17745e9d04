// The About box of Encoder under Wine: opened by the tray menu's "&About" command from this
// second process, hidden by OK and shown again, the same box, by every later command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "encoder_driver.h"
#include "resource.h"

namespace {

constexpr UINT kAbout = ID_APP_ABOUT;
constexpr int kSupportLink = IDC_SUPPORT_LINK, kWebLink = IDC_WEB_LINK;

struct BoxSearch {
    DWORD pid;
    HWND found;
    int count;
};

// The About box of the process: a dialog holding both links, shown or not; null when there
// is none, or more than one.
HWND FindAboutBox(DWORD pid) {
    BoxSearch s{pid, nullptr, 0};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<BoxSearch*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(wnd, &pid);
            if (pid != s->pid || !::GetDlgItem(wnd, kSupportLink) || !::GetDlgItem(wnd, kWebLink)) return TRUE;
            if (!s->count++) s->found = wnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.count == 1 ? s.found : nullptr;
}

// Waits up to two seconds for `wnd` to be shown (or hidden).
bool WaitVisible(HWND wnd, bool visible) {
    for (int i = 0; i < 100; ++i) {
        if ((::IsWindowVisible(wnd) != 0) == visible) return true;
        ::Sleep(20);
    }
    return false;
}

HWND WaitAboutBox(DWORD pid) {
    for (int i = 0; i < 100; ++i) {
        if (HWND box = FindAboutBox(pid); box && ::IsWindowVisible(box)) return box;
        ::Sleep(20);
    }
    return nullptr;
}

}  // namespace

TEST(AboutBox, TheTrayCommandShowsTheSameBoxEveryTimeAndOkHidesIt) {
    EncoderProcess app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FindAboutBox(app.pid()), nullptr) << "no box before the command";

    ::PostMessageW(main, WM_COMMAND, kAbout, 0);
    HWND box = WaitAboutBox(app.pid());
    ASSERT_NE(box, nullptr) << "\"&About\" showed no box";
    EXPECT_EQ(::GetWindow(box, GW_OWNER), main);
    EXPECT_EQ(TextOf(box), L"About Encoder");
    EXPECT_EQ(TextOf(::GetDlgItem(box, kSupportLink)), L"support@kestrivo.example");
    EXPECT_EQ(TextOf(::GetDlgItem(box, kWebLink)), L"https://www.kestrivo.example/");
    EXPECT_EQ(TextOf(::GetDlgItem(box, IDC_ABOUT_NAME)), L"Kestrivo Encoder Version 1.0");
    // The links are fitted to their texts: both end well before the box's right edge.
    RECT boxRect{}, link{};
    ::GetWindowRect(box, &boxRect);
    ::GetWindowRect(::GetDlgItem(box, kWebLink), &link);
    EXPECT_LT(link.right, boxRect.right - 10);
    EXPECT_GT(link.right - link.left, 20);

    for (int round = 0; round < 3; ++round) {
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitVisible(box, false)) << "OK did not hide the box, round " << round;
        EXPECT_TRUE(::IsWindow(box)) << "the box is hidden, not destroyed";
        EXPECT_TRUE(::IsWindowVisible(main));
        ::PostMessageW(main, WM_COMMAND, kAbout, 0);
        ASSERT_TRUE(WaitVisible(box, true)) << "\"&About\" did not show the box again, round " << round;
        EXPECT_EQ(FindAboutBox(app.pid()), box) << "a second box was made";
    }
    // A command while the box is up keeps the one box.
    ::PostMessageW(main, WM_COMMAND, kAbout, 0);
    Settle(main);
    EXPECT_EQ(FindAboutBox(app.pid()), box);
    EXPECT_TRUE(::IsWindowVisible(box));

    // The program still ends normally with the box up.
    app.Close();
    EXPECT_EQ(app.WaitExit(0), 0);
}
