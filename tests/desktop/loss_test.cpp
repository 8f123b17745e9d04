// The main window's notice that the painted symbol does not carry all of the typed text: the
// encode reports it where it happens, for every row, never for a text the row carries whole.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "desktop/front_end_fixture.h"
#include "loss.h"
#include "support/upc_code128_fonts.h"
#include "symbology_table.h"

using namespace desktop;
using namespace desktop_testing;

namespace {

constexpr unsigned C = kLossCut, D = kLossDropped, R = kLossReplaced, N = kLossNul, G = kLossNotDigit,
                   F = kLossFilled;

class Loss : public ::testing::Test {
protected:
    // The loss bits that the encode of `typed` on the row `name` reports, and its font text.
    unsigned Of(std::u16string_view name, std::u16string_view typed, std::u16string* font = nullptr) {
        const SymbologyAction* row = FindSymbology(table, name);
        if (!row) {
            ADD_FAILURE() << "no row " << Narrow(name);
            return ~0u;
        }
        const std::u16string text = EncodeSelected(f.session, *row, typed);
        if (font) *font = text;
        return f.ctx.loss();
    }
    SessionFixture f;
    std::vector<SymbologyAction> table = BuildSymbologyTable();
};

// The typed text as data: its numeric escapes as the characters they stand for, NUL included.
std::u16string TypedData(std::u16string_view typed) {
    std::u16string out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed.substr(i, 2) != u"&#") {
            out += typed[i];
            continue;
        }
        unsigned v = 0;
        for (i += 2; i < typed.size() && typed[i] >= u'0' && typed[i] <= u'9'; ++i) v = v * 10 + (typed[i] - u'0');
        if (i >= typed.size() || typed[i] != u';') --i;
        out += static_cast<char16_t>(v);
    }
    return out;
}

// What a Code 128 reader gives for the desktop font text: the data of its values in the sets
// A, B and C (start, code-set changes, digits in pairs), without the check value.
std::u16string ReadCode128(std::u16string_view font) {
    const auto values = testing_support::Code128FontToValues(font, true);
    if (!values || values->size() < 2) return u"?";
    std::u16string data;
    int set = (*values)[0] - 103;  // 0 A, 1 B, 2 C
    for (std::size_t i = 1; i + 1 < values->size(); ++i) {
        const int v = (*values)[i];
        if (set == 2 && v < 100) {
            data += static_cast<char16_t>(u'0' + v / 10);
            data += static_cast<char16_t>(u'0' + v % 10);
        } else if (v == 99) set = 2;
        else if (v == 100 && set != 1) set = 1;
        else if (v == 101 && set != 0) set = 0;
        else if (v < 96) data += static_cast<char16_t>(set == 0 && v >= 64 ? v - 64 : v + 32);
        else data += u'\uFFFD';  // function characters are not data the tests type
    }
    return data;
}

struct Case {
    std::u16string_view row;
    std::u16string typed;
    unsigned loss;
};

std::u16string Many(std::size_t n, char16_t c) { return std::u16string(n, c); }

// For each row: clean data, characters outside its set, data past its bound or fixed length,
// a NUL escape, its own start, stop and check characters, leading zeros, odd and even digit
// counts; each with the loss the row's rules give.
std::vector<Case> Cases() {
    return {
        {u"Code 39", u"KESTRIVO", 0}, {u"Code 39", u"KES\u4E2DT", D}, {u"Code 39", u"Kes", D},
        {u"Code 39", Many(300, u'A'), C}, {u"Code 39", u"AB&#0;C", N}, {u"Code 39", u"*AB*", 0},
        {u"Code 39", u"A*B", D},
        {u"Code 39 Extended", u"Kes trivo", 0}, {u"Code 39 Extended", u"a\u4E2D", D},
        {u"Code 39 Extended", Many(300, u'a'), C}, {u"Code 39 Extended", u"a&#0;b", N},
        {u"USS Code 39", u"0112345678900000001", 0}, {u"USS Code 39", u"01a", D},
        {u"USS Code 39", Many(300, u'1'), C},
        {u"Code 93", u"Kes trivo", 0}, {u"Code 93", u"a\u00E9", D}, {u"Code 93", u"a&#0;", N},
        {u"Code 93", Many(300, u'a'), C},
        {u"UPC-A", u"03288667318|51899", 0}, {u"UPC-A", u"00000000000", 0}, {u"UPC-A", u"032886673184", 0},
        {u"UPC-A", u"032886673183", R}, {u"UPC-A", u"0328866731845", C}, {u"UPC-A", u"0328866A7318", D},
        {u"UPC-A", u"03288667318|123456", C}, {u"UPC-A", u"0328866&#0;7318", N},
        {u"UPC-E", u"71245|29", 0}, {u"UPC-E", u"01245714", 0}, {u"UPC-E", u"0124571", C},
        {u"UPC-E", u"712-45", D},
        {u"EAN-13", u"123456789012", 0}, {u"EAN-13", u"1234567890128", 0}, {u"EAN-13", u"1234567890127", R},
        {u"EAN-13", u"12345678901289", C}, {u"EAN-13", u"12345678901|2x", D},
        {u"EAN-8", u"1234567", 0}, {u"EAN-8", u"12345670", 0}, {u"EAN-8", u"12345671", R},
        {u"Bookland", u"123456789X", 0}, {u"Bookland", u"123456789", 0}, {u"Bookland", u"1234567890", R},
        {u"Bookland", u"9780735200449", 0}, {u"Bookland", u"9780735200448", R}, {u"Bookland", u"123456789X1", C}, {u"Bookland", u"12345678901", C | R},
        {u"Code128A", u"KESTRIVO", 0}, {u"Code128A", u"AB&#9;C", 0}, {u"Code128A", u"Ab", D},
        {u"Code128A", u"A&#0;B", N}, {u"Code128A", Many(300, u'A'), C},
        {u"Code128B", u"Kestrivo", 0}, {u"Code128B", u"A\u00E9", D}, {u"Code128B", u"A&#0;B", N},
        {u"Code128B", u"Kes\ttrivo", D}, {u"Code128B", Many(253, u'x'), C}, {u"Code128B", Many(252, u'x'), 0},
        {u"Code128B", u"a&#38;#66", 0},
        {u"Code128C", u"00", 0}, {u"Code128C", u"0012", 0}, {u"Code128C", u"123", 0}, {u"Code128C", u"1234", 0},
        {u"Code128C", u"12a34", D}, {u"Code128C", u"12&#0;34", N}, {u"Code128C", Many(600, u'7'), C},
        {u"Asian-Code128A", u"KESTRIVO", 0}, {u"Asian-Code128A", u"Ab", D},
        {u"Asian-Code128B", u"Kestrivo", 0}, {u"Asian-Code128B", u"A\u4E2D", D},
        {u"Asian-Code128B", Many(300, u'x'), C},
        {u"Asian-Code128C", u"1234567890", 0}, {u"Asian-Code128C", u"12a3", D},
        {u"GS1-128", u"(00)350123451234567894", 0}, {u"GS1-128", u"(10)AB\u00E9", D},
        {u"USPS-128", u"910112345678900000001", 0}, {u"USPS-128", u"9101A", D},
        {u"Codabar", u"123-456", 0}, {u"Codabar", u"A12B", 0}, {u"Codabar", u"C12D", R},
        {u"Codabar", u"12A3", D}, {u"Codabar", Many(300, u'1'), C},
        {u"Pharma One", u"52", 0}, {u"Pharma Two", u"105", 0},
        {u"Interleaved 2 of 5", u"12345678", 0}, {u"Interleaved 2 of 5", u"123", 0},
        {u"Interleaved 2 of 5", u"0012", 0}, {u"Interleaved 2 of 5", u"12a3", D},
        {u"Interleaved 2 of 5", Many(600, u'1'), C},
        {u"Master Carton Code", u"1012345600001", 0}, {u"Master Carton Code", u"10123456-00001", D},
        {u"Code 25", u"12345678", 0}, {u"Code 25", u"1a", D}, {u"Code 25", Many(300, u'1'), C},
        {u"Code 11", u"123-45", 0}, {u"Code 11", u"1a", D},
        {u"MSI/Plessey", u"123456", 0}, {u"MSI/Plessey", u"1a", D},
        {u"Postnet", u"91801", 0}, {u"Postnet", u"1234", 0}, {u"Postnet", u"123456789012", C},
        {u"Postnet", u"9180-1", D},
        {u"Planet", u"35619389821", 0}, {u"Planet", u"356193898212", C},
        {u"Telepen", u"Kestrivo", 0}, {u"Telepen", u"a\u00E9", D},
        {u"Telepen Numeric", u"192234555666", 0}, {u"Telepen Numeric", u"123", 0},
        {u"Telepen Numeric", u"12a", D},
        {u"Intelligent Mail", u"0123456709498765432101234567891", 0},
        {u"Intelligent Mail", u"0123456709498765432A", G},
        {u"Intelligent Mail", u"01234567094987654321012345678912", C},
        {u"Royal Mail", u"ABC123", 0}, {u"Royal Mail", u"sn34rd1a", 0}, {u"Royal Mail", u"AB-1", D},
        {u"Data Matrix", u"Kestrivo", 0}, {u"Data Matrix", u"\u4E2D\u6587", 0}, {u"Data Matrix", u"A&#0;B", N},
        {u"Data Matrix (SEMI)", u"12345678AB", 0}, {u"Data Matrix (SEMI)", u"12345", F},
        {u"QRCode (SEMI)", u"12345678AB", 0}, {u"QRCode (SEMI)", u"12345678ab", D | F},
        {u"BC412 (SEMI)", u"KESTRIV0", 0}, {u"BC412 (SEMI)", u"KESTRIVO", D},
        {u"Code39 (SEMI)", u"ZR11N9BK6DTX024", 0}, {u"Code39 (SEMI)", u"zr11", D},
        {u"Micro PDF417", u"Kestrivo micro PDF417 Solution", 0}, {u"Micro PDF417", u"\u4E2Dabc", R},
        {u"PDF417", u"Kestrivo", 0}, {u"PDF417", u"\u4E2Dabc", R},
        {u"QR Code", u"\u4E2D\u6587 \U0001F600", 0}, {u"QR Code", u"a\xD800" u"b", R},
        {u"QR Code", Many(9000, u'7'), C},
        {u"Micro QRCode", u"microQRCode", 0}, {u"Micro QRCode", u"a\xDC00", R},
        {u"Aztec", u"Kestrivo \u00E9", 0}, {u"Aztec", u"Kestrivo \u4E2D", R},
        {u"SEMI M12", u"12345678AB", 0}, {u"SEMI M12", u"123", F}, {u"SEMI M12", u"12345678ABZZ", R},
        {u"SEMI M12", u"12345678ab", D | F},
        {u"SEMI M13", u"12345678AB11.8B1", 0}, {u"SEMI M13", u"12345678AB", F},
        {u"Code16K", u"Kestrivo", 0}, {u"Code16K", u"A&#0;B", N},
        {u"Databar", u"2001234567890", 0}, {u"Databar", u"20012345678909", 0},
        {u"Databar", u"20012345678901", R}, {u"Databar", u"200123456789091", C},
        {u"Databar Truncated", u"2001234567890", 0}, {u"Databar Limited", u"0031234567890", 0},
        {u"Databar Limited", u"00312345678906", 0},
        {u"Databar Limited", u"003123456789061", C},
        {u"Databar Stacked", u"2001234567890", 0}, {u"Databar Stacked", u"20012345678901", R}, {u"Databar Stacked Omni", u"2001234567890", 0},
        {u"Databar Expanded", u"(01)90012345678908(3103)001750", 0},
        {u"Databar Expanded Stacked", u"(01)98898765432106(3202)012345(15)991231", 0},
        {u"Maxicode", u"Kestrivo Maxicode", 0}, {u"Maxicode", Many(139, u'1'), C},
        {u"Maxicode", Many(138, u'1'), 0}, {u"Maxicode", u"Kestrivo \U0001F600", R},
        {u"Royal Mail CMDM", Many(29, u'A'), 0},
    };
}

TEST_F(Loss, EveryRowTellsExactlyWhatItsSymbolLeavesOut) {
    std::set<std::u16string_view> covered;
    for (const Case& c : Cases()) {
        covered.insert(c.row);
        std::u16string font;
        const unsigned loss = Of(c.row, c.typed, &font);
        EXPECT_EQ(loss, c.loss) << Narrow(c.row) << " \"" << Narrow(c.typed.substr(0, 40)) << "\"";
        // Where a reader of the font text exists, it agrees: the data read back is the typed
        // data exactly when nothing is told (a set C digit run of odd length reads with its "0").
        if (c.row == u"Code128A" || c.row == u"Code128B" || c.row == u"Code128C") {
            std::u16string typed = TypedData(c.typed);
            if (c.row == u"Code128C" && typed.size() % 2) typed.insert(typed.begin(), u'0');
            EXPECT_EQ(ReadCode128(font) == typed, c.loss == 0) << Narrow(c.row) << " " << Narrow(c.typed.substr(0, 40));
        }
    }
    for (const SymbologyAction& row : table)
        EXPECT_TRUE(covered.count(row.szDisplayName)) << Narrow(row.szDisplayName) << " has no case";
}

TEST_F(Loss, EveryRowCarriesItsSampleWhole) {
    for (std::int32_t checksum : {0, 1}) {
        f.options.AddChecksum = checksum;
        for (const SymbologyAction& row : table)
            EXPECT_EQ(Of(row.szDisplayName, row.szSampleData), kLossNone)
                << Narrow(row.szDisplayName) << " checksum " << checksum;
    }
}

TEST_F(Loss, EachEncodeReportsItsOwnLossOnly) {
    EXPECT_EQ(Of(u"Code128B", u"A\u00E9"), D);
    EXPECT_EQ(Of(u"Code128B", u"A"), kLossNone) << "the loss of the encode before is gone";
    // The data field holds more than one encode takes: whatever the row.
    EXPECT_EQ(Of(u"Code 39", Many(10000, u'A')) & C, C);
    EXPECT_EQ(Of(u"Aztec", Many(8191, u'\u4E2D')) & C, 0u);
    EXPECT_EQ(Of(u"Aztec", Many(8192, u'a')) & C, C);
    // The desktop decodes escapes only while the text is shorter than 255 characters.
    EXPECT_EQ(Of(u"Code128B", Many(255, u'x') + u"&#65;"), C);
}

TEST(LossMessage, NamesEachLossInTheProgramsWords) {
    EXPECT_EQ(LossMessage(kLossNone), u"");
    const unsigned kinds[] = {C, D, R, N, G, F};
    std::set<std::u16string> sentences;
    for (unsigned k : kinds) {
        const std::u16string s = LossMessage(k);
        EXPECT_FALSE(s.empty());
        EXPECT_EQ(s.back(), u'.');
        sentences.insert(s);
    }
    EXPECT_EQ(sentences.size(), std::size(kinds)) << "each kind has its own sentence";
    EXPECT_EQ(LossMessage(C), u"Data too long: only its beginning is encoded.");
    EXPECT_EQ(LossMessage(C | D), LossMessage(C) + u" " + LossMessage(D));
    EXPECT_NE(LossMessage(N).find(u"NUL"), std::u16string::npos);
}

}  // namespace
