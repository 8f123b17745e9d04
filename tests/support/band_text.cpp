#include "support/band_text.h"

#include <string>
#include <vector>

#include "fonts/layouts.h"

namespace testing_support {

std::optional<Matrix> BandTextToMatrix(std::string_view fontText, int rows) {
    const fonts::Layout& band = *fonts::FindLayout("band");
    std::vector<std::string> lines;
    std::string line;
    for (char c : fontText) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) return std::nullopt;  // every band ends with its line end
    Matrix m(static_cast<std::size_t>(rows));
    for (std::size_t b = 0; b < lines.size(); ++b) {
        if (lines[b].size() != lines[0].size()) return std::nullopt;
        for (char c : lines[b]) {
            // Only the sixteen digits belong to the band font; each is one module wide.
            const fonts::Glyph* g = band.Find(static_cast<unsigned char>(c));
            if (!g || g->advance != band.module) return std::nullopt;
            for (int k = 0; k < 4; ++k) {
                const bool dark = fonts::Layout::Covers(*g, band.module / 2.0, (k + 0.5) * band.module);
                const std::size_t r = 4 * b + static_cast<std::size_t>(k);
                if (r < m.size()) m[r].push_back(dark);
                else if (dark) return std::nullopt;  // rows past the symbol are light
            }
        }
    }
    if ((static_cast<std::size_t>(rows) + 3) / 4 != lines.size()) return std::nullopt;
    return m;
}

}  // namespace testing_support
