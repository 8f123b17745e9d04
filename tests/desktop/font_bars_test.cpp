// BC412 and desktop Code 16K symbols drawn through the desktop fonts' glyph layouts and read
// back from the bars drawn (then by the test-side readers of each symbology's rules), and the
// SEMI identifiers' text faces kept legible.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "code16k.h"
#include "code16k_desktop.h"
#include "support/code16k_reader.h"
#include "support/desktop_font_readers.h"
#include "desktop_linear.h"
#include "frame.h"
#include "record.h"
#include "semi.h"
#include "support/encode_texts.h"
#include "support/font_text.h"

using namespace desktop_testing;
using testing_support::Code16kGlyphs;
using testing_support::FontTextModules;
using testing_support::ReadCode16k;
using testing_support::Modules;

namespace {

// Element widths of modules [from, to) as digits, the first element a bar when `bar`; empty
// when the first module is of the other colour or an element is wider than 9.
std::string Widths(const Modules& m, std::size_t from, std::size_t to, bool bar = true) {
    if (from >= to || to > m.size() || m[from] != bar) return {};
    std::string widths;
    for (std::size_t i = from; i < to;) {
        std::size_t j = i;
        while (j < to && m[j] == m[i]) ++j;
        if (j - i > 9) return {};
        widths += static_cast<char>('0' + (j - i));
        i = j;
    }
    return widths;
}

// ---- BC412 ----

// Each character is four one-module bars, each followed by a space of 1 to 5 modules (12
// modules); value v is the v-th of the 35 space sequences in increasing order. "*" (start,
// stop) is one bar and one space.
std::optional<std::u16string> Bc412FontFromBars(const Modules& m) {
    static const std::u16string_view chars = u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ";
    if (m.size() < 4 || (m.size() - 4) % 12 || Widths(m, 0, 2) != "11" || Widths(m, m.size() - 2, m.size()) != "11")
        return std::nullopt;
    std::u16string font = u"*";
    for (std::size_t at = 2; at + 2 < m.size(); at += 12) {
        const std::string w = Widths(m, at, at + 12);
        if (w.size() != 8 || w[0] != '1' || w[2] != '1' || w[4] != '1' || w[6] != '1') return std::nullopt;
        int value = -1, place = 0;
        for (char s1 = '1'; s1 <= '5'; ++s1)
            for (char s2 = '1'; s2 <= '5'; ++s2)
                for (char s3 = '1'; s3 <= '5'; ++s3) {
                    const int s4 = 8 - (s1 - '0') - (s2 - '0') - (s3 - '0');
                    if (s4 < 1 || s4 > 5) continue;
                    if (w == std::string{'1', s1, '1', s2, '1', s3, '1', char('0' + s4)}) value = place;
                    ++place;
                }
        char16_t c = 0;
        for (char16_t k : chars)
            if (Bc412Value(k) == value) c = k;
        if (!c) return std::nullopt;
        font += c;
    }
    return font + u'*';
}

TEST(Bc412Font, SymbolsReadBackFromTheirBars) {
    linear::Context ctx(linear::kDesktop);
    // Every character is 12 modules of four one-module bars, and no two are alike.
    std::set<std::string> seen;
    for (char16_t c : std::u16string_view(u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ")) {
        const auto m = FontTextModules("bc412", std::u16string(1, c));
        ASSERT_TRUE(m);
        ASSERT_EQ(m->size(), 12u);
        EXPECT_TRUE(seen.insert(Widths(*m, 0, 12)).second) << static_cast<char>(c);
    }
    std::mt19937 rng(412);
    const std::u16string alphabet = u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZo-";
    for (int i = 0; i < 200; ++i) {
        std::u16string text(rng() % 30, u'0');
        for (auto& c : text) c = alphabet[rng() % alphabet.size()];
        const std::u16string font = testing_support::Encode(desktop::EncodeBC412, ctx, text);
        const auto m = FontTextModules("bc412", font);
        ASSERT_TRUE(m) << testing_support::Show(font);
        const auto back = Bc412FontFromBars(*m);
        ASSERT_TRUE(back) << testing_support::Show(font);
        EXPECT_EQ(ReadBc412(*back), ReadBc412(font)) << testing_support::Show(font);
        EXPECT_TRUE(ReadBc412(*back)) << testing_support::Show(font);
    }
}

// ---- Code 16K ----

// Start and stop patterns of the row indicators 0 to 7 (EN 12323): the start from a bar, the
// stop from a space after its one-module bar.
constexpr std::string_view kIndicators[8] = {"3211", "2221", "2122", "1411", "1132", "1231", "1114", "3112"};

int Indicator(const std::string& widths) {
    for (int v = 0; v < 8; ++v)
        if (widths == kIndicators[v]) return v;
    return -1;
}

// Symbol characters: the Code 128 patterns of values 0 to 105 and, for 106, the first six
// elements of the Code 128 stop, taken from the automation server's Code 128 font.
const std::map<std::string, int>& SymbolPatterns() {
    static const std::map<std::string, int> patterns = [] {
        std::map<std::string, int> p;
        for (char16_t g = 0x10; g < 0x200; ++g) {
            const int v = fonts::Code128GlyphValue("code128", g);
            if (v == -2 || p.size() == 107) continue;
            const auto m = FontTextModules("code128", std::u16string(1, g));
            p.emplace(Widths(*m, 0, 11), v < 0 ? 106 : v);
        }
        return p;
    }();
    return patterns;
}

// The font text's lines read from their bars: each row 81 modules (10 quiet, start, five
// characters, stop, 1 quiet) under a separator bar, then the bottom separator bar; rebuilt as
// the glyphs the reader takes.
std::optional<std::u16string> Code16kFontFromBars(std::u16string_view font, std::string& why) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : font) {
        if (c == u'\n') lines.emplace_back();
        else lines.back() += c;
    }
    const double separator = fonts::FindLayout("code16k")->module / 2.0;
    std::u16string rebuilt;
    for (std::size_t r = 0; r < lines.size(); ++r) {
        const auto top = FontTextModules("code16k", lines[r], separator);
        const auto bars = FontTextModules("code16k", lines[r]);
        if (!top || !bars) return why = "unknown glyph", std::nullopt;
        if (top->size() != 81 || bars->size() != 81) return why = "row width " + std::to_string(bars->size()), std::nullopt;
        if (std::count(top->begin(), top->end(), true) != 81) return why = "separator", std::nullopt;
        if (r + 1 == lines.size()) {
            if (std::count(bars->begin(), bars->end(), true) != 0) return why = "bars under the bottom separator", std::nullopt;
            rebuilt += std::u16string(7, char16_t{0xFD}) + char16_t{0xE1};
            break;
        }
        const int start = Indicator(Widths(*bars, 10, 17));
        const int stop = Indicator(Widths(*bars, 73, 80, false));
        if (std::count(bars->begin(), bars->begin() + 10, true) || (*bars)[80] || !(*bars)[72] || start < 0 || stop < 0)
            return why = "row " + std::to_string(r + 1) + " quiet zones or indicators", std::nullopt;
        rebuilt += char16_t{0xFE};
        rebuilt += static_cast<char16_t>(0xED + start);
        for (int k = 0; k < 5; ++k) {
            const auto it = SymbolPatterns().find(Widths(*bars, 17 + 11 * k, 28 + 11 * k));
            if (it == SymbolPatterns().end()) return why = "symbol character in row " + std::to_string(r + 1), std::nullopt;
            rebuilt += matrix::code16k::ValueGlyph(it->second);
        }
        rebuilt += static_cast<char16_t>(0xF5 + stop);
        rebuilt += u"\xFF\r\n";
    }
    return rebuilt;
}

TEST(Code16kFont, SymbolsReadBackFromTheirBars) {
    ASSERT_EQ(SymbolPatterns().size(), 107u);
    std::mt19937 rng(16);
    for (int i = 0; i < 60; ++i) {
        std::string data(1 + rng() % 70, 'a');
        for (char& c : data) c = static_cast<char>(i % 3 ? 32 + rng() % 95 : '0' + rng() % 10);
        auto rec = std::make_unique<matrix::SymbolRecord>();
        ASSERT_EQ(desktop::EncodeCode16KRecord(*rec, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()},
                                               matrix::Call::Desktop()),
                  0);
        std::u16string font;
        for (const char* p = rec->fontText; *p; ++p) font += static_cast<char16_t>(static_cast<unsigned char>(*p));
        std::string why;
        const auto rebuilt = Code16kFontFromBars(font, why);
        ASSERT_TRUE(rebuilt) << why << " for " << data;
        const auto read = ReadCode16k(*rebuilt, Code16kGlyphs::Desktop, &why);
        ASSERT_TRUE(read) << why << " for " << data;
        EXPECT_EQ(read->data, data);
        EXPECT_EQ(read->rows, rec->rows);
    }
}

// ---- SEMI identifiers ----

// The identifiers print as text: every character the encoders write is drawn in a 5 by 7 cell
// with a column and a row of space, no two alike, and the "B" face draws over the plain face's
// strokes.
TEST(SemiFonts, EveryCharacterDrawnAndDistinct) {
    for (std::string_view layout : {"semi", "semibold"}) {
        const fonts::Layout& l = *fonts::FindLayout(layout);
        std::set<std::vector<bool>> seen;
        for (char16_t c : linear::kSemiChars) {
            const fonts::Glyph* g = l.Find(c);
            ASSERT_NE(g, nullptr) << layout << " " << static_cast<char>(c);
            std::vector<bool> cells;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < g->advance / l.module; ++x) {
                    const bool dark = fonts::Layout::Covers(*g, (x + 0.5) * l.module, (y + 0.5) * l.module);
                    cells.push_back(dark);
                    if (x == 5 || y == 7) {
                        EXPECT_FALSE(dark) << layout << " " << static_cast<char>(c);  // the gaps
                    }
                    if (layout == "semibold" && fonts::Layout::Covers(*fonts::FindLayout("semi")->Find(c), (x + 0.5) * l.module, (y + 0.5) * l.module)) {
                        EXPECT_TRUE(dark) << static_cast<char>(c);
                    }
                }
            EXPECT_TRUE(seen.insert(cells).second) << layout << " " << static_cast<char>(c);
            // Not a blank.
            EXPECT_NE(std::count(cells.begin(), cells.end(), true), 0);
        }
    }
}

}  // namespace
