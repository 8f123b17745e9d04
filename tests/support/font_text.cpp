#include "support/font_text.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace testing_support {

namespace {

const fonts::Layout& Get(std::string_view name) {
    const fonts::Layout* l = fonts::FindLayout(name);
    if (!l) throw std::invalid_argument("no font layout " + std::string(name));
    return *l;
}

}  // namespace

std::u16string Widen(std::string_view text) {
    std::u16string w;
    for (char c : text) w += static_cast<char16_t>(static_cast<unsigned char>(c));
    return w;
}

std::string ReadPrintedText(const Image& picture, std::string_view layout, std::u16string_view text, double left,
                            double top, double scale, int* stray) {
    const fonts::Layout& l = Get(layout);
    auto dark = [&picture](double x, double y) {
        const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
        return px >= 0 && py >= 0 && px < picture.width && py < picture.height &&
               picture.pixels[static_cast<std::size_t>(py * picture.width + px)] < 128;
    };
    const double cellW = fonts::kHrCellWidth * scale, cellH = fonts::kHrCellHeight * scale;
    const double band = top + fonts::kHrTextTop * scale;
    std::string printed;
    double x = left;
    for (char16_t code : text) {
        const fonts::Glyph* g = l.Find(code);
        if (!g) return "?";
        const int n = static_cast<int>(g->text.size());
        const double first = x + (g->advance - (6 * n - 1) * fonts::kHrCellWidth) / 2 * scale;
        for (int i = 0; i < n; ++i) {
            const double cx = first + 6 * i * cellW;
            std::string cells;
            for (int r = 0; r < 7; ++r)
                for (int k = 0; k < 5; ++k) cells += dark(cx + (k + 0.5) * cellW, band + (r + 0.5) * cellH) ? '1' : '0';
            char seen = '?';
            for (int c = 33; c < 127; ++c)
                if (fonts::StrokeRows(static_cast<char>(c)) == cells) seen = static_cast<char>(c);
            printed += seen;
        }
        x += g->advance * scale;
    }
    if (stray) {
        // Below the bars the picture shows only what the layout draws there (within a pixel
        // and a half, for the rounding of edges): the characters and any bars that reach down.
        *stray = 0;
        std::vector<std::pair<double, const fonts::Glyph*>> starts;
        double pen = left;
        for (char16_t code : text) {
            starts.emplace_back(pen, l.Find(code));
            pen += starts.back().second->advance * scale;
        }
        const double near = 1.5 / scale;
        auto drawn = [&](double px, double py) {
            for (auto [start, g] : starts)
                for (double dx : {-near, 0.0, near})
                    for (double dy : {-near, 0.0, near}) {
                        const double x = (px - start) / scale + dx, y = (py - top) / scale + dy;
                        if (x >= 0 && x < g->advance && fonts::Layout::Covers(*g, x, y)) return true;
                    }
            return false;
        };
        for (int py = static_cast<int>(top + fonts::kHrBarBottom * scale) + 1; py < static_cast<int>(top + fonts::kEm * scale); ++py)
            for (int px = 0; px < picture.width; ++px) *stray += dark(px, py) && !drawn(px + 0.5, py + 0.5);
    }
    return printed;
}

std::optional<Modules> FontTextModules(std::string_view layout, std::u16string_view text, double y) {
    const fonts::Layout& l = Get(layout);
    Modules m;
    for (char16_t c : text) {
        const fonts::Glyph* g = l.Find(c);
        if (!g) return std::nullopt;
        for (int x = 0; x < g->advance / l.module; ++x)
            m.push_back(fonts::Layout::Covers(*g, (x + 0.5) * l.module, y));
    }
    return m;
}

std::optional<std::string> FontTextBars(std::string_view layout, std::u16string_view text) {
    const auto middle = FontTextModules(layout, text, 0.55 * fonts::kEm);
    const auto top = FontTextModules(layout, text, 0.1 * fonts::kEm);
    const auto bottom = FontTextModules(layout, text, 0.9 * fonts::kEm);
    if (!middle) return std::nullopt;
    std::string bars;
    for (std::size_t i = 0; i < middle->size(); ++i)
        if ((*middle)[i]) bars += (*top)[i] ? ((*bottom)[i] ? 'F' : 'A') : ((*bottom)[i] ? 'D' : 'T');
    return bars;
}

Image RenderFontText(std::string_view layout, std::u16string_view text, double pixelsPerModule,
                     int quiet) {
    const fonts::Layout& l = Get(layout);
    const double scale = pixelsPerModule / l.module;  // pixels a font unit
    struct Placed {
        const fonts::Glyph* glyph;
        double x, y;  // font units
    };
    std::vector<Placed> placed;
    double penX = 0, penY = 0, widest = 0;
    for (char16_t c : text) {
        if (c == u'\n') {
            penX = 0;
            penY += fonts::kEm;
            continue;
        }
        const fonts::Glyph* g = l.Find(c);
        if (!g) continue;
        placed.push_back({g, penX, penY});
        penX += g->advance;
        widest = std::max(widest, penX);
    }
    if (penX > 0) penY += fonts::kEm;  // a last line without its LF
    const double margin = quiet * pixelsPerModule;
    Image img;
    img.width = static_cast<int>(std::ceil(widest * scale + 2 * margin));
    img.height = static_cast<int>(std::ceil(penY * scale + 2 * margin));
    img.pixels.assign(static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height), 255);
    for (const Placed& p : placed) {
        // Outlines may reach past the advance and the em (Maxicode's hexagons): scan around.
        const double x0 = (p.x - l.module) * scale + margin, x1 = (p.x + p.glyph->advance + l.module) * scale + margin;
        const double y0 = (p.y - fonts::kEm / 2.0) * scale + margin, y1 = (p.y + 1.5 * fonts::kEm) * scale + margin;
        for (int py = std::max(0, static_cast<int>(y0)); py < std::min(img.height, static_cast<int>(y1) + 1); ++py)
            for (int px = std::max(0, static_cast<int>(x0)); px < std::min(img.width, static_cast<int>(x1) + 1); ++px) {
                const double fx = (px + 0.5 - margin) / scale - p.x, fy = (py + 0.5 - margin) / scale - p.y;
                if (fonts::Layout::Covers(*p.glyph, fx, fy))
                    img.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(img.width) + static_cast<std::size_t>(px)] = 0;
            }
    }
    return img;
}

Image RenderMaxicodeText(std::u16string_view fontText) {
    constexpr double kPixels = 12;
    constexpr int kQuiet = 2;
    Image img = RenderFontText("maxicode", fontText, kPixels, kQuiet);
    // Finder centre: the middle of row 16 (an even row), column 14.
    const double module = Get("maxicode").module, pitch = fonts::kEm / 3.0;
    const double scale = kPixels / module;
    DrawMaxicodeFinder(img, (kQuiet * module + 14.5 * module) * scale, (kQuiet * module + 16.5 * pitch) * scale,
                       kPixels);
    return img;
}

void DrawMaxicodeFinder(Image& img, double centreX, double centreY, double moduleWidth) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const double d = std::hypot(x + 0.5 - centreX, y + 0.5 - centreY) / moduleWidth;
            if ((d >= 0.9 && d < 1.5) || (d >= 2.1 && d < 2.7) || (d >= 3.3 && d < 3.9))
                img.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(img.width) + static_cast<std::size_t>(x)] = 0;
        }
}

}  // namespace testing_support
