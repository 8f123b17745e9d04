// DataBar font text back into module rows, through the DataBar font's glyphs
// (desktop/fonts/layouts.h). One-row forms: one glyph per element, a digit for a space, a
// letter for a bar. Stacked forms: one glyph per module column, drawing the column's row and
// separator modules.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/layouts.h"
#include "support/barcode_image.h"
#include "support/font_text.h"

namespace databar_font {

using testing_support::Modules;

// Heights in the font, in modules of the layout.
inline double ModuleY(double modules) { return modules * fonts::FindLayout("databar")->module; }

// The module columns of one line sampled at `modules` modules below the top of the em.
inline std::optional<Modules> Sample(std::string_view text, double modules) {
    return testing_support::FontTextModules("databar", testing_support::Widen(text), ModuleY(modules));
}

// Elements alternating space, bar, ...; bars are letters from `firstBar` for width 1.
inline std::optional<Modules> ElementsToModules(std::string_view text, char firstBar) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int w = i % 2 == 0 ? text[i] - '0' : text[i] - firstBar + 1;
        if (w < 1 || w > 9) return std::nullopt;
    }
    return Sample(text, 8);
}

// A symbol as rows of modules with their heights in modules.
struct Rows {
    std::vector<Modules> rows;
    std::vector<int> heights;
};

inline std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

inline bool Only(std::string_view text, std::string_view glyphs) {
    return text.find_first_not_of(glyphs) == std::string_view::npos;
}

// Stacked: each glyph is top row (5 modules), separator (1), bottom row (7).
inline std::optional<Rows> StackedToRows(std::string_view text) {
    if (!Only(text, "1KJMLNO")) return std::nullopt;
    auto top = Sample(text, 2.5), sep = Sample(text, 5.5), bottom = Sample(text, 9.5);
    if (!top || !sep || !bottom) return std::nullopt;
    return Rows{{*top, *sep, *bottom}, {5, 1, 7}};
}

// First line: "A" bar, "1" space. Further lines: the row below with the three separator
// modules above it (t, m, b), glyphs as the Stacked Omnidirectional second line.
inline std::optional<Rows> LinesToRows(std::string_view text, int rowHeight) {
    const auto lines = Lines(text);
    if (lines.empty() || !Only(lines[0], "A1")) return std::nullopt;
    Rows out;
    out.rows.push_back(*Sample(lines[0], 8));
    out.heights.push_back(rowHeight);
    for (std::size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].size() != lines[0].size() || !Only(lines[l], "1PQSRTUVAWXY")) return std::nullopt;
        for (double y : {0.5, 1.5, 2.5}) {
            out.rows.push_back(*Sample(lines[l], y));
            out.heights.push_back(1);
        }
        out.rows.push_back(*Sample(lines[l], 8));
        out.heights.push_back(rowHeight);
    }
    return out;
}

}  // namespace databar_font
