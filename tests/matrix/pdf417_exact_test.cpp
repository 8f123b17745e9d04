// PDF417 and MicroPDF417 sizes: rows, columns, level and variant for every codeword count up
// to the largest that fits and the one after, against the rules written out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

struct Outcome {
    int result = 0;
    int rows = 0, width = 0, option1 = 0, option2 = 0;
    std::string error;
    bool hasText = false;
};

// The one place that calls the encoders.
Outcome Encode(bool micro, const std::string& data, int option1, int option2) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->symbology = micro ? matrix::Numbers(matrix::Build::Server).microPdf417 : matrix::Numbers(matrix::Build::Server).pdf417;
    rec->option1 = option1;
    rec->option2 = option2;
    const auto bytes = testing_support::AsBytes(data);
    Outcome o;
    o.result = micro ? matrix::EncodeMicroPDF417(*rec, bytes, matrix::Call::Server(true))
                     : matrix::EncodePDF417(*rec, bytes, matrix::Call::Server(true));
    o.rows = rec->rows;
    o.width = rec->width;
    o.option1 = rec->option1;
    o.option2 = rec->option2;
    o.error = rec->errorText;
    o.hasText = rec->fontText[0] != 0;
    return o;
}

// Text compaction of upper-case letters: the latch 900 and one codeword a pair, so m data
// codewords take 2 (m - 1) letters.
std::string Letters(int m) {
    std::string s;
    for (int i = 0; i < 2 * (m - 1); ++i) s += static_cast<char>('A' + i % 26);
    return s;
}

// ---- PDF417 ------------------------------------------------------------------------------

struct Pdf417Size {
    int result, level, columns, rows;
    const char* error;
};

// Level (automatic from m), columns (automatic from the square root), one more column when
// the rows pass 90, at least 3 rows; the descriptor, the check codewords and the padding all
// count in the limit of 928 codewords and 90 rows.
Pdf417Size Pdf417Model(int m, int option1, int option2) {
    const int level = option1 >= 0 ? option1 : m <= 40 ? 2 : m <= 160 ? 3 : m <= 320 ? 4 : m <= 863 ? 5 : 6;
    const int k = 2 << level, n = m + 1 + k;
    if (n > 928) return {matrix::kDataTooLong, 0, 0, 0, "Data too long"};
    int columns = option2 > 0 ? option2 : std::max(1, static_cast<int>(0.5 + std::sqrt((m + k) / 3.0)));
    if ((n + columns - 1) / columns > 90 && columns < 30) ++columns;
    const int rows = std::max(3, (n + columns - 1) / columns);
    if (rows > 90) return {matrix::kDataTooLong, 0, 0, 0, "invalid fixed column"};
    if (rows * columns > 928) return {matrix::kDataTooLong, 0, 0, 0, "Data too long"};
    return {matrix::kSuccess, level, columns, rows, ""};
}

void ExpectPdf417(int m, int option1, int option2) {
    const Pdf417Size e = Pdf417Model(m, option1, option2);
    const Outcome o = Encode(false, Letters(m), option1, option2);
    const std::string where = "m " + std::to_string(m) + " level " + std::to_string(option1) + " columns " + std::to_string(option2);
    ASSERT_EQ(o.result, e.result) << where;
    if (e.result != matrix::kSuccess) {
        EXPECT_EQ(o.error, e.error) << where;
        EXPECT_FALSE(o.hasText) << where;
        return;
    }
    EXPECT_EQ(o.option1, e.level) << where;
    EXPECT_EQ(o.option2, e.columns) << where;
    EXPECT_EQ(o.rows, e.rows) << where;
    EXPECT_EQ(o.width, 17 * e.columns + 69) << where;
}

TEST(Pdf417Exact, LimitsWorkedOut) {
    // Automatic level and columns: m = 826 takes level 5 (64 check codewords), 891 codewords
    // with the descriptor, 17 columns (0.5 + root of 890 / 3), 53 rows, 901 places.
    EXPECT_EQ(Pdf417Model(826, -1, 0).rows, 53);
    // At m = 863 the level is still 5 and 928 codewords with the descriptor, but 18 columns
    // (0.5 + root of 927 / 3) make 52 rows, 936 places: too many.
    EXPECT_STREQ(Pdf417Model(863, -1, 0).error, "Data too long");
    // Level 8 (512 check codewords) in 16 columns leaves room for 415 data codewords and the
    // descriptor, 58 full rows; 416 do not fit. With automatic columns (18) 415 do not fit
    // either: 52 rows of 18.
    EXPECT_EQ(Pdf417Model(415, 8, 16).rows, 58);
    EXPECT_STREQ(Pdf417Model(416, 8, 16).error, "Data too long");
    EXPECT_STREQ(Pdf417Model(415, 8, 0).error, "Data too long");
    // One column at level 0 (2 check codewords) widens to two: 177 data codewords make 180,
    // 90 rows of two; 178 need 91 rows.
    EXPECT_EQ(Pdf417Model(177, 0, 1).rows, 90);
    EXPECT_EQ(Pdf417Model(177, 0, 1).columns, 2);
    EXPECT_STREQ(Pdf417Model(178, 0, 1).error, "invalid fixed column");
    for (auto [m, level, columns] :
         {std::tuple{826, -1, 0}, {863, -1, 0}, {415, 8, 16}, {416, 8, 16}, {415, 8, 0}, {177, 0, 1}, {178, 0, 1}})
        ExpectPdf417(m, level, columns);
}

TEST(Pdf417Exact, EveryCodewordCountAtEveryLevel) {
    // Past 928 - k data codewords nothing fits; below that, fitting and not fitting alternate
    // with the padding of the last row.
    for (int level = -1; level <= 8; ++level)
        for (int columns : {0, 1, 2, 5, 30})
            for (int m = 2; m <= 930 - (level < 0 ? 64 : 2 << level); ++m) {
                ExpectPdf417(m, level, columns);
                if (::testing::Test::HasFatalFailure()) return;
            }
}

// ---- MicroPDF417 -------------------------------------------------------------------------

struct Variant {
    int columns, rows;
};
constexpr Variant kVariants[35] = {
    {0, 0},
    {1, 11}, {1, 14}, {1, 17}, {1, 20}, {1, 24}, {1, 28},
    {2, 8}, {2, 11}, {2, 14}, {2, 17}, {2, 20}, {2, 23}, {2, 26},
    {3, 6}, {3, 8}, {3, 10}, {3, 12}, {3, 15}, {3, 20}, {3, 26}, {3, 32}, {3, 38}, {3, 44},
    {4, 4}, {4, 6}, {4, 8}, {4, 10}, {4, 12}, {4, 15}, {4, 20}, {4, 26}, {4, 32}, {4, 38}, {4, 44},
};
constexpr int kWidths[5] = {0, 38, 55, 82, 99};

// The variant for m data codewords: the largest counts of each column request, else the
// automatic table. 0 when m does not fit; `warned` when the request was too small.
int MicroVariant(int m, int option2, bool& warned) {
    warned = false;
    if (m >= 127) return 0;
    if ((option2 == 1 && m > 20) || (option2 == 2 && m > 37) || (option2 == 3 && m > 82) || option2 > 4) {
        warned = true;
        option2 = 0;
    }
    struct Step {
        int most, variant;
    };
    static const std::vector<Step> byColumns[5] = {
        {{4, 1}, {6, 14}, {7, 2}, {8, 7}, {10, 3}, {12, 25}, {13, 8}, {14, 16}, {16, 5}, {18, 17}, {19, 9}, {20, 6},
         {24, 10}, {29, 11}, {30, 28}, {33, 12}, {34, 19}, {37, 13}, {39, 29}, {46, 20}, {54, 30}, {58, 21}, {70, 22},
         {72, 31}, {82, 23}, {90, 32}, {108, 33}, {126, 34}},
        {{4, 1}, {7, 2}, {10, 3}, {12, 4}, {16, 5}, {20, 6}},
        {{8, 7}, {13, 8}, {19, 9}, {24, 10}, {29, 11}, {33, 12}, {37, 13}},
        {{6, 14}, {10, 15}, {14, 16}, {18, 17}, {24, 18}, {34, 19}, {46, 20}, {58, 21}, {70, 22}, {82, 23}},
        {{8, 24}, {12, 25}, {18, 26}, {24, 27}, {30, 28}, {39, 29}, {54, 30}, {72, 31}, {90, 32}, {108, 33}, {126, 34}},
    };
    for (const Step& s : byColumns[option2 < 0 ? 0 : option2])
        if (m <= s.most) return s.variant;
    return 0;
}

TEST(MicroPdf417Exact, EveryCodewordCountAtEveryColumnRequest) {
    for (int option2 = 0; option2 <= 5; ++option2) {
        for (int m = 2; m <= 127; ++m) {
            bool warned;
            const int v = MicroVariant(m, option2, warned);
            const Outcome o = Encode(true, Letters(m), 0, option2);
            const std::string where = "m " + std::to_string(m) + " columns " + std::to_string(option2);
            if (!v) {
                EXPECT_EQ(o.result, matrix::kDataTooLong) << where;
                EXPECT_EQ(o.error, "Data too long") << where;
                EXPECT_FALSE(o.hasText) << where;
                continue;
            }
            EXPECT_EQ(o.result, warned ? matrix::kWarning : matrix::kSuccess) << where;
            EXPECT_EQ(o.rows, kVariants[v].rows) << where << " variant " << v;
            EXPECT_EQ(o.width, kWidths[kVariants[v].columns]) << where << " variant " << v;
            EXPECT_EQ(o.option2, kVariants[v].columns) << where;
        }
    }
}

TEST(MicroPdf417Exact, LimitsWorkedOut) {
    bool warned;
    // One column holds 20 codewords (variant 6, 28 rows); 21 warn and take 2 x 17.
    EXPECT_EQ(MicroVariant(20, 1, warned), 6);
    EXPECT_EQ(MicroVariant(21, 1, warned), 10);
    EXPECT_TRUE(warned);
    // Three columns hold 82 (44 rows); 83 warn and take 4 x 26.
    EXPECT_EQ(MicroVariant(82, 3, warned), 23);
    EXPECT_EQ(MicroVariant(83, 3, warned), 32);
    // Four columns: 126 in 4 x 44, 127 too long.
    EXPECT_EQ(MicroVariant(126, 4, warned), 34);
    EXPECT_EQ(MicroVariant(127, 4, warned), 0);
}

}  // namespace
