// DataBar font text drawn from the test-side font description and read back by zxing-cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "databar.h"
#include "matrix/databar_font.h"
#include "support/encode_texts.h"
#include "support/reader.h"

using namespace matrix;
using namespace testing_support;

namespace {

// The call of a build; DataBar output has no line ends to choose.
Call CallFor(Build build) { return build == Build::Desktop ? Call::Desktop() : Call::Server(false); }

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
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
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
            ASSERT_EQ(EncodeDatabar(rec, AsBytes(in), CallFor(GetParam())), kSuccess);
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
        ASSERT_EQ(EncodeDatabarExpanded(rec, AsBytes(in), CallFor(build)), kSuccess)
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

namespace {

// Inputs of every Expanded size, 4 to 22 symbol characters (3 to 11 finders), each found by
// lengthening valid GS1 data until the symbol grows.
std::vector<std::string> EverySize() {
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    std::vector<std::string> candidates;
    for (std::size_t k = 1; k <= 30; ++k) candidates.push_back("(240)" + text.substr(0, k));
    for (std::size_t k = 1; k <= 30; ++k) candidates.push_back("(240)" + text + "(250)" + text.substr(0, k));
    for (std::size_t k = 1; k <= 20; ++k)
        candidates.push_back("(01)90012345678908(10)" + std::string("12345678901234567890").substr(0, k));
    for (std::size_t k = 1; k <= 30; ++k)
        candidates.push_back("(240)" + text.substr(0, 20) + "(250)" + std::string("abcdefghijklmnopqrstuvwxyz!%&+").substr(0, k));
    std::vector<std::string> bySize(23);
    for (const std::string& s : candidates) {
        SymbolRecord rec{};
        if (EncodeDatabarExpanded(rec, AsBytes(s), Call::Server(false)) != kSuccess)
            continue;
        const std::size_t elements = std::string(rec.fontText).size() - 4;
        for (std::size_t n = 4; n <= 22; ++n)
            if (8 * n + 5 * ((n + 1) / 2) == elements && bySize[n].empty()) bySize[n] = s;
    }
    std::vector<std::string> out;
    for (std::size_t n = 4; n <= 22; ++n) {
        EXPECT_FALSE(bySize[n].empty()) << "no input of " << n << " symbol characters";
        out.push_back(bySize[n]);
    }
    return out;
}

}  // namespace

TEST_P(DatabarRoundTrip, ExpandedEverySizeAtEveryRowWidth) {
    std::vector<std::string> inputs = EverySize();
    // The longest data of all: two variable fields and the check character, 22 characters.
    inputs.push_back("(01)90012345678908(10)ABCDEFGHIJKLMNOPQRST(21)ABCDE1");
    ReadExpanded(GetParam(), inputs, 0);
    for (int pairs = 1; pairs <= 10; ++pairs) ReadExpanded(GetParam(), inputs, pairs);
}

namespace {

// zbarimg, one run per image: reads one-row Expanded symbols that zxing-cpp does not.
std::vector<std::string> ReadWithZbar(const std::vector<Image>& images) {
    namespace fs = std::filesystem;
    const fs::path dir(MakeTempFolder());
    for (std::size_t i = 0; i < images.size(); ++i) {
        std::ofstream f(dir / (std::to_string(i) + ".pgm"), std::ios::binary);
        f << "P5\n" << images[i].width << " " << images[i].height << "\n255\n";
        f.write(reinterpret_cast<const char*>(images[i].pixels.data()),
                static_cast<std::streamsize>(images[i].pixels.size()));
    }
    const std::string cmd = "cd " + dir.string() + " && for i in $(seq 0 " + std::to_string(images.size() - 1) +
                            "); do zbarimg -q --raw $i.pgm > $i.out 2>/dev/null; done; true";
    std::vector<std::string> out;
    if (std::system(cmd.c_str()) == 0)
        for (std::size_t i = 0; i < images.size(); ++i) {
            std::ifstream in(dir / (std::to_string(i) + ".out"), std::ios::binary);
            std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!got.empty() && got.back() == '\n') got.pop_back();
            out.push_back(got);
        }
    fs::remove_all(dir);
    out.resize(images.size());
    return out;
}

}  // namespace

// zbar reads one-row Expanded too, and checks the variable-length bits that zxing-cpp
// ignores. A GTIN alone takes the compressed method with an empty general-purpose field: 48
// bits, four data characters. The installed zxing-cpp finds no symbol there (it reads the
// same data in the uncompressed method, and this method as soon as one more character
// follows); zbar reads it.
TEST_P(DatabarRoundTrip, ExpandedReadByZbar) {
    REQUIRE_READER(ZbarAvailable(), "zbarimg");
    const SymbologyNumbers& n = Numbers(GetParam());
    std::vector<std::string> inputs = {"(01)98898765432106", "(01)00000000000000", "(01)90012345678908",
                                       "(01)99999999999999", "(01)90012345678908(3932)978",
                                       "(01)90012345678908(10)1", "(10)AB(21)CD"};
    for (int i = 0; i < 12; ++i) inputs.push_back("(01)" + Gtin14(Digits(rng, 13)));
    for (const std::string& s : GeneratedGs1(rng, 45)) inputs.push_back(s);
    std::vector<Image> images;
    std::vector<std::string> expected;
    for (const std::string& in : inputs) {
        SymbolRecord rec{};
        rec.symbology = n.databarExpanded;
        ASSERT_EQ(EncodeDatabarExpanded(rec, AsBytes(in), CallFor(GetParam())), kSuccess);
        auto m = databar_font::ElementsToModules(rec.fontText, 'A');
        ASSERT_TRUE(m);
        images.push_back(Render(databar_font::Rows{{*m}, {34}}));
        // zbar gives the element string: no brackets, GS after a variable-length field.
        std::string plain;
        bool variable = false;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (in[i] == '(') {
                if (variable) plain += '\x1d';
                const int lead = std::stoi(in.substr(i + 1, 2));
                variable = !(lead <= 4 || (lead >= 11 && lead <= 20) || lead == 23 || (lead >= 31 && lead <= 36) ||
                             lead == 41);
            } else if (in[i] != ')') {
                plain += in[i];
            }
        }
        // The GTIN's check digit is not carried: the reader computes the right one.
        if (in == "(01)99999999999999") plain = "0199999999999997";
        expected.push_back(plain);
    }
    const auto got = ReadWithZbar(images);
    for (std::size_t i = 0; i < inputs.size(); ++i) EXPECT_EQ(got[i], expected[i]) << inputs[i];
}

namespace {

// The finder numbers of Omnidirectional font text (left, right), from the published patterns.
std::pair<int, int> OmniFinders(const std::string& text) {
    static const char* const kFinders[9] = {"38211", "35511", "33711", "31911", "27411",
                                            "25611", "23811", "15711", "13911"};
    auto widths = [&](int from, bool reversed) {
        std::string w;
        for (int i = 0; i < 5; ++i) {
            const int at = reversed ? from + 4 - i : from + i;
            const char c = text[static_cast<std::size_t>(at)];
            w += static_cast<char>(at % 2 == 0 ? c : c - 'a' + '1');
        }
        return w;
    };
    int left = -1, right = -1;
    for (int f = 0; f < 9; ++f) {
        if (widths(10, false) == kFinders[f]) left = f;
        if (widths(31, true) == kFinders[f]) right = f;
    }
    return {left, right};
}

}  // namespace

// The check values that the raises move: 8 becomes 9 (finders 1 and 0), 70 becomes 71 (7
// and 8), 71 becomes 73 (8 and 1), 78 becomes 80 (8 and 8); 8 and 72 never appear. Found
// among counted inputs and read back with their check.
TEST_P(DatabarRoundTrip, OmnidirectionalRaisedCheckValues) {
    const SymbologyNumbers& n = Numbers(GetParam());
    std::vector<std::string> found;
    std::vector<std::pair<int, int>> wanted = {{1, 0}, {7, 8}, {8, 1}, {8, 8}};
    std::vector<Image> images;
    unsigned long long x = 88;
    for (int k = 0; k < 3000; ++k) {
        x = (x * 6364136223846793005ULL + 1442695040888963407ULL);
        const std::string in = std::to_string((x >> 11) % 10000000000000ULL);
        SymbolRecord rec{};
        rec.symbology = n.databarOmni;
        ASSERT_EQ(EncodeDatabar(rec, AsBytes(in), CallFor(GetParam())), kSuccess);
        const auto f = OmniFinders(rec.fontText);
        ASSERT_GE(f.first, 0) << rec.fontText;
        ASSERT_GE(f.second, 0) << rec.fontText;
        EXPECT_NE(f, std::make_pair(0, 8)) << in;
        EXPECT_NE(f, std::make_pair(8, 0)) << in;
        const auto it = std::find(wanted.begin(), wanted.end(), f);
        if (it == wanted.end()) continue;
        wanted.erase(it);
        found.push_back(in);
        images.push_back(Render(databar_font::Rows{{*databar_font::ElementsToModules(rec.fontText, 'a')}, {33}}));
    }
    EXPECT_TRUE(wanted.empty());
    const auto results = ReadBarcodes(images, {"DataBar", false});
    for (std::size_t i = 0; i < found.size(); ++i) {
        ASSERT_TRUE(results[i].found) << found[i];
        EXPECT_EQ(results[i].text, Gtin14(std::string(13 - found[i].size(), '0') + found[i]));
    }
}
