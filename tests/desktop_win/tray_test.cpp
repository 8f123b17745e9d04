// The notification-area icon of Encoder under Wine: the menu as the program carries it in its
// own resources, and the icon in Wine's tray window clicked with the real mouse.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoder_driver.h"
#include "gdi.h"
#include "real_mouse.h"
#include "resource.h"

namespace {

constexpr UINT kAbout = ID_APP_ABOUT, kMinimize = ID_TRAY_MINIMIZE, kWebSite = ID_TRAY_WEBSITE, kExit = ID_APP_EXIT;
constexpr int kAboutLink = IDC_SUPPORT_LINK;

struct Item {
    UINT id;  // 0 for a separator
    std::wstring text;
    bool operator==(const Item& o) const { return id == o.id && text == o.text; }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << item.id << " \"" << std::string(item.text.begin(), item.text.end()) << "\"";
}

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 63;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back((info.fType & MFT_SEPARATOR) ? Item{0, L""} : Item{info.wID, text});
    }
    return items;
}

// Wine's tray window (a top-level window of its explorer process) and the icon windows in it.
HWND TrayWindow() { return ::FindWindowW(nullptr, L"Wine System Tray"); }

std::vector<HWND> TrayIcons(HWND tray) {
    std::vector<HWND> icons;
    ::EnumChildWindows(
        tray,
        [](HWND wnd, LPARAM param) -> BOOL {
            if (::IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&icons));
    return icons;
}

POINT CentreOf(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Wine's tray window moved to a free part of the screen above every other window while the
// test clicks its icon (Wine puts it at the top-left, under the program's window), and put
// back afterwards so that it covers nothing the other tests take pictures of.
class RaisedTray {
public:
    ~RaisedTray() {
        if (m_tray)
            ::SetWindowPos(m_tray, HWND_NOTOPMOST, m_was.left, m_was.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The one icon in the tray once the program has added its own; null when it does not come.
    HWND WaitIcon() {
        for (int i = 0; i < 100; ++i) {
            HWND tray = TrayWindow();
            auto icons = tray ? TrayIcons(tray) : std::vector<HWND>{};
            if (icons.size() == 1) {
                m_tray = tray;
                ::GetWindowRect(tray, &m_was);
                ::SetWindowPos(tray, HWND_TOPMOST, 700, 800, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
                ::Sleep(200);
                return icons[0];
            }
            ::Sleep(50);
        }
        return nullptr;
    }

private:
    HWND m_tray = nullptr;
    RECT m_was{};
};

// A visible popup menu of the process, or null.
HWND WaitPopupMenu(DWORD pid, bool open) {
    for (int i = 0; i < 100; ++i) {
        HWND found = nullptr;
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
             w = ::FindWindowExW(nullptr, w, L"#32768", nullptr)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if (owner == pid && ::IsWindowVisible(w)) found = w;
        }
        if ((found != nullptr) == open) return found;
        ::Sleep(20);
    }
    return nullptr;
}

// Dark pixels of `text` drawn in the menu font, normal or bold.
int TextInk(const wchar_t* text, bool bold) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (bold) ncm.lfMenuFont.lfWeight = FW_BOLD;
    HFONT font = ::CreateFontIndirectW(&ncm.lfMenuFont);
    CDibSection dib(200, 40);
    RECT r{0, 0, 200, 40};
    ::FillRect(dib.dc(), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old = ::SelectObject(dib.dc(), font);
    ::DrawTextW(dib.dc(), text, -1, &r, DT_SINGLELINE);
    ::SelectObject(dib.dc(), old);
    ::DeleteObject(font);
    ::GdiFlush();
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) ink += (dib.at(x, y) & 0xFF) < 128;
    return ink;
}

// Dark pixels of the popup's first text line (its frame left out).
int FirstItemInk(HWND popup) {
    RECT w{};
    ::GetWindowRect(popup, &w);
    const testing_support::Image image = Capture(popup, {0, 0, w.right - w.left, w.bottom - w.top});
    int ink = 0;
    bool inText = false;
    for (int y = 4; y < image.height - 4; ++y) {
        int row = 0;
        for (int x = 4; x < image.width - 4; ++x)
            row += image.pixels[static_cast<std::size_t>(y * image.width + x)] < 128;
        if (row == 0 && inText) break;
        inText = inText || row > 0;
        ink += row;
    }
    return ink;
}

}  // namespace

TEST(TrayMenu, TheProgramsOwnMenuListsAboutFirstBetweenSeparators) {
    HMODULE exe = ::LoadLibraryExW(L"" KESTRIVO_ENCODER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HMENU menu = ::LoadMenuW(exe, MAKEINTRESOURCEW(IDR_TRAYMENU));
    ASSERT_NE(menu, nullptr) << "no menu resource 132 in Encoder.exe";
    ASSERT_EQ(::GetMenuItemCount(menu), 1);
    wchar_t name[16] = {};
    ::GetMenuStringW(menu, 0, name, 16, MF_BYPOSITION);
    EXPECT_STREQ(name, L"Tray");
    const std::vector<Item> expected = {{kAbout, L"&About"}, {0, L""}, {kMinimize, L"&Minimize / Restore"},
                                        {0, L""}, {kWebSite, L"&Kestrivo Website"}, {0, L""}, {kExit, L"E&xit"}};
    EXPECT_EQ(Items(::GetSubMenu(menu, 0)), expected);
    ::DestroyMenu(menu);
    ::FreeLibrary(exe);
}

TEST(TrayMenu, ADoubleClickOnTheIconOpensTheAboutBoxAndARightClickTheMenu) {
    EncoderProcess app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitMain();
    ASSERT_NE(main, nullptr);
    RaisedTray tray;
    HWND icon = tray.WaitIcon();
    ASSERT_NE(icon, nullptr) << "the program's icon is not in the tray";
    const POINT at = CentreOf(icon);

    // The right click: the popup of the program, closed again by a click elsewhere.
    Mouse(MOUSEEVENTF_MOVE, at.x, at.y);
    ::Sleep(300);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    ::Sleep(100);
    Mouse(MOUSEEVENTF_RIGHTUP);
    HWND popup = WaitPopupMenu(app.pid(), true);
    ASSERT_NE(popup, nullptr) << "no tray menu";
    ::Sleep(200);
    const int shown = FirstItemInk(popup), normal = TextInk(L"&About", false), bold = TextInk(L"&About", true);
    EXPECT_GT(bold, normal + 10);
    EXPECT_GT(shown, (normal + bold) / 2) << "\"&About\" is not in bold: " << shown << " dark pixels, "
                                          << normal << " normal, " << bold << " bold";
    Mouse(MOUSEEVENTF_MOVE, 900, 900);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(WaitPopupMenu(app.pid(), false), nullptr) << "a click elsewhere left the menu open";

    // The double click sends the default item: the About box, the main window left as it is.
    Mouse(MOUSEEVENTF_MOVE, at.x, at.y);
    for (int i = 0; i < 2; ++i) {
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
    }
    HWND box = app.WaitDialog(kAboutLink, L"About Encoder", 3000);
    EXPECT_NE(box, nullptr) << "a double click on the icon showed no About box";
    EXPECT_TRUE(::IsWindowVisible(main)) << "the double click hid the main window";
    if (box) ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    app.Close();
    EXPECT_EQ(app.WaitExit(0), 0);
}
