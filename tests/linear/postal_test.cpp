// Telepen, POSTNET, Royal Mail and SEMI wafer identifier texts.
#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::Encode;
using testing_support::U;

namespace {

class PostalAndTelepen : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
    std::size_t Bound() const { return GetParam()->bound; }
};

TEST_P(PostalAndTelepen, TelepenCheckAndGlyphs) {
    EXPECT_EQ(Run(EncodeTelepen, u"AB"), u"[AB{]");
    // Space is "#"; the check 27 of "a b" is drawn as 27 + 224.
    EXPECT_EQ(Run(EncodeTelepen, u"a b"), u"[a#b" + U("\xfb") + u"]");
    EXPECT_EQ(Run(EncodeTelepen, U("#[]\x7f\x01") + u"&#31;"),
              u"[" + U("\xb0\xb1\xb2\xb3\xe1\xff") + Run(EncodeTelepen, U("#[]\x7f\x01\x1f")).substr(7));
    // Characters above 127 are dropped; a sum that is a multiple of 127 gives the check 127.
    EXPECT_EQ(Run(EncodeTelepen, U("\xe9") + u"~" + U("\x01")), u"[~" + U("\xe1\xb3") + u"]");
    EXPECT_EQ(Run(EncodeTelepen, u""), u"[" + U("\xb3") + u"]");
}

TEST_P(PostalAndTelepen, TelepenNumericPairs) {
    // "1230": pairs 12 and 30 are 39 and 57; check 127 - 96 = 31, drawn as 255.
    EXPECT_EQ(Run(EncodeTelepenNumeric, u"123"), u"['9" + U("\xff") + u"]");
    // Pair 00 is 27 (drawn 251), 08 is 35 "#" (drawn 176), 64 is 91 "[" (drawn 177).
    EXPECT_EQ(Run(EncodeTelepenNumeric, u"000864").substr(0, 4), u"[" + U("\xfb\xb0\xb1"));
}

TEST_P(PostalAndTelepen, PostnetLengthsAndCheck) {
    EXPECT_EQ(Run(EncodePOSTNET, u"1234"), u"[123400]");
    EXPECT_EQ(Run(EncodePOSTNET, u""), u"[000000]");
    EXPECT_EQ(Run(EncodePOSTNET, u"91801"), u"[918011]");
    EXPECT_EQ(Run(EncodePOSTNET, u"123456"), u"[1234560009]");
    EXPECT_EQ(Run(EncodePOSTNET, u"1234-5678-9"), u"[1234567895]");
    EXPECT_EQ(Run(EncodePOSTNET, u"1234567890"), u"[123456789005]");
    EXPECT_EQ(Run(EncodePOSTNET, u"123456789012"), u"[123456789014]");
    // PLANET's 13 digits pass through the same routine and are cut to eleven.
    EXPECT_EQ(Run(EncodePOSTNET, u"4012345678901"), u"[401234567891]");
}

TEST_P(PostalAndTelepen, RoyalMailCheckFromRowsAndColumns) {
    EXPECT_EQ(Run(EncodeRoyalMail, u"sn34rd1a"), u"[SN34RD1AK]");
    EXPECT_EQ(Run(EncodeRoyalMail, u"SN3 4RD-1A!"), u"[SN34RD1AK]");
    // Empty data: row and column sums 0 count as 6: the last character.
    EXPECT_EQ(Run(EncodeRoyalMail, u""), u"[Z]");
    EXPECT_EQ(Run(EncodeRoyalMail, u"&#97;BC123"), u"[ABC123" + std::u16string(1, RoyalMailCheck(u"ABC123")) + u"]");
    const std::u16string many(5000, u'q');
    const std::u16string s = Run(EncodeRoyalMail, many);
    ASSERT_EQ(s.size(), Bound() - 1);
    EXPECT_EQ(s.back(), u']');
    EXPECT_EQ(s[s.size() - 2], RoyalMailCheck(std::u16string_view(s).substr(1, s.size() - 3)));
}

unsigned WeightedMod59(std::u16string_view s) {
    unsigned r = 0;
    for (char16_t c : s) r = (r * 8 + (c - 32u)) % 59;
    return r;
}

TEST_P(PostalAndTelepen, SemiIdentifiers) {
    EXPECT_EQ(Run(EncodeSemiM12, u"123456789"), u"000000000000");
    EXPECT_EQ(Run(EncodeSemiM13, u"123456789012345"), std::u16string(18, u'0'));
    const std::u16string m12 = Run(EncodeSemiM12, u"12345678AB");
    ASSERT_EQ(m12.size(), 12u);
    EXPECT_EQ(m12.substr(0, 10), u"12345678AB");
    EXPECT_GE(m12[10], u'A');
    EXPECT_LE(m12[10], u'H');
    EXPECT_GE(m12[11], u'0');
    EXPECT_LE(m12[11], u'7');
    EXPECT_EQ(WeightedMod59(m12), 0u);
    const std::u16string m13 = Run(EncodeSemiM13, u"12345678AB11.8B1");
    ASSERT_EQ(m13.size(), 18u);
    EXPECT_EQ(WeightedMod59(m13), 0u);
    // Lower case is dropped, not upper-cased; escapes are not decoded.
    EXPECT_EQ(Run(EncodeSemiM12, u"abcdefghij12"), u"000000000000");
    EXPECT_EQ(Run(EncodeSemiM12, u"&#65;12345678").substr(0, 10), u"6512345678");
    // Characters beyond the check positions stay after them; the checks replace 11 and 12.
    const std::u16string longer = Run(EncodeSemiM12, u"AB-CD.EF01XYZ9");
    ASSERT_EQ(longer.size(), 14u);
    EXPECT_EQ(longer.substr(12), u"Z9");
    EXPECT_EQ(WeightedMod59(std::u16string_view(longer).substr(0, 12)), 0u);
    // Every data text gets checks that make the sum a multiple of 59 (r = 0 keeps "A0").
    for (unsigned i = 0; i < 3000; ++i) {
        std::u16string d;
        for (unsigned k = 0; k < 10; ++k) d += kSemiChars[(i * 31 + k * k * 7 + i / 38) % 38];
        const std::u16string s = Run(EncodeSemiM12, d);
        ASSERT_EQ(WeightedMod59(s), 0u) << testing_support::Show(d);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, PostalAndTelepen, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
