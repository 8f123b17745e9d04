// The main window's notice that the painted symbol does not carry all of the typed text:
// found by the core for each row, never for a text the row carries whole.
#include <gtest/gtest.h>

#include <string>

#include "desktop/front_end_fixture.h"
#include "loss.h"
#include "symbology_table.h"

using namespace desktop;
using namespace desktop_testing;

namespace {

class Loss : public ::testing::Test {
protected:
    // The loss of `typed` on the row `name`, judged against the row's own encode.
    unsigned Of(std::u16string_view name, std::u16string_view typed) {
        const SymbologyAction* row = FindSymbology(table, name);
        if (!row) {
            ADD_FAILURE() << "no row";
            return ~0u;
        }
        const std::u16string font = EncodeSelected(f.session, *row, typed);
        const std::size_t messages = f.platform.messages.size();
        const unsigned loss = FindLoss(f.session, *row, typed, font);
        EXPECT_EQ(f.platform.messages.size(), messages) << "the probe wrote to the message line";
        return loss;
    }
    SessionFixture f;
    std::vector<SymbologyAction> table = BuildSymbologyTable();
};

TEST_F(Loss, EveryRowCarriesItsSampleWhole) {
    for (std::int32_t checksum : {0, 1}) {
        f.options.AddChecksum = checksum;
        for (const SymbologyAction& row : table)
            EXPECT_EQ(Of(row.szDisplayName, row.szSampleData), kNoLoss)
                << Narrow(row.szDisplayName) << " checksum " << checksum;
    }
    // Text that two-dimensional rows carry as UTF-8, and escapes that decode to what a row has.
    EXPECT_EQ(Of(u"QR Code", u"\u4E2D\u6587 \U0001F600"), kNoLoss);
    EXPECT_EQ(Of(u"Data Matrix", u"\u4E2D\u6587"), kNoLoss);
    EXPECT_EQ(Of(u"Code 39", u"&#65;BC"), kNoLoss);
    EXPECT_EQ(Of(u"Code128B", u"a&#38;#66"), kNoLoss) << "an escaped & before # is carried";
    EXPECT_EQ(Of(u"Code128A", u"AB&#9;C"), kNoLoss) << "set A carries control characters";
}

TEST_F(Loss, LinearRowsCutAtTheirBoundOrLength) {
    EXPECT_EQ(Of(u"Code128B", std::u16string(1000, u'A')), kLossCut);
    EXPECT_EQ(Of(u"Code 39", std::u16string(300, u'A') + u"5"), kLossCut) << "cut before a new character";
    EXPECT_EQ(Of(u"Code128B", std::u16string(253, u'x')), kLossCut) << "one past the bound";
    EXPECT_EQ(Of(u"Code128B", std::u16string(252, u'x')), kNoLoss) << "the bound filled exactly";
    EXPECT_EQ(Of(u"UPC-A", u"032886673185555"), kLossCut) << "digits past the symbol's length";
    // A check digit typed where the UPC/EAN rows write their own is not lost.
    EXPECT_EQ(Of(u"UPC-A", u"032886673183"), kNoLoss);
    EXPECT_EQ(Of(u"EAN-13", u"1234567890128"), kNoLoss);
    EXPECT_EQ(Of(u"EAN-8", u"12345670"), kNoLoss);
    EXPECT_EQ(Of(u"Bookland", u"123456789X"), kNoLoss);
    EXPECT_EQ(Of(u"UPC-E", u"01245714"), kNoLoss) << "number system, data and check digit";
    EXPECT_EQ(Of(u"UPC-A", u"0328866A7318"), kLossDropped);
    EXPECT_EQ(Of(u"Planet", u"356193898212"), kLossCut) << "PLANET takes 11 digits";
    // The data field holds more than one encode takes: whatever the row.
    EXPECT_EQ(Of(u"QR Code", std::u16string(9000, u'7')), kLossCut);
    EXPECT_EQ(Of(u"Code128C", std::u16string(10000, u'7')), kLossCut);
}

TEST_F(Loss, LinearRowsLeaveOutWhatTheirSetLacks) {
    EXPECT_EQ(Of(u"Code 39", u"ABC\u4E2DDEF"), kLossDropped);
    EXPECT_EQ(Of(u"Code 39", u"ABC\t"), kLossDropped) << "at the end of the text";
    EXPECT_EQ(Of(u"Code 39", u"\u4E2D\u6587"), kLossDropped) << "nothing carried at all";
    EXPECT_EQ(Of(u"Code128B", u"Kes\ttrivo"), kLossDropped);
    EXPECT_EQ(Of(u"Code128C", u"12a34"), kLossDropped);
    EXPECT_EQ(Of(u"Code128B", std::u16string(300, u'x') + u"\u4E2D"), kLossCut);
    // The SEMI matrix rows carry what their SEMI M12 text carries.
    EXPECT_EQ(Of(u"Data Matrix (SEMI)", u"12345678AB"), kNoLoss);
}

TEST_F(Loss, FrontEndsCutAndReplaceByTheirOwnRules) {
    EXPECT_EQ(Of(u"Aztec", u"Kestrivo \u4E2D"), kLossReplaced);
    EXPECT_EQ(Of(u"Maxicode", u"Kestrivo \U0001F600"), kLossReplaced);
    EXPECT_EQ(Of(u"Maxicode", std::u16string(139, u'1')), kLossCut);
    EXPECT_EQ(Of(u"Maxicode", std::u16string(138, u'1')), kNoLoss);
    EXPECT_EQ(Of(u"Databar", u"20012345678901"), kLossCut);
    EXPECT_EQ(Of(u"Intelligent Mail", u"01234567094987654321012345678912"), kLossCut);
    EXPECT_EQ(Of(u"PDF417", u"\u4E2D" + std::u16string(u"abc")), kLossReplaced);
    EXPECT_EQ(Of(u"Aztec", u"Kestrivo \u00E9"), kNoLoss) << "the code page has it";
}

TEST(LossMessage, NamesEachLossInTheProgramsWords) {
    EXPECT_EQ(LossMessage(kNoLoss), u"");
    const std::u16string cut = LossMessage(kLossCut), dropped = LossMessage(kLossDropped),
                         replaced = LossMessage(kLossReplaced);
    EXPECT_NE(cut, dropped);
    EXPECT_NE(dropped, replaced);
    EXPECT_EQ(LossMessage(kLossCut | kLossDropped), cut + u" " + dropped);
    EXPECT_LT(LossMessage(kLossCut | kLossDropped | kLossReplaced).size(), 160u);
}

}  // namespace
