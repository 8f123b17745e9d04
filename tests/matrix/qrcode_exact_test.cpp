// QR Code and Micro QR symbols taken apart by a test-side reader written from ISO/IEC 18004:
// the codewords in the symbol against codewords computed here, and the data mask against a
// test-side penalty score of every mask.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/encode_texts.h"
#include "support/qr_masks.h"
#include "support/rs_reference.h"

using testing_support::QrMaskInverts;

namespace {

using testing_support::Matrix;
using Bytes = std::vector<int>;

struct Symbol {
    int result = 0;
    Matrix m;
    std::string text;
};

// The one place that calls the encoders.
Symbol EncodeSymbol(bool micro, const std::string& data, int option1 = 0, int option2 = 0) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = option1;
    rec->option2 = option2;
    const auto bytes = testing_support::AsBytes(data);
    Symbol s;
    s.result = micro ? matrix::EncodeMicroQRCode(*rec, bytes, matrix::Call::Server(false))
                     : matrix::EncodeQRCode(*rec, bytes, matrix::Call::Server(false));
    s.text = rec->fontText;
    if (s.result == matrix::kSuccess) {
        if (auto m = testing_support::BandTextToMatrix(s.text, rec->rows)) s.m = *m;
    }
    return s;
}
Symbol Qr(const std::string& data, int option1 = 0, int option2 = 0) {
    return EncodeSymbol(false, data, option1, option2);
}
Symbol Micro(const std::string& data, int option1 = 0, int option2 = 0) {
    return EncodeSymbol(true, data, option1, option2);
}

std::size_t U(int i) { return static_cast<std::size_t>(i); }
int Size(const Matrix& m) { return static_cast<int>(m.size()); }

// Check codewords of one block: the generator's roots are 2^0 .. 2^(n-1) in the field of
// x^8 + x^4 + x^3 + x^2 + 1.
Bytes CheckWords(const Bytes& data, int n) { return testing_support::RsCheckSymbols(data, n, 0x11D, 0); }

// ---- QR Code structure -------------------------------------------------------------------

int VersionOf(const Matrix& m) { return (Size(m) - 17) / 4; }

std::vector<int> AlignmentCentres(int version) {
    if (version == 1) return {};
    const int count = version / 7 + 2, size = 17 + 4 * version;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (2 * count - 2) * 2;
    std::vector<int> p(U(count));
    p[0] = 6;
    for (int i = count - 1, pos = size - 7; i >= 1; --i, pos -= step) p[U(i)] = pos;
    return p;
}

// Function modules: finders with separators and format areas, timing, alignment patterns,
// the dark module, version areas.
Matrix FunctionModules(int version) {
    const int n = 17 + 4 * version;
    Matrix f(U(n), std::vector<bool>(U(n), false));
    auto box = [&](int r0, int c0, int rows, int columns) {
        for (int r = r0; r < r0 + rows; ++r)
            for (int c = c0; c < c0 + columns; ++c) f[U(r)][U(c)] = true;
    };
    box(0, 0, 9, 9);
    box(0, n - 8, 9, 8);
    box(n - 8, 0, 8, 9);
    box(6, 0, 1, n);
    box(0, 6, n, 1);
    const std::vector<int> centres = AlignmentCentres(version);
    for (int r : centres)
        for (int c : centres)
            if (!(r == 6 && c == 6) && !(r == 6 && c == n - 7) && !(r == n - 7 && c == 6)) box(r - 2, c - 2, 5, 5);
    if (version >= 7) {
        box(0, n - 11, 6, 3);
        box(n - 11, 0, 3, 6);
    }
    return f;
}

// Data modules in the order the codeword bits fill them.
std::vector<std::pair<int, int>> DataOrder(const Matrix& function, int firstSkippedColumn) {
    const int n = Size(function);
    std::vector<std::pair<int, int>> order;
    bool up = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == firstSkippedColumn) --right;
        for (int k = 0; k < n; ++k) {
            const int row = up ? n - 1 - k : k;
            for (int c : {right, right - 1})
                if (!function[U(row)][U(c)]) order.emplace_back(row, c);
        }
        up = !up;
    }
    return order;
}

// Format word of ISO/IEC 18004: five bits, BCH(15,5) with 0x537, masked with 0x5412.
int FormatWord(int levelBits, int mask) {
    const int d = (levelBits << 3) | mask;
    int r = d << 10;
    for (int i = 14; i >= 10; --i)
        if ((r >> i) & 1) r ^= 0x537 << (i - 10);
    return ((d << 10) | r) ^ 0x5412;
}

// Both copies of the format word, bit 14 at row 8 column 0 and at row size - 1 column 8.
void WriteFormat(Matrix& m, int word) {
    const int n = Size(m);
    auto bit = [&](int i) { return ((word >> i) & 1) != 0; };
    const int rowCols[8] = {0, 1, 2, 3, 4, 5, 7, 8};
    const int colRows[7] = {7, 5, 4, 3, 2, 1, 0};
    for (int k = 0; k < 8; ++k) m[8][U(rowCols[k])] = bit(14 - k);
    for (int k = 0; k < 7; ++k) m[U(colRows[k])][8] = bit(6 - k);
    for (int k = 0; k < 7; ++k) m[U(n - 1 - k)][8] = bit(14 - k);
    for (int k = 0; k < 8; ++k) m[8][U(n - 8 + k)] = bit(7 - k);
}

int ReadFormat(const Matrix& m) {  // unmasked
    int word = 0;
    for (int c : {0, 1, 2, 3, 4, 5, 7, 8}) word = word * 2 + m[8][U(c)];
    for (int r : {7, 5, 4, 3, 2, 1, 0}) word = word * 2 + m[U(r)][8];
    return word ^ 0x5412;
}
int MaskOf(const Matrix& m) { return (ReadFormat(m) >> 10) & 7; }
int LevelBitsOf(const Matrix& m) { return ReadFormat(m) >> 13; }
char LevelOf(const Matrix& m) { return "MLHQ"[LevelBitsOf(m)]; }

// The symbol with its data modules under another mask and that mask's format word.
Matrix Remask(const Matrix& m, int mask) {
    const Matrix f = FunctionModules(VersionOf(m));
    const int from = MaskOf(m), n = Size(m);
    Matrix out = m;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (!f[U(i)][U(j)] && QrMaskInverts(from, i, j) != QrMaskInverts(mask, i, j)) out[U(i)][U(j)] = !out[U(i)][U(j)];
    WriteFormat(out, FormatWord(LevelBitsOf(m), mask));
    return out;
}

// All codewords in placement order, unmasked.
Bytes QrCodewords(const Matrix& m) {
    const Matrix f = FunctionModules(VersionOf(m));
    const int mask = MaskOf(m);
    Bytes words;
    int bits = 0, value = 0;
    for (auto [r, c] : DataOrder(f, 6)) {
        value = value * 2 + (m[U(r)][U(c)] != QrMaskInverts(mask, r, c) ? 1 : 0);
        if (++bits == 8) {
            words.push_back(value);
            bits = value = 0;
        }
    }
    return words;
}

// The standard's block structure for the symbols these tests use.
struct Blocks {
    int version;
    char level;
    int shortBlocks, shortData, longBlocks, checkPerBlock;
};
constexpr Blocks kBlocks[] = {
    {1, 'Q', 1, 13, 0, 13},
    {1, 'H', 1, 9, 0, 17},
    {6, 'M', 4, 27, 0, 16},
    {40, 'L', 19, 118, 6, 30},
};

// Data codewords split into blocks, check words added, interleaved as ISO/IEC 18004 does.
Bytes Interleave(const Bytes& data, const Blocks& b) {
    std::vector<Bytes> blocks, checks;
    std::size_t at = 0;
    for (int k = 0; k < b.shortBlocks + b.longBlocks; ++k) {
        const std::size_t len = U(b.shortData + (k >= b.shortBlocks ? 1 : 0));
        blocks.emplace_back(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + len));
        at += len;
        checks.push_back(CheckWords(blocks.back(), b.checkPerBlock));
    }
    EXPECT_EQ(at, data.size());
    Bytes out;
    for (std::size_t i = 0; i <= U(b.shortData); ++i)
        for (const Bytes& block : blocks)
            if (i < block.size()) out.push_back(block[i]);
    for (std::size_t i = 0; i < U(b.checkPerBlock); ++i)
        for (const Bytes& c : checks) out.push_back(c[i]);
    return out;
}

// Bits to data codewords: terminator, zero fill, then 0xEC 0x11 pads up to `capacity`.
Bytes Pack(std::string bits, int capacity) {
    const std::size_t capBits = U(capacity) * 8;
    bits += "0000";
    bits.resize(std::min(bits.size(), capBits), '0');
    while (bits.size() % 8) bits += '0';
    Bytes out;
    for (std::size_t i = 0; i < bits.size(); i += 8) out.push_back(std::stoi(bits.substr(i, 8), nullptr, 2));
    for (int pad = 0xEC; out.size() < U(capacity); pad ^= 0xEC ^ 0x11) out.push_back(pad);
    return out;
}
std::string BitsOf(int value, int count) {
    std::string s;
    for (int i = count - 1; i >= 0; --i) s += ((value >> i) & 1) ? '1' : '0';
    return s;
}

// ---- the penalty score -------------------------------------------------------------------

struct Penalty {
    int n1 = 0, n2 = 0, n3 = 0, n4 = 0;
    int Total() const { return n1 + n2 + n3 + n4; }
    bool operator==(const Penalty&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Penalty& p) {
    return os << "{" << p.n1 << ", " << p.n2 << ", " << p.n3 << ", " << p.n4 << "}";
}

// ISO/IEC 18004's four rules, with this encoder's reading of rule 3: the finder-like pattern
// is looked for at starting positions 0 to size - 8 and scores once when the four modules
// on either side are light (outside the symbol counts as light).
Penalty Score(const Matrix& m) {
    const int n = Size(m);
    Penalty p;
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < n; ++line) {
            auto at = [&](int k) -> int {
                if (k < 0 || k >= n) return 0;
                return dir == 0 ? m[U(line)][U(k)] : m[U(k)][U(line)];
            };
            for (int k = 0; k < n;) {
                int e = k;
                while (e < n && at(e) == at(k)) ++e;
                if (e - k >= 5) p.n1 += 3 + (e - k - 5);
                k = e;
            }
            static const int kFinder[7] = {1, 0, 1, 1, 1, 0, 1};
            for (int s = 0; s <= n - 8; ++s) {
                bool match = true;
                for (int k = 0; k < 7; ++k) match = match && at(s + k) == kFinder[k];
                if (!match) continue;
                bool before = true, after = true;
                for (int k = 1; k <= 4; ++k) {
                    before = before && at(s - k) == 0;
                    after = after && at(s + 6 + k) == 0;
                }
                if (before || after) p.n3 += 40;
            }
        }
    }
    int dark = 0;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            dark += m[U(r)][U(c)];
            if (r + 1 < n && c + 1 < n && m[U(r)][U(c)] == m[U(r)][U(c + 1)] && m[U(r)][U(c)] == m[U(r + 1)][U(c)] &&
                m[U(r)][U(c)] == m[U(r + 1)][U(c + 1)])
                p.n2 += 3;
        }
    const int percent = 100 * dark / (n * n);
    p.n4 = 10 * (percent > 50 ? (percent - 50) / 5 : (50 - percent) / 5);
    return p;
}

// Scores of the eight masks. The masks are scored before the version information is
// written: from version 7 its two areas are light while scoring.
std::vector<Penalty> AllMasks(const Matrix& m) {
    std::vector<Penalty> all;
    const int n = Size(m);
    for (int mask = 0; mask < 8; ++mask) {
        Matrix trial = Remask(m, mask);
        if (VersionOf(m) >= 7)
            for (int i = 0; i < 18; ++i) trial[U(i / 3)][U(n - 11 + i % 3)] = trial[U(n - 11 + i % 3)][U(i / 3)] = false;
        all.push_back(Score(trial));
    }
    return all;
}
int FirstLowest(const std::vector<Penalty>& all) {
    int best = 0;
    for (int k = 1; k < static_cast<int>(all.size()); ++k)
        if (all[U(k)].Total() < all[U(best)].Total()) best = k;
    return best;
}

// The chosen mask is the first of the lowest score; writing its format word back changes
// nothing (both copies where ISO/IEC 18004 puts them).
void ExpectBestMask(const std::string& data, int option1 = 0, int option2 = 0) {
    const Symbol s = Qr(data, option1, option2);
    ASSERT_EQ(s.result, matrix::kSuccess) << data;
    ASSERT_FALSE(s.m.empty());
    EXPECT_EQ(Remask(s.m, MaskOf(s.m)), s.m) << data;
    const std::vector<Penalty> all = AllMasks(s.m);
    EXPECT_EQ(MaskOf(s.m), FirstLowest(all)) << data << " version " << VersionOf(s.m);
}

// ---- the whole symbol, drawn here -------------------------------------------------------

int VersionWord(int version) {
    int r = version << 12;
    for (int i = 17; i >= 12; --i)
        if ((r >> i) & 1) r ^= 0x1F25 << (i - 12);
    return (version << 12) | r;
}

// Function patterns, the codewords under `mask`, the format word and, when asked, the
// version word.
Matrix Draw(int version, int levelBits, int mask, const Bytes& codewords, bool withVersion) {
    const int n = 17 + 4 * version;
    Matrix m(U(n), std::vector<bool>(U(n), false));
    auto finder = [&](int top, int left) {
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c)
                m[U(top + r)][U(left + c)] = r == 0 || r == 6 || c == 0 || c == 6 || (r >= 2 && r <= 4 && c >= 2 && c <= 4);
    };
    finder(0, 0);
    finder(0, n - 7);
    finder(n - 7, 0);
    for (int k = 8; k < n - 8; ++k) m[6][U(k)] = m[U(k)][6] = k % 2 == 0;
    const std::vector<int> centres = AlignmentCentres(version);
    for (int cr : centres)
        for (int cc : centres) {
            if ((cr == 6 && cc == 6) || (cr == 6 && cc == n - 7) || (cr == n - 7 && cc == 6)) continue;
            for (int r = -2; r <= 2; ++r)
                for (int c = -2; c <= 2; ++c) m[U(cr + r)][U(cc + c)] = std::max(std::abs(r), std::abs(c)) != 1;
        }
    m[U(n - 8)][8] = true;
    const Matrix f = FunctionModules(version);
    const std::vector<std::pair<int, int>> order = DataOrder(f, 6);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool bit = i < codewords.size() * 8 && ((codewords[i / 8] >> (7 - i % 8)) & 1);
        const auto [r, c] = order[i];
        m[U(r)][U(c)] = bit != QrMaskInverts(mask, r, c);
    }
    WriteFormat(m, FormatWord(levelBits, mask));
    if (withVersion && version >= 7) {
        const int word = VersionWord(version);
        for (int i = 0; i < 18; ++i) m[U(i / 3)][U(n - 11 + i % 3)] = m[U(n - 11 + i % 3)][U(i / 3)] = (word >> i) & 1;
    }
    return m;
}

// The symbol for these codewords: every mask scored before the version word is written, the
// first lowest taken.
Matrix ExpectedSymbol(int version, char level, const Bytes& codewords) {
    const int levelBits = static_cast<int>(std::string("MLHQ").find(level));
    int best = 0, bestScore = 0;
    for (int mask = 0; mask < 8; ++mask) {
        const int score = Score(Draw(version, levelBits, mask, codewords, false)).Total();
        if (mask == 0 || score < bestScore) best = mask, bestScore = score;
    }
    return Draw(version, levelBits, best, codewords, true);
}

// ---- Micro QR ----------------------------------------------------------------------------

bool MicroMask(int mask, int i, int j) {
    switch (mask) {
        case 0: return i % 2 == 0;
        case 1: return (i / 2 + j / 3) % 2 == 0;
        case 2: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

int MicroFormat(const Matrix& m) {  // unmasked
    int word = 0;
    for (int c = 1; c <= 8; ++c) word = word * 2 + m[8][U(c)];
    for (int r = 7; r >= 1; --r) word = word * 2 + m[U(r)][8];
    return word ^ 0x4445;
}
int MicroMaskOf(const Matrix& m) { return (MicroFormat(m) >> 10) & 3; }

Matrix MicroFunctionModules(int size) {
    Matrix f(U(size), std::vector<bool>(U(size), false));
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) f[U(r)][U(c)] = r == 0 || c == 0 || (r <= 8 && c <= 8);
    return f;
}

// The placed bits, unmasked, first bit first.
std::string MicroBits(const Matrix& m) {
    const Matrix f = MicroFunctionModules(Size(m));
    const int mask = MicroMaskOf(m);
    std::string bits;
    for (auto [r, c] : DataOrder(f, -1)) bits += m[U(r)][U(c)] != MicroMask(mask, r, c) ? '1' : '0';
    return bits;
}

// The bit string of a Micro QR symbol: data bits completed to the capacity, then the check words.
std::string MicroExpected(std::string bits, int capacity, int terminator, int checks) {
    const std::size_t cap = U(capacity);
    bits.append(std::min(U(terminator), cap - std::min(cap, bits.size())), '0');
    while (bits.size() % 8 && bits.size() < cap) bits += '0';
    for (int k = 0; bits.size() + 8 <= cap; ++k) bits += k % 2 ? "00010001" : "11101100";
    if (bits.size() < cap) bits += "0000";
    Bytes words;
    for (std::size_t i = 0; i < cap; i += 8) {
        std::string w = bits.substr(i, 8);
        w.resize(8, '0');
        words.push_back(std::stoi(w, nullptr, 2));
    }
    for (int c : CheckWords(words, checks)) bits += BitsOf(c, 8);
    return bits;
}

// Scores of the four masks: the dark modules of the right column and of the bottom row.
std::vector<int> MicroScores(const Matrix& m) {
    const int n = Size(m), from = MicroMaskOf(m);
    std::vector<int> scores;
    for (int mask = 0; mask < 4; ++mask) {
        auto at = [&](int i, int j) { return m[U(i)][U(j)] != (MicroMask(from, i, j) != MicroMask(mask, i, j)); };
        int sum1 = 0, sum2 = 0;
        for (int k = 1; k < n; ++k) {
            sum1 += at(k, n - 1);
            sum2 += at(n - 1, k);
        }
        scores.push_back(sum1 <= sum2 ? 16 * sum1 + sum2 : 16 * sum2 + sum1);
    }
    return scores;
}
int FirstHighest(const std::vector<int>& scores) {
    return static_cast<int>(std::max_element(scores.begin(), scores.end()) - scores.begin());
}

// ---- tests -------------------------------------------------------------------------------

TEST(QrExact, CheckWordsOfTheStandardsExample) {
    // ISO/IEC 18004's worked example: "01234567" as version 1-M.
    const Bytes data{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11};
    EXPECT_EQ(CheckWords(data, 10), (Bytes{0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55}));
}

TEST(QrExact, NumericDataAsVersion1H) {
    // Eight digits leave room for level H in version 1. Mode 0001, count 8 in ten bits,
    // 012 345 in ten bits each, 67 in seven.
    const Symbol s = Qr("01234567", 2);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(VersionOf(s.m), 1);
    ASSERT_EQ(LevelOf(s.m), 'H');
    const Bytes data = Pack("0001" + BitsOf(8, 10) + BitsOf(12, 10) + BitsOf(345, 10) + BitsOf(67, 7), 9);
    EXPECT_EQ(data, (Bytes{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC}));
    EXPECT_EQ(QrCodewords(s.m), Interleave(data, kBlocks[1]));
    EXPECT_TRUE(s.m == ExpectedSymbol(1, 'H', Interleave(data, kBlocks[1])));
}

TEST(QrExact, AlphanumericDataAsVersion1Q) {
    // Eleven alphanumeric characters: an estimate of 17 + 61 bits holds Q (104) but not H (72).
    const Symbol s = Qr("HELLO WORLD");
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(VersionOf(s.m), 1);
    ASSERT_EQ(LevelOf(s.m), 'Q');
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    auto v = [&](char c) { return static_cast<int>(alphabet.find(c)); };
    std::string bits = "0010" + BitsOf(11, 9);
    const std::string text = "HELLO WORLD";
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) bits += BitsOf(45 * v(text[i]) + v(text[i + 1]), 11);
    bits += BitsOf(v('D'), 6);
    const Bytes data = Pack(bits, 13);
    EXPECT_EQ(data, (Bytes{0x20, 0x5B, 0x0B, 0x78, 0xD1, 0x72, 0xDC, 0x4D, 0x43, 0x40, 0xEC, 0x11, 0xEC}));
    const Bytes all = QrCodewords(s.m);
    EXPECT_EQ(all, Interleave(data, kBlocks[0]));
    EXPECT_TRUE(s.m == ExpectedSymbol(1, 'Q', Interleave(data, kBlocks[0])));
    EXPECT_EQ(Bytes(all.begin() + 13, all.end()),
              (Bytes{168, 72, 22, 82, 217, 54, 156, 0, 46, 15, 180, 122, 16}));
    // The same data as 1-M (three more pads) and its ten check words.
    Bytes m = data;
    m.insert(m.end(), {0x11, 0xEC, 0x11});
    EXPECT_EQ(CheckWords(m, 10), (Bytes{196, 35, 39, 119, 235, 215, 231, 226, 93, 23}));
}

TEST(QrExact, ByteDataInFourBlocks) {
    // 100 bytes at M: the estimate 20 + 800 bits passes version 5 (688) and fits 6-M (864),
    // not 6-Q (608). Four blocks of 27 data and 16 check words.
    std::string text;
    for (int i = 0; i < 100; ++i) text += static_cast<char>('a' + (i * 7) % 26);
    const Symbol s = Qr(text, 2);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(VersionOf(s.m), 6);
    ASSERT_EQ(LevelOf(s.m), 'M');
    std::string bits = "0100" + BitsOf(100, 8);
    for (char c : text) bits += BitsOf(static_cast<unsigned char>(c), 8);
    const Bytes data = Pack(bits, 108);
    EXPECT_EQ(QrCodewords(s.m), Interleave(data, kBlocks[2]));
    EXPECT_TRUE(s.m == ExpectedSymbol(6, 'M', Interleave(data, kBlocks[2])));
    // The remainder bits after the last codeword stay light before masking.
    EXPECT_EQ(QrCodewords(s.m).size(), 172u);
}

TEST(QrExact, LargestSymbolModuleForModule) {
    // 2,953 bytes fill 40-L exactly: 4 + 16 + 23,624 bits and the terminator make 2,956
    // codewords; 25 blocks, six of them one data codeword longer.
    std::mt19937 rng(40);
    std::string text;
    for (int i = 0; i < 2953; ++i) text += static_cast<char>('a' + rng() % 26);
    const Symbol s = Qr(text, 1);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(VersionOf(s.m), 40);
    ASSERT_EQ(LevelOf(s.m), 'L');
    std::string bits = "0100" + BitsOf(2953, 16);
    for (char c : text) bits += BitsOf(static_cast<unsigned char>(c), 8);
    const Bytes data = Pack(bits, 2956);
    const Bytes all = QrCodewords(s.m);
    ASSERT_EQ(all.size(), 3706u);
    EXPECT_EQ(all, Interleave(data, kBlocks[3]));
    EXPECT_EQ(MaskOf(s.m), FirstLowest(AllMasks(s.m)));
    // Every module: function patterns, version word, codewords and mask.
    EXPECT_TRUE(s.m == ExpectedSymbol(40, 'L', Interleave(data, kBlocks[3])));
}

// Rules 1 to 4 under each mask, from the scorer above, for two version 1-H symbols whose
// codewords the tests above check the same way.
TEST(QrExact, PenaltiesOfEveryMask) {
    // "01234567": mask 6 alone at the lowest total, 774.
    Symbol s = Qr("01234567");
    ASSERT_EQ(s.result, matrix::kSuccess);
    std::vector<Penalty> all = AllMasks(s.m);
    EXPECT_EQ(all, (std::vector<Penalty>{{161, 120, 560, 0}, {172, 126, 520, 0}, {187, 138, 480, 0},
                                         {196, 135, 520, 0}, {176, 144, 600, 0}, {182, 129, 560, 0},
                                         {171, 123, 480, 0}, {179, 150, 480, 0}}));
    EXPECT_EQ(MaskOf(s.m), 6);
    // "47514": masks 2 and 4 tie at 802; the earlier mask wins.
    s = Qr("47514");
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(LevelOf(s.m), 'H');
    all = AllMasks(s.m);
    EXPECT_EQ(all, (std::vector<Penalty>{{203, 147, 520, 0}, {202, 135, 520, 0}, {187, 135, 480, 0},
                                         {202, 159, 520, 0}, {178, 144, 480, 0}, {183, 117, 520, 0},
                                         {182, 156, 560, 0}, {188, 153, 480, 0}}));
    EXPECT_EQ(MaskOf(s.m), 2);
    // "58380": masks 5 and 6 tie at 816.
    s = Qr("58380");
    ASSERT_EQ(s.result, matrix::kSuccess);
    all = AllMasks(s.m);
    EXPECT_EQ(all[5].Total(), 816);
    EXPECT_EQ(all[6].Total(), 816);
    EXPECT_EQ(MaskOf(s.m), 5);
}

// Rule 4 scores only when the dark share leaves 45 to 55 %: a symbol of mostly light data.
TEST(QrExact, BalanceRuleCounts) {
    const Symbol s = Qr(std::string(40, '\x00'));
    ASSERT_EQ(s.result, matrix::kSuccess);
    const std::vector<Penalty> all = AllMasks(s.m);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const Penalty& p) { return p.n4 > 0; }));
    EXPECT_EQ(MaskOf(s.m), FirstLowest(all));
}

TEST(QrExact, ChosenMaskIsTheFirstLowestScore) {
    std::mt19937 rng(18004);
    for (int i = 0; i < 60; ++i) {
        std::string text;
        const int len = 1 + static_cast<int>(rng() % 200);
        for (int k = 0; k < len; ++k) text += static_cast<char>(32 + rng() % 95);
        ExpectBestMask(text, static_cast<int>(rng() % 5));
    }
    for (int v : {7, 14, 21}) ExpectBestMask("VERSION", 1, v);
}

TEST(MicroQrExact, NumericM1) {
    // 12345: count 5 in three bits, 123 in ten, 45 in seven: exactly M1's 20 bits.
    const Symbol s = Micro("12345");
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(Size(s.m), 11);
    EXPECT_EQ(MicroFormat(s.m) >> 12, 0);
    const std::string data = BitsOf(5, 3) + BitsOf(123, 10) + BitsOf(45, 7);
    EXPECT_EQ(MicroBits(s.m), MicroExpected(data, 20, 3, 2));
}

TEST(MicroQrExact, AlphanumericM2RaisedToM) {
    // AB12: indicator 1, count 4 in three bits, two pairs of eleven: 26 bits, within M2-M's 32.
    const Symbol s = Micro("AB12");
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(Size(s.m), 13);
    EXPECT_EQ(MicroFormat(s.m) >> 12, 2);
    const std::string data = "1" + BitsOf(4, 3) + BitsOf(10 * 45 + 11, 11) + BitsOf(1 * 45 + 2, 11);
    EXPECT_EQ(MicroBits(s.m), MicroExpected(data, 32, 5, 6));
}

TEST(MicroQrExact, ByteDataM4) {
    // Ten lower-case letters: 6 + 80 bits pass M3's 84; in M4 (indicator 010, count in five
    // bits) 88 bits, within M's 112, so the level rises to M.
    const std::string text = "microqrcde";
    const Symbol s = Micro(text);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(Size(s.m), 17);
    EXPECT_EQ(MicroFormat(s.m) >> 12, 6);
    std::string data = "010" + BitsOf(10, 5);
    for (char c : text) data += BitsOf(static_cast<unsigned char>(c), 8);
    EXPECT_EQ(MicroBits(s.m), MicroExpected(data, 112, 9, 10));
}

TEST(MicroQrExact, ChosenMaskIsTheFirstHighestScore) {
    std::mt19937 rng(1804);
    for (int i = 0; i < 200; ++i) {
        std::string text;
        const int len = 1 + static_cast<int>(rng() % 14);
        for (int k = 0; k < len; ++k) text += static_cast<char>(i % 2 ? '0' + rng() % 10 : 'A' + rng() % 26);
        const Symbol s = Micro(text);
        ASSERT_EQ(s.result, matrix::kSuccess) << text;
        EXPECT_EQ(MicroMaskOf(s.m), FirstHighest(MicroScores(s.m))) << text;
    }
}

}  // namespace
