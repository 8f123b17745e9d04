// The run command's helper: chooses a symbology row and a point size in the running Encoder's
// Options pane (when given), types a text into its data field, as key characters, and writes a
// picture of its window to a BMP file. Prints where the data field lies
// in the picture ("data L T R B", window coordinates).
// Usage: encoder_snapshot <text> <picture.bmp> [<row> <point size>]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gdi.h"
#include "resource.h"

namespace {

BOOL CALLBACK FindMain(HWND wnd, LPARAM param) {
    wchar_t cls[32] = {};
    ::GetClassNameW(wnd, cls, 32);
    if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(wnd)) return TRUE;
    if (!::GetDlgItem(wnd, IDC_DATA) || !::GetDlgItem(wnd, IDC_TOOL_FIRST)) return TRUE;
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
}

struct PaneSearch {
    DWORD pid;
    HWND pane;
};

BOOL CALLBACK FindPane(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<PaneSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != search->pid || !::GetDlgItem(wnd, IDC_SYMBOLOGY) || !::GetDlgItem(wnd, IDC_POINT_SIZE)) return TRUE;
    search->pane = wnd;
    return FALSE;
}

// Chooses the entry `name` of the pane's list `id` as a click on it would.
bool Choose(HWND pane, int id, const std::wstring& name) {
    HWND combo = ::GetDlgItem(pane, id);
    const LRESULT n = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t entry[64] = {};
        if (::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= 64) continue;
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        if (name != entry) continue;
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        ::SendMessageW(pane, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        return true;
    }
    return false;
}

void PrintPlace(const char* what, HWND main, HWND child) {
    RECT w, c;
    ::GetWindowRect(main, &w);
    ::GetWindowRect(child, &c);
    std::printf("%s %ld %ld %ld %ld\n", what, c.left - w.left, c.top - w.top, c.right - w.left, c.bottom - w.top);
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[512] = {};
    ::SendMessageW(wnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

bool WriteBmp(HWND wnd, const wchar_t* path) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC src = ::GetWindowDC(wnd);
    CDibSection copy(w, h, src);
    const bool copied = copy.ok() && ::BitBlt(copy.dc(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::ReleaseDC(wnd, src);
    if (!copied) return false;
    const DWORD row = static_cast<DWORD>(w) * 4, size = row * static_cast<DWORD>(h);
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;  // bottom-up, as a BMP file stores it
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + size;
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1;
    for (int y = h - 1; ok && y >= 0; --y)
        ok = std::fwrite(copy.bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w), row, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: encoder_snapshot <text> <picture.bmp> [<row> <point size>]\n");
        return 2;
    }
    HWND main = nullptr;
    for (int i = 0; i < 1200 && !main; ++i) {  // a first start on a new display is slow
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
        if (!main) ::Sleep(50);
    }
    if (!main) {
        std::fprintf(stderr, "encoder_snapshot: no Encoder window\n");
        return 1;
    }
    if (argc == 5) {
        PaneSearch search{0, nullptr};
        ::GetWindowThreadProcessId(main, &search.pid);
        ::EnumWindows(FindPane, reinterpret_cast<LPARAM>(&search));
        if (!search.pane || !Choose(search.pane, IDC_SYMBOLOGY, argv[3]) || !Choose(search.pane, IDC_POINT_SIZE, argv[4])) {
            std::fprintf(stderr, "encoder_snapshot: the Options pane does not list \"%ls\" at %ls points\n", argv[3], argv[4]);
            return 1;
        }
    }
    HWND data = ::GetDlgItem(main, IDC_DATA);
    const std::wstring text = argv[1];
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    for (wchar_t c : text) ::PostMessageW(data, WM_CHAR, c, 1);
    for (int i = 0; i < 250 && TextOf(data) != text; ++i) ::Sleep(20);
    if (TextOf(data) != text) {
        std::fprintf(stderr, "encoder_snapshot: the data field does not take the typed text\n");
        return 1;
    }
    ::SendMessageW(main, WM_NULL, 0, 0);
    ::RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
    ::SendMessageW(main, WM_NULL, 0, 0);
    if (!WriteBmp(main, argv[2])) {
        std::fprintf(stderr, "encoder_snapshot: cannot write the picture\n");
        return 1;
    }
    PrintPlace("data", main, data);
    return 0;
}
