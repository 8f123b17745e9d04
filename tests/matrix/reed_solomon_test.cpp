#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "reed_solomon.h"

using namespace matrix;

namespace {

// Multiplication in GF(2^m) by shift and add, independent of the coder's tables.
int SlowMultiply(int a, int b, int poly, int m) {
    int r = 0;
    while (b) {
        if (b & 1) r ^= a;
        b >>= 1;
        a <<= 1;
        if (a & (1 << m)) a ^= poly;
    }
    return r;
}

// Evaluates the codeword (data then checks, highest power first) at x.
int Evaluate(const std::vector<int>& word, int x, int poly, int m) {
    int r = 0;
    for (int c : word) r = SlowMultiply(r, x, poly, m) ^ c;
    return r;
}

TEST(ReedSolomon, GeneratorOfQrField) {
    // x^2 + 3x + 2 has the roots 1 and 2: encoding [1] gives the remainder of x^2 by it.
    RsInitField(0x11D);
    RsInitCode(2, 0);
    const std::uint8_t data[] = {1};
    std::uint8_t check[2];
    RsEncode(1, data, check);
    // x^2 mod (x^2 + 3x + 2) = 3x + 2: result[1] = 3 follows the data first.
    EXPECT_EQ(check[1], 3);
    EXPECT_EQ(check[0], 2);
    RsFree();
}

TEST(ReedSolomon, DataMatrixExampleOfIso16022) {
    // "123456" in a 10 x 10 symbol: data 142 164 186, five check codewords.
    RsInitField(0x12D);
    RsInitCode(5, 1);
    const std::uint8_t data[] = {142, 164, 186};
    std::uint8_t check[5];
    RsEncode(3, data, check);
    const int expected[] = {114, 25, 5, 88, 102};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(check[4 - i], expected[i]) << i;
    RsFree();
}

TEST(ReedSolomon, CodewordsVanishAtTheRootsInEveryField) {
    struct Field {
        int poly, m, first;
    };
    for (const Field f : {Field{0x12D, 8, 1}, Field{0x11D, 8, 0}, Field{0x43, 6, 1},
                          Field{0x409, 10, 1}, Field{0x1069, 12, 1}, Field{0x13, 4, 1}}) {
        RsInitField(f.poly);
        const int n = 7;
        RsInitCode(n, f.first);
        std::vector<std::uint32_t> data;
        for (int i = 0; i < 20; ++i) data.push_back(static_cast<std::uint32_t>((i * 37 + 11) % (1 << f.m)));
        std::vector<std::uint32_t> check(n);
        RsEncodeLong(data.size(), data.data(), check.data());
        std::vector<int> word(data.begin(), data.end());
        for (int k = n - 1; k >= 0; --k) word.push_back(static_cast<int>(check[k]));
        int alpha = 1;
        for (int j = 0; j < f.first; ++j) alpha = SlowMultiply(alpha, 2, f.poly, f.m);
        for (int j = 0; j < n; ++j) {
            EXPECT_EQ(Evaluate(word, alpha, f.poly, f.m), 0) << "field " << f.poly << " root " << j;
            alpha = SlowMultiply(alpha, 2, f.poly, f.m);
        }
        // All-zero data gives all-zero checks.
        std::vector<std::uint32_t> zeros(5, 0), zc(n, 99);
        RsEncodeLong(zeros.size(), zeros.data(), zc.data());
        for (auto c : zc) EXPECT_EQ(c, 0u);
        RsFree();
    }
}

// The tables outlive each encode: fields and generators of every size, taken up again in any
// order, still give codewords that vanish at their roots.
TEST(ReedSolomon, CodesTakenUpAgainInAnyOrder) {
    struct Field {
        int poly, m, first;
    };
    const Field fields[] = {{0x12D, 8, 1}, {0x11D, 8, 0}, {0x43, 6, 1}, {0x409, 10, 1}, {0x1069, 12, 1}, {0x13, 4, 1}};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const Field& f = fields[rng() % 6];
        const int q = (1 << f.m) - 1;
        const int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::min(q - 1, round % 3 ? 40 : 600)));
        const int length = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::max(1, q - n)));
        RsInitField(f.poly);
        RsInitCode(n, f.first);
        std::vector<std::uint32_t> data(static_cast<std::size_t>(std::min(length, 300)));
        for (auto& d : data) d = rng() % 4 == 0 ? 0 : static_cast<std::uint32_t>(rng() % static_cast<unsigned>(q + 1));
        std::vector<std::uint32_t> check(static_cast<std::size_t>(n));
        RsEncodeLong(data.size(), data.data(), check.data());
        RsFree();
        std::vector<int> word(data.begin(), data.end());
        for (int k = n - 1; k >= 0; --k) word.push_back(static_cast<int>(check[static_cast<std::size_t>(k)]));
        int alpha = 1;
        for (int j = 0; j < f.first; ++j) alpha = SlowMultiply(alpha, 2, f.poly, f.m);
        for (int j = 0; j < n; ++j) {
            ASSERT_EQ(Evaluate(word, alpha, f.poly, f.m), 0) << "field " << f.poly << " n " << n << " root " << j;
            alpha = SlowMultiply(alpha, 2, f.poly, f.m);
        }
        // The byte form agrees with the wide one.
        if (f.m <= 8) {
            std::vector<std::uint8_t> bytes(data.begin(), data.end()), byteCheck(static_cast<std::size_t>(n));
            RsInitField(f.poly);
            RsInitCode(n, f.first);
            RsEncode(bytes.size(), bytes.data(), byteCheck.data());
            RsFree();
            for (int k = 0; k < n; ++k)
                ASSERT_EQ(byteCheck[static_cast<std::size_t>(k)], check[static_cast<std::size_t>(k)]);
        }
    }
}

}  // namespace
