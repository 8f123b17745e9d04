#include "screen_picture.h"

#include <algorithm>
#include <cstdio>

#ifndef KESTRIVO_PICTURE_DIR
#error KESTRIVO_PICTURE_DIR names the folder of the pictures
#endif

Shot Screen(const RECT& r) {
    Shot s;
    s.width = r.right - r.left;
    s.height = r.bottom - r.top;
    if (s.width <= 0 || s.height <= 0) return s;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    s.px.assign(p, p + static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height));
    for (auto& v : s.px) v &= 0xFFFFFF;
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
    ::ReleaseDC(nullptr, screen);
    return s;
}

// The screen in `r` once it has stopped changing (two pictures 150 ms apart alike), or the
// last picture after three seconds.
Shot Settled(const RECT& r) {
    Shot last = Screen(r);
    for (int i = 0; i < 20; ++i) {
        ::Sleep(150);
        Shot now = Screen(r);
        if (now == last) return now;
        last = std::move(now);
    }
    return last;
}

RECT WindowRect(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

// Keeps the picture as a BMP file in the pictures folder.
void Keep(const Shot& s, const std::string& name) {
    ::CreateDirectoryA(KESTRIVO_PICTURE_DIR, nullptr);
    std::FILE* f = std::fopen((std::string(KESTRIVO_PICTURE_DIR) + "/" + name + ".bmp").c_str(), "wb");
    if (!f) return;
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = s.width;
    ih.biHeight = -s.height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = static_cast<DWORD>(fh.bfOffBits + s.px.size() * 4);
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(s.px.data(), 4, s.px.size(), f);
    std::fclose(f);
}

// A window that was never shown by the server is one black block; text, frames and the dark
// skin are not.
int LargestBlackSquare(const Shot& s) {
    std::vector<int> prev(static_cast<std::size_t>(s.width) + 1, 0), cur(prev.size(), 0);
    int best = 0;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t p = s.px[static_cast<std::size_t>(y * s.width + x)];
            const bool black = ((p >> 16) & 0xFF) < 24 && ((p >> 8) & 0xFF) < 24 && (p & 0xFF) < 24;
            const auto i = static_cast<std::size_t>(x) + 1;
            cur[i] = black ? 1 + std::min({prev[i], cur[i - 1], prev[i - 1]}) : 0;
            best = std::max(best, cur[i]);
        }
        std::swap(prev, cur);
    }
    return best;
}

// No black block larger than a glyph where the window's face should be.
::testing::AssertionResult NotBlack(const Shot& s) {
    if (s.width == 0 || s.height == 0) return ::testing::AssertionFailure() << "empty picture";
    const int side = LargestBlackSquare(s);
    if (side >= 12) return ::testing::AssertionFailure() << "a black block of " << side << "x" << side << " pixels";
    return ::testing::AssertionSuccess();
}

// The dialog font of a template ("FONT points, face"), as the dialog manager makes it.
LOGFONTW DialogFont(int points, const wchar_t* face) {
    LOGFONTW lf{};
    HDC screen = ::GetDC(nullptr);
    lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

NONCLIENTMETRICSW Metrics() {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return m;
}

namespace {

// The dark pixels of `text` drawn in `font`, cropped to them.
struct Glyphs {
    int width = 0, height = 0;
    std::vector<bool> ink;
    int inked = 0;
};

int LumaOf(COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; }

Glyphs Render(const std::wstring& text, const LOGFONTW& font, COLORREF ink, int threshold) {
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HFONT f = ::CreateFontIndirectW(&font);
    HGDIOBJ oldFont = ::SelectObject(mem, f);
    SIZE size{};
    ::GetTextExtentPoint32W(mem, text.c_str(), static_cast<int>(text.size()), &size);
    const int w = size.cx + 8, h = size.cy + 8;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(mem, dib);
    RECT all{0, 0, w, h};
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(mem, ink);
    ::SetBkMode(mem, TRANSPARENT);
    ::TextOutW(mem, 4, 4, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    auto dark = [&](int x, int y) {
        const std::uint32_t v = p[y * w + x];
        return static_cast<int>((((v >> 16) & 0xFF) * 30 + ((v >> 8) & 0xFF) * 59 + (v & 0xFF) * 11) / 100) < threshold;
    };
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (dark(x, y)) left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    Glyphs g;
    if (right >= 0) {
        g.width = right - left + 1;
        g.height = bottom - top + 1;
        g.ink.resize(static_cast<std::size_t>(g.width * g.height));
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const bool d = dark(left + x, top + y);
                g.ink[static_cast<std::size_t>(y * g.width + x)] = d;
                g.inked += d;
            }
    }
    ::SelectObject(mem, oldBitmap);
    ::SelectObject(mem, oldFont);
    ::DeleteObject(dib);
    ::DeleteObject(f);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return g;
}

}  // namespace

int InkWidth(const std::wstring& text, const LOGFONTW& font) { return Render(text, font, RGB(0, 0, 0), 128).width; }

// True when the picture shows `text` in `font`, in the colour `ink` on a light ground:
// somewhere its glyphs' pixels and the light pixels around them agree with the picture but for
// a few edge pixels. A text cut short, drawn in another font or not drawn at all does not match.
bool Shows(const Shot& s, const std::wstring& text, const LOGFONTW& font, COLORREF ink) {
    const int threshold = LumaOf(ink) < 64 ? 128 : (LumaOf(ink) + 240) / 2;
    const Glyphs g = Render(text, font, ink, threshold);
    if (g.inked == 0 || g.width > s.width || g.height > s.height) return false;
    const int allowed = std::max(2, g.inked / 8);
    for (int oy = 0; oy + g.height <= s.height; ++oy)
        for (int ox = 0; ox + g.width <= s.width; ++ox) {
            int wrong = 0;
            for (int y = 0; y < g.height && wrong <= allowed; ++y)
                for (int x = 0; x < g.width && wrong <= allowed; ++x)
                    wrong += (s.Luma(ox + x, oy + y) < threshold) != g.ink[static_cast<std::size_t>(y * g.width + x)];
            if (wrong <= allowed) return true;
        }
    return false;
}

