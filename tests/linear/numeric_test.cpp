// Code 11, Code 2 of 5, Interleaved 2 of 5, MSI and Codabar font text.
#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::Encode;
using testing_support::U;

namespace {

class NumericEncoders : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
    std::size_t Bound() const { return GetParam()->bound; }
};

std::u16string Digits(std::size_t n) {
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'0' + (i * 7 + 3) % 10);
    return s;
}

TEST_P(NumericEncoders, Code11ChecksCAndK) {
    EXPECT_EQ(Run(EncodeCode11, u"123-45"), u"*123-455*");
    // "-" counts 10; letters and escapes' other characters are dropped.
    EXPECT_EQ(Run(EncodeCode11, u"a1b2&#45;"), u"*12-6*");
    EXPECT_EQ(Run(EncodeCode11, u""), u"*0*");
    // Ten data characters take C alone; eleven take C and K.
    EXPECT_EQ(Run(EncodeCode11, u"0123456789"), u"*01234567890*");
    EXPECT_EQ(Run(EncodeCode11, u"01234567890"), u"*0123456789019*");
    EXPECT_EQ(Run(EncodeCode11, u"12345678901"), u"*123456789014-*");
}

TEST_P(NumericEncoders, Code25WithAndWithoutCheck) {
    EXPECT_EQ(Run(EncodeCode25, u"12a34"), u"(1234)");
    EXPECT_EQ(Run(EncodeCode25, u""), u"()");
    EXPECT_EQ(Run(EncodeCode25Check, u"12345678"), u"(123456784)");
    EXPECT_EQ(Run(EncodeCode25Check, u""), u"(0)");
}

TEST_P(NumericEncoders, InterleavedPairsAndPadding) {
    const std::u16string start(1, 0xE6), stop(1, 0xE7);
    EXPECT_EQ(Run(EncodeI25, u"123"), start + u"\"8" + stop);
    EXPECT_EQ(Run(EncodeI25, u"99"), start + U("\xe5") + stop);
    EXPECT_EQ(Run(EncodeI25, u"93940095"), start + u"~" + U("\xe0") + u"!" + U("\xe1") + stop);
    EXPECT_EQ(Run(EncodeI25, u""), start + stop);
    // With the check digit: "1234567" + "0", pairs 12 34 56 70.
    EXPECT_EQ(Run(EncodeI25Check, u"1234567"), start + u"-CYg" + stop);
    // An even count gets a leading "0": "012345678" + check 4... pairs 01 23 45 67 84.
    EXPECT_EQ(Run(EncodeI25Check, u"12345678"), start + u"\"8Nd" + static_cast<char16_t>(84 + 33) + stop);
    EXPECT_EQ(Run(EncodeI25Check, u""), start + u"!" + stop);
}

TEST_P(NumericEncoders, MsiCheckOverDataOfAnyLength) {
    EXPECT_EQ(Run(EncodeMSI, u"1234567"), u"[12345674]");
    EXPECT_EQ(Run(EncodeMSI, u"80523"), u"[805234]");
    EXPECT_EQ(Run(EncodeMSI, u""), u"[0]");
    // Far beyond 64-bit numbers, the digit-by-digit rule still holds.
    EXPECT_EQ(MsiCheck(u"9999999999999999999999999"), u'5');
}

TEST_P(NumericEncoders, CodabarKeepsItsSetBetweenAAndB) {
    EXPECT_EQ(Run(EncodeCodabar, u"A12B"), u"A12B");
    EXPECT_EQ(Run(EncodeCodabar, u"-$:/.+ 9x*"), u"A-$:/.+9B");
    EXPECT_EQ(Run(EncodeCodabar, u""), u"AB");
}

TEST_P(NumericEncoders, LongDataKeepsChecksAndStopWithinTheBound) {
    const std::u16string many = Digits(5000);
    const std::u16string c11 = Run(EncodeCode11, many);
    ASSERT_EQ(c11.size(), Bound() - 1);
    EXPECT_EQ(c11.back(), u'*');
    // The checks are those of the kept data.
    const std::u16string kept = c11.substr(1, c11.size() - 4);
    EXPECT_EQ(Run(EncodeCode11, kept), c11);

    for (EncodeFn fn : {EncodeCode25, EncodeCode25Check, EncodeMSI, EncodeCodabar}) {
        const std::u16string s = Run(fn, many);
        EXPECT_EQ(s.size(), Bound() - 1);
        EXPECT_TRUE(s.back() == u')' || s.back() == u']' || s.back() == u'B');
    }
    const std::u16string msi = Run(EncodeMSI, many);
    EXPECT_EQ(msi[msi.size() - 2], MsiCheck(std::u16string_view(msi).substr(1, msi.size() - 3)));

    // Two digits a glyph: the server's 2,047-character input never reaches its bound.
    for (EncodeFn fn : {EncodeI25, EncodeI25Check}) {
        const std::u16string s = Run(fn, many);
        EXPECT_EQ(s.size(), std::min(Bound() - 1, std::size_t{1026}));
        EXPECT_EQ(s.back(), 0xE7);
    }
    // The check digit is that of the digits the symbol holds.
    const std::u16string i25c = Run(EncodeI25Check, many);
    std::u16string held;
    for (std::size_t i = 1; i + 1 < i25c.size(); ++i) {
        const unsigned g = i25c[i], v = g >= 0xE0 ? g - 130 : g - 33;
        held += static_cast<char16_t>(u'0' + v / 10);
        held += static_cast<char16_t>(u'0' + v % 10);
    }
    EXPECT_EQ(held.back(), Mod10Check(std::u16string_view(held).substr(0, held.size() - 1)));
    EXPECT_EQ(held.substr(0, held.size() - 1), many.substr(0, held.size() - 1));
}

INSTANTIATE_TEST_SUITE_P(Builds, NumericEncoders, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
