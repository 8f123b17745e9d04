#include "support/font_text.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

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
        // Outlines may reach past the advance and the em (Maxicode's hexagons and finder):
        // scan the glyph's box.
        double bx0 = 0, by0 = 0, bx1 = p.glyph->advance, by1 = fonts::kEm;
        for (const fonts::Rect& r : p.glyph->rects)
            bx0 = std::min<double>(bx0, r.x), bx1 = std::max<double>(bx1, r.x + r.w), by0 = std::min<double>(by0, r.y),
            by1 = std::max<double>(by1, r.y + r.h);
        for (const auto& poly : p.glyph->polygons)
            for (const fonts::Point& q : poly)
                bx0 = std::min<double>(bx0, q.x), bx1 = std::max<double>(bx1, q.x), by0 = std::min<double>(by0, q.y),
                by1 = std::max<double>(by1, q.y);
        const double x0 = (p.x + bx0) * scale + margin - 1, x1 = (p.x + bx1) * scale + margin + 1;
        const double y0 = (p.y + by0) * scale + margin - 1, y1 = (p.y + by1) * scale + margin + 1;
        for (int py = std::max(0, static_cast<int>(y0)); py < std::min(img.height, static_cast<int>(y1) + 1); ++py)
            for (int px = std::max(0, static_cast<int>(x0)); px < std::min(img.width, static_cast<int>(x1) + 1); ++px) {
                const double fx = (px + 0.5 - margin) / scale - p.x, fy = (py + 0.5 - margin) / scale - p.y;
                if (fonts::Layout::Covers(*p.glyph, fx, fy))
                    img.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(img.width) + static_cast<std::size_t>(px)] = 0;
            }
    }
    return img;
}

Image RenderMaxicodeText(std::u16string_view fontText) { return RenderFontText("maxicode", fontText, 12, 2); }

std::string MaxicodeFinderProblem(const Image& picture, int left, int top, int right, int bottom) {
    auto dark = [&picture](double x, double y) {
        const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
        return px >= 0 && py >= 0 && px < picture.width && py < picture.height &&
               picture.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(px)] < 128;
    };
    int x0 = right, y0 = bottom, x1 = left - 1;
    for (int y = std::max(0, top); y < std::min(bottom, picture.height); ++y)
        for (int x = std::max(0, left); x < std::min(right, picture.width); ++x)
            if (dark(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y);
    if (x1 < x0) return "no symbol in the box";
    const double w = (x1 + 1 - x0) / 30.0;
    if (w < 3) return "modules of " + std::to_string(w) + " pixels: too small to measure";
    double cx = x0 + 14.5 * w, cy = y0 + w / std::sqrt(3.0) + 16 * w * std::sqrt(3.0) / 2;
    // Dark runs along a line from (x, y) in direction (dx, dy), from -reach to reach, in pixels
    // from the start point.
    auto runs = [&](double x, double y, double dx, double dy, double from, double reach) {
        std::vector<std::pair<double, double>> out;
        constexpr double kStep = 0.1;
        bool in = false;
        for (double t = from; t <= reach; t += kStep) {
            const bool d = dark(x + t * dx, y + t * dy);
            if (d && !in) out.push_back({t, t});
            if (d) out.back().second = t + kStep;
            in = d;
        }
        return out;
    };
    for (int pass = 0; pass < 2; ++pass) {
        const auto across = runs(cx, cy, 1, 0, -4.4 * w, 4.4 * w);
        if (across.size() < 2) return "no rings across the centre row";
        cx += (across.front().first + across.back().second) / 2;
        const auto down = runs(cx, cy, 0, 1, -4.4 * w, 4.4 * w);
        if (down.size() < 2) return "no rings down the centre column";
        cy += (down.front().first + down.back().second) / 2;
    }
    constexpr double kDarkFrom[3] = {0.58, 2.11, 3.64}, kDarkTo[3] = {1.34, 2.88, 4.40};
    const double tolerance = 0.2 * w + 1;
    const double pi = std::acos(-1.0);
    for (int degrees = 0; degrees < 360; degrees += 10) {
        const double a = degrees * pi / 180;
        const auto found = runs(cx, cy, std::cos(a), std::sin(a), 0, 4.3 * w);
        bool ok = found.size() == 3;
        for (std::size_t k = 0; ok && k < 3; ++k)
            ok = std::abs(found[k].first - kDarkFrom[k] * w) <= tolerance &&
                 std::abs(found[k].second - kDarkTo[k] * w) <= tolerance;
        if (!ok) {
            std::string seen;
            for (const auto& r : found)
                seen += " " + std::to_string(r.first / w).substr(0, 4) + "-" + std::to_string(r.second / w).substr(0, 4);
            return "the ray at " + std::to_string(degrees) + " degrees from (" + std::to_string(cx) + ", " +
                   std::to_string(cy) + ") crosses dark at" + (seen.empty() ? " none" : seen) +
                   " module widths (module " + std::to_string(w) + " pixels)";
        }
    }
    return {};
}

}  // namespace testing_support
