#include "ui_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {
const bool g_commonControls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
}();
constexpr UINT_PTR ScriptTimer = 0x5C21;
}  // namespace

BOOL ScriptedDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(ScriptTimer, 20, nullptr);
    return TRUE;
}

LRESULT ScriptedDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == ScriptTimer) {
        if (m_next >= steps.size()) {
            KillTimer(ScriptTimer);
            EndDialog(IDOK);
            return 0;
        }
        if (steps[m_next]()) {
            ++m_next;
            m_tries = 0;
        } else if (++m_tries > 150) {
            ADD_FAILURE() << "step never succeeded: " << stepNames[m_next];
            KillTimer(ScriptTimer);
            EndDialog(-2);
        }
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

Picture Picture::FromDC(HDC source, int w, int h, HWND printed) {
    Picture p;
    p.width = w;
    p.height = h;
    p.m_pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    CDibSection dib(w, h);
    if (!dib.ok()) return p;
    RECT all{0, 0, w, h};
    ::FillRect(dib.dc(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (printed)
        ::SendMessageW(printed, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()),
                       PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    else
        ::BitBlt(dib.dc(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    std::memcpy(p.m_pixels.data(), dib.bits(), p.m_pixels.size() * 4);
    return p;
}

Picture Picture::PrintClient(HWND wnd) {
    RECT r;
    ::GetClientRect(wnd, &r);
    return FromDC(nullptr, r.right, r.bottom, wnd);
}

Picture Picture::FromScreen(HWND wnd) {
    RECT r;
    ::GetClientRect(wnd, &r);
    HDC dc = ::GetDC(wnd);
    Picture p = FromDC(dc, r.right, r.bottom, nullptr);
    ::ReleaseDC(wnd, dc);
    return p;
}

COLORREF Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    DWORD bgra = m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

void Picture::Save(const std::string& name) const {
    std::filesystem::create_directories("screenshots");
    std::FILE* f = std::fopen(("screenshots/" + name + ".bmp").c_str(), "wb");
    if (!f) return;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = -height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(m_pixels.size() * 4);
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(m_pixels.data(), 4, m_pixels.size(), f);
    std::fclose(f);
}

namespace {
std::wstring* g_boxText = nullptr;

BOOL CALLBACK FindBox(HWND wnd, LPARAM found) {
    wchar_t cls[16] = L"";
    ::GetClassNameW(wnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::GetDlgItem(wnd, 0xFFFF) && ::IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    ::KillTimer(nullptr, id);
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    if (g_boxText) *g_boxText = text;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

void AnswerNextMessageBox(std::wstring* text) {
    g_boxText = text;
    ::SetTimer(nullptr, 0, 30, AnswerBox);
}

void Pump(int ms) {
    DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - ::GetTickCount()) > 0) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}
