// DataBar Expanded read back to its binary string and its data by the test-side reader: the
// encodation method chosen, the bits each method takes, and the data whole.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "databar.h"
#include "support/encode_texts.h"
#include "matrix/databar_expanded_reader.h"

using namespace matrix;

namespace {

databar_reader::Expanded Read(const std::string& in) {
    SymbolRecord rec{};
    rec.symbology = Numbers(Build::Server).databarExpanded;
    const int r = EncodeDatabarExpanded(rec, testing_support::AsBytes(in), Call::Server(false));
    EXPECT_EQ(r, kSuccess) << in << ": " << rec.errorText;
    return databar_reader::ReadOneRow(rec.fontText);
}

std::string WithCheckDigit(const std::string& thirteen) {
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += (thirteen[static_cast<std::size_t>(i)] - '0') * (i % 2 == 0 ? 3 : 1);
    return thirteen + static_cast<char>('0' + (10 - sum % 10) % 10);
}

}  // namespace

// The reader's subset value undoes the width routine over every value of every group.
TEST(DatabarExpandedReader, SubsetValuesInvertTheWidths) {
    const int gsum[6] = {0, 348, 1388, 2948, 3988, 4096}, t[5] = {4, 20, 52, 104, 204};
    const int oddModules[5] = {12, 10, 8, 6, 4}, widestOdd[5] = {7, 5, 4, 3, 1}, widestEven[5] = {2, 4, 5, 6, 8};
    for (int g = 0; g < 5; ++g) {
        for (int v = 0; v < (gsum[g + 1] - gsum[g]) / t[g]; ++v) {
            DatabarWidths(v, oddModules[g], 4, widestOdd[g], 0);
            EXPECT_EQ(databar_reader::detail::SubsetValue(DatabarWidthsResult(), 4, widestOdd[g], 0), v) << g;
        }
        for (int v = 0; v < t[g]; ++v) {
            DatabarWidths(v, 17 - oddModules[g], 4, widestEven[g], 1);
            EXPECT_EQ(databar_reader::detail::SubsetValue(DatabarWidthsResult(), 4, widestEven[g], 1), v) << g;
        }
    }
}

TEST(DatabarExpandedReader, EachMethodReadsBackWhole) {
    const std::string gtin = "(01)90012345678908";
    const struct {
        std::string input;
        int method;
    } cases[] = {
        {"(01)98898765432106", 1},
        {"(01)00012345678905(10)ABC-12/x", 1},
        {"(10)ABC123", 2},
        {"(21)abc!%&+(10)12", 2},
        {"(240)A1*,-./:;<=>?_ \"'(250)7", 2},
        {gtin + "(3103)001750", 3},
        {gtin + "(3103)032767", 3},
        {gtin + "(3202)009999", 4},
        {gtin + "(3203)022767", 4},
        {gtin + "(3922)12345", 5},
        {gtin + "(3920)1(10)AB", 5},
        {gtin + "(3932)978123", 6},
        {gtin + "(3931)97812(21)XYZ", 6},
        {gtin + "(3103)032768", 7},
        {gtin + "(3105)012345(11)991231", 7},
        {gtin + "(3203)022768", 8},
        {gtin + "(3202)012345(11)000100", 8},
        {gtin + "(3101)000001(13)120229", 9},
        {gtin + "(3209)099999(13)991231", 10},
        {gtin + "(3100)012345(15)050615", 11},
        {gtin + "(3204)054321(15)101010", 12},
        {gtin + "(3102)000000(17)311231", 13},
        {gtin + "(3208)011111(17)200700", 14},
    };
    for (const auto& c : cases) {
        const auto x = Read(c.input);
        ASSERT_EQ(x.error, "") << c.input;
        EXPECT_EQ(x.text, c.input);
        EXPECT_EQ(x.method, c.method) << c.input;
        // The weight-and-date methods take the linkage flag, the 7-bit method, the GTIN's
        // 40 bits, the weight's 20 and the date's 16: 84 bits, seven data characters, and
        // nothing of the date a second time.
        if (c.method >= 7) {
            EXPECT_EQ(x.dataBits, 84u) << c.input;
            EXPECT_EQ(x.bits.size(), 84u) << c.input;
        }
        if (c.method == 3 || c.method == 4) {
            EXPECT_EQ(x.bits.size(), 60u) << c.input;
        }
    }
}

// Data far beyond 74 characters that still fits the 252 bits reads back whole.
TEST(DatabarExpandedReader, LongDataReadsBackWhole) {
    const std::vector<std::string> inputs = {
        "(01)90012345678908(3103)001750(15)991231(10)12345678901234567890(21)123456(17)991231",
        "(01)90012345678908(17)261231(11)250101(10)4711(21)88483702(240)12345(30)12(400)1",
        "(01)90012345678908(15)991231(30)1234(10)123456789012345678(21)987654321012345(400)7",
    };
    for (const std::string& in : inputs) {
        EXPECT_GT(in.size(), 74u);
        const auto x = Read(in);
        ASSERT_EQ(x.error, "") << in;
        EXPECT_EQ(x.text, in);
        EXPECT_LE(x.bits.size(), 252u);
    }
}

// Generated data over the general-purpose encodations, each read back as it was written.
TEST(DatabarExpandedReader, GeneratedDataReadsBack) {
    std::mt19937 rng(24724);
    const std::string alnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*,-./";
    const std::string iso = "abcxyzABC!\"%&'*+,-./:;<=>?_ 0123456789";
    const std::string digits = "0123456789";
    auto text = [&](const std::string& set, int most) {
        std::string s;
        const int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(most));
        for (int i = 0; i < n; ++i) s += set[rng() % set.size()];
        return s;
    };
    int read = 0;
    for (int k = 0; k < 400; ++k) {
        std::string in;
        if (k % 2 == 0) {
            std::string thirteen;
            for (int i = 0; i < 13; ++i) thirteen += digits[rng() % 10];
            in = "(01)" + WithCheckDigit(thirteen);
        }
        const int fields = 1 + static_cast<int>(rng() % 3);
        for (int f = 0; f < fields; ++f) {
            switch (rng() % 5) {
            case 0: in += "(10)" + text(alnum, 12); break;
            case 1: in += "(21)" + text(iso, 10); break;
            case 2: in += "(30)" + text(digits, 8); break;
            case 3: in += "(17)" + std::to_string(100000 + rng() % 900000); break;
            default: in += "(240)" + text(digits + "AB", 9); break;
            }
        }
        SymbolRecord rec{};
        rec.symbology = Numbers(Build::Server).databarExpanded;
        if (EncodeDatabarExpanded(rec, testing_support::AsBytes(in), Call::Server(false)) != kSuccess)
            continue;  // too long for the symbol
        const auto x = databar_reader::ReadOneRow(rec.fontText);
        EXPECT_EQ(x.error, "") << in;
        EXPECT_EQ(x.text, in);
        ++read;
    }
    EXPECT_GT(read, 300);
}

// Expanded Stacked at every row width reads back as the one-row symbol does.
TEST(DatabarExpandedReader, StackedReadsBackAtEveryRowWidth) {
    const std::vector<std::string> inputs = {
        "(01)98898765432106",
        "(01)90012345678908(3103)001750",
        "(01)90012345678908(3202)012345(11)991231",
        "(10)ABCDE",
        "(01)90012345678908(10)ABCDEFGHIJKLMNOPQRST(21)ABCDE1",
        "(01)90012345678908(3103)001750(15)991231(10)12345678901234567890(21)123456(17)991231",
        "(01)90012345678908(17)261231(11)250101(10)4711(21)88483702(240)12345(30)12(400)1",
    };
    for (const std::string& in : inputs) {
        const auto one = Read(in);
        ASSERT_EQ(one.error, "") << in;
        for (int pairs = 1; pairs <= 10; ++pairs) {
            SymbolRecord rec{};
            rec.symbology = Numbers(Build::Server).databarExpandedStacked;
            rec.option2 = pairs;
            ASSERT_EQ(EncodeDatabarExpanded(rec, testing_support::AsBytes(in), Call::Server(false)), kSuccess);
            const auto x = databar_reader::ReadStacked(rec.fontText);
            EXPECT_EQ(x.error, "") << in << " pairs " << pairs;
            EXPECT_EQ(x.text, in) << "pairs " << pairs;
            EXPECT_EQ(x.bits, one.bits) << in << " pairs " << pairs;
        }
    }
    // One module of a data row changed: the symbol no longer reads.
    SymbolRecord rec{};
    rec.symbology = Numbers(Build::Server).databarExpandedStacked;
    rec.option2 = 2;
    const std::string in = inputs.back();
    ASSERT_EQ(EncodeDatabarExpanded(rec, testing_support::AsBytes(in), Call::Server(false)), kSuccess);
    std::string text = rec.fontText;
    const std::size_t second = text.find('\n') + 1;
    const std::size_t bar = text.find('A', second + 30);
    ASSERT_NE(bar, std::string::npos);
    text[bar] = '1';
    EXPECT_NE(databar_reader::ReadStacked(text).error, "");
}
