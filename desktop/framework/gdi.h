// GDI objects that delete what they own (CBitmap, CBrush, CPen, CFont) and device contexts
// (CDC over an owned or borrowed HDC; CPaintDC, CClientDC and CWindowDC for a window's DCs).
#pragma once
#include <windows.h>

#include <cstdint>

#include "geometry.h"

// A GDI object handle, deleted with the object unless detached.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h) { DeleteObject(); m_hObject = h; return h != nullptr; }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject() {
        if (!m_hObject) return FALSE;
        BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateCompatibleBitmap(HDC dc, int cx, int cy) {
        return Attach(::CreateCompatibleBitmap(dc, cx, cy));
    }
    BOOL GetBitmap(BITMAP* info) const {
        return ::GetObjectW(m_hObject, sizeof *info, info) == sizeof *info;
    }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF colour) {
        return Attach(::CreatePen(style, width, colour));
    }
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
};

// A device context. One made by CreateCompatibleDC is deleted with the object; one attached
// is only borrowed.
class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() { DeleteDC(); }
    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    BOOL CreateCompatibleDC(HDC other) {
        DeleteDC();
        m_hDC = ::CreateCompatibleDC(other);
        m_bOwned = true;
        return m_hDC != nullptr;
    }
    BOOL DeleteDC() {
        HDC h = m_hDC;
        m_hDC = nullptr;
        if (!h || !m_bOwned) return FALSE;
        m_bOwned = false;
        return ::DeleteDC(h);
    }
    BOOL Attach(HDC h) { DeleteDC(); m_hDC = h; m_bOwned = false; return h != nullptr; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; m_bOwned = false; return h; }

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HGDIOBJ SelectObject(const CGdiObject& object) { return ::SelectObject(m_hDC, object.m_hObject); }
    HGDIOBJ SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    BOOL BitBlt(int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, cx, cy, src, sx, sy, rop);
    }
    int FillRect(const RECT* r, HBRUSH brush) { return ::FillRect(m_hDC, r, brush); }
    int FrameRect(const RECT* r, HBRUSH brush) { return ::FrameRect(m_hDC, r, brush); }
    int DrawText(const wchar_t* text, int n, RECT* r, UINT format) {
        return ::DrawTextW(m_hDC, text, n, r, format);
    }
    BOOL DrawFocusRect(const RECT* r) { return ::DrawFocusRect(m_hDC, r); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    CSize GetTextExtent(const wchar_t* text, int n) const {
        SIZE s{};
        ::GetTextExtentPoint32W(m_hDC, text, n, &s);
        return s;
    }

    // An opaque fill in `colour`; the background colour stays set to it afterwards.
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    void FillSolidRect(const RECT* r, COLORREF colour) {
        FillSolidRect(r->left, r->top, r->right - r->left, r->bottom - r->top, colour);
    }
    // A one-pixel frame: the top edge (x .. x+cx-2) and the left edge (y .. y+cy-2) in
    // `topLeft`, the right edge over the full height and the bottom edge over the full width in
    // `bottomRight`, so the top-right and bottom-left corner pixels are `bottomRight`.
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(const RECT* r, COLORREF topLeft, COLORREF bottomRight) {
        Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
    }

private:
    bool m_bOwned = false;
};

// The DC of BeginPaint/EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND wnd) : m_hWnd(wnd) { Attach(::BeginPaint(wnd, &m_ps)); }
    ~CPaintDC() override { Detach(); ::EndPaint(m_hWnd, &m_ps); }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// The client-area DC (GetDC) or the whole-window DC (GetWindowDC), released at the end.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND wnd) : m_hWnd(wnd) { Attach(::GetDC(wnd)); }
    ~CClientDC() override { ::ReleaseDC(m_hWnd, Detach()); }

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND wnd) : m_hWnd(wnd) { Attach(::GetWindowDC(wnd)); }
    ~CWindowDC() override { ::ReleaseDC(m_hWnd, Detach()); }

private:
    HWND m_hWnd;
};

// A 32-bit top-down device-independent bitmap (row 0 at the top, pixels 0x00RRGGBB) selected
// into a memory DC of its own, made compatible with `like` (the screen when null); the bitmap
// and the DC end with the object. ok() is false when either could not be made.
class CDibSection {
public:
    CDibSection(int width, int height, HDC like = nullptr) : m_width(width), m_height(height) {
        HDC screen = like ? nullptr : ::GetDC(nullptr);
        m_hDC = ::CreateCompatibleDC(like ? like : screen);
        if (screen) ::ReleaseDC(nullptr, screen);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        if (m_hDC) m_hBitmap = ::CreateDIBSection(m_hDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (m_hBitmap && bits) {
            m_bits = static_cast<std::uint32_t*>(bits);
            m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        }
    }
    CDibSection(const CDibSection&) = delete;
    CDibSection& operator=(const CDibSection&) = delete;
    ~CDibSection() {
        if (m_hOld) ::SelectObject(m_hDC, m_hOld);
        if (m_hBitmap) ::DeleteObject(m_hBitmap);
        if (m_hDC) ::DeleteDC(m_hDC);
    }

    bool ok() const { return m_bits != nullptr; }
    HDC dc() const { return m_hDC; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The pixels, after ::GdiFlush() once drawing is done.
    const std::uint32_t* bits() const { return m_bits; }
    std::uint32_t at(int x, int y) const {
        return m_bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] &
               0xFFFFFFu;
    }

private:
    int m_width, m_height;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    std::uint32_t* m_bits = nullptr;
};
