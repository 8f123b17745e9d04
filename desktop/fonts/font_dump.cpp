// Writes the font layouts and the face list as plain text for the font builder
// (desktop/fonts/build_fonts.py):
//   layout <name> <module>
//   glyph <code> <advance>
//   rect <x> <y> <w> <h>          (y down from the top of the em)
//   poly <x> <y> <x> <y> ...
//   face <name> <layout> <0|1 human-readable>
#include <cstdio>

#include "fonts/layouts.h"

int main() {
    for (const fonts::Layout& l : fonts::AllLayouts()) {
        std::printf("layout %.*s %d\n", static_cast<int>(l.name.size()), l.name.data(), l.module);
        for (const fonts::Glyph& g : l.glyphs) {
            std::printf("glyph %d %d\n", static_cast<int>(g.code), g.advance);
            for (const fonts::Rect& r : g.rects) std::printf("rect %d %d %d %d\n", r.x, r.y, r.w, r.h);
            for (const auto& poly : g.polygons) {
                std::printf("poly");
                for (const fonts::Point& p : poly) std::printf(" %d %d", p.x, p.y);
                std::printf("\n");
            }
        }
    }
    for (const fonts::Face& f : fonts::GeneratedFaces())
        std::printf("face %s %.*s %d\n", f.name.c_str(), static_cast<int>(f.layout.size()), f.layout.data(),
                    f.humanReadable ? 1 : 0);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
