// DataBar font text drawn from the test-side font description and read back by zxing-cpp.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "databar.h"
#include "matrix/databar_font.h"
#include "support/reader.h"

using namespace matrix;
using namespace testing_support;

namespace {

std::string Gtin14(const std::string& thirteen) {
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += (thirteen[i] - '0') * (i % 2 == 0 ? 3 : 1);
    return thirteen + static_cast<char>('0' + (10 - sum % 10) % 10);
}

Image Render(const databar_font::Rows& rows) {
    std::vector<int> px;
    for (int h : rows.heights) px.push_back(h * 2);
    return RenderRows(rows.rows, px, 2, 12);
}

class DatabarRoundTrip : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        if (!ReaderAvailable()) GTEST_SKIP() << "zxing-cpp reader not installed";
    }
    std::mt19937 rng{24724};
};

TEST_P(DatabarRoundTrip, OmnidirectionalStackedAndStackedOmni) {
    const SymbologyNumbers& n = Numbers(GetParam());
    std::vector<std::string> inputs = {"", "0", "0000000000000", "9999999999999", "4537077",
                                       "0000004537077", "1597", "2001234567890", "0031234567890"};
    for (int i = 0; i < 150; ++i) {
        std::string s;
        for (int k = 0; k < 13; ++k) s += static_cast<char>('0' + rng() % 10);
        inputs.push_back(s);
    }
    for (int symbology : {n.databarOmni, n.databarStacked, n.databarStackedOmni}) {
        std::vector<Image> images;
        std::vector<std::string> expected;
        for (const std::string& in : inputs) {
            SymbolRecord rec{};
            rec.symbology = symbology;
            ASSERT_EQ(EncodeDatabar(rec, reinterpret_cast<const std::uint8_t*>(in.data()), in.size(),
                                    GetParam()),
                      kSuccess);
            std::optional<databar_font::Rows> rows;
            if (symbology == n.databarOmni) {
                auto m = databar_font::ElementsToModules(rec.fontText, 'a');
                ASSERT_TRUE(m) << rec.fontText;
                rows = databar_font::Rows{{*m}, {33}};
            } else if (symbology == n.databarStacked) {
                rows = databar_font::StackedToRows(rec.fontText);
            } else {
                rows = databar_font::LinesToRows(rec.fontText, 33);
            }
            ASSERT_TRUE(rows) << rec.fontText;
            images.push_back(Render(*rows));
            expected.push_back(Gtin14(std::string(13 - in.size(), '0') + in));
        }
        const auto results = ReadBarcodes(images, {"DataBar", symbology != n.databarOmni});
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            ASSERT_TRUE(results[i].found) << "symbology " << symbology << " input " << inputs[i];
            EXPECT_EQ(results[i].text, expected[i]) << symbology;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, DatabarRoundTrip, ::testing::Values(Build::Server, Build::Desktop),
                         [](const auto& info) {
                             return info.param == Build::Server ? "Server" : "Desktop";
                         });

}  // namespace

namespace {

struct ExpandedCase {
    std::string input;
    std::string fontText;
};

// Reads Expanded (one row, pairs 0) or Expanded Stacked symbols back; the reader reports
// the bracketed data.
void ReadExpanded(Build build, const std::vector<std::string>& inputs, int pairs) {
    const SymbologyNumbers& n = Numbers(build);
    std::vector<Image> images;
    for (const std::string& in : inputs) {
        SymbolRecord rec{};
        rec.symbology = pairs == 0 ? n.databarExpanded : n.databarExpandedStacked;
        rec.option2 = pairs;
        ASSERT_EQ(EncodeDatabarExpanded(rec, reinterpret_cast<const std::uint8_t*>(in.data()),
                                        in.size(), build),
                  kSuccess)
            << in << ": " << rec.errorText;
        std::optional<databar_font::Rows> rows;
        if (pairs == 0) {
            auto m = databar_font::ElementsToModules(rec.fontText, 'A');
            ASSERT_TRUE(m) << rec.fontText;
            rows = databar_font::Rows{{*m}, {34}};
        } else {
            rows = databar_font::LinesToRows(rec.fontText, 34);
        }
        ASSERT_TRUE(rows) << rec.fontText;
        images.push_back(Render(*rows));
    }
    const auto results = ReadBarcodes(images, {"DataBarExpanded", pairs != 0});
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        ASSERT_TRUE(results[i].found) << "pairs " << pairs << " input " << inputs[i];
        EXPECT_EQ(results[i].text, inputs[i]) << "pairs " << pairs;
    }
}

}  // namespace

TEST_P(DatabarRoundTrip, ExpandedSamples) {
    ReadExpanded(GetParam(), {"(01)90012345678908(3103)001750", "(01)98898765432106(3202)012345(15)991231",
                              "(10)ABC123", "(21)A1B2", "(21)A1B2(10)12", "(21)AB(10)XY", "(21)A1B2(10)XY"}, 0);
}

namespace {

std::string Digits(std::mt19937& rng, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
}

// GS1 strings over every encodation method and general-purpose encodation.
std::vector<std::string> GeneratedGs1(std::mt19937& rng, int count) {
    const std::string alnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*,-./";
    const std::string iso = "abcxyzABC!\"%&'*+,-./:;<=>?_ 0123456789";
    std::vector<std::string> out;
    for (int k = 0; k < count; ++k) {
        std::string s;
        const std::string gtin = "(01)" + Gtin14((rng() % 2 ? "9" : "0") + Digits(rng, 12));
        auto text = [&](const std::string& set, int maxLen) {
            std::string t;
            const int len = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxLen));
            for (int i = 0; i < len; ++i) t += set[rng() % set.size()];
            return t;
        };
        switch (k % 9) {
        case 0: s = gtin + "(15)" + Digits(rng, 6) + "(10)" + Digits(rng, 1 + rng() % 3); break;
        case 1: s = gtin + "(3103)0" + std::to_string(rng() % 32768 + 100000).substr(1); break;
        case 2: s = gtin + "(320" + std::to_string(2 + rng() % 2) + ")00" + Digits(rng, 4); break;
        case 3: s = gtin + "(310" + std::to_string(rng() % 10) + ")0" + Digits(rng, 5) + "(1" +
                    std::to_string(1 + 2 * (rng() % 4)) + ")" + Digits(rng, 2) + "0" +
                    std::to_string(1 + rng() % 9) + "1" + std::to_string(rng() % 10);
            break;
        case 4: s = gtin + "(392" + std::to_string(rng() % 4) + ")" + Digits(rng, 1 + rng() % 8); break;
        case 5: s = gtin + "(393" + std::to_string(rng() % 4) + ")" + Digits(rng, 4 + rng() % 6); break;
        case 6: s = gtin + "(10)" + text(alnum, 10) + "(21)" + text(iso, 6); break;
        case 7: s = "(21)" + text(iso, 12) + "(10)" + text(alnum, 6); break;
        default: s = gtin + "(3103)" + Digits(rng, 6) + "(10)" + Digits(rng, 1 + rng() % 5); break;
        }
        out.push_back(s);
    }
    return out;
}

}  // namespace

TEST_P(DatabarRoundTrip, ExpandedEveryMethodAndEncodation) {
    auto inputs = GeneratedGs1(rng, 270);
    inputs.push_back("(01)98898765432106(3103)001234(10)12");
    inputs.push_back("(01)90012345678908(3103)032767");
    inputs.push_back("(01)90012345678908(3103)032768");
    inputs.push_back("(01)90012345678908(3202)009999");
    inputs.push_back("(01)90012345678908(3203)022767");
    inputs.push_back("(01)90012345678908(3203)022768");
    inputs.push_back("(01)90012345678908(3103)012345(11)991331");
    inputs.push_back("(10)1(21)A");
    ReadExpanded(GetParam(), inputs, 0);
}

TEST_P(DatabarRoundTrip, ExpandedStackedEveryRowWidth) {
    std::vector<std::string> inputs = GeneratedGs1(rng, 36);
    inputs.push_back("(01)90012345678908(3103)001750");
    for (int pairs = 1; pairs <= 10; ++pairs) ReadExpanded(GetParam(), inputs, pairs);
}
