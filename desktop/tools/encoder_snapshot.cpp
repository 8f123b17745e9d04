// The run command's helper: types a text into the running Encoder's data field, as key
// characters, and writes a picture of its window to a BMP file.
// Usage: encoder_snapshot <text> <picture.bmp>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gdi.h"

namespace {

BOOL CALLBACK FindMain(HWND wnd, LPARAM param) {
    wchar_t cls[32] = {};
    ::GetClassNameW(wnd, cls, 32);
    if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(wnd)) return TRUE;
    if (!::GetDlgItem(wnd, 1000) || !::GetDlgItem(wnd, 600)) return TRUE;
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: encoder_snapshot <text> <picture.bmp>\n");
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
    HWND data = ::GetDlgItem(main, 1000);
    const std::wstring text = argv[1];
    ::SendMessageW(data, EM_SETSEL, 0, -1);
    for (wchar_t c : text) ::PostMessageW(data, WM_CHAR, c, 1);
    for (int i = 0; i < 250 && TextOf(data) != text; ++i) ::Sleep(20);
    ::SendMessageW(main, WM_NULL, 0, 0);
    ::Sleep(300);
    if (!WriteBmp(main, argv[2])) {
        std::fprintf(stderr, "encoder_snapshot: cannot write the picture\n");
        return 1;
    }
    return 0;
}
