// Whether the painted symbol fits the main window's paint area: every row's own sample at the
// size the pane starts with does, with room for a reader at its sides; the largest symbols at
// large sizes do not, and the message line then says so after the encoder's sentence.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "desktop/fake_platform.h"
#include "desktop/front_end_fixture.h"
#include "encoder_state.h"
#include "fonts/layouts.h"
#include "output_texts.h"
#include "preview.h"

namespace {

using desktop::PixelRect;

// The face's layout, as the font builder makes the face.
const fonts::Layout* LayoutOfFace(std::u16string_view face) {
    for (const fonts::Face& f : fonts::GeneratedFaces())
        if (std::u16string(f.name.begin(), f.name.end()) == face) return fonts::FindLayout(f.layout);
    return nullptr;
}

// What the window paints for the row's sample at `points` on a 96-dpi screen: each glyph's
// advance rounded to whole pixels, as the font system sets text, each line one em tall.
PixelRect PaintedSample(const desktop::SymbologyAction& row, int points, std::string* why) {
    desktop_testing::FakePlatform platform;
    desktop::EncoderState state{platform};
    state.pCurrentAction = &row;
    desktop::OptionSettings& o = state.options;
    o.HumanReadable = 1;
    desktop::ApplyChecksumMode(row.nAttr1, o.AddChecksum);
    desktop::ApplyHumanReadableMode(row.nAttr3, o.HumanReadable);
    state.EncodeData(row.szSampleData);
    const fonts::Layout* layout = LayoutOfFace(row.szFontFace);
    if (!layout || state.output.empty()) {
        *why = layout ? "no font text" : "no layout for the face";
        return {};
    }
    const double em = points * 96.0 / 72.0;
    std::vector<std::u16string_view> lines{state.output};
    if (desktop::PaintedByLines(row.nSymbologyKind)) lines = desktop::PaintedLines(state.output);
    std::vector<int> widths;
    for (std::u16string_view line : lines) {
        int width = 0;
        for (char16_t c : line) {
            const fonts::Glyph* g = layout->Find(c);
            if (!g) *why = "no glyph " + std::to_string(int(c));
            if (g) width += static_cast<int>(std::lround(g->advance * em / fonts::kEm));
        }
        widths.push_back(width);
    }
    return desktop::PaintedRect(400, widths, static_cast<int>(std::lround(em)));
}

TEST(Preview, EveryRowsSampleFitsThePaintAreaAtTwelvePoints) {
    const auto table = desktop::BuildSymbologyTable();
    ASSERT_EQ(table.size(), 53u);
    for (const desktop::SymbologyAction& row : table) {
        std::string why;
        const PixelRect r = PaintedSample(row, 12, &why);
        const std::string name = desktop_testing::Narrow(row.szDisplayName);
        // Room for a reader: ten modules of a linear symbol (a pixel each), four of a QR Code (4 pixels).
        const int kQuietZone = name.find("QR") != std::string::npos ? 16 : 10;
        EXPECT_EQ(why, "") << name;
        EXPECT_GT(r.Width(), 0) << name;
        EXPECT_TRUE(desktop::InsidePaintArea(r)) << name << ": " << r.left << "," << r.top << " to " << r.right << ","
                                                 << r.bottom;
        EXPECT_GE(r.left - desktop::kPaintArea.left, kQuietZone) << name << " is " << r.Width() << " wide";
        EXPECT_GE(desktop::kPaintArea.right - r.right, kQuietZone) << name;
    }
}

TEST(Preview, LargeSymbolsAtLargeSizesDoNotFit) {
    const auto table = desktop::BuildSymbologyTable();
    for (const char16_t* name : {u"PDF417", u"Maxicode", u"Royal Mail CMDM"}) {
        const desktop::SymbologyAction* row = desktop::FindSymbology(table, name);
        ASSERT_NE(row, nullptr);
        std::string why;
        EXPECT_FALSE(desktop::InsidePaintArea(PaintedSample(*row, 24, &why))) << desktop_testing::Narrow(name);
        EXPECT_FALSE(desktop::InsidePaintArea(PaintedSample(*row, 48, &why))) << desktop_testing::Narrow(name);
    }
}

TEST(Preview, PaintedRectangleIsCentredByItsFirstLine) {
    const int one[] = {100};
    const PixelRect a = desktop::PaintedRect(400, one, 16);
    EXPECT_EQ(a.left, 150);
    EXPECT_EQ(a.right, 250);
    EXPECT_EQ(a.top, desktop::kPaintTop);
    EXPECT_EQ(a.bottom, desktop::kPaintTop + 16);
    // Lines share the first line's left edge; the widest gives the right edge.
    const int three[] = {100, 120, 80};
    const PixelRect b = desktop::PaintedRect(400, three, 16);
    EXPECT_EQ(b.left, 150);
    EXPECT_EQ(b.right, 270);
    EXPECT_EQ(b.bottom, desktop::kPaintTop + 48);
    EXPECT_EQ(desktop::PaintedRect(400, {}, 16).Width(), 0);
    // An odd difference leaves the extra pixel on the right.
    const int odd[] = {101};
    EXPECT_EQ(desktop::PaintedRect(400, odd, 16).left, 149);
}

TEST(Preview, InsideMeansNoPixelOutsideThePaintArea) {
    const PixelRect area = desktop::kPaintArea;
    EXPECT_TRUE(desktop::InsidePaintArea(area));
    EXPECT_TRUE(desktop::InsidePaintArea({}));
    EXPECT_FALSE(desktop::InsidePaintArea({area.left - 1, area.top, area.right, area.bottom}));
    EXPECT_FALSE(desktop::InsidePaintArea({area.left, area.top, area.right + 1, area.bottom}));
    EXPECT_FALSE(desktop::InsidePaintArea({area.left, area.top, area.right, area.bottom + 1}));
    EXPECT_FALSE(desktop::InsidePaintArea({area.left, area.top - 1, area.right, area.bottom}));
    // The message line lies under the paint area, not over it.
    EXPECT_GT(desktop::kMessageLineRect.top, area.bottom);
}

TEST(Preview, MessageLineTellsTheCutAfterTheEncodersSentence) {
    EXPECT_EQ(desktop::MessageLineText(u"", false), u"");
    EXPECT_EQ(desktop::MessageLineText(u"Input too long", false), u"Input too long");
    EXPECT_EQ(desktop::MessageLineText(u"", true), desktop::kPreviewCut);
    EXPECT_EQ(desktop::MessageLineText(u"Data too long: only its beginning is encoded.", true),
              u"Data too long: only its beginning is encoded. " + std::u16string(desktop::kPreviewCut));
}

}  // namespace
