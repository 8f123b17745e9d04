#include "encoder_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "gdi.h"
#include "resource.h"


#ifndef KESTRIVO_ENCODER_EXE
#error KESTRIVO_ENCODER_EXE names the program under test
#endif

namespace {

struct Search {
    DWORD pid;
    int childId;
    bool visibleOnly;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->pid) return TRUE;
    wchar_t cls[32] = {};
    ::GetClassNameW(wnd, cls, 32);
    if (std::wstring(cls) != L"#32770") return TRUE;
    if (s->visibleOnly && !::IsWindowVisible(wnd)) return TRUE;
    if (s->childId && !::GetDlgItem(wnd, s->childId)) return TRUE;
    if (s->caption && TextOf(wnd) != s->caption) return TRUE;
    s->found = wnd;
    return FALSE;
}

HWND Find(DWORD pid, int childId, bool visibleOnly, const wchar_t* caption) {
    Search s{pid, childId, visibleOnly, caption, nullptr};
    ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

EncoderProcess::~EncoderProcess() {
    if (m_info.hProcess) {
        if (WaitExit(0) == -1) {
            Close();
        }
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
    }
}

bool EncoderProcess::Start() {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring exe = L"" KESTRIVO_ENCODER_EXE;
    std::wstring cmd = L"\"" + exe + L"\"";
    return ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &m_info) != 0;
}

long EncoderProcess::WaitExit(DWORD ms) {
    if (::WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

void EncoderProcess::Close() {
    if (HWND main = WaitMain(0)) {
        if (HWND close = ::GetDlgItem(main, IDC_TOOL_CLOSE)) ::PostMessageW(close, BM_CLICK, 0, 0);
    }
    if (WaitExit(10000) == -1) {
        ::TerminateProcess(m_info.hProcess, 1);
        WaitExit(5000);
    }
}

HWND EncoderProcess::WaitMain(DWORD ms) const {
    const DWORD until = ::GetTickCount() + ms;
    while (true) {
        if (HWND main = Find(m_info.dwProcessId, IDC_TOOL_FIRST, true, nullptr)) return main;
        if (static_cast<int>(::GetTickCount() - until) >= 0) return nullptr;
        ::Sleep(50);
    }
}

HWND EncoderProcess::Pane() const { return Find(m_info.dwProcessId, IDC_SYMBOLOGY, false, nullptr); }

HWND EncoderProcess::Keyboard() const { return Find(m_info.dwProcessId, IDC_KEY_ETX, false, L"Special Keyboard"); }

HWND EncoderProcess::WaitMessageBox(DWORD ms) const {
    const DWORD until = ::GetTickCount() + ms;
    while (true) {
        if (HWND box = Find(m_info.dwProcessId, 0, true, L"Encoder")) return box;
        if (static_cast<int>(::GetTickCount() - until) >= 0) return nullptr;
        ::Sleep(50);
    }
}

HWND EncoderProcess::WaitDialog(int childId, const wchar_t* caption, DWORD ms) const {
    const DWORD until = ::GetTickCount() + ms;
    while (true) {
        if (HWND found = Find(m_info.dwProcessId, childId, true, caption)) return found;
        if (static_cast<int>(::GetTickCount() - until) >= 0) return nullptr;
        ::Sleep(50);
    }
}

std::wstring TextOf(HWND wnd) {
    const LRESULT n = ::SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got = ::SendMessageW(wnd, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

bool TypeInto(HWND edit, const std::wstring& text, const std::wstring& expect) {
    for (wchar_t c : text) ::PostMessageW(edit, WM_CHAR, c, 1);
    for (int i = 0; i < 200; ++i) {
        if (TextOf(edit) == expect) return true;
        ::Sleep(20);
    }
    return false;
}

std::vector<std::wstring> ListEntries(HWND combo) {
    std::vector<std::wstring> out;
    const LRESULT n = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(len, 0)) + 1, L'\0');
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(len, 0)));
        out.push_back(text);
    }
    return out;
}

bool ChooseEntry(HWND pane, int id, const std::wstring& name) {
    HWND combo = ::GetDlgItem(pane, id);
    const auto entries = ListEntries(combo);
    const auto it = std::find(entries.begin(), entries.end(), name);
    if (it == entries.end()) return false;
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(it - entries.begin()), 0);
    ::SendMessageW(pane, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    return true;
}

void Settle(HWND wnd) {
    ::SendMessageW(wnd, WM_NULL, 0, 0);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(150);
    ::SendMessageW(wnd, WM_NULL, 0, 0);
}

testing_support::Image Capture(HWND wnd, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    testing_support::Image image;
    HDC src = ::GetWindowDC(wnd);
    CDibSection copy(w, h, src);
    if (copy.ok()) {
        ::BitBlt(copy.dc(), 0, 0, w, h, src, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        image.width = w;
        image.height = h;
        image.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            const std::uint32_t p = copy.bits()[i];
            const int grey = (static_cast<int>(p & 0xFF) + static_cast<int>((p >> 8) & 0xFF) +
                              static_cast<int>((p >> 16) & 0xFF)) / 3;
            image.pixels[i] = static_cast<std::uint8_t>(grey);
        }
    }
    ::ReleaseDC(wnd, src);
    return image;
}

bool PutOnClipboard(const std::wstring& text) {
    if (!::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool ok = false;
    if (block) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(::GlobalLock(block)));
        ::GlobalUnlock(block);
        ok = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!ok) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return ok;
}

void TypeUnicodeKey(wchar_t c) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof in[0]);
    ::Sleep(40);
}
