// Interleaved 2 of 5 and Codabar font text drawn from the font description and read back by
// zxing-cpp.
#include <gtest/gtest.h>

#include <random>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/numeric_fonts.h"
#include "support/reader.h"

using namespace linear;
using namespace testing_support;

namespace {

using Case = LinearCase;

std::u16string RandomText(std::mt19937& rng, std::u16string_view alphabet, std::size_t minLen,
                          std::size_t maxLen) {
    std::u16string s(minLen + rng() % (maxLen - minLen + 1), u' ');
    for (auto& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

std::string Kept(const Profile& p, const std::u16string& t, std::u16string_view set) {
    std::string kept;
    for (char16_t c : DecodeCharRefs(p, t.c_str()))
        if (set.find(c) != std::u16string_view::npos) kept += static_cast<char>(c);
    return kept;
}

// Codabar: the reader returns the start and stop characters too.
std::string WithoutStartStop(const std::string& got) {
    if (got.size() >= 2 && got.front() == 'A' && got.back() == 'B')
        return got.substr(1, got.size() - 2);
    return got;
}

class NumericRoundTrip : public ::testing::TestWithParam<const Profile*> {
protected:
    void SetUp() override {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    }
    Context ctx{*GetParam()};
    std::mt19937 rng{25};
};

TEST_P(NumericRoundTrip, InterleavedTwoOfFiveWithAndWithoutCheck) {
    std::vector<Case> cases;
    const std::u16string alphabet = u"0123456789012345678901234567890123456789x &#;";
    std::vector<std::u16string> texts;
    for (int i = 0; i < 150; ++i) texts.push_back(RandomText(rng, alphabet, 6, 60));
    texts.push_back(u"99999999");
    texts.push_back(u"1234567");
    for (const auto& t : texts) {
        std::string digits = Kept(*GetParam(), t, u"0123456789");
        if (digits.size() < 6) continue;
        std::string plain = digits.size() % 2 ? "0" + digits : digits;
        cases.push_back({t, plain, Encode(EncodeI25, ctx, t)});
        // The reader returns the data with the check digit, which must be the mod-10 digit.
        std::string checked = digits.size() % 2 ? digits : "0" + digits;
        std::u16string u(checked.begin(), checked.end());
        checked += static_cast<char>(Mod10Check(u));
        cases.push_back({t, checked, Encode(EncodeI25Check, ctx, t)});
    }
    ReadBackLinear(cases, I25FontToModules, "ITF");
}

TEST_P(NumericRoundTrip, Codabar) {
    std::vector<Case> cases;
    const std::u16string set(kCodabarData);
    const std::u16string alphabet = set + u"xA B*";
    for (int i = 0; i < 200; ++i) {
        const std::u16string t = RandomText(rng, alphabet, 2, 50);
        const std::string kept = Kept(*GetParam(), t, set);
        if (kept.size() < 2) continue;
        cases.push_back({t, kept, Encode(EncodeCodabar, ctx, t)});
    }
    ReadBackLinear(cases, CodabarFontToModules, "Codabar", WithoutStartStop);
}

INSTANTIATE_TEST_SUITE_P(Builds, NumericRoundTrip, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
