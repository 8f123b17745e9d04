// The barcode fonts the desktop program is set in: the outline of every glyph of every font
// layout, and the faces built from them. The font builder (desktop/fonts/build_fonts.py, fed by
// font_dump) and the tests' renderers both draw from these tables, so there is one truth.
//
// Coordinates are font units of a 1024-unit em, x to the right from the pen position, y down from
// the top of the em (ascent 1024, descent 0, so a line is exactly one em tall).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fonts {

inline constexpr int kEm = 1024;

struct Rect {
    int x, y, w, h;
};

struct Point {
    int x, y;
};

struct Glyph {
    char16_t code = 0;
    int advance = 0;                            // font units
    std::vector<Rect> rects;                    // dark rectangles
    std::vector<std::vector<Point>> polygons;   // dark convex polygons (Maxicode's hexagons)
};

struct Layout {
    std::string_view name;
    int module = 0;             // width of one module in font units
    std::vector<Glyph> glyphs;  // ordered by code; CR and LF are empty, zero-width glyphs

    const Glyph* Find(char16_t code) const;
    // True when the glyph has a dark shape that covers the point (font units).
    static bool Covers(const Glyph& glyph, double x, double y);
};

// Every layout, in a fixed order.
const std::vector<Layout>& AllLayouts();
// A layout by name ("band", "code39", ...); null when there is none of that name.
const Layout* FindLayout(std::string_view name);

// One font face of the set: its name (the family name the program asks for), its layout and
// whether it is a human-readable ("Hr") face. Human-readable faces draw the same bars as the
// face without "Hr"; only the name differs.
struct Face {
    std::string name;
    std::string_view layout;
    bool humanReadable = false;
};

// The faces the build generates: the default face of every family, and every face of the
// families whose whole set is built.
std::vector<Face> GeneratedFaces();

// Code 128 glyph schemes: the value (0 to 105) a glyph draws, -1 for the stop glyph, -2 for a
// glyph of no value; "code128" (automation server), "code128desktop", "asian128".
int Code128GlyphValue(std::string_view layout, char16_t glyph);

}  // namespace fonts
