// Test-side description of the DataBar fonts: the font text turned back into module rows.
// One-row forms: one glyph per element, a digit for a space, a letter for a bar. Stacked
// forms: one glyph per module column, drawing the column's row and separator modules.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/barcode_image.h"

namespace databar_font {

using testing_support::Modules;

// Elements alternating space, bar, ...; bars are letters from `firstBar` for width 1.
inline std::optional<Modules> ElementsToModules(std::string_view text, char firstBar) {
    Modules m;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int w = i % 2 == 0 ? text[i] - '0' : text[i] - firstBar + 1;
        if (w < 1 || w > 9) return std::nullopt;
        m.insert(m.end(), static_cast<std::size_t>(w), i % 2 == 1);
    }
    return m;
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

// Stacked: each glyph is top module, separator module, bottom module.
inline std::optional<Rows> StackedToRows(std::string_view text) {
    Modules top, sep, bottom;
    for (char c : text) {
        const std::string_view glyphs = "1KJMLNO";
        const std::size_t g = glyphs.find(c);
        if (g == std::string_view::npos) return std::nullopt;
        static const int kBits[7][3] = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1},
                                        {1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
        top.push_back(kBits[g][0]);
        sep.push_back(kBits[g][1]);
        bottom.push_back(kBits[g][2]);
    }
    return Rows{{top, sep, bottom}, {5, 1, 7}};
}

// First line: "A" bar, "1" space. Further lines: the row below with the three separator
// modules above it (t, m, b), glyphs as the Stacked Omnidirectional second line.
inline std::optional<Rows> LinesToRows(std::string_view text, int rowHeight) {
    const auto lines = Lines(text);
    if (lines.empty()) return std::nullopt;
    Rows out;
    Modules first;
    for (char c : lines[0]) {
        if (c != 'A' && c != '1') return std::nullopt;
        first.push_back(c == 'A');
    }
    out.rows.push_back(first);
    out.heights.push_back(rowHeight);
    for (std::size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].size() != lines[0].size()) return std::nullopt;
        Modules t, m, b, row;
        for (char c : lines[l]) {
            const std::string_view bars = "AWXY", spaces = "1PQSRTUV";
            if (std::size_t k = bars.find(c); k != std::string_view::npos) {
                row.push_back(true);
                t.push_back(k & 2);
                m.push_back(k & 1);
                b.push_back(false);
            } else if (std::size_t s = spaces.find(c); s != std::string_view::npos) {
                row.push_back(false);
                t.push_back(s & 4);
                m.push_back(s & 2);
                b.push_back(s & 1);
            } else {
                return std::nullopt;
            }
        }
        for (const Modules* r : {&t, &m, &b}) {
            out.rows.push_back(*r);
            out.heights.push_back(1);
        }
        out.rows.push_back(row);
        out.heights.push_back(rowHeight);
    }
    return out;
}

}  // namespace databar_font
