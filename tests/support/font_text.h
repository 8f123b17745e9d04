// Font text drawn through the glyph layouts of the barcode fonts (desktop/fonts/layouts.h), the
// same outlines the font builder turns into TrueType files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fonts/layouts.h"
#include "support/barcode_image.h"

namespace testing_support {

// The module columns of a one-line font text, each dark when a glyph covers its middle at
// height `y` (font units from the top of the em); nothing when a glyph is not in the layout.
std::optional<Modules> FontTextModules(std::string_view layout, std::u16string_view text,
                                       double y = fonts::kEm / 2.0);

// The bars of a one-line postal font text, one letter a bar: "F" full, "A" ascender only,
// "D" descender only, "T" tracker only; nothing when a glyph is not in the layout.
std::optional<std::string> FontTextBars(std::string_view layout, std::u16string_view text);

// The font text as the font prints it: lines (ended by LF; CR draws nothing) one em apart,
// `pixelsPerModule` pixels to a module of the layout, with `quiet` modules of margin. Unknown
// glyphs draw nothing and advance nothing.
Image RenderFontText(std::string_view layout, std::u16string_view text, double pixelsPerModule,
                     int quiet);

// Maxicode font text (11 lines of 15 cells) drawn in the hexagon font, 12 pixels to a module,
// with a quiet zone of two modules; what the text draws and nothing else.
Image RenderMaxicodeText(std::u16string_view fontText);

// What is wrong with the finder of the one Maxicode symbol whose dark pixels lie in the box
// [left, right) x [top, bottom) of the picture; empty when nothing is. The symbol's dark box
// gives the module width (30 modules across) and a first guess of the finder centre (row 16,
// column 14); the outer ring's crossings on a line and a column through it refine the centre.
// Then rays from the centre every 10 degrees must each cross exactly three dark rings before
// the data hexagons, each within a fifth of a module and a pixel of where the bull's-eye of
// ISO/IEC 16023 lies in the free centre of the grid: a light centre to 0.58 module widths,
// dark rings from 0.58 to 1.34, 2.11 to 2.88 and 3.64 to 4.40, light between them.
std::string MaxicodeFinderProblem(const Image& picture, int left, int top, int right, int bottom);
inline std::string MaxicodeFinderProblem(const Image& picture) {
    return MaxicodeFinderProblem(picture, 0, 0, picture.width, picture.height);
}

// What a picture of a one-line font text in a human-readable layout shows under its bars: for
// each character the layout prints, the stroke character whose cells (read at the middle of
// each cell) the picture shows there, "?" for none. The em's top-left corner is at (left, top)
// in the picture, `scale` pixels to a font unit. `stray` (when given) receives the count of dark
// pixels below the bars (from kHrBarBottom down) where the layout draws nothing.
std::string ReadPrintedText(const Image& picture, std::string_view layout, std::u16string_view text, double left,
                            double top, double scale, int* stray = nullptr);

// 8-bit font text as UTF-16 code units of the same values.
std::u16string Widen(std::string_view text);

}  // namespace testing_support
