// Data Matrix: the scheme look-ahead against a test-side model of its counts, exact at the
// byte where it may first decide, and symbols taken apart by a test-side reading of the
// ISO/IEC 16022 placement: codewords against codewords computed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/encode_texts.h"
#include "support/rs_reference.h"

namespace {

using testing_support::Matrix;
using Words = std::vector<int>;

std::size_t U(int i) { return static_cast<std::size_t>(i); }
const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

// The one place that calls the encoder's entry points.
struct Symbol {
    int result = 0;
    int rows = 0, width = 0;
    std::string text;
    Matrix m;
};
Symbol Encode(const std::string& data, int encodation = 0, int option2 = 0, int option3 = 0) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = 1;
    rec->option2 = option2;
    rec->option3 = option3;
    rec->option4 = encodation;
    Symbol s;
    s.result = matrix::EncodeDataMatrix(*rec, testing_support::AsBytes(data), matrix::Call::Server(false));
    s.rows = rec->rows;
    s.width = rec->width;
    s.text = rec->fontText;
    if (s.result == matrix::kSuccess || s.result == matrix::kWarning) {
        if (auto m = testing_support::BandTextToMatrix(s.text, s.rows)) s.m = *m;
    }
    return s;
}
int LookAhead(const std::string& data, std::size_t position, int current) {
    return matrix::DataMatrixLookAhead(Bytes(data), data.size(), position, current, false, 0);
}
// Data codewords before the size is known (Base 256 not yet randomised).
Words DataCodewords(const std::string& data) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    matrix::DmEncodation e;
    std::vector<std::uint8_t> work;
    EXPECT_EQ(matrix::DataMatrixEncodeData(*rec, Bytes(data), data.size(), 0, e, work), matrix::kSuccess);
    return {e.codewords.begin(), e.codewords.end()};
}

// ---- test-side look-ahead ----------------------------------------------------------------
// Counts in twelfths of a codeword. Schemes numbered as the encodation argument: 1 ASCII,
// 2 C40, 3 Text, 4 X12, 5 EDIFACT, 6 Base 256.

bool Digit(int c) { return c >= '0' && c <= '9'; }
bool Upper(int c) { return c >= 'A' && c <= 'Z'; }
bool Lower(int c) { return c >= 'a' && c <= 'z'; }
bool X12(int c) { return c == 13 || c == '*' || c == '>' || c == ' ' || Digit(c) || Upper(c); }
int RoundUp(int v) { return (v + 11) / 12 * 12; }

int ModelLookAhead(const std::string& data, std::size_t position, int current, std::size_t firstDecision) {
    int a, c, t, x, e, b;
    if (current == 1) {
        a = 0, c = t = x = e = 12, b = 15;
    } else {
        a = 12, c = t = x = e = 24, b = 27;
        int* own[7] = {nullptr, &a, &c, &t, &x, &e, &b};
        *own[current] = 0;
    }
    for (std::size_t j = position; j < data.size(); ++j) {
        const int ch = static_cast<unsigned char>(data[j]);
        const bool high = ch >= 128;
        a = Digit(ch) ? a + 6 : RoundUp(a) + (high ? 24 : 12);
        c += (ch == ' ' || Digit(ch) || Upper(ch)) ? 8 : high ? 32 : 16;
        t += (ch == ' ' || Digit(ch) || Lower(ch)) ? 8 : high ? 32 : 16;
        x += X12(ch) ? 8 : high ? 52 : 40;
        e += (ch >= 32 && ch <= 94) ? 9 : high ? 51 : 39;
        b += 12;
        if (j - position + 1 < firstDecision) continue;
        int choice = 0;
        if (a > c + 12 && t > c + 12 && e > c + 12 && b > c + 12 && x >= c) {
            choice = 2;
            if (x == c) {
                for (std::size_t k = j + 1; k < data.size(); ++k) {
                    const int d = static_cast<unsigned char>(data[k]);
                    if (d == 13 || d == '*' || d == '>') {
                        choice = 4;
                        break;
                    }
                    if (!X12(d)) break;
                }
            }
        }
        if (a > x + 12 && c > x + 12 && t > x + 12 && e > x + 12 && b > x + 12) choice = 4;
        if (a > t + 12 && c > t + 12 && x > t + 12 && e > t + 12 && b > t + 12) choice = 3;
        if (a > e + 12 && c > e + 12 && t > e + 12 && x > e + 12 && b > e + 12) choice = 5;
        if (a >= b + 12 || (c > b + 12 && t > b + 12 && x > b + 12 && e > b + 12)) choice = 6;
        if (c >= a + 12 && t >= a + 12 && x >= a + 12 && e >= a + 12 && b >= a + 12) choice = 1;
        if (choice) return choice;
    }
    a = RoundUp(a), c = RoundUp(c), t = RoundUp(t), x = RoundUp(x), e = RoundUp(e), b = RoundUp(b);
    int best = 2, min = c;
    if (x < min) best = 4, min = x;
    if (t < min) best = 3, min = t;
    if (e < min) best = 5, min = e;
    if (b < min) best = 6, min = b;
    return a <= min ? 1 : best;
}

// ---- test-side symbol ---------------------------------------------------------------------

// Check codewords: the generator's roots are 2^1 .. 2^n in the field of 0x12D.
Words CheckWords(const Words& data, int n) { return testing_support::RsCheckSymbols(data, n, 0x12D, 1); }

struct Size {
    int rows, columns, regionRows, regionColumns, dataCapacity, blocks, checkPerBlock;
};

// Pads to the capacity, then the check codewords of the interleaved blocks; in 144 x 144 the
// check codewords of blocks 0 to 7 take the places of blocks 2 to 9 and those of blocks 8
// and 9 the places of blocks 0 and 1.
Words Complete(Words data, const Size& s) {
    const std::size_t used = data.size();
    for (std::size_t p = used + 1; p <= U(s.dataCapacity); ++p) {
        int v = 129;
        if (p > used + 1) {
            v = 129 + static_cast<int>((149 * p) % 253) + 1;
            if (v > 254) v -= 254;
        }
        data.push_back(v);
    }
    Words all = data;
    all.resize(U(s.dataCapacity + s.blocks * s.checkPerBlock), -1);
    for (int b = 0; b < s.blocks; ++b) {
        Words block;
        for (int i = b; i < s.dataCapacity; i += s.blocks) block.push_back(data[U(i)]);
        const Words check = CheckWords(block, s.checkPerBlock);
        const int place = s.rows == 144 ? (b + 2) % 10 : b;
        for (int k = 0; k < s.checkPerBlock; ++k) all[U(s.dataCapacity + place + k * s.blocks)] = check[U(k)];
    }
    return all;
}

// The placement of ISO/IEC 16022: each cell of the mapping matrix holds codeword * 8 + bit
// (bit 7 the most significant), the filled corner -1.
std::vector<std::vector<int>> Placement(int nrow, int ncol) {
    std::vector<std::vector<int>> a(U(nrow), std::vector<int>(U(ncol), 0));
    auto module = [&](int row, int col, int chr, int bit) {
        if (row < 0) {
            row += nrow;
            col += 4 - ((nrow + 4) % 8);
        }
        if (col < 0) {
            col += ncol;
            row += 4 - ((ncol + 4) % 8);
        }
        a[U(row)][U(col)] = chr * 8 + (7 - bit);
    };
    auto utah = [&](int row, int col, int chr) {
        module(row - 2, col - 2, chr, 0);
        module(row - 2, col - 1, chr, 1);
        module(row - 1, col - 2, chr, 2);
        module(row - 1, col - 1, chr, 3);
        module(row - 1, col, chr, 4);
        module(row, col - 2, chr, 5);
        module(row, col - 1, chr, 6);
        module(row, col, chr, 7);
    };
    auto corner = [&](const int (&cells)[8][2], int chr) {
        for (int k = 0; k < 8; ++k) {
            const int r = cells[k][0] < 0 ? nrow + cells[k][0] : cells[k][0];
            const int c = cells[k][1] < 0 ? ncol + cells[k][1] : cells[k][1];
            module(r, c, chr, k);
        }
    };
    static const int kCorner1[8][2] = {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}};
    static const int kCorner2[8][2] = {{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}};
    static const int kCorner3[8][2] = {{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}};
    static const int kCorner4[8][2] = {{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}};
    int chr = 1, row = 4, col = 0;
    do {
        if (row == nrow && col == 0) corner(kCorner1, chr++);
        if (row == nrow - 2 && col == 0 && ncol % 4) corner(kCorner2, chr++);
        if (row == nrow - 2 && col == 0 && ncol % 8 == 4) corner(kCorner3, chr++);
        if (row == nrow + 4 && col == 2 && !(ncol % 8)) corner(kCorner4, chr++);
        do {
            if (row < nrow && col >= 0 && !a[U(row)][U(col)]) utah(row, col, chr++);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < ncol);
        row += 1;
        col += 3;
        do {
            if (row >= 0 && col < ncol && !a[U(row)][U(col)]) utah(row, col, chr++);
            row += 2;
            col -= 2;
        } while (row < nrow && col >= 0);
        row += 3;
        col += 1;
    } while (row < nrow || col < ncol);
    if (!a[U(nrow - 1)][U(ncol - 1)]) a[U(nrow - 1)][U(ncol - 1)] = a[U(nrow - 2)][U(ncol - 2)] = -1;
    return a;
}

// The whole symbol: solid bottom and left edge of each region, alternating top and right
// edge, the mapping matrix inside.
Matrix Draw(const Words& codewords, const Size& s) {
    const int dr = s.regionRows - 2, dc = s.regionColumns - 2;
    const int nrow = s.rows / s.regionRows * dr, ncol = s.columns / s.regionColumns * dc;
    Matrix m(U(s.rows), std::vector<bool>(U(s.columns), false));
    for (int r = 0; r < s.rows; ++r)
        for (int c = 0; c < s.columns; ++c) {
            const int lr = r % s.regionRows, lc = c % s.regionColumns;
            if (lr == s.regionRows - 1 || lc == 0) m[U(r)][U(c)] = true;
            else if (lr == 0) m[U(r)][U(c)] = lc % 2 == 0;
            else if (lc == s.regionColumns - 1) m[U(r)][U(c)] = lr % 2 == 1;
        }
    const auto a = Placement(nrow, ncol);
    for (int y = 0; y < nrow; ++y)
        for (int x = 0; x < ncol; ++x) {
            const int v = a[U(y)][U(x)];
            const bool dark = v == -1 || (v > 0 && ((codewords[U(v / 8 - 1)] >> (v % 8)) & 1));
            m[U(y + 2 * (y / dr) + 1)][U(x + 2 * (x / dc) + 1)] = dark;
        }
    return m;
}

// Codewords read back from a symbol through the same placement.
Words Read(const Matrix& m, const Size& s) {
    const int dr = s.regionRows - 2, dc = s.regionColumns - 2;
    const int nrow = s.rows / s.regionRows * dr, ncol = s.columns / s.regionColumns * dc;
    const auto a = Placement(nrow, ncol);
    Words words(U(s.dataCapacity + s.blocks * s.checkPerBlock), 0);
    for (int y = 0; y < nrow; ++y)
        for (int x = 0; x < ncol; ++x) {
            const int v = a[U(y)][U(x)];
            if (v > 0 && m[U(y + 2 * (y / dr) + 1)][U(x + 2 * (x / dc) + 1)]) words[U(v / 8 - 1)] |= 1 << (v % 8);
        }
    return words;
}

Words DigitPairs(const std::string& digits) {
    Words w;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) w.push_back(130 + (digits[i] - '0') * 10 + (digits[i + 1] - '0'));
    return w;
}

void ExpectSymbol(const std::string& data, const Words& dataCodewords, const Size& s, int option3 = 0) {
    const Symbol sym = Encode(data, 0, 0, option3);
    ASSERT_EQ(sym.result, matrix::kSuccess);
    ASSERT_EQ(sym.rows, s.rows);
    ASSERT_EQ(sym.width, s.columns);
    const Words expected = Complete(dataCodewords, s);
    EXPECT_EQ(Read(sym.m, s), expected);
    EXPECT_TRUE(sym.m == Draw(expected, s));
}

TEST(DataMatrixExact, LookAheadMatchesTheModelOnEveryShortInput) {
    // Every string of one to six bytes over an alphabet of each kind of byte the counts tell
    // apart, from each scheme.
    const std::string alphabet = std::string("1A a*@\r") + '\xC4';
    std::string s;
    int differsAtFourth = 0;
    for (int len = 1; len <= 6; ++len) {
        std::vector<int> digits(U(len), 0);
        for (;;) {
            s.clear();
            for (int d : digits) s += alphabet[U(d)];
            for (int current = 1; current <= 6; ++current) {
                const int expected = ModelLookAhead(s, 0, current, 5);
                ASSERT_EQ(LookAhead(s, 0, current), expected) << "\"" << s << "\" from " << current;
                differsAtFourth += ModelLookAhead(s, 0, current, 4) != expected;
            }
            int k = 0;
            while (k < len && ++digits[U(k)] == static_cast<int>(alphabet.size())) digits[U(k++)] = 0;
            if (k == len) break;
        }
    }
    EXPECT_GT(differsAtFourth, 0);
}

TEST(DataMatrixExact, LookAheadMatchesTheModelOnLongerInputs) {
    std::mt19937 rng(16022);
    const std::string alphabet = std::string("0123ABCXYZabcxyz *>@!#.\r\n") + "\x80\xC4\xFF";
    for (int i = 0; i < 20000; ++i) {
        std::string s;
        const int len = 1 + static_cast<int>(rng() % 24);
        // Runs of one kind, so that every scheme gets its chance.
        while (static_cast<int>(s.size()) < len) {
            const char c = alphabet[rng() % alphabet.size()];
            s.append(1 + rng() % 8, c);
        }
        const std::size_t position = rng() % s.size();
        const int current = 1 + static_cast<int>(rng() % 6);
        ASSERT_EQ(LookAhead(s, position, current), ModelLookAhead(s, position, current, 5))
            << "\"" << s << "\" at " << position << " from " << current;
    }
}

// The look-ahead first decides after the fifth byte. From ASCII, C4 'a' 'A' '1' '1' '1' counts
// (in twelfths) ASCII 54, C40 76, Text 76, X12 120, EDIFACT 120, Base 256 63 after four
// bytes, where Base 256's test would already pass (every count but ASCII above 63 + 12);
// after the fifth, ASCII 60, C40 84, Text 84, X12 128, EDIFACT 129, Base 256 75: every other
// count is at least ASCII + 12, so ASCII.
TEST(DataMatrixExact, LookAheadDecidesAfterTheFifthByte) {
    const std::string data = "\xC4" "aA111";
    EXPECT_EQ(LookAhead(data, 0, matrix::kDmAscii), matrix::kDmAscii);
    EXPECT_EQ(DataCodewords(data), (Words{235, 0xC4 - 127, 'a' + 1, 'A' + 1, 130 + 11, '1' + 1}));
    // Four bytes only: the end of the data decides, rounded up: ASCII 5, Base 256 6.
    const std::string shortData = "\xC4\xC4" "11";
    EXPECT_EQ(LookAhead(shortData, 0, matrix::kDmAscii), matrix::kDmAscii);
    EXPECT_EQ(DataCodewords(shortData), (Words{235, 0xC4 - 127, 235, 0xC4 - 127, 130 + 11}));
    // From Base 256, "aA11" ends at ASCII 48 and Base 256 48, both 4 rounded up, and ASCII
    // wins the tie; after four bytes Base 256's test (C40 64, Text 64, X12 88, EDIFACT 90,
    // all above 48 + 12) would have kept Base 256.
    EXPECT_EQ(LookAhead("aA11", 0, matrix::kDmBase256), matrix::kDmAscii);
}

TEST(DataMatrixExact, SymbolsOfDigitPairs) {
    // 10 x 10: ISO/IEC 16022's "123456".
    ExpectSymbol("123456", {142, 164, 186}, {10, 10, 10, 10, 3, 1, 5});
    // 8 x 32 (two regions): nine codewords and one pad.
    ExpectSymbol("012345678901234567", DigitPairs("012345678901234567"), {8, 32, 8, 16, 10, 1, 11});
    // 52 x 52 (four regions, two blocks): 200 codewords and 4 pads.
    std::mt19937 rng(52);
    std::string digits;
    for (int i = 0; i < 400; ++i) digits += static_cast<char>('0' + rng() % 10);
    ExpectSymbol(digits, DigitPairs(digits), {52, 52, 26, 26, 204, 2, 42});
}

TEST(DataMatrixExact, LargestSymbol) {
    // 144 x 144 filled with 1,558 digit pairs: ten blocks, 36 regions.
    std::mt19937 rng(144);
    std::string digits;
    for (int i = 0; i < 3116; ++i) digits += static_cast<char>('0' + rng() % 10);
    ExpectSymbol(digits, DigitPairs(digits), {144, 144, 24, 24, 1558, 10, 62});
}

}  // namespace
