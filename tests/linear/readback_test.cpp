// Code 11, Code 2 of 5, MSI, Telepen, POSTNET, PLANET and Royal Mail font text drawn from the
// test-side font descriptions and read back by test-side readers that verify the checks by
// each standard's rule.
#include <gtest/gtest.h>

#include <random>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/numeric_fonts.h"

using namespace linear;
using namespace testing_support;

namespace {

class ReadBack : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::mt19937 rng{11};
    std::u16string Random(std::u16string_view alphabet, std::size_t maxLen) {
        std::u16string s(rng() % (maxLen + 1), u' ');
        for (auto& c : s) c = alphabet[rng() % alphabet.size()];
        return s;
    }
    std::string Kept(const std::u16string& t, std::u16string_view set) {
        std::string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str()))
            if (set.find(c) != std::u16string_view::npos) kept += static_cast<char>(c);
        return kept;
    }
};

TEST_P(ReadBack, Code11) {
    // Published check example: "123-45" takes C = 5.
    ASSERT_EQ(ReadCode11(*Code11FontToModules(u"*123-455*")), "123-45");
    EXPECT_FALSE(ReadCode11(*Code11FontToModules(u"*123-454*")));
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(u"0123456789-x&#;", 40);
        const std::u16string f = Encode(EncodeCode11, ctx, t);
        const auto modules = Code11FontToModules(f);
        ASSERT_TRUE(modules) << Show(f);
        EXPECT_EQ(ReadCode11(*modules), Kept(t, u"0123456789-")) << Show(t);
    }
}

TEST_P(ReadBack, Code25AndItsCheckDigit) {
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(u"0123456789x&#;", 40);
        const std::string digits = Kept(t, u"0123456789");
        EXPECT_EQ(ReadCode25(*Code25FontToModules(Encode(EncodeCode25, ctx, t))), digits);
        const auto checked = ReadCode25(*Code25FontToModules(Encode(EncodeCode25Check, ctx, t)));
        ASSERT_TRUE(checked);
        ASSERT_EQ(checked->size(), digits.size() + 1);
        EXPECT_EQ(checked->substr(0, digits.size()), digits);
        // Weights 3, 1, ... from the right over data and check make a multiple of 10.
        int sum = 0;
        for (std::size_t k = 0; k < checked->size(); ++k)
            sum += ((*checked)[checked->size() - 1 - k] - '0') * (k % 2 ? 3 : 1);
        EXPECT_EQ(sum % 10, 0) << *checked;
    }
}

TEST_P(ReadBack, MsiMod10) {
    // Published example: 80523 takes the check digit 4.
    ASSERT_EQ(ReadMsi(*MsiFontToModules(u"[805234]")), "80523");
    EXPECT_FALSE(ReadMsi(*MsiFontToModules(u"[805233]")));
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(u"0123456789x&#;", 60);
        EXPECT_EQ(ReadMsi(*MsiFontToModules(Encode(EncodeMSI, ctx, t))), Kept(t, u"0123456789"))
            << Show(t);
    }
}

// Telepen glyphs back to characters; the characters with their check sum to a multiple of 127.
std::optional<std::u16string> ReadTelepen(std::u16string_view f) {
    if (f.size() < 3 || f.front() != u'[' || f.back() != u']') return std::nullopt;
    std::u16string chars;
    for (char16_t g : f.substr(1, f.size() - 2)) {
        char16_t c;
        if (g == u'#') c = u' ';
        else if (g == 0xB0) c = u'#';
        else if (g == 0xB1) c = u'[';
        else if (g == 0xB2) c = u']';
        else if (g == 0xB3) c = 127;
        else if (g >= 225 && g <= 255) c = static_cast<char16_t>(g - 224);
        else if (g >= 33 && g <= 126 && g != u'[' && g != u']' && g != u'#') c = g;
        else return std::nullopt;
        chars += c;
    }
    unsigned sum = 0;
    for (char16_t c : chars) sum += c;
    if (sum % 127) return std::nullopt;
    chars.pop_back();
    return chars;
}

TEST_P(ReadBack, TelepenAndTelepenNumeric) {
    std::u16string ascii;
    for (char16_t c = 1; c < 128; ++c) ascii += c;
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(ascii + U("\xe9\xfc"), 40);
        std::u16string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str()))
            if (c >= 1 && c <= 127) kept += c;
        EXPECT_EQ(ReadTelepen(Encode(EncodeTelepen, ctx, t)), kept) << Show(t);

        const std::u16string n = Random(u"0123456789 x", 40);
        std::string digits = Kept(n, u"0123456789");
        if (digits.size() % 2) digits += '0';
        const auto pairs = ReadTelepen(Encode(EncodeTelepenNumeric, ctx, n));
        ASSERT_TRUE(pairs);
        std::string back;
        for (char16_t p : *pairs) {
            ASSERT_GE(p, 27);
            ASSERT_LE(p, 126);
            back += static_cast<char>('0' + (p - 27) / 10);
            back += static_cast<char>('0' + (p - 27) % 10);
        }
        EXPECT_EQ(back, digits);
    }
}

TEST_P(ReadBack, PostnetAndPlanet) {
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(u"0123456789- x", 16);
        std::string digits = Kept(t, u"0123456789");
        if (digits.size() > 11) digits.resize(11);
        const std::size_t n = digits.size() <= 5 ? 5 : digits.size() <= 9 ? 9 : 11;
        digits.append(n - digits.size(), '0');
        const auto bars = PostnetFontToBars(Encode(EncodePOSTNET, ctx, t));
        ASSERT_TRUE(bars);
        EXPECT_EQ(ReadPostnet(*bars), digits) << Show(t);
    }
    // The desktop's Planet row draws its sample through the same routine.
    EXPECT_EQ(ReadPostnet(*PostnetFontToBars(Encode(EncodePOSTNET, ctx, u"35619389821"))), "35619389821");
}

TEST_P(ReadBack, RoyalMail) {
    EXPECT_EQ(ReadRoyalMail(*RoyalMailFontToBars(u"[SN34RD1AK]")), "SN34RD1A");
    EXPECT_FALSE(ReadRoyalMail(*RoyalMailFontToBars(u"[SN34RD1AJ]")));
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz -", 30);
        std::string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str())) {
            const char16_t u = c >= u'a' && c <= u'z' ? c - 32 : c;
            if (kRoyalMailChars.find(u) != std::u16string_view::npos) kept += static_cast<char>(u);
        }
        const auto bars = RoyalMailFontToBars(Encode(EncodeRoyalMail, ctx, t));
        ASSERT_TRUE(bars);
        if (kept.empty()) continue;
        EXPECT_EQ(ReadRoyalMail(*bars), kept) << Show(t);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ReadBack, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
