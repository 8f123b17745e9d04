// The state the main window and its panes share: the one encode road from the data field's text
// to the painted font text, and how that text is painted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/fake_platform.h"
#include "desktop/front_end_fixture.h"
#include "encoder_state.h"
#include "output_texts.h"

namespace {

using desktop::EncoderState;

struct StateFixture {
    desktop_testing::FakePlatform platform;
    EncoderState state{platform};
    std::vector<desktop::SymbologyAction> table = desktop::BuildSymbologyTable();

    void Choose(std::u16string_view name) {
        state.pCurrentAction = desktop::FindSymbology(table, name);
        ASSERT_NE(state.pCurrentAction, nullptr);
    }
};

TEST(EncoderState, WithoutARowNothingIsEncodedAndTheMessageLineIsLeftAlone) {
    StateFixture f;
    f.state.EncodeData(u"123");
    EXPECT_EQ(f.state.data, u"123");
    EXPECT_EQ(f.state.output, u"");
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_EQ(f.state.Kind(), desktop::kNoKind);
}

TEST(EncoderState, TheDataIsEncodedWithTheRowAndTheChecksumSetting) {
    StateFixture f;
    f.Choose(u"Interleaved 2 of 5");
    f.platform.messages.push_back(u"earlier");
    f.state.EncodeData(u"1234567");
    EXPECT_EQ(f.platform.line(), u"") << "the line is cleared before each encode";
    EXPECT_EQ(f.state.output, desktop::EncodeSelected(f.state.session, *f.state.pCurrentAction, u"1234567"));
    const std::u16string plain = f.state.output;
    f.state.options.AddChecksum = 1;
    f.state.EncodeData(u"1234567");
    EXPECT_NE(f.state.output, plain) << "routine [1] with the checksum box set";
}

TEST(EncoderState, TheFontTextIsCutToTheBuffer) {
    StateFixture f;
    f.Choose(u"Code128B");
    const std::u16string whole = desktop::EncodeSelected(f.state.session, *f.state.pCurrentAction, u"ABCDEF");
    ASSERT_GT(whole.size(), 5u);
    EXPECT_EQ(f.state.Encode(u"ABCDEF", 5), whole.substr(0, 4));
    EXPECT_EQ(f.state.Encode(u"ABCDEF", 0), u"");
    EXPECT_EQ(f.state.Encode(u"ABCDEF", desktop::kOutputUnits), whole);
}

TEST(PaintedLines, SplitAtEachLineFeedUntilOneOpensTheRest) {
    using Lines = std::vector<std::u16string_view>;
    EXPECT_EQ(desktop::PaintedLines(u"abc"), (Lines{u"abc"}));
    EXPECT_EQ(desktop::PaintedLines(u"ab\ncd\nef"), (Lines{u"ab", u"cd", u"ef"}));
    EXPECT_EQ(desktop::PaintedLines(u"ab\ncd\n"), (Lines{u"ab", u"cd"})) << "a last LF adds no line";
    EXPECT_EQ(desktop::PaintedLines(u"ab\n\ncd"), (Lines{u"ab", u"\ncd"}));
    EXPECT_EQ(desktop::PaintedLines(u"\nab"), (Lines{u"\nab"}));
}

TEST(PaintedLines, EveryRowWhoseSampleGivesSeveralLinesIsPaintedByLines) {
    StateFixture f;
    int banded = 0;
    for (const desktop::SymbologyAction& row : f.table) {
        f.state.pCurrentAction = &row;
        f.state.EncodeData(row.szSampleData);
        if (f.state.output.find(u'\n') == std::u16string::npos) continue;
        ++banded;
        EXPECT_TRUE(desktop::PaintedByLines(row.nSymbologyKind)) << desktop_testing::Narrow(row.szDisplayName);
    }
    EXPECT_GE(banded, 10) << "the band rows";
}

}  // namespace
