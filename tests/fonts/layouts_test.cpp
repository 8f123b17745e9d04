// The font set against the desktop program that uses it: every row's default face is built, the
// faces built are faces the program asks for, the encoders' texts only use glyphs the row's font
// has, the glyph outlines keep lines of text joined, and the "Hr" faces print the characters
// of the data under bars that are those of the plain faces, shortened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "desktop/fake_platform.h"
#include "fonts/layouts.h"
#include "frame.h"
#include "matrix.h"
#include "support/encode_texts.h"
#include "symbology_table.h"

namespace {

using desktop_testing::FakePlatform;

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

const fonts::Face* Generated(std::u16string_view face) {
    static const std::vector<fonts::Face> faces = fonts::GeneratedFaces();
    for (const fonts::Face& f : faces)
        if (desktop::EqualNoCase(Wide(f.name), face)) return &f;
    return nullptr;
}

bool Installed(std::u16string_view face) { return Generated(face) != nullptr; }

TEST(FontSet, EveryRowsDefaultFaceIsBuiltAndEveryBuiltFaceIsAskedFor) {
    for (const auto& row : desktop::BuildSymbologyTable()) {
        EXPECT_TRUE(Installed(row.szFontFace)) << testing_support::Show(row.szDisplayName);
    }
    const auto asked = desktop::AllFontFaces();
    for (const fonts::Face& f : fonts::GeneratedFaces()) {
        const bool known = std::any_of(asked.begin(), asked.end(), [&](const std::u16string& a) {
            return desktop::EqualNoCase(a, Wide(f.name));
        });
        EXPECT_TRUE(known) << f.name;
        ASSERT_NE(fonts::FindLayout(f.layout), nullptr) << f.name;
    }
}

TEST(FontSet, FaceListsOfTheFamiliesBuiltWhole) {
    const auto table = desktop::BuildSymbologyTable();
    auto faces = [&](std::u16string_view name, int hr) {
        return desktop::FontFaces(*desktop::FindSymbology(table, name), hr, Installed);
    };
    EXPECT_EQ(faces(u"Code 39", 1).size(), 7u);
    EXPECT_EQ(faces(u"Code 39", 1).front(), u"KVCode39XXLHr");
    EXPECT_EQ(faces(u"Code 39", 0).back(), u"KVCode39XXS");
    // Code 128 with a fixed set and no human-readable text uses the plain Code 128 faces.
    EXPECT_EQ(faces(u"Code128B", 0), faces(u"GS1-128", 0));
    EXPECT_EQ(faces(u"Code128A", 1).size(), 7u);
    EXPECT_EQ(faces(u"EAN-13", 1), faces(u"UPC-A", 0));
    EXPECT_EQ(faces(u"Databar", 0), (std::vector<std::u16string>{u"KVDatabarS", u"KVDatabarM", u"KVDatabarL"}));
    EXPECT_EQ(faces(u"Pharma Two", 0), (std::vector<std::u16string>{u"KVPharmaTwoL", u"KVPharmaTwoS"}));
    EXPECT_EQ(faces(u"Master Carton Code", 0), (std::vector<std::u16string>{u"KVCartonHr", u"KVCarton"}));
    // A family of which only the default face is built.
    EXPECT_EQ(faces(u"Codabar", 1), std::vector<std::u16string>{u"KVCodabarMHr"});
    EXPECT_TRUE(faces(u"Codabar", 0).empty());
}

// Every glyph that a row's routines write for its sample text (and for a text of every
// character the user can type into it) is drawn by the row's default font.
TEST(FontSet, EncodersWriteOnlyGlyphsOfTheirRowsFont) {
    FakePlatform platform;
    platform.allFaces = true;
    linear::Context ctx{linear::kDesktop};
    desktop::OptionSettings options;
    desktop::Session session{ctx, options, platform};
    std::u16string printable;
    for (char16_t c = 32; c < 127; ++c) printable += c;
    int checked = 0;
    for (const auto& row : desktop::BuildSymbologyTable()) {
        const fonts::Face* face = Generated(row.szFontFace);
        if (!face) continue;
        const fonts::Layout& layout = *fonts::FindLayout(face->layout);
        for (const auto& text : {row.szSampleData, printable, std::u16string(u"0123456789")})
            for (int routine = 0; routine < 2; ++routine) {
                if (!row.pfnEncode[routine]) continue;
                // GS1-128 hands back its messages in place of the font text.
                if (row.szDisplayName == u"GS1-128" && text != row.szSampleData) continue;
                options.AddChecksum = routine;
                const std::u16string font = desktop::EncodeSelected(session, row, text);
                if (text == row.szSampleData) {
                    EXPECT_FALSE(font.empty()) << testing_support::Show(row.szDisplayName);
                }
                for (char16_t g : font) {
                    ASSERT_NE(layout.Find(g), nullptr)
                        << testing_support::Show(row.szDisplayName) << " writes " << int(g) << " in "
                        << testing_support::Show(font);
                }
                ++checked;
            }
    }
    EXPECT_GT(checked, 100);
}

TEST(FontLayouts, LinesJoinAndLineEndsDrawNothing) {
    for (const fonts::Layout& l : fonts::AllLayouts()) {
        for (char16_t end : {u'\r', u'\n'}) {
            const fonts::Glyph* g = l.Find(end);
            ASSERT_NE(g, nullptr) << l.name;
            EXPECT_EQ(g->advance, 0) << l.name;
            EXPECT_TRUE(g->rects.empty() && g->polygons.empty()) << l.name;
        }
        for (std::size_t i = 1; i < l.glyphs.size(); ++i) EXPECT_LT(l.glyphs[i - 1].code, l.glyphs[i].code) << l.name;
        for (const fonts::Glyph& g : l.glyphs) {
            EXPECT_EQ(2 * g.advance % l.module, 0) << l.name << " " << int(g.code);  // Maxicode's "[" is half a module
            for (const fonts::Rect& r : g.rects) {
                EXPECT_TRUE(r.w > 0 && r.h > 0 && r.x >= 0 && r.x + r.w <= g.advance) << l.name << " " << int(g.code);
                EXPECT_TRUE(r.y >= 0 && r.y + r.h <= fonts::kEm) << l.name << " " << int(g.code);
            }
        }
    }
}

// A band glyph is one module wide and draws its digit's four bits as four rows of `rowModules`
// modules each, the highest bit on top: sampled near the top and the bottom of every row.
void ExpectBandGlyphs(std::string_view name, int rowModules) {
    SCOPED_TRACE(std::string(name));
    const fonts::Layout& band = *fonts::FindLayout(name);
    EXPECT_EQ(band.module * 4 * rowModules, fonts::kEm);
    for (int v = 0; v < 16; ++v) {
        const fonts::Glyph* g = band.Find(static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10));
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->advance, band.module);
        for (int k = 0; k < 4; ++k)
            for (double part : {0.1, 0.9})
                EXPECT_EQ(fonts::Layout::Covers(*g, band.module / 2.0, (k + part) * fonts::kEm / 4), ((v >> (3 - k)) & 1) != 0)
                    << v << " row " << k;
    }
    EXPECT_EQ(band.Find(u'a'), nullptr);  // the encoders write upper-case digits only
}

// The matrix symbols' band glyph has square modules; the stacked symbols' draws each row twice
// as tall as the glyph is wide, so that a PDF417 symbol is half as wide as in the square font.
TEST(FontLayouts, BandGlyphsAreOneModuleWideAndFourRowsTall) {
    ExpectBandGlyphs("band", 1);
    ExpectBandGlyphs("stackedband", 2);
    const auto faces = fonts::GeneratedFaces();
    const auto pdf = std::find_if(faces.begin(), faces.end(), [](const fonts::Face& f) { return f.name == "KVPdf417"; });
    ASSERT_NE(pdf, faces.end());
    EXPECT_EQ(pdf->layout, "stackedband");
}

// A hexagon cell: the five hexagons of "0" + 31 and the middle one of "~" tile without overlap.
TEST(FontLayouts, MaxicodeHexagonsTouchButDoNotOverlap) {
    const fonts::Layout& hex = *fonts::FindLayout("maxicode");
    const fonts::Glyph* full = hex.Find(u'0' + 31);
    const fonts::Glyph* tilde = hex.Find(u'~');
    ASSERT_TRUE(full && tilde);
    EXPECT_EQ(full->polygons.size(), 5u);
    EXPECT_EQ(full->advance, 2 * hex.module);
    EXPECT_EQ(tilde->advance, 0);
    // The middle of each hexagon is covered by exactly one of them.
    const double pitch = fonts::kEm / 3.0;
    for (auto [x, y] : {std::pair{0.5, 0.5}, {1.5, 0.5}, {1.0, 1.5}, {0.5, 2.5}, {1.5, 2.5}}) {
        EXPECT_TRUE(fonts::Layout::Covers(*full, x * hex.module, y * pitch));
        EXPECT_FALSE(fonts::Layout::Covers(*tilde, x * hex.module, y * pitch));
    }
    // Between the top two hexagons and the middle one lies no gap wider than rounding.
    EXPECT_TRUE(fonts::Layout::Covers(*full, 0.75 * hex.module, 1.0 * pitch));
    EXPECT_FALSE(fonts::Layout::Covers(*hex.Find(u'0'), hex.module, 1.5 * pitch));
}

// The finder markers ('!' to '%', no advance, at the start of cell 7 of bands 3 to 7) draw in
// the finder area alone: no point of any hexagon of a module that carries a codeword bit or
// orientation (within its inner circle) is covered by one of them.
TEST(FontLayouts, MaxicodeFinderMarkersDrawOnlyInTheFinderArea) {
    const fonts::Layout& hex = *fonts::FindLayout("maxicode");
    const double w = hex.module, pitch = fonts::kEm / 3.0, pi = std::acos(-1.0);
    int drawn = 0;
    for (int band = 3; band <= 7; ++band) {
        const fonts::Glyph* marker = hex.Find(static_cast<char16_t>(u'!' + band - 3));
        ASSERT_NE(marker, nullptr) << band;
        EXPECT_EQ(marker->advance, 0);
        EXPECT_FALSE(marker->polygons.empty());
        drawn += static_cast<int>(marker->polygons.size());
        const double penX = 14 * w + (band % 2 ? w / 2 : 0), penY = band * fonts::kEm;
        for (int r = 0; r < matrix::kMaxicodeRows; ++r)
            for (int c = 0; c < matrix::kMaxicodeColumns; ++c) {
                if (matrix::kMaxicodeGrid[r][c] == -3) continue;
                const double x = (c + 0.5 + 0.5 * (r % 2)) * w, y = (r + 0.5) * pitch;
                for (int k = 0; k <= 12; ++k) {
                    const double d = k ? 0.48 * w : 0, a = k * pi / 6;
                    EXPECT_FALSE(fonts::Layout::Covers(*marker, x + d * std::cos(a) - penX, y + d * std::sin(a) - penY))
                        << "marker of band " << band << " over module " << r << "," << c;
                }
            }
    }
    EXPECT_GT(drawn, 0);
}

// ---- Human-readable faces ------------------------------------------------------------------

// Every "Hr" face draws a human-readable layout, every other face a layout without text.
TEST(HumanReadableFaces, DrawTheHumanReadableLayoutOfTheirFamily) {
    int hr = 0;
    for (const fonts::Face& f : fonts::GeneratedFaces()) {
        const fonts::Layout& l = *fonts::FindLayout(f.layout);
        const bool printsText = std::any_of(l.glyphs.begin(), l.glyphs.end(), [](const fonts::Glyph& g) {
            return !g.text.empty();
        });
        EXPECT_EQ(printsText, f.humanReadable || f.layout == "upcean") << f.name;  // UPC/EAN always prints
        EXPECT_EQ(!l.bars.empty(), f.humanReadable) << f.name;
        hr += f.humanReadable;
    }
    EXPECT_EQ(hr, 29);  // the default faces of 16 families, 12 composed sizes and the carton face
}

// A human-readable layout has the glyphs and advances of its plain layout, the same bars cut at
// kHrBarBottom, and below them nothing but its text, inside the glyph's advance.
TEST(HumanReadableFaces, KeepTheBarsAboveTheTextBand) {
    int layouts = 0;
    for (const fonts::Layout& l : fonts::AllLayouts()) {
        if (l.bars.empty()) {
            if (l.name == "upcean") continue;  // its own test below
            for (const fonts::Glyph& g : l.glyphs) EXPECT_TRUE(g.text.empty()) << l.name << " " << int(g.code);
            continue;
        }
        ++layouts;
        const fonts::Layout& plain = *fonts::FindLayout(l.bars);
        ASSERT_EQ(l.glyphs.size(), plain.glyphs.size()) << l.name;
        EXPECT_EQ(l.module, plain.module);
        for (std::size_t i = 0; i < l.glyphs.size(); ++i) {
            const fonts::Glyph &g = l.glyphs[i], &p = plain.glyphs[i];
            const std::string where = std::string(l.name) + " " + std::to_string(g.code);
            ASSERT_EQ(g.code, p.code) << where;
            EXPECT_EQ(g.advance, p.advance) << where;
            std::vector<std::tuple<int, int, int, int>> bars, cut;
            for (const fonts::Rect& r : p.rects) cut.emplace_back(r.x, r.y, r.w, std::min(r.y + r.h, fonts::kHrBarBottom) - r.y);
            int textCells = 0;
            for (const fonts::Rect& r : g.rects) {
                if (r.y < fonts::kHrBarBottom) {
                    EXPECT_LE(r.y + r.h, fonts::kHrBarBottom) << where;
                    bars.emplace_back(r.x, r.y, r.w, r.h);
                    continue;
                }
                EXPECT_GE(r.y, fonts::kHrTextTop) << where;
                EXPECT_LE(r.y + r.h, fonts::kEm) << where;
                EXPECT_TRUE(r.x >= 0 && r.x + r.w <= g.advance) << where;
                textCells += r.w / fonts::kHrCellWidth;
            }
            EXPECT_EQ(bars, cut) << where;
            int wantCells = 0;
            for (char c : g.text) wantCells += static_cast<int>(std::count(fonts::StrokeRows(c).begin(), fonts::StrokeRows(c).end(), '1'));
            EXPECT_EQ(textCells, wantCells) << where << " prints \"" << g.text << "\"";
            EXPECT_NE(g.text.find(' '), 0u) << where;  // spaces print nothing
        }
    }
    EXPECT_EQ(layouts, 16);
}

TEST(HumanReadableFaces, StrokeCharactersAreSevenRowsOfFiveAndAllDiffer) {
    std::vector<std::string_view> seen;
    for (int c = 33; c < 127; ++c) {
        const std::string_view rows = fonts::StrokeRows(static_cast<char>(c));
        ASSERT_EQ(rows.size(), 35u) << char(c);
        EXPECT_EQ(rows.find_first_not_of("01"), std::string_view::npos) << char(c);
        EXPECT_NE(rows.find('1'), std::string_view::npos) << char(c);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), rows), seen.end()) << char(c) << " looks like another";
        seen.push_back(rows);
    }
    for (char c : {' ', '\x7F', '\x1F'}) EXPECT_TRUE(fonts::StrokeRows(c).empty()) << int(c);
}

// What a row's default "Hr" face prints under the symbol of a typed text: the data characters
// (and the check characters the symbology prints), without start, stop, shift or function
// characters. "?" stands for a check character worked out elsewhere.
TEST(HumanReadableFaces, PrintTheDataUnderTheSymbolsOfTheirRows) {
    FakePlatform platform;
    platform.allFaces = true;
    linear::Context ctx{linear::kDesktop};
    desktop::OptionSettings options;
    desktop::Session session{ctx, options, platform};
    const auto table = desktop::BuildSymbologyTable();
    const struct {
        std::u16string_view row;
        int checksum;
        std::u16string_view typed;
        std::string_view printed;
    } cases[] = {
        {u"Code 39", 0, u"KESTRIVO", "*KESTRIVO*"},
        {u"Code 39", 1, u"CODE 39", "*CODE39?*"},
        {u"USS Code 39", 0, u"12345", "*123457*"},
        {u"Code 39 Extended", 0, u"Kv *#", "*Kv*#*"},
        {u"Code 93", 0, u"a-1", "A-1??"},
        {u"Code128A", 0, u"KESTRIVO\x01", "KESTRIVO"},
        {u"Code128B", 0, u"Kestrivo-42", "Kestrivo-42"},
        {u"Code128B", 1, u"A", "AB"},
        {u"Code128C", 0, u"9780735200449", "09780735200449"},
        {u"Code128C", 1, u"123", "012349"},
        {u"Asian-Code128A", 0, u"AB", "AB"},
        {u"Asian-Code128B", 0, u"Kestrivo 128", "Kestrivo128#"},
        {u"Asian-Code128C", 0, u"00", "0002"},
        {u"Codabar", 0, u"123-456", "A123-456B"},
        {u"Interleaved 2 of 5", 0, u"123", "0123"},
        {u"Interleaved 2 of 5", 1, u"1234567", "12345670"},
        {u"Code 25", 1, u"12345", "123457"},
        {u"Code 11", 0, u"123-45", "123-455"},
        {u"MSI/Plessey", 0, u"1234567", "12345674"},
        {u"Telepen", 0, u"AB", "AB{"},
        {u"Telepen Numeric", 0, u"123", "1230??"},
    };
    for (const auto& c : cases) {
        const std::string label = testing_support::Show(std::u16string(c.row)) + " " + std::to_string(c.checksum);
        const desktop::SymbologyAction* row = desktop::FindSymbology(table, std::u16string(c.row));
        ASSERT_NE(row, nullptr) << label;
        const fonts::Face* face = Generated(row->szFontFace);
        ASSERT_TRUE(face && face->humanReadable) << label;
        const fonts::Layout& layout = *fonts::FindLayout(face->layout);
        options.AddChecksum = c.checksum;
        const std::u16string font = desktop::EncodeSelected(session, *row, std::u16string(c.typed));
        std::string printed;
        for (char16_t g : font) {
            const fonts::Glyph* glyph = layout.Find(g);
            ASSERT_NE(glyph, nullptr) << label << " glyph " << int(g);
            printed += glyph->text;
        }
        ASSERT_EQ(printed.size(), c.printed.size()) << label << ": " << printed;
        for (std::size_t i = 0; i < printed.size(); ++i) {
            if (c.printed[i] == '?') continue;
            EXPECT_EQ(printed[i], c.printed[i]) << label << ": " << printed;
        }
    }
}

// The UPC/EAN faces print the digits: the first digit of EAN-13 and the outer digits of UPC-A
// and UPC-E outside the bars, the others under their bars, the add-on's above its bars; the
// guards and the long-bar digits reach down beside the text.
TEST(HumanReadableFaces, UpcEanFacesPrintEveryDigit) {
    FakePlatform platform;
    linear::Context ctx{linear::kDesktop};
    desktop::OptionSettings options;
    desktop::Session session{ctx, options, platform};
    const auto table = desktop::BuildSymbologyTable();
    const fonts::Layout& upc = *fonts::FindLayout("upcean");
    const struct {
        std::u16string_view row, typed;
        std::string_view printed;
    } cases[] = {
        {u"EAN-13", u"590123412345", "5901234123457"},
        {u"EAN-13", u"590123412345|12", "590123412345712"},
        {u"UPC-A", u"12345678901", "123456789012"},
        {u"UPC-E", u"123456", "01234565"},
        {u"EAN-8", u"1234567", "12345670"},
        {u"Bookland", u"123456789|54999", "978123456789754999"},
    };
    for (const auto& c : cases) {
        const std::u16string font = desktop::EncodeSelected(session, *desktop::FindSymbology(table, std::u16string(c.row)),
                                                            std::u16string(c.typed));
        std::string printed;
        for (char16_t g : font) printed += upc.Find(g)->text;
        EXPECT_EQ(printed, c.printed) << testing_support::Show(std::u16string(c.typed));
    }
    const double below = (fonts::kHrBarBottom + fonts::kHrTextTop) / 2.0;  // between bars and text
    for (const fonts::Glyph& g : upc.glyphs) {
        const std::u16string_view code(&g.code, 1);
        bool reachesDown = false, reachesUp = false;
        for (int m = 0; m < g.advance / upc.module; ++m) {
            reachesDown = reachesDown || fonts::Layout::Covers(g, (m + 0.5) * upc.module, below);
            reachesUp = reachesUp || fonts::Layout::Covers(g, (m + 0.5) * upc.module, fonts::kEm - below);
        }
        const bool addOn = std::u16string_view(u"zxcvbnm,./ZXCVBNM<>?{\\").find(g.code) != std::u16string_view::npos;
        const bool underBars = std::u16string_view(u"1234567890QWERTYUIOPASDFGHJKL:").find(g.code) != std::u16string_view::npos;
        const bool outside = g.code >= 0xE0 && g.code <= 0xE9;
        EXPECT_EQ(!g.text.empty(), (addOn && g.code != u'{' && g.code != u'\\') || underBars || outside) << int(g.code);
        if (underBars || outside) {
            EXPECT_FALSE(reachesDown) << int(g.code);
        }
        if (addOn) {
            EXPECT_FALSE(reachesUp) << int(g.code);
            EXPECT_TRUE(reachesDown) << int(g.code);
        }
        if (std::u16string_view(u"[]|'!@#$%^&*()asdfghjkl;").find(g.code) != std::u16string_view::npos) {
            EXPECT_TRUE(reachesDown && reachesUp) << int(g.code);  // guards and long bars
        }
    }
}

}  // namespace
