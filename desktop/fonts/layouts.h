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
    std::string text;                           // the characters it prints (human-readable layouts, UPC/EAN)
};

struct Layout {
    std::string_view name;
    int module = 0;             // width of one module in font units
    std::vector<Glyph> glyphs;  // ordered by code; CR and LF are empty, zero-width glyphs
    std::string_view bars;      // a human-readable layout: the layout whose bars it draws

    const Glyph* Find(char16_t code) const;
    // True when the glyph has a dark shape that covers the point (font units).
    static bool Covers(const Glyph& glyph, double x, double y);
};

// Every layout, in a fixed order.
const std::vector<Layout>& AllLayouts();
// A layout by name ("band", "code39", ...); null when there is none of that name.
const Layout* FindLayout(std::string_view name);

// The Maxicode finder: bands 3 to 7 of the hexagon font text each carry one marker, '!' to '%',
// at the start of cell 7 (columns 14 and 15); its glyph draws the band's slice of the rings.
inline constexpr int kMaxicodeFinderFirstBand = 3, kMaxicodeFinderLastBand = 7, kMaxicodeFinderCell = 7;

// Human-readable layouts ("<bars>-hr", drawn by the "Hr" faces): the bars of the plain layout
// cut to run from the top of the em down to kHrBarBottom, and under them, from kHrTextTop, the
// characters the glyph stands for (its `text`), centred under its bars, each character drawn in
// the stroke face below in cells kHrCellWidth wide and kHrCellHeight tall, one cell between two
// characters. Start, stop, shift and function glyphs, the check glyphs of the Code 128 forms
// that print no check text, spaces and control characters print nothing. The UPC/EAN layout
// prints its digits the same way (its add-on's digits above the add-on's bars, which then run
// from kEm - kHrBarBottom down), its guards and long-bar digits reaching down beside them.
inline constexpr int kHrBarBottom = 704, kHrTextTop = 744, kHrCellWidth = 56, kHrCellHeight = 40;

// The stroke face of printable ASCII (33 to 126): 7 rows of 5 cells, top row first, "1" dark;
// empty for any other character. The SEMI fonts draw the same characters.
std::string_view StrokeRows(char c);

// One font face of the set: its name (the family name the program asks for), its layout and
// whether it is a human-readable ("Hr") face. Human-readable faces draw the human-readable
// layout of their family.
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
