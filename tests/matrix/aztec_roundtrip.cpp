// Aztec symbols read back by the independent decoder, every size and level, with exactly the
// correctable number of codewords corrupted.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/reader.h"
#include "support/encode_texts.h"

using namespace matrix;
using namespace testing_support;

namespace {

struct Case {
    std::string name;
    std::string data;
    int level;
    int size;
    bool corrupt = true;
    // The reader takes fill bits of 1 that spell B/S and a length as a last binary run and
    // adds bytes after the data; only the data is compared.
    bool fillRun = false;
};

// Full-range symbols have a dark finder ring 6 modules from the centre; compact ones have data there.
bool IsCompact(const Matrix& m) {
    const int c = static_cast<int>(m.size()) / 2;
    for (int d = -6; d <= 6; ++d)
        if (!m[c - 6][c + d] || !m[c + 6][c + d] || !m[c + d][c - 6] || !m[c + d][c + 6]) return true;
    return false;
}

// Flips one bit of each of the first (check codewords / 2) codewords of the symbol.
void Corrupt(Matrix& m, bool compact) {
    const int side = static_cast<int>(m.size());
    const int mapSide = compact ? kAztecCompactSide : kAztecFullSide;
    const int* map = compact ? AztecCompactMap() : AztecFullMap();
    const int offset = (mapSide - side) / 2;
    // Mode message bits straight from the symbol.
    std::vector<int> mode(40);
    int total = 0;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const int v = map[(r + offset) * mapSide + c + offset];
            if (v >= kAztecModeBit) mode[static_cast<std::size_t>(v - kAztecModeBit)] = m[r][c];
            else if (v >= kAztecDataBit) ++total;
        }
    auto field = [&](int from, int n) {
        int x = 0;
        for (int i = 0; i < n; ++i) x = x * 2 + mode[static_cast<std::size_t>(from + i)];
        return x;
    };
    const int layers = compact ? field(0, 2) + 1 : field(0, 5) + 1;
    const int dataWords = compact ? field(2, 6) + 1 : field(5, 11) + 1;
    const int w = layers <= 2 ? 6 : (layers <= 8 ? 8 : (layers <= 22 ? 10 : 12));
    const int words = total / w;
    const int flips = (words - dataWords) / 2;
    const int pad = total % w;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const int v = map[(r + offset) * mapSide + c + offset];
            if (v < kAztecDataBit || v >= kAztecModeBit) continue;
            const int streamBit = total - 1 - (v - kAztecDataBit) - pad;
            if (streamBit >= 0 && streamBit % w == 0 && streamBit / w < flips) m[r][c] = !m[r][c];
        }
}

void RoundTrip(const std::vector<Case>& cases) {
    REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    std::vector<Image> images;
    for (const auto& c : cases) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = c.level;
        rec->option2 = c.size;
        const int r = EncodeAztec(*rec, AsBytes(c.data), Call::Server(false));
        ASSERT_EQ(r, kSuccess) << c.name << ": " << rec->errorText;
        auto m = BandTextToMatrix(rec->fontText, rec->rows);
        ASSERT_TRUE(m) << c.name;
        if (c.corrupt) Corrupt(*m, IsCompact(*m));
        images.push_back(RenderMatrix(*m, 3, 4));
    }
    const auto results = ReadBarcodes(images, {"Aztec", true});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(results[i].found) << cases[i].name;
        std::string got = results[i].bytes;
        // The reader may read the fill bits after a maximal binary run as one more run.
        if (cases[i].fillRun && got.size() > cases[i].data.size()) got.resize(cases[i].data.size());
        EXPECT_EQ(got, cases[i].data) << cases[i].name;
    }
}

// Text of every mode: upper, lower, mixed, punctuation, digits, bytes.
std::string Mixed(std::size_t n) {
    static const std::string kPattern =
        "AZTEC Code 2024: 12345, 678.9! lower case\r\nMIXED @\\^_`|~\x7f\x01 (P) {x} "
        "\xe9\xff\x80 DIGITS 000 ;<=>?";
    std::string s;
    while (s.size() < n) s += kPattern;
    s.resize(n);
    return s;
}

// The longest prefix of Mixed() that a chosen size takes.
std::string Fill(int size) {
    std::size_t lo = 1, hi = 2100;
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        auto rec = std::make_unique<SymbolRecord>();
        rec->option2 = size;
        const std::string d = Mixed(mid);
        if (EncodeAztec(*rec, AsBytes(d), Call::Server(false)) == kSuccess) lo = mid;
        else hi = mid - 1;
    }
    return Mixed(lo);
}

TEST(AztecRoundTrip, EverySizeFilled) {
    std::vector<Case> cases;
    for (int size = 1; size <= 36; ++size)
        cases.push_back({"size " + std::to_string(size), Fill(size), 0, size});
    RoundTrip(cases);
}

TEST(AztecRoundTrip, EveryLevel) {
    std::vector<Case> cases;
    for (int level = 1; level <= 19; ++level)
        cases.push_back({"level " + std::to_string(level), Mixed(40 + 13 * level), level, 0});
    RoundTrip(cases);
}

TEST(AztecRoundTrip, BinaryRunsAndModeChanges) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::vector<Case> cases = {
        {"31 bytes", std::string(31, '\x80'), 1, 0},
        {"32 bytes", std::string(32, '\xfe'), 1, 0},
        {"2078 bytes", std::string(2078, '\xa5'), 1, 0, true, true},
        {"bytes 0 to 255", all, 1, 0},
        {"controls outside every mode", std::string("A\x00\x0e\x1a" "B", 5), 1, 0},
        // Every latch and shift of the mode table.
        {"upper lower", "ABCabcABC", 1, 0},
        {"short upper in lower", "abcAbcdeABdef", 1, 0},
        {"upper mixed", "AB@@@CD^^^", 1, 0},
        {"lower mixed lower", "ab@@@cd", 1, 0},
        {"upper punct", "AB!!!CD", 1, 0},
        {"lower punct", "ab!!!cd", 1, 0},
        {"mixed punct", "@@@!!!@@@", 1, 0},
        {"short punct", "AB!CD!ab;cd", 1, 0},
        {"digit to all", "123abc456ABC789@@@012!!!345\xff" "678 9,1.2", 1, 0},
        {"punct to digit and lower", "!!!123!!!abc!!!@@@!!!\x80", 1, 0},
        {"mixed digit", "@@@123", 1, 0},
        {"pairs", "A. B, C: D\r\nE\r\r.,:", 1, 0},
        {"short upper in digit", "123A456", 1, 0},
        {"binary from every mode", "A\xe0" "b\xe1@@@\xe2!!!\xe3" "123\xe4", 1, 0},
    };
    RoundTrip(cases);
}

}  // namespace
