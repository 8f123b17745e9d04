// Code 39 and Code 93 font text drawn from the font description and read back by zxing-cpp.
#include <gtest/gtest.h>

#include <random>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/linear_fonts.h"
#include "support/reader.h"

using namespace linear;
using namespace testing_support;

namespace {

// Random texts over an alphabet, with lengths 0 to maxLen.
std::vector<std::u16string> RandomTexts(std::mt19937& rng, std::u16string_view alphabet,
                                        std::size_t count, std::size_t maxLen) {
    std::vector<std::u16string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string s(rng() % (maxLen + 1), u' ');
        for (auto& c : s) c = alphabet[rng() % alphabet.size()];
        texts.push_back(s);
    }
    return texts;
}

std::u16string AllAscii() {
    std::u16string s;
    for (char16_t c = 1; c < 128; ++c) s += c;
    return s;
}

using Case = LinearCase;

// The reader reports the plain Code 39 characters of a full-ASCII symbol; map the pairs here.
std::string FullAsciiPairs(const std::string& got) {
    std::string decoded;
    for (std::size_t k = 0; k < got.size(); ++k) {
        bool matched = false;
        if (k + 1 < got.size() && std::string("$%/+").find(got[k]) != std::string::npos) {
            for (int a = 0; a < 128; ++a) {
                if (Code39FullAsciiPair(static_cast<unsigned char>(a)) == got.substr(k, 2)) {
                    decoded += static_cast<char>(a);
                    ++k;
                    matched = true;
                    break;
                }
            }
        }
        if (!matched) decoded += got[k];
    }
    return decoded;
}

class Code39RoundTrip : public ::testing::TestWithParam<const Profile*> {
protected:
    void SetUp() override {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    }
    Context ctx{*GetParam()};
    std::mt19937 rng{39};
};

TEST_P(Code39RoundTrip, Code39AndItsCheckCharacter) {
    // Characters outside the set are dropped; the reader returns the kept data.
    const std::u16string set = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%az*#&";
    std::vector<Case> plain, checked;
    auto texts = RandomTexts(rng, set, 250, 40);
    texts.push_back(std::u16string(3000, u'K'));  // cut at the bound, stop glyph kept
    for (const auto& t : texts) {
        std::string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str()))
            if (kCode39Values.find(c) != std::u16string_view::npos) kept += static_cast<char>(c);
        const std::u16string p = Encode(EncodeCode39, ctx, t);
        kept.resize(std::min(kept.size(), p.size() - 2));
        // The reader cannot report a symbol without data.
        if (kept.empty()) continue;
        plain.push_back({t, kept, p});
        const std::u16string c = Encode(EncodeCode39Check, ctx, t);
        const std::u16string kc = c.substr(1, c.size() - 3);
        std::string keptC;
        for (char16_t g : kc) keptC += g == u'#' ? ' ' : static_cast<char>(g);
        // With the check character verified, the reader returns data and check.
        std::string check(1, static_cast<char>(c[c.size() - 2] == u'#' ? u' ' : c[c.size() - 2]));
        checked.push_back({t, keptC + check, c});
    }
    ReadBackLinear(plain, Code39FontToModules, "Code39");
    ReadBackLinear(checked, Code39FontToModules, "Code39");
}

TEST_P(Code39RoundTrip, FullAsciiCode39) {
    std::vector<Case> cases;
    const std::u16string alphabet = AllAscii() + U("\xfc\xe9");
    auto texts = RandomTexts(rng, alphabet, 250, 30);
    texts.push_back(AllAscii());
    texts.push_back(std::u16string(3000, u'~'));
    for (const auto& t : texts) {
        std::string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str())) {
            if (c == kNulStandIn) kept += '\0';
            else if (c < 128) kept += static_cast<char>(c);
        }
        const std::u16string f = Encode(EncodeCode39Ext, ctx, t);
        kept.resize(std::min(kept.size(), f.size() - 2));
        if (kept.empty()) continue;
        cases.push_back({t, kept, f});
    }
    ReadBackLinear(cases, Code39ExtFontToModules, "Code39", FullAsciiPairs);
}

TEST_P(Code39RoundTrip, Code93WithBothChecks) {
    std::vector<Case> cases;
    const std::u16string alphabet = AllAscii() + U("\xfc\xe9\xff");
    auto texts = RandomTexts(rng, alphabet, 300, 30);
    texts.push_back(AllAscii());
    texts.push_back(u"(A^B)C&D");
    texts.push_back(std::u16string(3000, u'q'));
    for (const auto& t : texts) {
        std::string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str())) {
            if (c == kNulStandIn) kept += '\0';
            else if (c < 128) kept += static_cast<char>(c);
        }
        const std::u16string f = Encode(EncodeCode93, ctx, t);
        // Each kept character takes one or two glyphs; count how many fit in the symbol.
        std::size_t glyphs = f.size() - 5, n = 0, used = 0;
        for (char c : kept) {
            const bool single = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                                std::string_view("-. $/+%").find(c) != std::string_view::npos;
            if (used + (single ? 1 : 2) > glyphs) break;
            used += single ? 1 : 2;
            ++n;
        }
        kept.resize(n);
        if (kept.empty()) continue;
        cases.push_back({t, kept, f});
    }
    ReadBackLinear(cases, Code93FontToModules, "Code93");
}

INSTANTIATE_TEST_SUITE_P(Builds, Code39RoundTrip, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
