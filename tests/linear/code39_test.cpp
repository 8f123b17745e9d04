#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::Encode;
using testing_support::U;

namespace {

class Code39And93 : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
};

TEST_P(Code39And93, Code39KeepsItsSetAndDrawsSpaceAsHash) {
    EXPECT_EQ(Run(EncodeCode39, u"abc-1"), u"*-1*");
    EXPECT_EQ(Run(EncodeCode39, u"A B"), u"*A#B*");
    EXPECT_EQ(Run(EncodeCode39, u""), u"**");
    EXPECT_EQ(Run(EncodeCode39, u"&#65;*#" + U("\xc4")), u"*A*");
    EXPECT_EQ(Run(EncodeCode39, u"0.+-/ $%Z"), u"*0.+-/#$%Z*");
}

TEST_P(Code39And93, Code39CheckIsMod43OfTheValues) {
    EXPECT_EQ(Run(EncodeCode39Check, u"CODE39"), u"*CODE39W*");
    EXPECT_EQ(Run(EncodeCode39Check, u""), u"*0*");
    // " " is value 38, its check glyph "#"; "%" is value 42.
    EXPECT_EQ(Run(EncodeCode39Check, u" "), u"*##*");
    EXPECT_EQ(Run(EncodeCode39Check, u"%"), u"*%%*");
    EXPECT_EQ(Run(EncodeCode39Check, u"a%"), u"*%%*");
}

TEST_P(Code39And93, Code39ExtMapsEveryAsciiCharacter) {
    EXPECT_EQ(Run(EncodeCode39Ext, u"a*b"), u"*a" + std::u16string(1, char16_t(176)) + u"b*");
    EXPECT_EQ(Run(EncodeCode39Ext, U("\x01\x1f #\x7f")),
              u"*" + U("\xe1\xff") + u"#" + U("\xb1\xaf") + u"*");
    // NUL is carried by its stand-in; other characters above 127 have no glyph and are dropped.
    EXPECT_EQ(Run(EncodeCode39Ext, U("A\xfc\xe9\xb0Z")), u"*A" + U("\xe0") + u"Z*");
}

TEST_P(Code39And93, Code93ChecksAndFrame) {
    EXPECT_EQ(Run(EncodeCode93, u""), u"[00]|");
    const std::u16string a = Run(EncodeCode93, u"a");
    ASSERT_EQ(a.size(), 7u);
    EXPECT_EQ(a.substr(0, 3), u"[(A");
    EXPECT_EQ(a.substr(5), u"]|");
    // "(A" is 46, 10: C = (1*10 + 2*46) mod 47 = 8; K = (1*8 + 2*10 + 3*46) mod 47 = 25.
    EXPECT_EQ(a.substr(3, 2), u"8P");
    // The ISO example "TEST93" has the checks "+6".
    EXPECT_EQ(Run(EncodeCode93, u"TEST93"), u"[TEST93+6]|");
}

TEST_P(Code39And93, Code93FullAsciiPairs) {
    auto body = [&](std::u16string_view in) {
        const std::u16string r = Run(EncodeCode93, in);
        return r.substr(1, r.size() - 5);
    };
    EXPECT_EQ(body(U("\xfc")), u")U");
    EXPECT_EQ(body(u":@`"), u"&Z)V)W");
    EXPECT_EQ(body(U("\x01\x1a\x1b\x1f")), u"^A^Z)A)E");
    EXPECT_EQ(body(u"!\",#"), u"&A&B&L&C");
    EXPECT_EQ(body(u";?[\\]_{\x7f"), u")F)J)K)L)M)O)P)T");
    EXPECT_EQ(body(u"a z"), u"(A#(Z");
    // The shift glyphs typed as data go through their own full-ASCII pairs.
    EXPECT_EQ(body(u"^)&("), u")N&I&F&H");
    EXPECT_EQ(body(U("\x80\xe9\xff")), u"");
}

TEST_P(Code39And93, AtTheBoundTheTrailerIsKept) {
    const std::size_t maxLen = GetParam()->bound - 1;
    const std::u16string many(GetParam()->bound * 2, u'A');
    const std::u16string c39 = Run(EncodeCode39, many);
    EXPECT_EQ(c39.size(), maxLen);
    EXPECT_EQ(c39.back(), u'*');
    const std::u16string chk = Run(EncodeCode39Check, many);
    EXPECT_EQ(chk.size(), maxLen);
    EXPECT_EQ(chk.back(), u'*');
    // All "A": the check is (n * 10) mod 43 over the kept data.
    const std::size_t n = maxLen - 3;
    EXPECT_EQ(chk[maxLen - 2], kCode39Values[(n * 10) % 43]);
    const std::u16string ext = Run(EncodeCode39Ext, many);
    EXPECT_EQ(ext.size(), maxLen);
    EXPECT_EQ(ext.back(), u'*');
    // Code 93 pairs are never split: with lower-case letters the data is an even count.
    const std::u16string c93 = Run(EncodeCode93, std::u16string(GetParam()->bound, u'a'));
    EXPECT_LE(c93.size(), maxLen);
    EXPECT_EQ(c93.substr(c93.size() - 2), u"]|");
    EXPECT_EQ((c93.size() - 5) % 2, 0u);
    EXPECT_GE(c93.size(), maxLen - 1);
}

INSTANTIATE_TEST_SUITE_P(Builds, Code39And93, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
