#include "qrcode.h"

#include <algorithm>
#include <cstdlib>

#include "reed_solomon.h"

namespace matrix {
namespace qr {

namespace {

// Data codewords per version and level L, M, Q, H, and the number of error-correction
// blocks, as ISO/IEC 18004 tabulates them (the total codewords follow from the geometry).
constexpr std::uint16_t kDataCodewords[40][4] = {
    {19, 16, 13, 9},
    {34, 28, 22, 16},
    {55, 44, 34, 26},
    {80, 64, 48, 36},
    {108, 86, 62, 46},
    {136, 108, 76, 60},
    {156, 124, 88, 66},
    {194, 154, 110, 86},
    {232, 182, 132, 100},
    {274, 216, 154, 122},
    {324, 254, 180, 140},
    {370, 290, 206, 158},
    {428, 334, 244, 180},
    {461, 365, 261, 197},
    {523, 415, 295, 223},
    {589, 453, 325, 253},
    {647, 507, 367, 283},
    {721, 563, 397, 313},
    {795, 627, 445, 341},
    {861, 669, 485, 385},
    {932, 714, 512, 406},
    {1006, 782, 568, 442},
    {1094, 860, 614, 464},
    {1174, 914, 664, 514},
    {1276, 1000, 718, 538},
    {1370, 1062, 754, 596},
    {1468, 1128, 808, 628},
    {1531, 1193, 871, 661},
    {1631, 1267, 911, 701},
    {1735, 1373, 985, 745},
    {1843, 1455, 1033, 793},
    {1955, 1541, 1115, 845},
    {2071, 1631, 1171, 901},
    {2191, 1725, 1231, 961},
    {2306, 1812, 1286, 986},
    {2434, 1914, 1354, 1054},
    {2566, 1992, 1426, 1096},
    {2702, 2102, 1502, 1142},
    {2812, 2216, 1582, 1222},
    {2956, 2334, 1666, 1276}};
constexpr std::uint8_t kBlocks[40][4] = {
    {1, 1, 1, 1},
    {1, 1, 1, 1},
    {1, 1, 2, 2},
    {1, 2, 2, 4},
    {1, 2, 4, 4},
    {2, 4, 4, 4},
    {2, 4, 6, 5},
    {2, 4, 6, 6},
    {2, 5, 8, 8},
    {4, 5, 8, 8},
    {4, 5, 8, 11},
    {4, 8, 10, 11},
    {4, 9, 12, 16},
    {4, 9, 16, 16},
    {6, 10, 12, 18},
    {6, 10, 17, 16},
    {6, 11, 16, 19},
    {6, 13, 18, 21},
    {7, 14, 21, 25},
    {8, 16, 20, 25},
    {8, 17, 23, 25},
    {9, 17, 23, 34},
    {9, 18, 25, 30},
    {10, 20, 27, 32},
    {12, 21, 29, 35},
    {12, 23, 34, 37},
    {12, 25, 34, 40},
    {13, 26, 35, 42},
    {14, 28, 38, 45},
    {15, 29, 40, 48},
    {16, 31, 43, 51},
    {17, 33, 45, 54},
    {18, 35, 48, 57},
    {19, 37, 51, 60},
    {19, 38, 53, 63},
    {20, 40, 56, 66},
    {21, 43, 59, 70},
    {22, 45, 62, 74},
    {24, 47, 65, 77},
    {25, 49, 68, 81}};

}  // namespace

namespace {
// Alphanumeric value by byte, -1 outside the alphabet.
struct AlphanumericTable {
    std::int8_t value[256] = {};
    constexpr AlphanumericTable() {
        for (int c = 0; c < 256; ++c) value[c] = -1;
        for (int i = 0; kAlphanumeric[i]; ++i) value[static_cast<std::uint8_t>(kAlphanumeric[i])] = static_cast<std::int8_t>(i);
    }
};
constexpr AlphanumericTable kAlphanumericTable;
}  // namespace

int AlphanumericValue(std::uint8_t c) { return kAlphanumericTable.value[c]; }

namespace {
// Turns every maximal run of `from` shorter than `minimum` into `to`.
void WidenShortRuns(std::string& modes, char from, char to, std::size_t minimum) {
    std::size_t i = 0;
    while (i < modes.size()) {
        if (modes[i] != from) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < modes.size() && modes[j] == from) ++j;
        if (j - i < minimum) std::fill(modes.begin() + static_cast<std::ptrdiff_t>(i),
                                       modes.begin() + static_cast<std::ptrdiff_t>(j), to);
        i = j;
    }
}
}  // namespace

std::string DefineModes(const std::uint8_t* data, std::size_t length) {
    std::string modes(length, 'B');
    for (std::size_t i = 0; i < length; ++i) {
        if (data[i] >= '0' && data[i] <= '9')
            modes[i] = 'N';
        else if (AlphanumericValue(data[i]) >= 0)
            modes[i] = 'A';
    }
    WidenShortRuns(modes, 'N', 'A', 6);
    WidenShortRuns(modes, 'A', 'B', 6);
    return modes;
}

int DataCodewords(int version, int level) { return kDataCodewords[version - 1][level]; }
int Blocks(int version, int level) { return kBlocks[version - 1][level]; }

std::vector<int> AlignmentPositions(int version) {
    std::vector<int> positions;
    if (version < 2) return positions;
    const int count = version / 7 + 2;
    const int last = 4 * version + 10;
    int step;
    if (version == 32) {
        step = 26;
    } else {
        step = (last - 6 + count - 2) / (count - 1);  // rounded up ...
        step += step & 1;                              // ... to an even step
    }
    positions.resize(static_cast<std::size_t>(count));
    positions[0] = 6;
    for (int i = count - 1, p = last; i >= 1; --i, p -= step) positions[static_cast<std::size_t>(i)] = p;
    return positions;
}

std::uint32_t Bch15(std::uint32_t data) {
    std::uint32_t r = data << 10;
    for (int bit = 14; bit >= 10; --bit)
        if (r & (1u << bit)) r ^= 0x537u << (bit - 10);
    return (data << 10) | r;
}

std::uint32_t FormatWord(int levelBits, int mask) {
    return Bch15(static_cast<std::uint32_t>(levelBits * 8 + mask)) ^ 0x5412u;
}

std::uint32_t VersionWord(int version) {
    std::uint32_t r = static_cast<std::uint32_t>(version) << 12;
    for (int bit = 17; bit >= 12; --bit)
        if (r & (1u << bit)) r ^= 0x1F25u << (bit - 12);
    return (static_cast<std::uint32_t>(version) << 12) | r;
}

namespace {

constexpr std::uint8_t kFunction = kFunctionModule;

struct Grid {
    int size = 0;
    std::vector<std::uint8_t> cells;
    explicit Grid(int s) : size(s), cells(static_cast<std::size_t>(s * s), 0) {}
    std::uint8_t& at(int row, int column) { return cells[static_cast<std::size_t>(row * size + column)]; }
    std::uint8_t at(int row, int column) const { return cells[static_cast<std::size_t>(row * size + column)]; }
    void setFunction(int row, int column, bool dark) {
        at(row, column) = static_cast<std::uint8_t>(kFunction | (dark ? 1 : 0));
    }
};

void PlaceFinder(Grid& g, int top, int left) {
    for (int r = -1; r <= 7; ++r) {
        for (int c = -1; c <= 7; ++c) {
            const int row = top + r, column = left + c;
            if (row < 0 || column < 0 || row >= g.size || column >= g.size) continue;
            const bool inside = r >= 0 && r <= 6 && c >= 0 && c <= 6;
            const bool dark = inside && (r == 0 || r == 6 || c == 0 || c == 6 ||
                                         (r >= 2 && r <= 4 && c >= 2 && c <= 4));
            g.setFunction(row, column, dark);
        }
    }
}

Grid SetupGrid(int version) {
    const int size = 17 + 4 * version;
    Grid g(size);
    for (int i = 0; i < size; ++i) {
        g.setFunction(6, i, i % 2 == 0);
        g.setFunction(i, 6, i % 2 == 0);
    }
    PlaceFinder(g, 0, 0);
    PlaceFinder(g, 0, size - 7);
    PlaceFinder(g, size - 7, 0);
    const std::vector<int> centres = AlignmentPositions(version);
    for (int cr : centres) {
        for (int cc : centres) {
            if ((cr == 6 && cc == 6) || (cr == 6 && cc == size - 7) || (cr == size - 7 && cc == 6)) continue;
            for (int r = -2; r <= 2; ++r)
                for (int c = -2; c <= 2; ++c)
                    g.setFunction(cr + r, cc + c, std::max(std::abs(r), std::abs(c)) != 1);
        }
    }
    // Format areas (written later) and the dark module.
    for (int i = 0; i <= 8; ++i) {
        if (!(g.at(8, i) & kFunction)) g.setFunction(8, i, false);
        if (!(g.at(i, 8) & kFunction)) g.setFunction(i, 8, false);
    }
    for (int i = 0; i < 8; ++i) g.setFunction(8, size - 1 - i, false);
    for (int i = 0; i < 7; ++i) g.setFunction(size - 1 - i, 8, false);
    g.setFunction(size - 8, 8, true);
    if (version >= 7) {
        for (int i = 0; i < 18; ++i) {
            g.setFunction(i / 3, size - 11 + i % 3, false);
            g.setFunction(size - 11 + i % 3, i / 3, false);
        }
    }
    return g;
}

// Calls f(row, column, bit) for each of the 30 modules of the two format areas of a symbol
// of `size` modules; `bit` is the bit of the format word the module carries.
template <typename F>
void ForEachFormatModule(int size, F f) {
    for (int i = 0; i <= 5; ++i) f(i, 8, i);
    f(7, 8, 6);
    f(8, 8, 7);
    f(8, 7, 8);
    for (int i = 9; i < 15; ++i) f(8, 14 - i, i);
    for (int i = 0; i < 8; ++i) f(8, size - 1 - i, i);
    for (int i = 8; i < 15; ++i) f(size - 15 + i, 8, i);
}

void WriteFormat(Grid& g, std::uint32_t word) {
    ForEachFormatModule(g.size, [&](int row, int column, int bit) {
        g.setFunction(row, column, ((word >> bit) & 1) != 0);
    });
    g.setFunction(g.size - 8, 8, true);
}

void WriteVersion(Grid& g, int version) {
    const std::uint32_t word = VersionWord(version);
    for (int i = 0; i < 18; ++i) {
        const bool dark = ((word >> i) & 1) != 0;
        g.setFunction(i / 3, g.size - 11 + i % 3, dark);
        g.setFunction(g.size - 11 + i % 3, i / 3, dark);
    }
}

constexpr bool MaskCondition(int mask, int i, int j) {
    switch (mask) {
        case 0: return (i + j) % 2 == 0;
        case 1: return i % 2 == 0;
        case 2: return j % 3 == 0;
        case 3: return (i + j) % 3 == 0;
        case 4: return (i / 2 + j / 3) % 2 == 0;
        case 5: return (i * j) % 2 + (i * j) % 3 == 0;
        case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

// The symbol as bit lines: a line of up to 177 modules in three 64-bit words, module k in bit
// k % 64 of word k / 64; bits past the symbol are 0.
constexpr int kLineWords = 3;
constexpr int kMaxSize = 177;
using Word = std::uint64_t;

// Every mask condition repeats after 12 rows and after 12 columns. row[m][i % 12] holds the
// modules of row i that mask m inverts (wherever they are data modules); column[m][j % 12]
// those of column j.
struct MaskPatterns {
    Word row[8][12][kLineWords] = {};
    Word column[8][12][kLineWords] = {};
    constexpr MaskPatterns() {
        for (int m = 0; m < 8; ++m)
            for (int p = 0; p < 12; ++p)
                for (int k = 0; k < 64 * kLineWords; ++k) {
                    if (MaskCondition(m, p, k)) row[m][p][k / 64] |= Word{1} << (k % 64);
                    if (MaskCondition(m, k, p)) column[m][p][k / 64] |= Word{1} << (k % 64);
                }
    }
};
constexpr MaskPatterns kMaskPatterns;

void ApplyMask(Grid& g, int mask) {
    for (int i = 0; i < g.size; ++i) {
        const Word* pattern = kMaskPatterns.row[mask][i % 12];
        for (int j = 0; j < g.size; ++j) {
            std::uint8_t& cell = g.at(i, j);
            const unsigned data = (cell & kFunction) ? 0 : 1;
            cell ^= static_cast<std::uint8_t>(data & (pattern[j / 64] >> (j % 64)));
        }
    }
}

// Bits set in a word, without a library call on processors that lack the instruction.
inline int Popcount(Word x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// Bit k of the result is bit k + s of the line (s 1 .. 63): word i of the line shifted down.
template <int W>
Word Down(const Word* x, int i, int s) {
    return (x[i] >> s) | (i + 1 < W ? x[i + 1] << (64 - s) : 0);
}
// Bit k of the result is bit k - s of the line.
template <int W>
Word Up(const Word* x, int i, int s) {
    return (x[i] << s) | (i > 0 ? x[i - 1] >> (64 - s) : 0);
}

// Rule 1 (N1) over one line of W words whose modules are the bits of `valid`: a run of L >= 5
// modules of one colour holds L - 4 starts of five alike and scores L - 2, the count of those
// starts plus 2 for the first of them. Starts of five dark and of five light modules never lie
// at the same or at neighbouring positions (they would share modules), so one word holds both
// and a first start is one without a start just before it.
template <int W>
int RunPenalty(const Word* line, const Word* valid) {
    Word light[W], five[W];
    for (int i = 0; i < W; ++i) light[i] = ~line[i] & valid[i];
    for (int i = 0; i < W; ++i)
        five[i] = (line[i] & Down<W>(line, i, 1) & Down<W>(line, i, 2) & Down<W>(line, i, 3) & Down<W>(line, i, 4)) |
                  (light[i] & Down<W>(light, i, 1) & Down<W>(light, i, 2) & Down<W>(light, i, 3) &
                   Down<W>(light, i, 4));
    int score = 0;
    for (int i = 0; i < W; ++i) score += Popcount(five[i]) + 2 * Popcount(five[i] & ~Up<W>(five, i, 1));
    return score;
}

// Rule 3 (N3) over one line of W words: dark, light, three dark, light, dark with four light
// modules after it or before it; modules outside the symbol are light. `finderStarts` has the
// bits of the positions 0 .. size - 8 where such a pattern may start.
template <int W>
int FinderPenalty(const Word* line, const Word* finderStarts) {
    int score = 0;
    for (int i = 0; i < W; ++i) {
        const Word pattern = line[i] & ~Down<W>(line, i, 1) & Down<W>(line, i, 2) & Down<W>(line, i, 3) &
                             Down<W>(line, i, 4) & ~Down<W>(line, i, 5) & Down<W>(line, i, 6) & finderStarts[i];
        if (!pattern) continue;
        const Word after = ~(Down<W>(line, i, 7) | Down<W>(line, i, 8) | Down<W>(line, i, 9) | Down<W>(line, i, 10));
        const Word before = ~(Up<W>(line, i, 1) | Up<W>(line, i, 2) | Up<W>(line, i, 3) | Up<W>(line, i, 4));
        score += 40 * Popcount(pattern & (after | before));
    }
    return score;
}

// Bits 0 .. count - 1 of a line.
void FirstBits(Word* line, int count) {
    for (int i = 0; i < kLineWords; ++i) {
        const int bits = std::clamp(count - 64 * i, 0, 64);
        line[i] = bits == 64 ? ~Word{0} : (Word{1} << bits) - 1;
    }
}

// A symbol of up to 64 * W modules a side as bit lines, by rows and by columns.
template <int W>
struct Lines {
    Word rows[kMaxSize][W];
    Word columns[kMaxSize][W];
};

// The dark modules and the data modules of the symbol before masking.
template <int W>
void ReadLines(const std::uint8_t* cells, int n, Lines<W>& darkLines, Lines<W>& dataLines) {
    for (int r = 0; r < n; ++r) {
        const std::uint8_t* cell = cells + static_cast<std::size_t>(r) * static_cast<std::size_t>(n);
        for (int c = 0; c < n; ++c) {
            const Word dark = cell[c] & 1, data = (cell[c] & kFunction) ? 0 : 1;
            darkLines.rows[r][c / 64] |= dark << (c % 64);
            darkLines.columns[c][r / 64] |= dark << (r % 64);
            dataLines.rows[r][c / 64] |= data << (c % 64);
            dataLines.columns[c][r / 64] |= data << (r % 64);
        }
    }
}

// The symbol under a mask, with the format information for that mask written in.
template <int W>
void MaskLines(const Lines<W>& darkLines, const Lines<W>& dataLines, int n, int mask, std::uint32_t format,
               Lines<W>& masked) {
    for (int k = 0; k < n; ++k) {
        const Word* rowPattern = kMaskPatterns.row[mask][k % 12];
        const Word* columnPattern = kMaskPatterns.column[mask][k % 12];
        for (int i = 0; i < W; ++i) {
            masked.rows[k][i] = darkLines.rows[k][i] ^ (rowPattern[i] & dataLines.rows[k][i]);
            masked.columns[k][i] = darkLines.columns[k][i] ^ (columnPattern[i] & dataLines.columns[k][i]);
        }
    }
    ForEachFormatModule(n, [&](int row, int column, int bit) {
        const Word rowBit = Word{1} << (column % 64), columnBit = Word{1} << (row % 64);
        if ((format >> bit) & 1) {
            masked.rows[row][column / 64] |= rowBit;
            masked.columns[column][row / 64] |= columnBit;
        } else {
            masked.rows[row][column / 64] &= ~rowBit;
            masked.columns[column][row / 64] &= ~columnBit;
        }
    });
}

// Rule 2 (N2): 3 for every 2 x 2 square of one colour, found by rows r and r + 1 agreeing in
// columns c and c + 1 and row r's columns c and c + 1 agreeing. `pairs` has the bits of the
// columns 0 .. size - 2.
template <int W>
int BlockPenalty(const Lines<W>& symbol, int n, const Word* pairs) {
    int squares = 0;
    for (int r = 0; r + 1 < n; ++r) {
        const Word* a = symbol.rows[r];
        const Word* b = symbol.rows[r + 1];
        Word same[W];
        for (int i = 0; i < W; ++i) same[i] = ~(a[i] ^ b[i]);
        for (int i = 0; i < W; ++i)
            squares += Popcount(same[i] & Down<W>(same, i, 1) & ~(a[i] ^ Down<W>(a, i, 1)) & pairs[i]);
    }
    return 3 * squares;
}

// Rule 4 (N4): 10 for every full 5% the share of dark modules lies away from one half.
template <int W>
int BalancePenalty(const Lines<W>& symbol, int n) {
    int dark = 0;
    for (int k = 0; k < n; ++k)
        for (int i = 0; i < W; ++i) dark += Popcount(symbol.rows[k][i]);
    const int p = 100 * dark / (n * n);
    return 10 * (p > 50 ? (p - 50) / 5 : (50 - p) / 5);
}

// The penalty of a masked symbol: rules 1 and 3 over every row and every column, then 2 and 4.
template <int W>
int SymbolPenalty(const Lines<W>& symbol, int n) {
    Word valid[kLineWords], finderStarts[kLineWords], pairs[kLineWords];
    FirstBits(valid, n);
    FirstBits(finderStarts, n - 7);
    FirstBits(pairs, n - 1);
    int score = 0;
    for (int k = 0; k < n; ++k) {
        score += RunPenalty<W>(symbol.rows[k], valid) + FinderPenalty<W>(symbol.rows[k], finderStarts);
        score += RunPenalty<W>(symbol.columns[k], valid) + FinderPenalty<W>(symbol.columns[k], finderStarts);
    }
    return score + BlockPenalty<W>(symbol, n, pairs) + BalancePenalty<W>(symbol, n);
}

template <int W>
std::array<int, 8> Penalties(const std::uint8_t* cells, int n, int levelBits) {
    Lines<W> darkLines = {}, dataLines = {}, masked;
    ReadLines<W>(cells, n, darkLines, dataLines);
    std::array<int, 8> scores{};
    for (int mask = 0; mask < 8; ++mask) {
        MaskLines<W>(darkLines, dataLines, n, mask, FormatWord(levelBits, mask), masked);
        scores[static_cast<std::size_t>(mask)] = SymbolPenalty<W>(masked, n);
    }
    return scores;
}

struct Run {
    char mode;
    int length;
};

std::vector<Run> Runs(const std::string& modes) {
    std::vector<Run> runs;
    for (char m : modes) {
        if (!runs.empty() && runs.back().mode == m)
            ++runs.back().length;
        else
            runs.push_back({m, 1});
    }
    return runs;
}

int VersionClass(int version) { return version <= 9 ? 0 : version <= 26 ? 1 : 2; }

int CountBits(char mode, int version) {
    static const int kBits[3][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}};
    const int m = mode == 'N' ? 0 : mode == 'A' ? 1 : 2;
    return kBits[m][VersionClass(version)];
}

}  // namespace

int EstimateBits(const std::string& modes) {
    int bits = 0, count = 0;
    char previous = 0;
    for (char m : modes) {
        if (m != previous) {
            bits += m == 'A' ? 17 : m == 'B' ? 20 : 18;
            count = 0;
            previous = m;
        }
        if (m == 'B')
            bits += 8;
        else if (m == 'A')
            bits += count % 2 == 0 ? 6 : 5;
        else
            bits += count % 3 == 0 ? 4 : 3;
        ++count;
    }
    return bits;
}

namespace {

void OptimiseModes(std::string& modes, int version) {
    std::vector<Run> runs = Runs(modes);
    const int cls = VersionClass(version);
    const int alphaNextToByte = 7 + cls, numericNextToByte = 3 + cls, numericNextToAlpha = 6 + 2 * cls;
    auto rules = [&](const Run& here, Run& next) {
        if (here.mode == 'B' && ((next.mode == 'A' && next.length < alphaNextToByte) ||
                                 (next.mode == 'N' && next.length < numericNextToByte)))
            next.mode = 'B';
        if (here.mode == 'A' && next.mode == 'N' && next.length < numericNextToAlpha) next.mode = 'A';
    };
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) rules(runs[i], runs[i + 1]);
    for (std::size_t i = runs.size(); i-- > 1;) rules(runs[i], runs[i - 1]);
    std::size_t k = 0;
    for (const Run& r : runs)
        for (int n = 0; n < r.length; ++n) modes[k++] = r.mode;
}

int DataBits(char mode, int count) {
    if (mode == 'B') return 8 * count;
    if (mode == 'A') return 11 * (count / 2) + 6 * (count % 2);
    return 10 * (count / 3) + (count % 3 == 1 ? 4 : count % 3 == 2 ? 7 : 0);
}

int BinaryLength(std::string& modes, int version) {
    OptimiseModes(modes, version);
    int bits = 0;
    for (const Run& r : Runs(modes)) bits += 4 + CountBits(r.mode, version) + DataBits(r.mode, r.length);
    return bits;
}

class BitWriter {
public:
    explicit BitWriter(std::size_t capacityBits) : capacity_(capacityBits), bytes_((capacityBits + 7) / 8, 0) {}
    void put(std::uint32_t value, int bits) {
        // Never past the capacity: the bits that fit are the value's first ones.
        if (length_ + static_cast<std::size_t>(bits) > capacity_) {
            const int room = static_cast<int>(capacity_ - length_);
            value >>= bits - room;
            bits = room;
        }
        for (int b = bits - 1; b >= 0; --b) {
            bytes_[length_ / 8] |= static_cast<std::uint8_t>(((value >> b) & 1) << (7 - length_ % 8));
            ++length_;
        }
    }
    std::size_t length() const { return length_; }
    std::size_t capacity() const { return capacity_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::size_t capacity_;
    std::size_t length_ = 0;
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> BuildBitStream(const std::string& modes, const std::uint8_t* data, int version, int level) {
    const int codewords = DataCodewords(version, level);
    BitWriter w(static_cast<std::size_t>(codewords) * 8);
    std::size_t pos = 0;
    for (const Run& r : Runs(modes)) {
        const std::uint8_t* v = data + pos;
        const int n = r.length;
        pos += static_cast<std::size_t>(n);
        if (r.mode == 'N') {
            w.put(1, 4);
            w.put(static_cast<std::uint32_t>(n), CountBits('N', version));
            int i = 0;
            for (; i + 3 <= n; i += 3)
                w.put(static_cast<std::uint32_t>((v[i] - '0') * 100 + (v[i + 1] - '0') * 10 + (v[i + 2] - '0')), 10);
            if (n - i == 2) w.put(static_cast<std::uint32_t>((v[i] - '0') * 10 + (v[i + 1] - '0')), 7);
            if (n - i == 1) w.put(static_cast<std::uint32_t>(v[i] - '0'), 4);
        } else if (r.mode == 'A') {
            w.put(2, 4);
            w.put(static_cast<std::uint32_t>(n), CountBits('A', version));
            int i = 0;
            for (; i + 2 <= n; i += 2)
                w.put(static_cast<std::uint32_t>(45 * AlphanumericValue(v[i]) + AlphanumericValue(v[i + 1])), 11);
            if (i < n) w.put(static_cast<std::uint32_t>(AlphanumericValue(v[i])), 6);
        } else {
            w.put(4, 4);
            w.put(static_cast<std::uint32_t>(n), CountBits('B', version));
            for (int i = 0; i < n; ++i) w.put(v[i], 8);
        }
    }
    w.put(0, 4);
    if (w.length() % 8) w.put(0, static_cast<int>(8 - w.length() % 8));
    for (bool first = true; w.length() < w.capacity(); first = !first) w.put(first ? 0xEC : 0x11, 8);
    return std::move(w.bytes());
}

std::vector<std::uint8_t> AddEcc(const std::vector<std::uint8_t>& data, int version, int level) {
    const int blocks = Blocks(version, level);
    const int d = DataCodewords(version, level);
    const int t = TotalCodewords(version);
    const int checks = (t - d) / blocks;
    const int shortBlocks = blocks - d % blocks;
    const int shortLength = d / blocks;
    std::vector<std::vector<std::uint8_t>> dataBlocks, checkBlocks;
    RsInitField(0x11D);
    RsInitCode(checks, 0);
    std::size_t pos = 0;
    std::vector<std::uint8_t> check(static_cast<std::size_t>(checks));
    for (int b = 0; b < blocks; ++b) {
        const std::size_t len = static_cast<std::size_t>(shortLength + (b < shortBlocks ? 0 : 1));
        dataBlocks.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(pos),
                                data.begin() + static_cast<std::ptrdiff_t>(pos + len));
        pos += len;
        RsEncode(len, dataBlocks.back().data(), check.data());
        checkBlocks.emplace_back(check.rbegin(), check.rend());  // highest index first
    }
    RsFree();
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(t));
    for (int i = 0; i <= shortLength; ++i)
        for (const auto& blk : dataBlocks)
            if (static_cast<std::size_t>(i) < blk.size()) out.push_back(blk[static_cast<std::size_t>(i)]);
    for (int i = 0; i < checks; ++i)
        for (const auto& blk : checkBlocks) out.push_back(blk[static_cast<std::size_t>(i)]);
    return out;
}

void PlaceData(Grid& g, const std::vector<std::uint8_t>& codewords) {
    const std::size_t total = codewords.size() * 8;
    std::size_t bit = 0;
    const int n = g.size;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int k = 0; k < n; ++k) {
            const int row = upward ? n - 1 - k : k;
            for (int c = 0; c < 2; ++c) {
                const int column = right - c;
                std::uint8_t& cell = g.at(row, column);
                if (cell & kFunction) continue;
                if (bit < total) cell = static_cast<std::uint8_t>((codewords[bit / 8] >> (7 - bit % 8)) & 1);
                ++bit;
            }
        }
    }
}

constexpr int kLevelBits[4] = {1, 0, 3, 2};  // L, M, Q, H

}  // namespace

int TotalCodewords(int version) {
    // Counted once for every version.
    static const std::array<int, 40> totals = [] {
        std::array<int, 40> t{};
        for (int v = 1; v <= 40; ++v) {
            const Grid g = SetupGrid(v);
            int free = 0;
            for (std::uint8_t cell : g.cells) free += (cell & kFunction) ? 0 : 1;
            t[static_cast<std::size_t>(v - 1)] = free / 8;
        }
        return t;
    }();
    return totals[static_cast<std::size_t>(version - 1)];
}

std::vector<std::uint8_t> FunctionPatterns(int version) { return SetupGrid(version).cells; }

std::array<int, 8> MaskPenalties(const std::uint8_t* cells, int size, int levelBits) {
    if (size <= 64) return Penalties<1>(cells, size, levelBits);
    if (size <= 128) return Penalties<2>(cells, size, levelBits);
    return Penalties<3>(cells, size, levelBits);
}

bool EncodeStream(std::span<const std::uint8_t> input, int level, int requestedVersion, Stream& out) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    std::string modes = DefineModes(data, length);
    const int estimate = EstimateBits(modes);
    if (estimate > 8 * DataCodewords(40, level)) return false;
    int version = 1;
    while (8 * DataCodewords(version, level) < estimate) ++version;
    int current = estimate;
    while (version > 1) {
        const bool classChange = VersionClass(version - 1) != VersionClass(version);
        if (classChange) current = BinaryLength(modes, version - 1);
        if (8 * DataCodewords(version - 1, level) < current) {
            if (classChange) current = BinaryLength(modes, version);
            break;
        }
        --version;
    }
    if (requestedVersion >= 1 && requestedVersion <= 40 && requestedVersion > version) {
        version = requestedVersion;
        current = BinaryLength(modes, version);
    }
    // The optimised modes can cost a few bits more than the estimate they were sized by:
    // take a larger version rather than cut the data.
    while (current > 8 * DataCodewords(version, level)) {
        if (version == 40) return false;
        ++version;
        current = BinaryLength(modes, version);
    }
    for (int raised = 1; raised <= 3; ++raised)
        if (raised > level && current <= 8 * DataCodewords(version, raised)) level = raised;

    out.version = version;
    out.level = level;
    out.data = BuildBitStream(modes, data, version, level);
    return true;
}

}  // namespace qr

int EncodeQRCode(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    using namespace qr;
    rec.fontText[0] = 0;
    Stream stream;
    if (!EncodeStream(input, (rec.option1 >= 1 && rec.option1 <= 4) ? rec.option1 - 1 : 0, rec.option2, stream))
        return Fail(rec, kDataTooLong, "Data too long for selected ECC level");
    const int version = stream.version, level = stream.level;
    Grid grid = SetupGrid(version);
    PlaceData(grid, AddEcc(stream.data, version, level));

    // The first mask with the lowest penalty.
    const std::array<int, 8> scores = MaskPenalties(grid.cells.data(), grid.size, kLevelBits[level]);
    const int bestMask = static_cast<int>(std::min_element(scores.begin(), scores.end()) - scores.begin());
    ApplyMask(grid, bestMask);
    WriteFormat(grid, FormatWord(kLevelBits[level], bestMask));
    if (version >= 7) WriteVersion(grid, version);

    const int size = grid.size;
    rec.rows = rec.width = size;
    for (int r = 0; r < size; ++r) {
        rec.rowHeights[r] = 1;
        for (int c = 0; c < size; ++c) {
            std::uint8_t& module = rec.modules[r][c];  // set dark modules, leave the others
            module = module ? module : static_cast<std::uint8_t>(grid.at(r, c) & 1);
        }
    }
    return FinishBandText(rec, call.CrLf(true), ModuleForm::Byte, kSuccess);
}

}  // namespace matrix
