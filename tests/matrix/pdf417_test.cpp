// PDF417 compaction, options, sizes and limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pdf417.h"
#include "pdf417_codewords.h"
#include "pdf417_tables.h"
#include "support/encode_texts.h"

namespace {

using namespace matrix;
using testing_support::AsBytes;

std::vector<int> Codewords(const std::string& s) {
    static int cw[kPdf417MaxCodewords];
    const int n = Pdf417DataCodewords(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), false, cw);
    return n < 0 ? std::vector<int>{} : std::vector<int>(cw, cw + n);
}

struct Encoded {
    std::unique_ptr<SymbolRecord> rec = std::make_unique<SymbolRecord>();
    int result = 0;
};

Encoded Pdf(const std::string& s, int level = -1, int columns = 0, int symbology = 20, bool crlf = true) {
    Encoded e;
    e.rec->symbology = symbology;
    e.rec->option1 = level;
    e.rec->option2 = columns;
    e.result = EncodePDF417(*e.rec, AsBytes(s), Call::Server(crlf));
    return e;
}

TEST(Pdf417, BlockSplitAndCompaction) {
    // "1" + 12345678 in base 900.
    EXPECT_EQ(Codewords("12345678"), (std::vector<int>{902, 138, 628, 478}));
    // Seven digits between letters stay in the text block; eight get a block of their own.
    EXPECT_EQ(Codewords("A1234567B").front(), 900);
    // A, ML, seven digits, AL, B and the fill value: six codewords after the latch.
    EXPECT_EQ(Codewords("A1234567B").size(), 7u);
    const auto eight = Codewords("A12345678B");
    EXPECT_EQ(std::count(eight.begin(), eight.end(), 902), 1);
    // A single byte inside text is shifted; with one text byte after it the two join.
    const auto abc = Codewords("abc\xE9" "def");
    EXPECT_EQ(*(std::find(abc.begin(), abc.end(), 913) + 1), 233);
    const auto joined = Codewords("abc\xE9" "b");
    EXPECT_EQ(std::vector<int>(joined.end() - 3, joined.end()), (std::vector<int>{901, 0xE9, 'b'}));
    // Six high bytes: 924 and five codewords; seven: 901, five and one more.
    EXPECT_EQ(Codewords("\x80\x81\x82\x83\x84\x85").size(), 6u);
    EXPECT_EQ(Codewords("\x80\x81\x82\x83\x84\x85").front(), 924);
    EXPECT_EQ(Codewords("\x80\x81\x82\x83\x84\x85\x86").size(), 7u);
    EXPECT_EQ(Codewords("\x80\x81\x82\x83\x84\x85\x86").front(), 901);
    // A single byte after a numeric block cannot take the text shift: the byte latch carries it.
    const auto afterDigits = Codewords("\x01" "1234\x02" "Z");
    EXPECT_EQ(std::count(afterDigits.begin(), afterDigits.end(), 913), 1);
    // Every compaction reads back to its data.
    for (const std::string s : {"Mixed CASE, digits 0123456789012 and punct ;<>@[]!", "\t\r\n tabs",
                                "x\x7F\xFF\x00y", "99999999999999999999999999999999999999999999999"}) {
        std::string back;
        ASSERT_TRUE(pdf417_reading::DecodeCodewords(Codewords(s), back));
        EXPECT_EQ(back, s);
    }
}

TEST(Pdf417, OptionsSizesAndRows) {
    Encoded e = Pdf("12345678");
    EXPECT_EQ(e.result, kSuccess);
    EXPECT_EQ(e.rec->option1, 2);
    e = Pdf("AB", 9);
    EXPECT_EQ(e.result, kWarning);
    EXPECT_STREQ(e.rec->errorText, "Invalid security level");
    EXPECT_EQ(e.rec->option1, 2);
    EXPECT_NE(e.rec->fontText[0], 0);
    e = Pdf("AB", 9, 31);
    EXPECT_EQ(e.result, kWarning);
    EXPECT_STREQ(e.rec->errorText, "invalid column number");
    e = Pdf("ABCDEFGH", 2, 4, 56);
    EXPECT_EQ(e.rec->width, 103);
    e = Pdf("ABCDEFGH", 2, 4);
    EXPECT_EQ(e.rec->width, 137);
    e = Pdf("AB", 0, 10, 20, false);
    EXPECT_EQ(e.rec->rows, 3);
    EXPECT_EQ(e.rec->rowHeights[2], 3);
    const std::string text = e.rec->fontText;
    EXPECT_EQ(text, std::string(text.substr(0, 17 * 10 + 69)) + "\n");
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(Pdf417, CapacityCountsDescriptorAndPadding) {
    // Byte data up to the limit at every level and column count: either a symbol of at most
    // 928 codewords and 90 rows, or "Data too long" with an empty text; never anything else.
    for (int level : {0, 3, 6, 8}) {
        for (int columns : {0, 1, 2, 7, 30}) {
            int last = kSuccess;
            for (std::size_t len = 200; len <= 1200 && last == kSuccess; len += 7) {
                const Encoded e = Pdf(std::string(len, '\xC4'), level, columns);
                last = e.result;
                if (e.result == kSuccess) {
                    ASSERT_LE(e.rec->rows, 90);
                    ASSERT_LE(e.rec->rows * e.rec->option2, 928);
                    ASSERT_GE(e.rec->rows, 3);
                } else {
                    ASSERT_EQ(e.result, kDataTooLong);
                    ASSERT_EQ(e.rec->fontText[0], 0);
                }
            }
            EXPECT_EQ(last, kDataTooLong) << level << " " << columns;
        }
    }
    // One column holds at most 90 rows: data for 91 gives "invalid fixed column"... or is
    // widened once when the columns were chosen automatically.
    const Encoded one = Pdf(std::string(200, 'A'), 0, 1);
    EXPECT_EQ(one.result, kSuccess);
    EXPECT_EQ(one.rec->option2, 2);
    const Encoded tooTall = Pdf(std::string(400, 'A'), 0, 1);
    EXPECT_EQ(tooTall.result, kDataTooLong);
    EXPECT_STREQ(tooTall.rec->errorText, "invalid fixed column");
    EXPECT_EQ(Pdf(std::string(5000, '1')).result, kDataTooLong);
}

TEST(Pdf417, ErrorCorrectionRootsAndTables) {
    // The check codewords make 3^1 .. 3^k roots of the whole codeword polynomial.
    std::vector<int> cw = {5, 453, 178, 121, 239};
    for (int k : {2, 4, 16, 512}) {
        std::vector<int> check(k);
        Pdf417ErrorCorrection(cw.data(), static_cast<int>(cw.size()), k, check.data());
        std::vector<int> all = cw;
        all.insert(all.end(), check.begin(), check.end());
        EXPECT_TRUE(pdf417_reading::ChecksVerify(all, k)) << k;
    }
    // The compiled patterns are the standard's element widths.
    const auto lookup = pdf417_reading::ClusterLookup();
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(lookup[c].size(), 929u);
        for (const auto& [widths, codeword] : lookup[c]) {
            std::vector<bool> modules;
            for (int i = 16; i >= 0; --i) modules.push_back((kPdf417Patterns[c][codeword] >> i) & 1);
            EXPECT_EQ(pdf417_reading::Widths(modules, 0, 17), widths);
        }
    }
}

}  // namespace

namespace {

TEST(Pdf417, LongestInputsStayInTheirBuffers) {
    // Text that latches between lower case and punctuation at every second byte, as long as
    // the compaction stage takes: refused cleanly, within the working buffers.
    std::string s;
    while (s.size() < kPdf417MaxData) s += "aa;;";
    EXPECT_EQ(Pdf(s).result, kDataTooLong);
    EXPECT_TRUE(Codewords(s).empty());  // past the working limit of 2,700 codewords
    EXPECT_EQ(Pdf(s + "a").result, kDataTooLong);
}

}  // namespace
