// The pieces of long batch work: the pacing of a slice and of the progress window, the batch
// text cut into pieces for the batch field with its records counted, and the progress line.
#include <gtest/gtest.h>

#include <string>

#include "batch.h"
#include "batch_work.h"

using namespace desktop;

namespace {

TEST(WorkPacer, SlicesAndTheProgressFollowTheClock) {
    std::uint64_t now = 5000;
    WorkPacer pacer([&] { return now; });
    EXPECT_FALSE(pacer.SliceOver());
    EXPECT_FALSE(pacer.ShowProgress());
    now += WorkPacer::kSliceMs - 1;
    EXPECT_FALSE(pacer.SliceOver());
    now += 1;
    EXPECT_TRUE(pacer.SliceOver());
    EXPECT_FALSE(pacer.SliceOver()) << "a slice is counted from the last one";
    now += WorkPacer::kSliceMs * 3;
    EXPECT_TRUE(pacer.SliceOver());
    EXPECT_FALSE(pacer.ShowProgress());
    now = 5000 + WorkPacer::kShowAfterMs - 1;
    EXPECT_TRUE(pacer.SliceOver());
    EXPECT_FALSE(pacer.ShowProgress());
    now += 1;
    EXPECT_FALSE(pacer.SliceOver());
    EXPECT_FALSE(pacer.ShowProgress()) << "the time is taken at a slice";
    now += WorkPacer::kSliceMs;
    EXPECT_TRUE(pacer.SliceOver());
    EXPECT_TRUE(pacer.ShowProgress());
}

// Cuts `text` into pieces and checks each against the rules; the pieces in order.
std::vector<std::u16string> Cut(std::u16string_view text, std::size_t lines, std::size_t units) {
    BatchPieces pieces(text, lines, units, 0);
    std::vector<std::u16string> out;
    std::u16string joined;
    while (!pieces.Done()) {
        const std::u16string_view piece = pieces.Next();
        EXPECT_FALSE(piece.empty());
        if (piece.empty()) break;
        joined += piece;
        EXPECT_EQ(pieces.UnitsDone(), joined.size());
        const bool last = pieces.Done();
        EXPECT_TRUE(last || piece.back() == u'\n') << "a piece ends after a line feed";
        std::size_t feeds = 0;
        for (char16_t c : piece) feeds += c == u'\n';
        EXPECT_LE(feeds, lines);
        if (piece.size() > units) {
            EXPECT_LE(feeds - (piece.back() == u'\n' ? 1 : 0), 0u) << "only one line is longer";
        }
        EXPECT_EQ(pieces.RecordsDone(), BatchRecords(joined).size());
        out.emplace_back(piece);
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(pieces.Records(), BatchRecords(text).size());
    EXPECT_EQ(pieces.RecordsDone(), pieces.Records());
    EXPECT_TRUE(pieces.Next().empty());
    return out;
}

TEST(BatchPieces, CutAfterLineFeedsWithinTheBounds) {
    EXPECT_TRUE(Cut(u"", 2, 10).empty());
    // One line feed a piece: the separators are cut in two and still counted once.
    EXPECT_EQ(Cut(u"A\n\r\n\rB\n\r\n\rC", 1, 100),
              (std::vector<std::u16string>{u"A\n", u"\r\n", u"\rB\n", u"\r\n", u"\rC"}));
    EXPECT_EQ(Cut(u"A\n\r\n\rB\n\r\n\r", 2, 100), (std::vector<std::u16string>{u"A\n\r\n", u"\rB\n\r\n", u"\r"}));
    // The unit bound: lines are gathered while they fit; a longer line goes alone and whole.
    EXPECT_EQ(Cut(u"ab\ncd\nefghijkl\nm\n", 10, 6),
              (std::vector<std::u16string>{u"ab\ncd\n", u"efghijkl\n", u"m\n"}));
    EXPECT_EQ(Cut(u"abcdefghij", 10, 3), (std::vector<std::u16string>{u"abcdefghij"}));
    // A CR LF pair and a surrogate pair stay in one piece.
    EXPECT_EQ(Cut(u"\xD83D\xDE00\r\n\xD83D\xDE00\r\n", 1, 2),
              (std::vector<std::u16string>{u"\xD83D\xDE00\r\n", u"\xD83D\xDE00\r\n"}));

    // A large batch: pieces as large as the bounds allow, every record counted once.
    std::u16string big;
    for (int i = 0; i < 20000; ++i) big += u"KESTRIVO-" + std::u16string(1, u'0' + i % 10) + u"\n\r\n\r";
    const auto pieces = Cut(big, BatchPieces::kPieceLines, BatchPieces::kPieceUnits);
    // Two line feeds a record, and the last CR alone.
    EXPECT_EQ(pieces.size(), 2 * 20000u / BatchPieces::kPieceLines + 1);
    BatchPieces counted(big);
    EXPECT_EQ(counted.Records(), 20000u);
    // Records that are not ended keep out of the count.
    EXPECT_EQ(Cut(u"first\n\rsecond\n\r\n\rthird\n\r", 1, 100).size(), 5u);
}

// The bounds grow with what has been handed out, so that a field whose every piece costs as
// much as all it holds is filled in time linear in the text: pieces grow geometrically, and
// their number is logarithmic in the text.
TEST(BatchPieces, BoundsGrowWithTheTextHandedOut) {
    std::u16string text;
    for (int i = 0; i < 100000; ++i) text += u"line\n";
    BatchPieces pieces(text, 10, 1000000, 4);
    std::size_t count = 0, before = 0;
    while (!pieces.Done()) {
        const std::u16string_view piece = pieces.Next();
        const std::size_t lines = piece.size() / 5;
        EXPECT_EQ(lines, std::min(std::max<std::size_t>(10, before / 4), 100000 - before)) << "after " << before;
        before += lines;
        ++count;
    }
    EXPECT_EQ(before, 100000u);
    EXPECT_LT(count, 50u);
    // Units grow likewise: lines of 1,000 units under a bound of 1,000 units, one a piece at first.
    const std::u16string wide = std::u16string(999, u'x') + u"\n";
    std::u16string longLines;
    for (int i = 0; i < 50; ++i) longLines += wide;
    BatchPieces byUnits(longLines, 1000, 1000, 4);
    std::vector<std::size_t> sizes;
    while (!byUnits.Done()) sizes.push_back(byUnits.Next().size() / 1000);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 3, 4, 5, 6, 8, 9}));
}

TEST(WorkProgress, LineAndBar) {
    EXPECT_EQ(WorkProgressText(u"Exporting", 1234, 3084048, u"records"), u"Exporting: 1,234 of 3,084,048 records");
    EXPECT_EQ(WorkProgressText(u"Reading", 0, 999, u"bytes"), u"Reading: 0 of 999 bytes");
    EXPECT_EQ(WorkProgressText(u"Importing", 1000, 100000, u"records"), u"Importing: 1,000 of 100,000 records");
    EXPECT_EQ(WorkPermille(0, 10), 0);
    EXPECT_EQ(WorkPermille(1, 3), 333);
    EXPECT_EQ(WorkPermille(10, 10), 1000);
    EXPECT_EQ(WorkPermille(0, 0), 1000);
    EXPECT_EQ(WorkPermille(~std::uint64_t{0} - 1, ~std::uint64_t{0}), 999) << "not done before the end";
}

}  // namespace
