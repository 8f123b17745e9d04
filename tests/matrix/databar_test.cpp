// 112-bit arithmetic, DataBar failures and edge cases, and a test-side DataBar Limited
// reader (widths back to character values, checksum and check character verified).
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "binary112.h"
#include "databar.h"
#include "matrix/databar_font.h"
#include "support/tables.h"

using namespace matrix;

namespace {

std::span<const std::uint8_t> B(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
// DataBar output has no line ends to choose.
constexpr Call kServer = Call::Server(false);

unsigned long long Value(const BinaryNumber112& n) {
    unsigned long long v = 0;
    for (int i = 63; i >= 0; --i) v = v * 2 + n.digit[i];
    return v;
}

TEST(Binary112, LoadAddSubtractShiftCompare) {
    BinaryNumber112 a, b;
    BinaryLoadDecimal(a, B("4537077").data(), 7);
    EXPECT_EQ(Value(a), 4537077u);
    BinaryLoadDecimal(b, B("0000000000000").data(), 13);
    EXPECT_EQ(Value(b), 0u);
    BinaryNumber112 all;
    for (auto& d : all.digit) d = 1;
    BinaryNumber112 one{};
    one.digit[0] = 1;
    BinaryAdd(all, one);
    for (auto d : all.digit) EXPECT_EQ(d, 0);
    BinarySubtract(all, one);
    for (auto d : all.digit) EXPECT_EQ(d, 1);
    BinaryNumber112 c = a;
    BinarySubtract(c, a);
    EXPECT_EQ(Value(c), 0u);
    EXPECT_EQ(BinaryIsLarger(a, a), 0);
    BinaryNumber112 high = a;
    high.digit[104] = 1;
    EXPECT_EQ(BinaryIsLarger(high, a), 0);
    BinaryNumber112 top{};
    top.digit[102] = 1;
    BinaryShiftUp(top);
    for (auto d : top.digit) EXPECT_EQ(d, 0);
    top.digit[103] = 1;
    BinaryShiftDown(top);
    for (auto d : top.digit) EXPECT_EQ(d, 0);
    top.digit[102] = 1;
    top.digit[1] = 1;
    BinaryShiftDown(top);
    EXPECT_EQ(Value(top), 1u);
    for (int i = 64; i < 112; ++i) EXPECT_EQ(top.digit[i], 0) << i;
}

int Encode(SymbolRecord& rec, const std::string& s) { return EncodeDatabar(rec, B(s), kServer); }

TEST(Databar, FailuresAndEdgeCases) {
    SymbolRecord rec{};
    EXPECT_EQ(Encode(rec, "12345678901234"), kDataTooLong);
    EXPECT_STREQ(rec.errorText, "Input too long");
    EXPECT_STREQ(rec.fontText, "");
    EXPECT_EQ(Encode(rec, "12A"), kInvalidData);
    EXPECT_STREQ(rec.errorText, "Invalid characters in data");
    SymbolRecord empty{};
    empty.symbology = Numbers(Build::Server).databarOmni;
    EXPECT_EQ(Encode(empty, ""), kSuccess);
    EXPECT_STREQ(reinterpret_cast<char*>(empty.readableText), "(01)00000000000000");
    const std::string omni = empty.fontText;
    EXPECT_EQ(omni.size(), 46u);
    EXPECT_EQ(omni.substr(0, 2), "1a");
    EXPECT_EQ(omni.substr(44), "1a");
    SymbolRecord stacked{}, omniStacked{};
    stacked.symbology = Numbers(Build::Desktop).databarStacked;
    omniStacked.symbology = Numbers(Build::Desktop).databarStackedOmni;
    ASSERT_EQ(EncodeDatabar(stacked, B("2001234567890"), Call::Desktop()), kSuccess);
    ASSERT_EQ(EncodeDatabar(omniStacked, B("2001234567890"), Call::Desktop()), kSuccess);
    EXPECT_EQ(std::string(stacked.fontText).size(), 51u);
    const std::string two = omniStacked.fontText;
    ASSERT_EQ(two.size(), 103u);
    EXPECT_EQ(two[51], '\n');

    SymbolRecord lim{};
    EXPECT_EQ(EncodeDatabarLimited(lim, B("2000000000000"), kServer), kInvalidData);
    EXPECT_STREQ(lim.errorText, "Input out of range");
    EXPECT_EQ(EncodeDatabarLimited(lim, B("1999999999999"), kServer), kSuccess);
    EXPECT_EQ(EncodeDatabarLimited(lim, B("12345678901234"), kServer), kDataTooLong);
    EXPECT_EQ(EncodeDatabarLimited(lim, B("1x"), kServer), kInvalidData);
}

int Expanded(SymbolRecord& rec, const std::string& s) { return EncodeDatabarExpanded(rec, B(s), kServer); }

TEST(DatabarExpanded, RefusedData) {
    SymbolRecord rec{};
    EXPECT_EQ(Expanded(rec, ""), kInvalidData);
    EXPECT_STREQ(rec.errorText, "Invalid characters in input data");
    EXPECT_EQ(Expanded(rec, "(10)A[B"), kInvalidData);
    EXPECT_EQ(Expanded(rec, "(10)A]B"), kInvalidData);
    EXPECT_EQ(Expanded(rec, "(10)A#B"), kInvalidData);
    EXPECT_STREQ(rec.errorText, "Invalid characters in input data");
    EXPECT_STREQ(rec.fontText, "");
    EXPECT_EQ(Expanded(rec, "(01)1234"), kInvalidData);
    EXPECT_STREQ(rec.errorText, "Invalid data length for AI (01)");
    EXPECT_EQ(Expanded(rec, "(10)" + std::string(40, 'a')), kDataTooLong);
    EXPECT_STREQ(rec.errorText, "Input too long");
}

// Elements of one-row Expanded font text: 8 per symbol character, 5 per finder, 4 guards.
std::size_t SymbolCharacters(const std::string& text) {
    const std::size_t n = text.size() - 4;
    for (std::size_t k = 1; k <= 22; ++k)
        if (8 * k + 5 * ((k + 1) / 2) == n) return k;
    return 0;
}

TEST(DatabarExpanded, SizesAndRowLayout) {
    SymbolRecord rec{};
    // A GTIN alone is compressed into four data characters and the check character.
    ASSERT_EQ(Expanded(rec, "(01)98898765432106"), kSuccess);
    EXPECT_EQ(SymbolCharacters(rec.fontText), 5u);
    EXPECT_STREQ(reinterpret_cast<char*>(rec.readableText), "(01)98898765432106");
    // The shortest data still makes three data characters.
    ASSERT_EQ(Expanded(rec, "(10)A"), kSuccess);
    EXPECT_EQ(SymbolCharacters(rec.fontText), 4u);
    // Linkage flag, method, "10", a latch and 33 seven-bit characters fill 252 bits exactly.
    ASSERT_EQ(Expanded(rec, "(10)" + std::string(33, 'a')), kSuccess);
    EXPECT_EQ(SymbolCharacters(rec.fontText), 22u);
    EXPECT_EQ(Expanded(rec, "(10)" + std::string(34, 'a')), kDataTooLong);
    EXPECT_STREQ(rec.errorText, "Input too long");
    EXPECT_STREQ(rec.fontText, "");

    // Five symbol characters, three blocks: two pairs a row give two lines of one width.
    auto stacked = [](int pairs, const std::string& s) {
        SymbolRecord r{};
        r.symbology = Numbers(Build::Server).databarExpandedStacked;
        r.option2 = pairs;
        EXPECT_EQ(EncodeDatabarExpanded(r, B(s), kServer), kSuccess) << s;
        return std::string(r.fontText);
    };
    const std::string two = stacked(2, "(10)ABCDE");
    ASSERT_EQ(two.size() % 2, 0u);
    const std::size_t line = two.size() / 2;
    EXPECT_EQ(two[line - 1], '\n');
    EXPECT_EQ(two.back(), '\n');
    EXPECT_EQ(two.find('\n'), line - 1);
    EXPECT_EQ(line - 1, 2 + 2 * (17 + 15 + 17) + 2u);
    for (int pairs : {0, 11, -1, 100}) EXPECT_EQ(stacked(pairs, "(10)ABCDE"), two) << pairs;
    EXPECT_NE(stacked(3, "(10)ABCDE"), two);
}

// DataBar Limited read back from its element widths, written from ISO/IEC 24724.
int Combinations(int n, int r) {
    if (r < 0 || n < r) return 0;
    long long v = 1;
    for (int i = 1; i <= r; ++i) v = v * (n - r + i) / i;
    return static_cast<int>(v);
}
// The subset value of element widths (inverse of the width routine), found by search.
int SubsetValue(const int* widths, int modules, int elements, int widest, int noNarrow) {
    for (int v = 0; v < 20000; ++v) {
        DatabarWidths(v, modules, elements, widest, noNarrow);
        bool same = true;
        for (int i = 0; i < elements; ++i) same = same && DatabarWidthsResult()[i] == widths[i];
        if (same) return v;
    }
    return -1;
}

// The published check characters: element widths in print order, by check value.
const std::vector<std::string>& PublishedLimitedChecks() {
    static const std::vector<std::string> checks = [] {
        std::ifstream f = testing_support::OpenTable("databar-limited-check-characters.txt");
        std::vector<std::string> t;
        std::string line;
        while (std::getline(f, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream in(line);
            std::size_t value;
            std::string widths;
            in >> value >> widths;
            if (value != t.size() || widths.size() != 14) throw std::runtime_error("bad table line: " + line);
            t.push_back(widths);
        }
        if (t.size() != 89) throw std::runtime_error("the table has not 89 check characters");
        return t;
    }();
    return checks;
}

// Reads a Limited symbol from its modules, as ISO/IEC 24724 lays it out: left guard (a
// one-module space and bar), left character, check character and right character (14
// elements each, each beginning with a space), right guard (space, bar); 74 modules.
long long ReadLimited(const std::string& text) {
    const auto modules = databar_font::ElementsToModules(text, 'a');
    if (!modules || modules->size() != 74 || (*modules)[0]) return -1;
    std::vector<int> e;
    for (std::size_t i = 0; i < modules->size(); ++i) {
        if (i == 0 || (*modules)[i] != (*modules)[i - 1]) e.push_back(0);
        ++e.back();
    }
    if (e.size() != 46 || e[0] != 1 || e[1] != 1 || e[44] != 1 || e[45] != 1) return -1;
    // The check character fills modules 28 to 45 and begins with a space.
    if ((*modules)[28] || !(*modules)[27] || !(*modules)[45] || (*modules)[46]) return -1;
    static const int gsum[7] = {0, 183064, 820064, 1000776, 1491021, 1979845, 1996939};
    static const int tEven[7] = {28, 728, 6454, 203, 2408, 1, 16632};
    static const int oddMod[7] = {17, 13, 9, 15, 11, 19, 7}, wOdd[7] = {6, 5, 3, 5, 4, 8, 1}, wEven[7] = {3, 4, 6, 4, 5, 1, 8};
    long long pair[2];
    int checksum = 0, weight = 1;
    for (int p = 0; p < 2; ++p) {
        const int* w = e.data() + (p == 0 ? 2 : 30);
        int odd[7], even[7], oddSum = 0;
        for (int i = 0; i < 7; ++i) odd[i] = w[2 * i], even[i] = w[2 * i + 1], oddSum += odd[i];
        int group = -1;
        for (int g = 0; g < 7; ++g) if (oddMod[g] == oddSum) group = g;
        if (group < 0) return -1;
        const int vo = SubsetValue(odd, oddSum, 7, wOdd[group], 1);
        const int ve = SubsetValue(even, 26 - oddSum, 7, wEven[group], 0);
        if (vo < 0 || ve < 0) return -1;
        pair[p] = gsum[group] + static_cast<long long>(vo) * tEven[group] + ve;
        for (int i = 0; i < 14; ++i, weight = weight * 3 % 89) checksum += w[i] * weight;
    }
    for (int i = 0; i < 14; ++i)
        if (e[16 + i] != PublishedLimitedChecks()[checksum % 89][i] - '0') return -2;
    (void)Combinations;
    return pair[0] * 2013571 + pair[1];
}

TEST(DatabarLimited, ReadBackByTestReader) {
    std::mt19937 rng(89);
    // Exact multiples of the pair divisor and the first and last value of each group, for
    // the right pair and (as far as 13 digits reach) the left pair.
    std::vector<std::string> inputs = {"0", "2013571", "4027142", "1999999999999", "1000000000000"};
    for (long long start : {183064LL, 820064LL, 1000776LL, 1491021LL, 1979845LL, 1996939LL, 2013571LL}) {
        inputs.push_back(std::to_string(start - 1));
        if (start < 2013571) inputs.push_back(std::to_string(start));
        if (start <= 820064) inputs.push_back(std::to_string(start * 2013571));
        if (start <= 820064) inputs.push_back(std::to_string((start - 1) * 2013571 + 2013570));
    }
    for (int k = 0; k < 150; ++k) {
        std::string s(1, static_cast<char>('0' + rng() % 2));
        for (int i = 0; i < 12; ++i) s += static_cast<char>('0' + rng() % 10);
        inputs.push_back(s);
    }
    for (const std::string& s : inputs) {
        SymbolRecord rec{};
        ASSERT_EQ(EncodeDatabarLimited(rec, B(s), kServer), kSuccess);
        EXPECT_EQ(ReadLimited(rec.fontText), std::stoll(s)) << s;
    }
    // The check values the inputs above miss too.
    for (int v = 0; v < 89; ++v)
        for (int i = 0; i < 14; ++i) EXPECT_EQ(kDatabarLimitedCheck[v][i], PublishedLimitedChecks()[v][i] - '0') << v;
}

}  // namespace
