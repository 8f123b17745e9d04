// Aztec Code: the size and the number of check codewords at every one of the nineteen levels,
// at the exact data lengths where the size changes, read from the symbol's mode message; and
// the symbol's codewords against codewords computed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
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

// The one place that calls the encoder. `option1` numbered as the build numbers it.
struct Symbol {
    int result = 0;
    Matrix m;
};
Symbol Encode(const std::string& data, int option1, int option2 = 0, matrix::Build build = matrix::Build::Server) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = option1;
    rec->option2 = option2;
    Symbol s;
    const matrix::Call call = build == matrix::Build::Server ? matrix::Call::Server(false) : matrix::Call::Desktop();
    s.result = matrix::EncodeAztec(*rec, testing_support::AsBytes(data), call);
    if (s.result == matrix::kSuccess || s.result == matrix::kWarning) {
        if (auto m = testing_support::BandTextToMatrix(rec->fontText, rec->rows)) s.m = *m;
    }
    return s;
}

constexpr int kPercent[20] = {0, 5, 10, 15, 20, 23, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90};

struct Size {
    bool compact;
    int layers;
    bool operator==(const Size&) const = default;
};
int WordBits(int layers) { return layers <= 2 ? 6 : layers <= 8 ? 8 : layers <= 22 ? 10 : 12; }
int TotalBits(Size s) { return ((s.compact ? 88 : 112) + 16 * s.layers) * s.layers; }
int TotalWords(Size s) { return TotalBits(s) / WordBits(s.layers); }
int Side(Size s) {
    if (s.compact) return 11 + 4 * s.layers;
    const int base = 14 + 4 * s.layers;  // with the centre line, without the other grid lines
    return base + 1 + 2 * ((base / 2 - 1) / 15);
}
// Data bits a size holds at a level: all codewords less the check share, rounded up.
int Capacity(Size s, int level) {
    const int total = TotalWords(s);
    return (total - (total * kPercent[level] + 99) / 100) * WordBits(s.layers);
}
// As the size choice uses it: a compact mode message counts at most 64 data codewords.
int Usable(Size s, int level) {
    const int c = Capacity(s, level);
    return s.compact ? std::min(c, 64 * WordBits(s.layers)) : c;
}

// The size for `bits` bits of data that need no stuffing: the fewest full-range layers whose
// capacity exceeds the bits, replaced by the smallest compact size that does. Layers 0: none.
Size Choose(int bits, int level) {
    Size chosen{false, 0};
    for (int l = 1; l <= 32 && !chosen.layers; ++l)
        if (Usable({false, l}, level) > bits) chosen = {false, l};
    for (int l = 4; l >= 1; --l)
        if (Usable({true, l}, level) > bits) chosen = {true, l};
    return chosen;
}

// Check words: the generator's roots are 2^1 .. 2^n, highest power first.
Words CheckWords(const Words& data, int n, int poly) { return testing_support::RsCheckSymbols(data, n, poly, 1); }
int FieldPoly(int w) { return w == 6 ? 0x43 : w == 8 ? 0x12D : w == 10 ? 0x409 : 0x1069; }

// The mode message as ISO/IEC 24778 places it: the ring just outside the finder, clockwise
// from the top left, seven bits a side in compact symbols and ten (the centre line skipped)
// in full-range ones.
std::vector<int> ModeBits(const Matrix& m, bool compact) {
    const int c = static_cast<int>(m.size()) / 2, d = compact ? 5 : 7;
    std::vector<int> offsets;
    for (int k = compact ? -3 : -5; k <= (compact ? 3 : 5); ++k)
        if (compact || k != 0) offsets.push_back(k);
    std::vector<int> bits;
    for (int k : offsets) bits.push_back(m[U(c - d)][U(c + k)]);
    for (int k : offsets) bits.push_back(m[U(c + k)][U(c + d)]);
    for (int k : offsets) bits.push_back(m[U(c + d)][U(c - k)]);
    for (int k : offsets) bits.push_back(m[U(c - k)][U(c - d)]);
    return bits;
}

struct ModeMessage {
    Size size{};
    int dataWords = 0;
    bool checked = false;  // the check nibbles agree
};
ModeMessage ReadMode(const Matrix& m, bool compact) {
    const std::vector<int> bits = ModeBits(m, compact);
    Words nibbles;
    for (std::size_t i = 0; i < bits.size(); i += 4) nibbles.push_back(bits[i] * 8 + bits[i + 1] * 4 + bits[i + 2] * 2 + bits[i + 3]);
    const std::size_t dataNibbles = compact ? 2 : 4;
    const Words data(nibbles.begin(), nibbles.begin() + static_cast<long>(dataNibbles));
    const Words check(nibbles.begin() + static_cast<long>(dataNibbles), nibbles.end());
    int value = 0;
    for (int n : data) value = value * 16 + n;
    ModeMessage mm;
    mm.checked = CheckWords(data, static_cast<int>(check.size()), 0x13) == check;
    if (compact) {
        mm.size = {true, (value >> 6) + 1};
        mm.dataWords = (value & 63) + 1;
    } else {
        mm.size = {false, (value >> 11) + 1};
        mm.dataWords = (value & 2047) + 1;
    }
    return mm;
}

// Full-range symbols have a dark ring 6 modules from the centre; in compact ones that ring is
// data or mode message.
bool LooksCompact(const Matrix& m) {
    const int c = static_cast<int>(m.size()) / 2;
    for (int k = -6; k <= 6; ++k)
        if (!m[U(c - 6)][U(c + k)] || !m[U(c + 6)][U(c + k)] || !m[U(c + k)][U(c - 6)] || !m[U(c + k)][U(c + 6)]) return true;
    return false;
}

// Data and check codewords in the order of the stream, read through the position map (bit n
// of the stream counted outward from the core), the bits before the first whole codeword
// dropped.
Words StreamWords(const Matrix& m, Size s) {
    const int side = static_cast<int>(m.size());
    const int mapSide = s.compact ? matrix::kAztecCompactSide : matrix::kAztecFullSide;
    const int* map = s.compact ? matrix::AztecCompactMap() : matrix::AztecFullMap();
    const int offset = (mapSide - side) / 2, total = TotalBits(s), w = WordBits(s.layers);
    std::vector<int> stream(U(total), -1);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const int v = map[(r + offset) * mapSide + c + offset];
            if (v >= matrix::kAztecDataBit && v < matrix::kAztecModeBit) stream[U(total - 1 - (v - matrix::kAztecDataBit))] = m[U(r)][U(c)];
        }
    Words words;
    for (int i = total % w; i + w <= total; i += w) {
        int x = 0;
        for (int k = 0; k < w; ++k) x = x * 2 + stream[U(i + k)];
        words.push_back(x);
    }
    return words;
}

// "A" is 00010 in the upper mode the stream starts in; no w - 1 bits of a run of them are all
// equal, so nothing is stuffed and the last codeword is filled with 1 bits.
Words UpperAWords(int count, int w) {
    std::string bits;
    for (int i = 0; i < count; ++i) bits += "00010";
    while (bits.size() % U(w)) bits += '1';
    Words words;
    for (std::size_t i = 0; i < bits.size(); i += U(w)) words.push_back(std::stoi(bits.substr(i, U(w)), nullptr, 2));
    return words;
}

// Encodes `count` letters A and checks the size, the data codeword count and the check nibbles
// of the mode message; `full` also checks every codeword.
void ExpectSize(int count, int level, int option1, matrix::Build build = matrix::Build::Server, bool full = false,
                int result = matrix::kSuccess) {
    const Size expected = Choose(5 * count, level);
    const Symbol s = Encode(std::string(U(count), 'A'), option1, 0, build);
    if (!expected.layers) {
        EXPECT_EQ(s.result, matrix::kDataTooLong) << count << " at level " << level;
        return;
    }
    ASSERT_EQ(s.result, result) << count << " at level " << level;
    ASSERT_EQ(static_cast<int>(s.m.size()), Side(expected)) << count << " at level " << level;
    ASSERT_EQ(LooksCompact(s.m), expected.compact) << count << " at level " << level;
    const ModeMessage mm = ReadMode(s.m, expected.compact);
    EXPECT_TRUE(mm.checked) << count << " at level " << level;
    EXPECT_EQ(mm.size, expected) << count << " at level " << level;
    const int w = WordBits(expected.layers), dataWords = (5 * count + w - 1) / w;
    EXPECT_EQ(mm.dataWords, dataWords) << count << " at level " << level;
    if (!full) return;
    const Words words = StreamWords(s.m, expected);
    ASSERT_EQ(static_cast<int>(words.size()), TotalWords(expected));
    const Words data = UpperAWords(count, w);
    EXPECT_EQ(Words(words.begin(), words.begin() + dataWords), data);
    EXPECT_EQ(Words(words.begin() + dataWords, words.end()), CheckWords(data, TotalWords(expected) - dataWords, FieldPoly(w)))
        << count << " at level " << level;
}

// Every count of letters A at which the chosen size changes at the level, and the one after.
std::vector<int> Boundaries(int level) {
    std::vector<int> counts;
    Size last = Choose(5, level);
    for (int n = 2;; ++n) {
        const Size next = Choose(5 * n, level);
        if (!(next == last)) {
            counts.push_back(n - 1);
            counts.push_back(n);
        }
        if (!next.layers) break;
        last = next;
    }
    return counts;
}

TEST(AztecExact, CapacitiesByTheRule) {
    // Level 5 (23 %): 96, 216, 368 and 536 bits for 1 to 4 full-range layers; level 1 (5 %):
    // 96, 228, 384 and 576 for 1 to 4 compact layers.
    EXPECT_EQ(Capacity({false, 1}, 5), 96);
    EXPECT_EQ(Capacity({false, 2}, 5), 216);
    EXPECT_EQ(Capacity({false, 3}, 5), 368);
    EXPECT_EQ(Capacity({false, 4}, 5), 536);
    EXPECT_EQ(Capacity({true, 1}, 1), 96);
    EXPECT_EQ(Capacity({true, 2}, 1), 228);
    EXPECT_EQ(Capacity({true, 3}, 1), 384);
    EXPECT_EQ(Capacity({true, 4}, 1), 576);
    // 32 layers at 23 %: 1,664 codewords of 12 bits, 383 of them check codewords.
    EXPECT_EQ(TotalWords({false, 32}), 1664);
    EXPECT_EQ(Capacity({false, 32}, 5), (1664 - 383) * 12);
    EXPECT_EQ(Side({false, 1}), 19);
    EXPECT_EQ(Side({false, 4}), 31);
    EXPECT_EQ(Side({false, 5}), 37);
    EXPECT_EQ(Side({false, 12}), 67);
    EXPECT_EQ(Side({false, 32}), 151);
}

TEST(AztecExact, EveryLevelAtEverySizeChange) {
    for (int level = 1; level <= 19; ++level) {
        const std::vector<int> counts = Boundaries(level);
        ASSERT_GT(counts.size(), 20u);
        for (int count : counts) ExpectSize(count, level, level);
    }
}

TEST(AztecExact, DefaultLevelIs23Percent) {
    // Server 0 and -1, desktop 4 and an out-of-range desktop value all take 23 %.
    for (int count : Boundaries(5)) {
        ExpectSize(count, 5, 0);
        ExpectSize(count, 5, -1);
        ExpectSize(count, 5, 4, matrix::Build::Desktop);
    }
    ExpectSize(15, 5, 19, matrix::Build::Desktop, false, matrix::kWarning);
    // Where 23 % and 24 % part. 15 letters, 75 bits: one compact layer holds 17 codewords of
    // 6 bits; 23 % reserves 4 (3.91 rounded up), leaving 78 bits; 24 % would reserve 5.
    Symbol s = Encode(std::string(15, 'A'), 0);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(s.m.size(), 15u);
    ModeMessage mm = ReadMode(s.m, true);
    EXPECT_TRUE(mm.checked);
    EXPECT_EQ(mm.size, (Size{true, 1}));
    EXPECT_EQ(mm.dataWords, 13);  // 17 - 13 = 4 check codewords
    // 106 letters, 530 bits: four full-range layers hold 88 codewords of 8 bits; 23 % reserves
    // 21 (20.24 rounded up), leaving 536 bits; 24 % would reserve 22, leaving 528.
    s = Encode(std::string(106, 'A'), 0);
    ASSERT_EQ(s.result, matrix::kSuccess);
    ASSERT_EQ(s.m.size(), 31u);
    mm = ReadMode(s.m, false);
    EXPECT_TRUE(mm.checked);
    EXPECT_EQ(mm.size, (Size{false, 4}));
    EXPECT_EQ(mm.dataWords, 67);  // 88 - 67 = 21 check codewords
}

TEST(AztecExact, CodewordsOfEverySize) {
    // One symbol of each size at level 5, filled to its last letter, every codeword checked.
    std::vector<int> counts = Boundaries(5);
    for (std::size_t i = 0; i < counts.size(); i += 2) ExpectSize(counts[i], 5, 5, matrix::Build::Server, true);
    // The largest symbol at the lowest and the highest level.
    for (int level : {1, 19}) {
        const std::vector<int> c = Boundaries(level);
        ExpectSize(c[c.size() - 2], level, level, matrix::Build::Server, true);
    }
}

}  // namespace
