// The hyperlink control in a dialog: its painted colours and underline under the real
// pointer, clicks reaching the shell (recorded instead of made), the registered browser
// command of the fallback, and the fit to its text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "XHyperLink.h"
#include "controls_dialog.h"

namespace {

constexpr int IdLeft = 3101, IdRight = 3102, IdCentre = 3103, IdEmpty = 3104, IdMiddle = 3105;
constexpr COLORREF Link = RGB(0, 0, 238), Hover = RGB(255, 0, 0), Visited = RGB(85, 26, 139);

struct Launch {
    std::wstring verb, file;
    int show;
    HWND wnd;
};

std::vector<Launch> g_executes;
std::vector<std::string> g_execs;
std::vector<UINT> g_beeps;
INT_PTR g_executeAnswer = 42;
UINT g_execAnswer = 33;

HINSTANCE RecordExecute(HWND wnd, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int show) {
    g_executes.push_back({verb ? verb : L"", file ? file : L"", show, wnd});
    return reinterpret_cast<HINSTANCE>(g_executeAnswer);
}
UINT RecordExec(const char* line, UINT) {
    g_execs.emplace_back(line);
    return g_execAnswer;
}
BOOL RecordBeep(UINT type) {
    g_beeps.push_back(type);
    return TRUE;
}

class LinkDialog : public ScriptedDialog {
public:
    LinkDialog() : ScriptedDialog(301) {}
    CXHyperLink left, right, centre, empty, middle;
    std::vector<std::pair<WPARAM, LPARAM>> told;  // WM_XHYPERLINK_CLICKED as received
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IdLeft, left);
        DDX_Control(dx, IdRight, right);
        DDX_Control(dx, IdCentre, centre);
        DDX_Control(dx, IdEmpty, empty);
        DDX_Control(dx, IdMiddle, middle);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_XHYPERLINK_CLICKED) {
            told.emplace_back(wParam, lParam);
            return 0;
        }
        return ScriptedDialog::WindowProc(message, wParam, lParam);
    }
};

// Pixels of `c` in the control as it shows on the screen.
int Count(HWND wnd, COLORREF c) {
    Picture p = Picture::FromScreen(wnd);
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) n += p.At(x, y) == c;
    return n;
}

// A row of the control painted in `c` over at least three quarters of its width: the
// underline (no glyph of the texts used here has so long a stroke).
bool Underlined(HWND wnd, COLORREF c) {
    Picture p = Picture::FromScreen(wnd);
    for (int y = 0; y < p.height; ++y) {
        int n = 0;
        for (int x = 0; x < p.width; ++x) n += p.At(x, y) == c;
        if (n * 4 >= p.width * 3) return true;
    }
    return false;
}

// Painted in exactly one of the three colours, with or without the underline.
bool Shows(HWND wnd, COLORREF c, bool underline) {
    ::UpdateWindow(wnd);
    for (COLORREF other : {Link, Hover, Visited})
        if (other != c && Count(wnd, other) != 0) return false;
    return Count(wnd, c) > 10 && Underlined(wnd, c) == underline;
}

void Away() { MovePointer(5, 1000); }

void Enter(HWND wnd) {
    POINT c = ScreenCentre(wnd);
    MovePointer(c.x, c.y);
}

void ClickWithTheMouse(HWND wnd) {
    Enter(wnd);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
}

// The template rectangle of a control (dialog units) in the dialog's client pixels.
RECT FromUnits(HWND dlg, int x, int y, int cx, int cy) {
    RECT r{x, y, x + cx, y + cy};
    ::MapDialogRect(dlg, &r);
    return r;
}

RECT PlaceOf(HWND wnd) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The extent of the control's text in its own font.
SIZE TextSize(HWND wnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(wnd, text, 256);
    HDC dc = ::GetDC(wnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(wnd, WM_GETFONT, 0, 0)));
    SIZE s{};
    ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &s);
    ::SelectObject(dc, old);
    ::ReleaseDC(wnd, dc);
    return s;
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(wnd, text, 256);
    return text;
}

struct HyperLink : ::testing::Test {
    ShellCalls saved{};
    void SetUp() override {
        ShellCalls calls = Shell();
        calls.Execute = RecordExecute;
        calls.Exec = RecordExec;
        calls.Beep = RecordBeep;
        saved = SetShellCalls(calls);
        g_executes.clear();
        g_execs.clear();
        g_beeps.clear();
        g_executeAnswer = 42;
        g_execAnswer = 33;
        Away();
    }
    void TearDown() override { SetShellCalls(saved); }
};

TEST_F(HyperLink, TextsTipAndCursorOfTheLinks) {
    LinkDialog dlg;
    dlg.empty.SetURL(L"http://empty.example/");
    dlg.Add("texts", [&] {
        EXPECT_EQ(TextOf(dlg.left), L"http://left.example/");
        EXPECT_EQ(dlg.left.m_strTarget, L"http://left.example/") << "the text is the address";
        EXPECT_EQ(TextOf(dlg.empty), L"http://empty.example/") << "an empty link shows its address";
        EXPECT_GT(PlaceOf(dlg.empty).right - PlaceOf(dlg.empty).left, 20);
        EXPECT_TRUE(dlg.left.GetStyle() & SS_NOTIFY);
        EXPECT_NE(dlg.left.m_tip.m_hWnd, nullptr) << "no tooltip";
        EXPECT_EQ(dlg.left.m_tip.GetToolCount(), 1);
        CString tip;
        dlg.left.m_tip.GetText(tip, &dlg.left, 1);
        EXPECT_EQ(tip, L"http://left.example/");
        dlg.left.SetURL(L"mailto:someone@left.example");
        dlg.left.m_tip.GetText(tip, &dlg.left, 1);
        EXPECT_EQ(tip, L"mailto:someone@left.example") << "the tip follows the address";
        EXPECT_EQ(TextOf(dlg.left), L"http://left.example/") << "the text stays";
        // The hand cursor over the link.
        ::SetCursor(nullptr);
        EXPECT_TRUE(dlg.left.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.left.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
        return true;
    });
    dlg.Add("painted in the link colour", [&] {
        if (!Shows(dlg.left, Link, false)) return false;
        Picture::FromScreen(dlg.left).Save("xhyperlink_link");
        return Shows(dlg.empty, Link, false);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(HyperLink, HoverPaintsRedAndUnderlinedUntilTheTimerFindsThePointerGone) {
    LinkDialog dlg;
    DWORD left = 0;
    dlg.Add("plain", [&] { return Shows(dlg.left, Link, false); });
    dlg.Add("enter", [&] {
        Enter(dlg.left);
        return true;
    });
    dlg.Add("hovered", [&] {
        if (!Shows(dlg.left, Hover, true)) return false;
        EXPECT_TRUE(dlg.left.m_bHot);
        EXPECT_EQ(dlg.left.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(dlg.left.m_fontUnderlined.m_hObject));
        Picture::FromScreen(dlg.left).Save("xhyperlink_hover");
        return true;
    });
    dlg.Add("leave", [&] {
        Away();
        left = ::GetTickCount();
        return true;
    });
    dlg.Add("plain again", [&] {
        if (!Shows(dlg.left, Link, false)) return false;
        EXPECT_LT(::GetTickCount() - left, 1000u) << "the hover timer ticks every 100 ms";
        EXPECT_FALSE(dlg.left.m_bHot);
        EXPECT_EQ(dlg.left.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(dlg.left.m_fontPlain.m_hObject));
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(g_executes.empty());
}

TEST_F(HyperLink, UnderlineKeptOrNeverAsTheModeSays) {
    LinkDialog dlg;
    dlg.Add("enter", [&] {
        Enter(dlg.left);
        return true;
    });
    dlg.Add("kept: hovered", [&] { return Shows(dlg.left, Hover, true); });
    dlg.Add("kept: leave", [&] {
        dlg.left.m_nUnderlineMode = 1;
        dlg.right.m_nUnderlineMode = 0;
        Away();
        return true;
    });
    dlg.Add("kept: blue and still underlined", [&] { return Shows(dlg.left, Link, true) && !dlg.left.m_bHot; });
    dlg.Add("never: enter", [&] {
        Enter(dlg.right);
        return true;
    });
    dlg.Add("never: red without underline", [&] { return Shows(dlg.right, Hover, false); });
    dlg.Add("never: leave", [&] {
        Away();
        return true;
    });
    dlg.Add("never: blue", [&] { return Shows(dlg.right, Link, false); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(HyperLink, AMouseClickOpensTheAddressAndTheLinkStaysVisited) {
    LinkDialog dlg;
    dlg.left.m_bTellParent = TRUE;
    dlg.Add("click", [&] {
        ClickWithTheMouse(dlg.left);
        return true;
    });
    dlg.Add("opened", [&]() -> bool {
        if (g_executes.empty()) return false;
        EXPECT_EQ(g_executes.size(), 1u);
        EXPECT_EQ(g_executes[0].verb, L"open");
        EXPECT_EQ(g_executes[0].file, L"http://left.example/");
        EXPECT_EQ(g_executes[0].show, SW_SHOW);
        EXPECT_EQ(g_executes[0].wnd, nullptr);
        EXPECT_TRUE(dlg.left.m_bWasOpened);
        EXPECT_TRUE(g_beeps.empty());
        EXPECT_TRUE(g_execs.empty()) << "no fallback after the shell opened it";
        EXPECT_EQ(dlg.told, (std::vector<std::pair<WPARAM, LPARAM>>{{IdLeft, 0}})) << "the parent is told";
        Away();
        return true;
    });
    dlg.Add("visited after the pointer left", [&] {
        if (!Shows(dlg.left, Visited, false)) return false;
        Picture::FromScreen(dlg.left).Save("xhyperlink_visited");
        return true;
    });
    dlg.Add("new verb", [&] {
        dlg.right.m_bNewVerb = TRUE;
        dlg.right.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(dlg.right));
        dlg.right.PostMessage(WM_LBUTTONUP, 0, CentreOf(dlg.right));
        return true;
    });
    dlg.Add("opened anew", [&] {
        if (g_executes.size() < 2) return false;
        EXPECT_EQ(g_executes[1].verb, L"new");
        EXPECT_EQ(g_executes[1].file, L"Right link");
        EXPECT_EQ(dlg.told.size(), 1u) << "only a link that asks tells its parent";
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// Sets HKEY_CLASSES_ROOT's ".htm" class and that class's open command for one test, then puts
// back what was there.
class BrowserClass {
public:
    BrowserClass() {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            wchar_t value[1024] = L"";
            LONG size = sizeof value;
            if (::RegQueryValueW(key, nullptr, value, &size) == ERROR_SUCCESS) {
                m_saved = value;
                m_had = true;
            }
            ::RegCloseKey(key);
        }
    }
    ~BrowserClass() {
        if (m_had)
            Set(L".htm", m_saved);
        else
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm");
        for (const auto& c : m_classes) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, c.c_str());
    }
    void Use(const std::wstring& cls, const std::wstring& command) {
        ASSERT_TRUE(Set(L".htm", cls));
        m_classes.push_back(cls);
        ASSERT_TRUE(Set(cls + L"\\shell\\open\\command", command));
    }
    static bool Set(const std::wstring& key, const std::wstring& value) {
        return ::RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

private:
    std::wstring m_saved;
    bool m_had = false;
    std::vector<std::wstring> m_classes;
};

TEST_F(HyperLink, WhenTheShellFailsTheRegisteredBrowserGetsTheAddressInQuotes) {
    BrowserClass browser;
    browser.Use(L"KestrivoTestPage", L"\"C:\\Browsers\\b.exe\" -new \"%1\" -x");
    LinkDialog dlg;
    g_executeAnswer = SE_ERR_NOASSOC;
    dlg.Add("click", [&] {
        dlg.left.SetURL(L"http://a.example/?q=1&r=2");
        ClickWithTheMouse(dlg.left);
        return true;
    });
    dlg.Add("run by the fallback", [&] {
        if (g_execs.empty()) return false;
        EXPECT_EQ(g_executes.size(), 1u) << "the shell first";
        EXPECT_EQ(g_execs, (std::vector<std::string>{"\"C:\\Browsers\\b.exe\" -new  \"http://a.example/?q=1&r=2\""}));
        EXPECT_TRUE(dlg.left.m_bWasOpened) << "WinExec's result counts";
        EXPECT_TRUE(g_beeps.empty());
        return true;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);

    // A command without a quoted "%1" is cut at its plain "%1".
    CXHyperLink link;
    browser.Use(L"KestrivoTestPage2", L"C:\\b2.exe %1");
    g_execs.clear();
    g_execAnswer = 40;
    EXPECT_EQ(reinterpret_cast<INT_PTR>(link.GotoURL(L"mailto:x@y.example", FALSE)), 40);
    EXPECT_EQ(g_execs, (std::vector<std::string>{"C:\\b2.exe  \"mailto:x@y.example\""}));
}

TEST_F(HyperLink, RefusedAddressesClassesAndCommandsRunNothing) {
    BrowserClass browser;
    g_executeAnswer = SE_ERR_NOASSOC;
    CXHyperLink link;
    // Whether the fallback ran a command line; the answer is WinExec's when it did, else the shell's.
    auto runs = [&](const std::wstring& url) {
        g_execs.clear();
        const INT_PTR result = reinterpret_cast<INT_PTR>(link.GotoURL(url.c_str(), FALSE));
        EXPECT_EQ(result, g_execs.empty() ? SE_ERR_NOASSOC : static_cast<INT_PTR>(g_execAnswer));
        return !g_execs.empty();
    };
    browser.Use(L"KestrivoTestPage", L"b.exe \"%1\"");
    EXPECT_FALSE(runs(L"http://a\" & calc & \"")) << "a quote in the address";
    EXPECT_FALSE(runs(L"http://a.example/\r\nx")) << "a line break in the address";
    EXPECT_FALSE(runs(std::wstring(520, L'a'))) << "a line beyond 520 units";
    EXPECT_TRUE(runs(L"http://a.example/")) << "a sound address runs";

    // The class name, the command's key name and the command are read in 260 bytes: longer
    // ones are refused, not cut.
    browser.Use(std::wstring(130, L'c'), L"b.exe \"%1\"");
    EXPECT_FALSE(runs(L"http://a.example/")) << "a class name beyond the buffer";
    browser.Use(std::wstring(111, L'd'), L"b.exe \"%1\"");
    EXPECT_FALSE(runs(L"http://a.example/")) << "the command's key name beyond the buffer";
    browser.Use(std::wstring(110, L'd'), L"b.exe \"%1\"");
    EXPECT_TRUE(runs(L"http://a.example/")) << "a key name of 129 units fits";
    browser.Use(L"KestrivoTestPage", L"b.exe \"%1\" " + std::wstring(130, L'e'));
    EXPECT_FALSE(runs(L"http://a.example/")) << "a command beyond the buffer";
    browser.Use(L"KestrivoTestPage", L"b.exe " + std::wstring(123, L'e'));
    EXPECT_TRUE(runs(L"http://a.example/")) << "a command of 129 units fits";
    ASSERT_TRUE(BrowserClass::Set(L".htm", L"KestrivoNoSuchClass"));
    EXPECT_FALSE(runs(L"http://a.example/")) << "a class without a command";

    // A failure of both beeps and leaves the link unvisited.
    LinkDialog dlg;
    g_execAnswer = ERROR_FILE_NOT_FOUND;
    browser.Use(L"KestrivoTestPage", L"b.exe \"%1\"");
    dlg.Add("click", [&] {
        g_execs.clear();
        dlg.left.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(dlg.left));
        dlg.left.PostMessage(WM_LBUTTONUP, 0, CentreOf(dlg.left));
        return true;
    });
    dlg.Add("beep", [&] {
        if (g_beeps.empty()) return false;
        EXPECT_EQ(g_beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));
        EXPECT_EQ(g_execs.size(), 1u);
        EXPECT_FALSE(dlg.left.m_bWasOpened);
        return true;
    });
    dlg.Add("still the link colour", [&] { return Shows(dlg.left, Link, false); });
    EXPECT_EQ(dlg.DoModal(), IDOK);

    g_executes.clear();
    EXPECT_EQ(reinterpret_cast<INT_PTR>(link.GotoURL(L"", FALSE)), 36) << "an empty address counts as opened";
    EXPECT_EQ(reinterpret_cast<INT_PTR>(link.GotoURL(nullptr, FALSE)), 36);
    EXPECT_TRUE(g_executes.empty());
}

TEST_F(HyperLink, FittedToTheTextKeepingTheAlignedEdgeOrCentre) {
    LinkDialog dlg;
    dlg.Add("fitted", [&] {
        const RECT left = PlaceOf(dlg.left), right = PlaceOf(dlg.right), centre = PlaceOf(dlg.centre),
                   middle = PlaceOf(dlg.middle);
        const RECT leftT = FromUnits(dlg, 10, 10, 200, 12), rightT = FromUnits(dlg, 10, 30, 200, 12),
                   centreT = FromUnits(dlg, 10, 50, 200, 12), middleT = FromUnits(dlg, 10, 90, 200, 30);
        const SIZE leftText = TextSize(dlg.left), rightText = TextSize(dlg.right),
                   centreText = TextSize(dlg.centre), middleText = TextSize(dlg.middle);

        EXPECT_EQ(left.left, leftT.left);
        EXPECT_EQ(left.top, leftT.top);
        EXPECT_EQ(left.right - left.left, leftText.cx);
        EXPECT_EQ(left.bottom - left.top, leftText.cy);

        EXPECT_EQ(right.right, rightT.right) << "SS_RIGHT keeps the right edge";
        EXPECT_EQ(right.right - right.left, rightText.cx);
        EXPECT_LT(rightText.cx, (rightT.right - rightT.left) / 2);

        EXPECT_NEAR(centre.left + centre.right, centreT.left + centreT.right, 1) << "SS_CENTER keeps the centre";
        EXPECT_NEAR(centre.right - centre.left, centreText.cx, 1);
        EXPECT_EQ(centre.top, centreT.top);

        EXPECT_NEAR(middle.top + middle.bottom, middleT.top + middleT.bottom, 1) << "SS_CENTERIMAGE keeps the middle";
        EXPECT_NEAR(middle.bottom - middle.top, middleText.cy, 1);
        EXPECT_EQ(middle.left, middleT.left);
        EXPECT_EQ(middle.right - middle.left, middleText.cx);
        return true;
    });
    dlg.Add("right link painted", [&] { return Shows(dlg.right, Link, false) && Shows(dlg.centre, Link, false); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
