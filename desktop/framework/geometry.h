// CPoint, CSize and CRect: the platform's POINT, SIZE and RECT with the few operations the
// controls use. They are the platform structures, so a CRect* passes where a RECT* is asked.
#pragma once
#include <windows.h>

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT p) : POINT(p) {}
    void Offset(int dx, int dy) { x += dx; y += dy; }
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int w, int h) : SIZE{w, h} {}
    CSize(SIZE s) : SIZE(s) {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    bool PtInRect(POINT p) const { return ::PtInRect(this, p) != FALSE; }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};

// The signed client coordinates packed in a mouse message's lParam.
inline CPoint PointFromLParam(LPARAM l) {
    return CPoint(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
}
