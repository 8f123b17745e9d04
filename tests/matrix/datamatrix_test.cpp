#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/encode_texts.h"

using namespace matrix;
using testing_support::AsBytes;

namespace {

struct Out {
    int result;
    int rows, width;
    std::string text, message;
};

Out Encode(const std::string& data, int encodation = 0, int option2 = 0, int option3 = 0,
           int inputMode = kDataMode, int flags = 0, bool crlf = false) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = 1;
    rec->option2 = option2;
    rec->option3 = option3;
    rec->inputMode = inputMode;
    rec->outputFlags = flags;
    rec->option4 = encodation;
    const int r = EncodeDataMatrix(*rec, AsBytes(data), Call::Server(crlf));
    return {r, rec->rows, rec->width, rec->fontText, rec->errorText};
}

// The data codewords before padding, Base 256 fields not yet randomised.
std::vector<int> Codewords(const std::string& data, int encodation = 0, int inputMode = kDataMode) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->inputMode = inputMode;
    DmEncodation e;
    std::vector<std::uint8_t> work;
    EXPECT_EQ(DataMatrixEncodeData(*rec, reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                                   encodation, e, work),
              kSuccess);
    return {e.codewords.begin(), e.codewords.end()};
}

std::vector<int> Finished(const std::string& data, int encodation, int capacity) {
    auto rec = std::make_unique<SymbolRecord>();
    DmEncodation e;
    std::vector<std::uint8_t> work, out;
    DataMatrixEncodeData(*rec, reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), encodation, e,
                         work);
    if (!DataMatrixFinishData(e, capacity, out)) return {};
    return {out.begin(), out.end()};
}

using V = std::vector<int>;

TEST(DataMatrixEncodation, AsciiDigitsAndUpperShift) {
    EXPECT_EQ(Codewords("123456"), (V{142, 164, 186}));
    EXPECT_EQ(Codewords("\xE9"), (V{235, 106}));
    EXPECT_EQ(Codewords("A1"), (V{66, 50}));
}

TEST(DataMatrixEncodation, Gs1MarksAndMacroHeader) {
    const V gs1 = Codewords("(01)12345678901231(10)AB(17)010203", kDmAscii, kGs1Mode);
    ASSERT_GE(gs1.size(), 3u);
    EXPECT_EQ(gs1[0], 232);
    EXPECT_EQ(gs1[1], 130 + 1);  // "01"
    EXPECT_EQ(std::count(gs1.begin(), gs1.end(), 232), 2);
    EXPECT_EQ(Codewords("[)>\x1E" "05\x1D" "AB\x1E\x04"), (V{236, 66, 67}));
    EXPECT_EQ(Codewords("[)>\x1E" "06\x1D" "AB\x1E\x04"), (V{237, 66, 67}));
    EXPECT_EQ(Codewords("[)>\x1E" "07\x1D" "AB\x1E\x04")[0], '[' + 1);
}

TEST(DataMatrixEncodation, ForcedSchemes) {
    // C40: a leading digit pair stays ASCII, then the latch.
    EXPECT_EQ(Codewords("12AB", kDmC40)[0], 142);
    EXPECT_EQ(Codewords("12AB", kDmC40)[1], 230);
    EXPECT_EQ(Codewords("ABC", kDmC40), (V{230, 89, 233}));  // 1600*14+40*15+16+1
    EXPECT_EQ(Codewords("abc", kDmText), (V{239, 89, 233}));
    EXPECT_EQ(Codewords("ABC", kDmX12), (V{238, 89, 233}));
    // EDIFACT "ABCD": 1, 2, 3, 4 in six bits each.
    EXPECT_EQ(Codewords("ABCD", kDmEdifact), (V{240, 0x04, 0x20, 0xC4}));
    // A lower-case letter is no X12 character: it leaves X12 rather than turning into CR.
    EXPECT_EQ(Codewords("ABCdEFG", kDmX12), (V{238, 89, 233, 254, 'd' + 1, 238, 115, 141}));
    // A Base 256 field of 300 bytes gets the length codewords 250 and 50.
    const V b256 = Codewords(std::string(300, '\x81'), kDmBase256);
    EXPECT_EQ((V{b256[0], b256[1], b256[2]}), (V{231, 250, 50}));
    EXPECT_EQ(b256.size(), 303u);
}

TEST(DataMatrixEncodation, Gs1MarkNeverEntersX12EdifactOrBase256) {
    for (int enc : {kDmX12, kDmEdifact, kDmBase256}) {
        const V cw = Codewords("(10)ABCDEFGH(21)XYZW", enc, kGs1Mode);
        EXPECT_EQ(std::count(cw.begin(), cw.end(), 232), 2) << enc;
    }
}

TEST(DataMatrixEncodation, LookAhead) {
    auto la = [](const std::string& s, int current = kDmAscii, bool gs1 = false) {
        return DataMatrixLookAhead(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), 0, current, gs1, 0);
    };
    EXPECT_EQ(la("ABCDEFGHIJKL"), kDmC40);
    EXPECT_EQ(la("abcdefghijkl"), kDmText);
    EXPECT_EQ(la("AB*CD>EF*GH>IJ\r"), kDmX12);
    EXPECT_EQ(la("1234567890"), kDmAscii);
    EXPECT_EQ(la("\x81\x92\xA3\xB4\xC5\xD6\xE7"), kDmBase256);
    EXPECT_EQ(la("ABC", kDmC40), kDmC40);
    EXPECT_EQ(DataMatrixLookAhead(reinterpret_cast<const std::uint8_t*>("1"), 1, 0, kDmAscii, false, 5), kDmEdifact);
}

TEST(DataMatrixEncodation, EndOfDataByCodewordsLeft) {
    // EDIFACT "ABCDE": one pending value and the unlatch take two codewords when three or
    // more are left, and E goes out as ASCII when two or fewer are left.
    EXPECT_EQ(Finished("ABCDE", kDmEdifact, 8), (V{240, 0x04, 0x20, 0xC4, 0x15, 0xF0}));
    EXPECT_EQ(Finished("ABCDE", kDmEdifact, 6), (V{240, 0x04, 0x20, 0xC4, 'E' + 1}));
    // Nothing pending in EDIFACT with room left: the unlatch alone.
    EXPECT_EQ(Finished("ABCD", kDmEdifact, 8), (V{240, 0x04, 0x20, 0xC4, 0x7C}));
    EXPECT_EQ(Finished("ABCD", kDmEdifact, 5), (V{240, 0x04, 0x20, 0xC4}));
    // X12 "ABCDE": two pending need the unlatch, so 5 codewords are not enough.
    EXPECT_EQ(Finished("ABCDE", kDmX12, 5), V{});
    EXPECT_EQ(Finished("ABCDE", kDmX12, 6), (V{238, 89, 233, 254, 'D' + 1, 'E' + 1}));
    EXPECT_EQ(Finished("ABCD", kDmX12, 4), (V{238, 89, 233, 'D' + 1}));
    // C40: two pending values are filled with a shift; one basic character is ASCII.
    EXPECT_EQ(Finished("ABCDE", kDmC40, 5), (V{230, 89, 233, 109, 17}));
    EXPECT_EQ(Finished("ABCD", kDmC40, 4), (V{230, 89, 233, 'D' + 1}));
    EXPECT_EQ(Finished("ABCD", kDmC40, 6), (V{230, 89, 233, 254, 'D' + 1}));
    // C40 ending in a byte of 128 or more whose values straddle a triple: back to the last
    // boundary, the rest in ASCII with the upper shift.
    EXPECT_EQ(Finished("A\xC1", kDmC40, 10), (V{230, 254, 'A' + 1, 235, 0xC1 - 127}));
    // NUL is the shift 1 value 0, so 0x80 completes the second triple.
    EXPECT_EQ(Finished("AB\x80", kDmC40, 10), (V{230, 89, 218, 187, 129, 254}));
}

TEST(DataMatrixSymbol, SizeChoice) {
    Out o = Encode("A");
    EXPECT_EQ(o.result, kSuccess);
    EXPECT_EQ(o.rows, 10);
    EXPECT_EQ(o.text.size(), 3u * 11);
    o = Encode("123456789012", 0, 1);
    EXPECT_EQ(o.result, kWarning);
    EXPECT_EQ(o.message, "Data does not fit in selected symbol size");
    EXPECT_EQ(o.rows, 14);
    EXPECT_EQ(o.width, 14);
    EXPECT_EQ(o.text.size(), 4u * 15);
    const std::string nine(18, '5'), twentyfour(48, '5');
    o = Encode(nine);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(8, 32));
    o = Encode(nine, 0, 0, 100);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(16, 16));
    o = Encode(twentyfour, 0, 0, 101);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(8, 64));
    o = Encode(twentyfour, 0, 0, 0);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(22, 22));
    o = Encode(twentyfour, 0, 0, 100);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(22, 22));
    o = Encode("12345", 0, 13);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(44, 44));
    // A chosen extended rectangle that holds the data is kept, whatever the shape.
    o = Encode(std::string(30, '1'), 0, 31, 0);
    EXPECT_EQ(o.result, kSuccess);
    EXPECT_EQ(std::make_pair(o.rows, o.width), std::make_pair(8, 48));
    o = Encode("A", 0, 99);  // out of range: automatic
    EXPECT_EQ(o.result, kSuccess);
    EXPECT_EQ(o.rows, 10);
}

TEST(DataMatrixSymbol, Failures) {
    Out o = Encode(std::string(3200, '1'));
    EXPECT_EQ(o.result, kDataTooLong);
    EXPECT_EQ(o.message, "Data too long to fit in symbol");
    EXPECT_EQ(o.text, "");
    EXPECT_EQ(Encode(std::string(3116, '1')).result, kSuccess);
    EXPECT_EQ(Encode(std::string(3117, '1')).result, kDataTooLong);
    o = Encode("(01)123", 0, 0, 0, kGs1Mode);
    EXPECT_EQ(o.result, kInvalidData);
    EXPECT_EQ(o.message, "Invalid data length for AI (01)");
    o = Encode("(10)AB", 0, 0, 0, kGs1Mode, 0x10);
    EXPECT_EQ(o.result, kInvalidOption);
    EXPECT_EQ(o.message, "Cannot encode in GS1 mode and Reader Initialization at the same time");
    o = Encode("A\xE2\x82\xAC", 0, 0, 0, kUtf8Mode);
    EXPECT_EQ(o.result, kInvalidData);
    EXPECT_EQ(Codewords("AB", 0, kDataMode).size(), 2u);
    auto rec = std::make_unique<SymbolRecord>();
    rec->outputFlags = 0x10;
    DmEncodation e;
    std::vector<std::uint8_t> work;
    DataMatrixEncodeData(*rec, reinterpret_cast<const std::uint8_t*>("A"), 1, 0, e, work);
    EXPECT_EQ(e.codewords, (std::vector<std::uint8_t>{234, 'A' + 1}));
}

TEST(DataMatrixSymbol, KnownSmallSymbol) {
    // "123456" in 10 x 10: the codewords 142 164 186 and the check codewords 114 25 5 88 102.
    std::vector<std::uint8_t> cw{142, 164, 186};
    DataMatrixAddEcc(kDataMatrixSizes[0], cw);
    EXPECT_EQ(cw, (std::vector<std::uint8_t>{142, 164, 186, 114, 25, 5, 88, 102}));
    const Out lf = Encode("123456");
    EXPECT_EQ(lf.text, "F780C1D785\nFB3123D445\nC44CCC4C44\n");
    const Out crlf = Encode("123456", 0, 0, 0, kDataMode, 0, true);
    EXPECT_EQ(crlf.text, "F780C1D785\r\nFB3123D445\r\nC44CCC4C44\r\n");
    auto rec = std::make_unique<SymbolRecord>();
    EXPECT_EQ(EncodeDataMatrix(*rec, AsBytes("123456"), Call::Desktop()), kSuccess);
    EXPECT_EQ(std::string(rec->fontText), crlf.text);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(rec->rowHeights[r], 1);
}

// Every bit of every codeword lands on exactly one module: flipping it changes one module.
TEST(DataMatrixSymbol, PlacementCoversEveryBitOnce) {
    std::mt19937 rng(5);
    for (const DataMatrixSize& s : kDataMatrixSizes) {
        const int total = s.dataCodewords + (s.dataCodewords + 2) / s.blockData * s.blockCheck;
        std::vector<std::uint8_t> cw(static_cast<std::size_t>(total));
        for (auto& c : cw) c = static_cast<std::uint8_t>(rng());
        const auto base = DataMatrixPlace(s, cw);
        ASSERT_EQ(base.size(), static_cast<std::size_t>(s.rows));
        const int samples = std::min(total, 6);
        for (int n = 0; n < samples; ++n) {
            const int k = n == 0 ? total - 1 : static_cast<int>(rng() % static_cast<unsigned>(total));
            for (int bit = 0; bit < 8; ++bit) {
                auto flipped = cw;
                flipped[static_cast<std::size_t>(k)] ^= static_cast<std::uint8_t>(1 << bit);
                const auto m = DataMatrixPlace(s, flipped);
                int changed = 0;
                for (int r = 0; r < s.rows; ++r)
                    for (int c = 0; c < s.columns; ++c)
                        changed += m[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] !=
                                   base[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                ASSERT_EQ(changed, 1) << s.rows << "x" << s.columns << " codeword " << k << " bit " << bit;
            }
        }
        // Finder: solid left column and bottom row, alternating top row.
        for (int r = 0; r < s.rows; ++r) EXPECT_EQ(base[static_cast<std::size_t>(r)][0], 1);
        for (int c = 0; c < s.columns; ++c) {
            EXPECT_EQ(base[static_cast<std::size_t>(s.rows - 1)][static_cast<std::size_t>(c)], 1);
            EXPECT_EQ(base[0][static_cast<std::size_t>(c)], c % 2 == 0 ? 1 : 0);
        }
    }
}

TEST(DataMatrixSymbol, CapacitiesAndBlocksAddUp) {
    for (const DataMatrixSize& s : kDataMatrixSizes) {
        const int blocks = (s.dataCodewords + 2) / s.blockData;
        const int areaRows = s.rows / s.regionRows * (s.regionRows - 2);
        const int areaColumns = s.columns / s.regionColumns * (s.regionColumns - 2);
        // The mapping matrix holds every codeword, less at most the 4-module corner fill.
        const int bits = 8 * (s.dataCodewords + blocks * s.blockCheck);
        EXPECT_LE(areaRows * areaColumns - bits, 4) << s.rows << "x" << s.columns;
        EXPECT_GE(areaRows * areaColumns - bits, 0) << s.rows << "x" << s.columns;
        EXPECT_EQ(s.rows % s.regionRows, 0);
        EXPECT_EQ(s.columns % s.regionColumns, 0);
    }
}

}  // namespace
