// Aztec symbols read back by the independent decoder, every size and level, with exactly the
// correctable number of codewords corrupted.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/reader.h"

using namespace matrix;
using namespace testing_support;

namespace {

struct Case {
    std::string name;
    std::string data;
    int level;
    int size;
    bool corrupt = true;
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
    if (!ReaderAvailable()) GTEST_SKIP() << "no reader";
    std::vector<Image> images;
    for (const auto& c : cases) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = c.level;
        rec->option2 = c.size;
        const int r = EncodeAztec(*rec, reinterpret_cast<const std::uint8_t*>(c.data.data()), c.data.size(), false);
        ASSERT_EQ(r, kSuccess) << c.name << ": " << rec->errorText;
        auto m = BandTextToMatrix(rec->fontText, rec->rows);
        ASSERT_TRUE(m) << c.name;
        if (c.corrupt) Corrupt(*m, IsCompact(*m));
        images.push_back(RenderMatrix(*m, 3, 4));
    }
    const auto results = ReadBarcodes(images, {"Aztec", true});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(results[i].found) << cases[i].name;
        EXPECT_EQ(results[i].bytes, cases[i].data) << cases[i].name;
    }
}

TEST(AztecRoundTrip, Quick) {
    RoundTrip({{"hello", "HELLO WORLD", 1, 0, false}, {"hello2", "Hello, World! 123", 1, 0, false}});
}

}  // namespace
