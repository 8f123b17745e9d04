#include "micro_qr.h"

#include <string>
#include <vector>

#include "qrcode.h"
#include "reed_solomon.h"

namespace matrix {

namespace microqr {
std::uint32_t FormatWord(int symbolNumber, int mask) {
    return qr::Bch15(static_cast<std::uint32_t>(symbolNumber * 4 + mask)) ^ 0x4445u;
}
}  // namespace microqr

namespace {

enum { kL = 0, kM = 1, kQ = 2 };

// Indexed by version 0..3 (M1..M4).
constexpr int kCountBits[3][4] = {{3, 4, 5, 6}, {0, 3, 4, 5}, {0, 0, 4, 5}};  // N, A, B
constexpr int kHeaderBits[3][4] = {{3, 5, 7, 9}, {0, 4, 6, 8}, {0, 0, 6, 8}};
constexpr int kTerminator[4] = {3, 5, 7, 9};
// Data bits and check words by version and level L, M, Q (0 where the level does not exist).
constexpr int kDataBits[4][3] = {{20, 0, 0}, {40, 32, 0}, {84, 68, 0}, {128, 112, 80}};
constexpr int kCheckWords[4][3] = {{2, 0, 0}, {5, 6, 0}, {6, 8, 0}, {8, 10, 14}};
constexpr int kSymbolNumber[4][3] = {{0, 0, 0}, {1, 2, 0}, {3, 4, 0}, {5, 6, 7}};

int ModeIndex(char mode) { return mode == 'N' ? 0 : mode == 'A' ? 1 : 2; }

struct Run {
    char mode;
    int length;
    std::string bits;  // the run's data bits as '0' and '1'
};

void AppendBits(std::string& s, int value, int count) {
    for (int b = count - 1; b >= 0; --b) s += ((value >> b) & 1) ? '1' : '0';
}

bool Dark(int mask, int i, int j) {
    switch (mask) {
        case 0: return i % 2 == 0;
        case 1: return (i / 2 + j / 3) % 2 == 0;
        case 2: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

// The mode letters of QR Code; all letters 'A' when every value is alphanumeric, all
// 'N' when every value is a digit.
std::string MicroQRModes(const std::uint8_t* data, std::size_t length) {
    std::string modes = qr::DefineModes(data, length);
    bool allAlpha = true, allDigits = true;
    for (std::size_t i = 0; i < length; ++i) {
        if (qr::AlphanumericValue(data[i]) < 0) allAlpha = false;
        if (data[i] < '0' || data[i] > '9') allDigits = false;
    }
    if (allAlpha) modes.assign(length, 'A');
    if (allDigits) modes.assign(length, 'N');
    return modes;
}

// The data bits of one run.
void RunBits(Run& run, const std::uint8_t* v) {
    const int n = run.length;
    if (run.mode == 'N') {
        int k = 0;
        for (; k + 3 <= n; k += 3) AppendBits(run.bits, (v[k] - '0') * 100 + (v[k + 1] - '0') * 10 + (v[k + 2] - '0'), 10);
        if (n - k == 2) AppendBits(run.bits, (v[k] - '0') * 10 + (v[k + 1] - '0'), 7);
        if (n - k == 1) AppendBits(run.bits, v[k] - '0', 4);
    } else if (run.mode == 'A') {
        int k = 0;
        for (; k + 2 <= n; k += 2) AppendBits(run.bits, 45 * qr::AlphanumericValue(v[k]) + qr::AlphanumericValue(v[k + 1]), 11);
        if (k < n) AppendBits(run.bits, qr::AlphanumericValue(v[k]), 6);
    } else {
        for (int k = 0; k < n; ++k) AppendBits(run.bits, v[k], 8);
    }
}

// The runs with their data bits; false when the intermediate stream (letter, length,
// bits) would pass 128 characters.
bool MicroQRBitStream(const std::uint8_t* data, std::size_t length, const std::string& modes,
                      std::vector<Run>& runs) {
    std::size_t streamLength = 0;
    for (std::size_t i = 0; i < length;) {
        std::size_t j = i;
        while (j < length && modes[j] == modes[i]) ++j;
        Run run{modes[i], static_cast<int>(j - i), {}};
        if (streamLength + 2 > 128) return false;
        RunBits(run, data + i);
        streamLength += 2 + run.bits.size();
        if (streamLength > 128) return false;
        runs.push_back(std::move(run));
        i = j;
    }
    return true;
}

bool HasMode(const std::vector<Run>& runs, char mode) {
    for (const Run& r : runs)
        if (r.mode == mode) return true;
    return false;
}

// The version (0 .. 3 for M1 .. M4) and the level; 0, or the result of a
// failure already written into the record.
int ChooseVersion(SymbolRecord& rec, const std::vector<Run>& runs, int& version, int& level) {
    int bits[4] = {0, 0, 0, 0};
    for (const Run& r : runs)
        for (int v = 0; v < 4; ++v) bits[v] += static_cast<int>(r.bits.size()) + kHeaderBits[ModeIndex(r.mode)][v];

    bool allowed[4] = {true, true, true, true};
    if (HasMode(runs, 'B')) allowed[0] = allowed[1] = false;
    if (HasMode(runs, 'A')) allowed[0] = false;
    if (bits[0] > 20) allowed[0] = false;
    if (bits[1] > 40) allowed[1] = false;
    if (bits[2] > 84) allowed[2] = false;
    if (bits[3] > 128) return Fail(rec, kDataTooLong, "data too long");

    level = (rec.option1 >= 1 && rec.option1 <= 4) ? rec.option1 - 1 : kL;
    if (level == 3) return Fail(rec, kInvalidOption, "Error correction level H not available");
    if (level == kQ) {
        allowed[0] = allowed[1] = allowed[2] = false;
        if (bits[3] > 80) return Fail(rec, kDataTooLong, "data too long");
    }
    if (level == kM) {
        allowed[0] = false;
        if (bits[1] > 32) allowed[1] = false;
        if (bits[2] > 68) allowed[2] = false;
        if (bits[3] > 112) return Fail(rec, kDataTooLong, "data too long");
    }

    version = 3;
    for (int v = 3; v >= 0; --v)
        if (allowed[v]) version = v;
    if (rec.option2 >= 1 && rec.option2 <= 4 && rec.option2 - 1 >= version) version = rec.option2 - 1;

    if (version == 3) {
        if (bits[3] <= 112 && level < kM) level = kM;
        if (bits[3] <= 80 && level < kQ) level = kQ;
    } else if (version == 2) {
        if (bits[2] <= 68 && level < kM) level = kM;
    } else if (version == 1) {
        if (bits[1] <= 32 && level < kM) level = kM;
    }
    if (version == 0) level = kL;
    return 0;
}

// The full bit string of the version.
std::string MicroQRExpandBits(const std::vector<Run>& runs, int version) {
    std::string stream;
    for (const Run& r : runs) {
        const int m = ModeIndex(r.mode);
        AppendBits(stream, m, version);  // mode indicator 0, 1 or 2 in as many bits as the version index
        AppendBits(stream, r.length, kCountBits[m][version]);
        stream += r.bits;
    }
    return stream;
}

// Terminator, padding to the capacity, and the check words after the data codewords
// (a 4-bit last one in its high half): the final bit string.
std::string MicroQRCompleteVersion(std::string stream, int version, int level) {
    const std::size_t capacity = static_cast<std::size_t>(kDataBits[version][level]);
    for (int k = 0; k < kTerminator[version] && stream.size() < capacity; ++k) stream += '0';
    while (stream.size() % 8 && stream.size() < capacity) stream += '0';
    for (bool first = true; stream.size() + 8 <= capacity; first = !first) stream += first ? "11101100" : "00010001";
    while (stream.size() < capacity) stream += '0';  // the 4-bit last codeword of M1 and M3

    const std::size_t dataWords = (capacity + 7) / 8;
    std::vector<std::uint8_t> words(dataWords, 0);
    for (std::size_t b = 0; b < capacity; ++b)
        if (stream[b] == '1') words[b / 8] |= static_cast<std::uint8_t>(0x80 >> (b % 8));
    const int checks = kCheckWords[version][level];
    std::vector<std::uint8_t> check(static_cast<std::size_t>(checks));
    RsInitField(0x11D);
    RsInitCode(checks, 0);
    RsEncode(dataWords, words.data(), check.data());
    RsFree();
    // Only the data bits the symbol holds are placed: the high half of a 4-bit last codeword.
    for (int k = checks - 1; k >= 0; --k) AppendBits(stream, check[static_cast<std::size_t>(k)], 8);
    return stream;
}

// The symbol's modules: bit 0 colour, 16 a function module.
struct Grid {
    explicit Grid(int n) : size(n), cells(static_cast<std::size_t>(n * n), 0) {}
    std::uint8_t& at(int r, int c) { return cells[static_cast<std::size_t>(r * size + c)]; }
    int size;
    std::vector<std::uint8_t> cells;
};

// Finder with its separator, timing patterns, the format area reserved.
Grid MicroQRSetupGrid(int version) {
    Grid g(11 + 2 * version);
    for (int r = 0; r <= 7; ++r)
        for (int c = 0; c <= 7; ++c) {
            const bool inside = r <= 6 && c <= 6;
            const bool dark = inside && (r == 0 || r == 6 || c == 0 || c == 6 || (r >= 2 && r <= 4 && c >= 2 && c <= 4));
            g.at(r, c) = static_cast<std::uint8_t>(16 | (dark ? 1 : 0));
        }
    for (int i = 8; i < g.size; ++i) {
        g.at(0, i) = static_cast<std::uint8_t>(16 | (i % 2 == 0 ? 1 : 0));
        g.at(i, 0) = static_cast<std::uint8_t>(16 | (i % 2 == 0 ? 1 : 0));
    }
    for (int i = 1; i <= 8; ++i) g.at(8, i) = 16;
    for (int i = 1; i <= 7; ++i) g.at(i, 8) = 16;
    return g;
}

// The bits in pairs of columns from the right edge, up and down in turn.
void PlaceBits(Grid& g, const std::string& placed) {
    const int size = g.size;
    std::size_t bit = 0;
    bool upward = true;
    for (int right = size - 1; right >= 1; right -= 2) {
        for (int k = 0; k < size; ++k) {
            const int row = upward ? size - 1 - k : k;
            for (int c = 0; c < 2; ++c) {
                const int column = right - c;
                if (g.at(row, column) & 16) continue;
                if (bit < placed.size() && placed[bit] == '1') g.at(row, column) = 1;
                ++bit;
            }
        }
        upward = !upward;
    }
}

// The mask with the highest score (dark modules of the right column and the bottom
// row), applied; returns it.
int MicroQRChooseMask(Grid& g) {
    const int size = g.size;
    int bestMask = 0, bestScore = -1;
    for (int mask = 0; mask < 4; ++mask) {
        int sum1 = 0, sum2 = 0;
        for (int i = 1; i < size; ++i) {
            const int right = size - 1;
            auto masked = [&](int r, int c) {
                const int v = g.at(r, c) & 1;
                return (!(g.at(r, c) & 16) && Dark(mask, r, c)) ? v ^ 1 : v;
            };
            sum1 += masked(i, right);
            sum2 += masked(right, i);
        }
        const int score = sum1 <= sum2 ? 16 * sum1 + sum2 : 16 * sum2 + sum1;
        if (score > bestScore) {
            bestScore = score;
            bestMask = mask;
        }
    }
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            if (!(g.at(r, c) & 16) && Dark(bestMask, r, c)) g.at(r, c) ^= 1;
    return bestMask;
}

// The format word on row 8 and column 8.
void WriteFormat(Grid& g, std::uint32_t word) {
    auto fbit = [&](int i) { return static_cast<std::uint8_t>(16 | ((word >> i) & 1)); };
    for (int c = 1; c <= 8; ++c) g.at(8, c) = fbit(15 - c);  // bit 14 at column 1 .. bit 7 at column 8
    for (int r = 1; r <= 7; ++r) g.at(r, 8) = fbit(r - 1);   // bit 6 at row 7 .. bit 0 at row 1
}

}  // namespace

int EncodeMicroQRCode(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    if (length >= 36) return Fail(rec, kDataTooLong, "Input data too long");

    std::vector<Run> runs;
    if (!MicroQRBitStream(data, length, MicroQRModes(data, length), runs))
        return Fail(rec, kDataTooLong, "Input data too long");
    int version = 0, level = kL;
    if (const int r = ChooseVersion(rec, runs, version, level)) return r;

    Grid g = MicroQRSetupGrid(version);
    PlaceBits(g, MicroQRCompleteVersion(MicroQRExpandBits(runs, version), version, level));
    const int mask = MicroQRChooseMask(g);
    WriteFormat(g, microqr::FormatWord(kSymbolNumber[version][level], mask));

    rec.rows = rec.width = g.size;
    for (int r = 0; r < g.size; ++r) {
        rec.rowHeights[r] = 1;
        for (int c = 0; c < g.size; ++c)
            if (g.at(r, c) & 1) SetModuleByte(rec, r, c);
    }
    return FinishBandText(rec, call.CrLf(true), ModuleForm::Byte, kSuccess);
}

}  // namespace matrix
