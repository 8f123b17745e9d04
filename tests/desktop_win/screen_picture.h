// Pictures of the screen as the X server shows it, and what a person would look for in them:
// no black block where a window's face should be, and a text drawn in a given font.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A picture of part of the screen, 0x00RRGGBB pixels row by row.
struct Shot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> px;
    int Luma(int x, int y) const {
        const std::uint32_t p = px[static_cast<std::size_t>(y * width + x)];
        return static_cast<int>((((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100);
    }
    bool operator==(const Shot& o) const { return width == o.width && height == o.height && px == o.px; }
};

// What the screen shows in `r` (screen coordinates): the screen's DC reads the X server's
// pixels, so a window that the program painted but the server never showed comes out black.
Shot Screen(const RECT& r);
// The screen in `r` once it has stopped changing (two pictures 150 ms apart alike), or the last
// picture after three seconds. For windows of another process (this thread does not paint).
Shot Settled(const RECT& r);
RECT WindowRect(HWND wnd);
// Keeps the picture as <name>.bmp in the pictures folder of the build.
void Keep(const Shot& s, const std::string& name);
// The side of the largest square of near-black pixels.
int LargestBlackSquare(const Shot& s);
// No black block larger than a glyph where the window's face should be.
::testing::AssertionResult NotBlack(const Shot& s);
// The dialog font of a template ("FONT points, face"), as the dialog manager makes it.
LOGFONTW DialogFont(int points, const wchar_t* face);
NONCLIENTMETRICSW Metrics();
// The width in pixels of the dark part of `text` drawn in `font`.
int InkWidth(const std::wstring& text, const LOGFONTW& font);
// True when the picture shows `text` in `font`, in the colour `ink` on a light ground:
// somewhere its glyphs' pixels and the light pixels around them agree with the picture but for
// a few edge pixels. A text cut short, drawn in another font or not drawn at all does not match.
bool Shows(const Shot& s, const std::wstring& text, const LOGFONTW& font, COLORREF ink = RGB(0, 0, 0));
