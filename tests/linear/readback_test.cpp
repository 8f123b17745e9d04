// Code 11, Code 2 of 5, MSI, Telepen, POSTNET, PLANET and Royal Mail font text drawn from the
// test-side font descriptions and read back by test-side readers that verify the checks by
// each standard's rule.
#include <gtest/gtest.h>

#include <random>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/font_text.h"
#include "support/numeric_fonts.h"
#include "telepen.h"

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

Modules BitsOf(std::string_view ones) {
    Modules m;
    for (char c : ones) m.push_back(c == '1');
    return m;
}

// Telepen bars (as the Telepen font draws them) back to ASCII characters, start and stop
// included. Each character is 16 modules: bits from the least significant, even parity in bit
// 7; narrow bar and space = 1; wide bar, narrow space = 00, or 01 when a narrow bar and wide
// space (= 10) closes the run of 1s before any other wide bar; wide bar and space = 010.
std::optional<std::u16string> TelepenBarsToChars(const Modules& m) {
    std::vector<int> widths;  // bar, space, bar, ...
    for (std::size_t i = 0; i < m.size();) {
        if (widths.empty() && !m[i]) return std::nullopt;
        std::size_t j = i;
        while (j < m.size() && m[j] == m[i]) ++j;
        widths.push_back(static_cast<int>(j - i));
        i = j;
    }
    if (widths.size() % 2) return std::nullopt;
    std::u16string chars;
    for (std::size_t e = 0; e < widths.size();) {
        std::string bits;  // least significant first
        bool odd = false;
        int modules = 0;
        while (modules < 16 && e < widths.size()) {
            const int bar = widths[e], space = widths[e + 1];
            if ((bar != 1 && bar != 3) || (space != 1 && space != 3)) return std::nullopt;
            if (bar == 1 && space == 1) bits += '1';
            else if (bar == 1 && space == 3 && odd) bits += "10", odd = false;
            else if (bar == 3 && space == 3 && !odd) bits += "010";
            else if (bar == 3 && space == 1 && !odd) {
                // 01 when the run of 1s after it ends in a narrow bar and wide space.
                std::size_t k = e + 2;
                while (k + 1 < widths.size() && widths[k] == 1 && widths[k + 1] == 1) ++k, ++k;
                odd = k + 1 < widths.size() && widths[k] == 1 && widths[k + 1] == 3;
                bits += odd ? "01" : "00";
            } else return std::nullopt;
            modules += bar + space;
            e += 2;
        }
        if (modules != 16 || odd || bits.size() != 8) return std::nullopt;
        int c = 0, ones = 0;
        for (int k = 0; k < 8; ++k) ones += bits[k] == '1';
        for (int k = 0; k < 7; ++k) c |= (bits[k] == '1') << k;
        if (ones % 2) return std::nullopt;
        chars += static_cast<char16_t>(c);
    }
    return chars;
}

// The Telepen font text's bars read back: "_", the characters with their check, "z".
std::optional<std::u16string> ReadTelepenBars(std::u16string_view f) {
    const auto modules = FontTextModules("telepen", f);
    if (!modules) return std::nullopt;
    auto chars = TelepenBarsToChars(*modules);
    if (!chars || chars->size() < 3 || chars->front() != u'_' || chars->back() != u'z') return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 1; i + 1 < chars->size(); ++i) sum += (*chars)[i];
    if (sum % 127) return std::nullopt;
    return chars->substr(1, chars->size() - 3);
}

TEST(TelepenFont, PublishedStartAndStopAndEveryCharacterReadBack) {
    // Start "_": five 1s as narrow pairs, then 010 as a wide bar and a wide space; the stop
    // "z" is its mirror image.
    EXPECT_EQ(*FontTextModules("telepen", u"["), BitsOf("1010101010111000"));
    EXPECT_EQ(*FontTextModules("telepen", u"]"), BitsOf("1110001010101010"));
    // "0" (48) is 00001100 from bit 0: 00, 00, 1, 1, 00.
    EXPECT_EQ(*FontTextModules("telepen", u"0"), BitsOf("1110111010101110"));
    for (char16_t c = 1; c < 128; ++c) {
        const auto back = TelepenBarsToChars(*FontTextModules("telepen", std::u16string(1, TelepenGlyph(c))));
        EXPECT_EQ(back, std::u16string(1, c)) << int(c);
    }
    // A narrow bar and wide space with no run of 1s open.
    EXPECT_FALSE(TelepenBarsToChars(BitsOf("1000101010101010")));
}

TEST_P(ReadBack, TelepenAndTelepenNumeric) {
    std::u16string ascii;
    for (char16_t c = 1; c < 128; ++c) ascii += c;
    for (int i = 0; i < 300; ++i) {
        const std::u16string t = Random(ascii + U("\xe9\xfc"), 40);
        std::u16string kept;
        for (char16_t c : DecodeCharRefs(*GetParam(), t.c_str()))
            if (c >= 1 && c <= 127) kept += c;
        const std::u16string font = Encode(EncodeTelepen, ctx, t);
        EXPECT_EQ(ReadTelepen(font), kept) << Show(t);
        EXPECT_EQ(ReadTelepenBars(font), kept) << Show(t);

        const std::u16string n = Random(u"0123456789 x", 40);
        std::string digits = Kept(n, u"0123456789");
        if (digits.size() % 2) digits += '0';
        const std::u16string numeric = Encode(EncodeTelepenNumeric, ctx, n);
        const auto pairs = ReadTelepen(numeric);
        ASSERT_TRUE(pairs);
        EXPECT_EQ(ReadTelepenBars(numeric), pairs);
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
