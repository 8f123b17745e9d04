// The QR Code mask penalties against a plain module-by-module scorer of the ISO/IEC 18004
// rules, over generated symbols of every version.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "qrcode.h"
#include "support/qr_masks.h"

namespace {

using Cells = std::vector<std::uint8_t>;

// The masked symbol with its format information, one bool a module (true dark).
std::vector<std::vector<bool>> Masked(const Cells& cells, int n, int levelBits, int mask) {
    std::vector<std::vector<bool>> m(static_cast<std::size_t>(n), std::vector<bool>(static_cast<std::size_t>(n)));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const std::uint8_t v = cells[static_cast<std::size_t>(i * n + j)];
            bool dark = (v & 1) != 0;
            if (!(v & matrix::qr::kFunctionModule) && testing_support::QrMaskInverts(mask, i, j)) dark = !dark;
            m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = dark;
        }
    // Format bits 14 .. 0 around the upper-left finder, then along the upper-right and lower-left.
    const std::uint32_t word = matrix::qr::FormatWord(levelBits, mask);
    const int first[15][2] = {{0, 8}, {1, 8}, {2, 8}, {3, 8}, {4, 8}, {5, 8}, {7, 8}, {8, 8},
                              {8, 7}, {8, 5}, {8, 4}, {8, 3}, {8, 2}, {8, 1}, {8, 0}};
    for (int bit = 0; bit < 15; ++bit) {
        const bool dark = (word >> bit) & 1;
        m[static_cast<std::size_t>(first[bit][0])][static_cast<std::size_t>(first[bit][1])] = dark;
        if (bit < 8) m[8][static_cast<std::size_t>(n - 1 - bit)] = dark;
        else m[static_cast<std::size_t>(n - 15 + bit)][8] = dark;
    }
    return m;
}

int Penalty(const std::vector<std::vector<bool>>& m) {
    const int n = static_cast<int>(m.size());
    auto at = [&](bool columns, int line, int k) {
        return columns ? m[static_cast<std::size_t>(k)][static_cast<std::size_t>(line)]
                       : m[static_cast<std::size_t>(line)][static_cast<std::size_t>(k)];
    };
    int score = 0;
    for (bool columns : {false, true})
        for (int line = 0; line < n; ++line) {
            // Rule 1: N1 + (length - 5) for each run of five or more alike.
            for (int k = 0; k < n;) {
                int end = k;
                while (end < n && at(columns, line, end) == at(columns, line, k)) ++end;
                if (end - k >= 5) score += 3 + (end - k - 5);
                k = end;
            }
            // Rule 3: 1:1:3:1:1 with four light modules on one side, outside the symbol light.
            auto light = [&](int from, int to) {
                for (int k = from; k < to; ++k)
                    if (k >= 0 && k < n && at(columns, line, k)) return false;
                return true;
            };
            for (int s = 0; s <= n - 8; ++s) {
                static const bool kFinder[7] = {true, false, true, true, true, false, true};
                bool match = true;
                for (int k = 0; k < 7; ++k) match = match && at(columns, line, s + k) == kFinder[k];
                if (match && (light(s - 4, s) || light(s + 7, s + 11))) score += 40;
            }
        }
    // Rule 2: each 2 x 2 block of one colour.
    for (int i = 0; i + 1 < n; ++i)
        for (int j = 0; j + 1 < n; ++j) {
            const bool v = m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j + 1)] == v &&
                m[static_cast<std::size_t>(i + 1)][static_cast<std::size_t>(j)] == v &&
                m[static_cast<std::size_t>(i + 1)][static_cast<std::size_t>(j + 1)] == v)
                score += 3;
        }
    // Rule 4: 10 points for each full 5 % the dark share lies away from 50 %.
    int dark = 0;
    for (const auto& row : m)
        for (bool v : row) dark += v;
    const int percent = 100 * dark / (n * n);
    return score + 10 * ((percent > 50 ? percent - 50 : 50 - percent) / 5);
}

// Data modules filled in one of several styles: even odds, mostly light, mostly dark, long
// runs, and finder-like patterns (four light modules before) strewn over random data.
Cells Fill(int version, int style, std::mt19937& rng) {
    Cells cells = matrix::qr::FunctionPatterns(version);
    const int n = 17 + 4 * version;
    static const int kFinder[11] = {0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 1};
    int run = 0, colour = 0, finderAt = -1;
    for (int i = 0; i < n * n; ++i) {
        // Odd versions take the finder-like patterns down the columns.
        const int at = style == 4 && version % 2 ? (i % n) * n + i / n : i;
        std::uint8_t& v = cells[static_cast<std::size_t>(at)];
        if (v & matrix::qr::kFunctionModule) continue;
        int dark;
        switch (style) {
            case 0: dark = static_cast<int>(rng() % 2); break;
            case 1: dark = rng() % 10 == 0; break;
            case 2: dark = rng() % 10 != 0; break;
            case 3:
                if (run-- <= 0) {
                    run = static_cast<int>(rng() % 12);
                    colour ^= 1;
                }
                dark = colour;
                break;
            default:
                if (finderAt < 0 && rng() % 40 == 0) finderAt = 0;
                dark = finderAt >= 0 ? kFinder[finderAt++] : static_cast<int>(rng() % 2);
                if (finderAt == 11) finderAt = -1;
                break;
        }
        v = static_cast<std::uint8_t>(dark);
    }
    return cells;
}

TEST(QrMaskPenalty, MatchesModuleByModuleScoring) {
    std::mt19937 rng(18004);
    for (int version = 1; version <= 40; ++version) {
        const int n = 17 + 4 * version;
        for (int style = 0; style < 5; ++style) {
            const Cells cells = Fill(version, style, rng);
            const int levelBits = (version + style) % 4;
            const std::array<int, 8> scores = matrix::qr::MaskPenalties(cells.data(), n, levelBits);
            for (int mask = 0; mask < 8; ++mask)
                ASSERT_EQ(scores[static_cast<std::size_t>(mask)], Penalty(Masked(cells, n, levelBits, mask)))
                    << "version " << version << " style " << style << " mask " << mask;
        }
    }
}

}  // namespace
