// The desktop-only linear encoders: BC412, USS Code 39, full-ASCII Code 39 and Asian
// Code 128, against their edge cases and read back (BC412 by a reader of its check rule,
// the Code 39 and Code 128 forms by zxing-cpp).
#include <gtest/gtest.h>

#include <random>

#include "support/desktop_font_readers.h"
#include "desktop_linear.h"
#include "support/encode_texts.h"
#include "support/linear_fonts.h"
#include "support/reader.h"
#include "support/upc_code128_fonts.h"

using namespace desktop;
using namespace testing_support;
using namespace desktop_testing;

namespace {

linear::Context& Ctx() {
    static linear::Context ctx(linear::kDesktop);
    return ctx;
}

std::u16string Enc(linear::EncodeFn fn, std::u16string_view text) { return Encode(fn, Ctx(), text); }

}  // namespace

TEST(BC412, EdgeCases) {
    EXPECT_EQ(Enc(EncodeBC412, u"A"), u"*AS*");
    EXPECT_EQ(Enc(EncodeBC412, u""), u"**");
    EXPECT_EQ(Enc(EncodeBC412, u"abc-O-o"), u"**");  // nothing of the set: no check place either
    EXPECT_EQ(*ReadBc412(Enc(EncodeBC412, u"aKoEOS&#84;RIV0")), u"KESTRIV0");
    // A long text keeps its start and both "*" within the 255 characters of the frame.
    const std::u16string font = Enc(EncodeBC412, std::u16string(400, u'7'));
    EXPECT_EQ(font.size(), 255u);
    const auto data = ReadBc412(font);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, std::u16string(252, u'7'));
}

TEST(BC412, RandomTextsReadBack) {
    std::mt19937 rng(412);
    for (int i = 0; i < 2000; ++i) {
        std::u16string s(rng() % 60, u' ');
        for (auto& c : s) {
            c = static_cast<char16_t>(32 + rng() % 95);
            if (c == u'&') c = u'Q';  // no numeric escapes here
        }
        std::u16string kept;
        for (char16_t c : s)
            if (Bc412Value(c) >= 0) kept += c;
        const auto data = ReadBc412(Enc(EncodeBC412, s));
        ASSERT_TRUE(data) << Show(s);
        EXPECT_EQ(*data, kept) << Show(s);
    }
}

TEST(BC412, InsertCharLimits) {
    char16_t buf[8] = u"ABC";
    EXPECT_EQ(InsertChar(buf, 8, 1, u'x'), 1);
    EXPECT_EQ(std::u16string(buf), u"AxBC");
    EXPECT_EQ(InsertChar(buf, 8, 5, u'y'), -1);  // past the end
    EXPECT_EQ(InsertChar(buf, 8, 4, u'y'), 1);   // at the end
    EXPECT_EQ(InsertChar(buf, 8, 0, u'z'), 1);
    EXPECT_EQ(InsertChar(buf, 8, 0, u'w'), 1);
    EXPECT_EQ(std::u16string(buf), u"wzAxBCy");
    EXPECT_EQ(InsertChar(buf, 8, 0, u'v'), -1);  // full
    EXPECT_EQ(std::u16string(buf), u"wzAxBCy");
    char16_t empty[4] = u"";
    EXPECT_EQ(InsertChar(empty, 4, 1, u'0'), -1);
    EXPECT_EQ(empty[0], 0);
}

TEST(USSCode39, CheckDigitOverAnyKeptCharacter) {
    EXPECT_EQ(Enc(EncodeUSSCode39, u"12345"), u"*123457*");
    EXPECT_EQ(Enc(EncodeUSSCode39, u"12a3b45"), u"*123457*");  // lower case dropped
    EXPECT_EQ(Enc(EncodeUSSCode39, u""), u"*0*");
    // Characters below "0" count their code less 48 modulo 10, like digits do: "-" (45)
    // counts 7, "." (46) 8, space (32) 4, "$" (36) 8.
    EXPECT_EQ(Enc(EncodeUSSCode39, u"-"), u"*-9*");   // 7 x 3 = 21: check 9
    EXPECT_EQ(Enc(EncodeUSSCode39, u"1 ."), u"*1#.9*");  // 8 x 3 + 4 x 1 + 1 x 3 = 31: check 9
}

TEST(USSCode39, ReadBackByZxing) {
    ASSERT_TRUE(ReaderAvailable());
    std::vector<LinearCase> cases;
    std::mt19937 rng(39);
    const std::u16string alphabet = u"0123456789.+-/ $%ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; i < 40; ++i) {
        std::u16string s(1 + rng() % 20, u'0');
        for (auto& c : s) c = alphabet[rng() % alphabet.size()];
        const std::u16string font = Enc(EncodeUSSCode39, s);
        const std::u16string body = font.substr(1, font.size() - 2);
        std::string expected;
        for (char16_t c : body) expected += static_cast<char>(c == u'#' ? ' ' : c);
        cases.push_back({s, expected, font});
    }
    ReadBackLinear(cases, Code39FontToModules, "Code39");
}

TEST(Code39Variant3, FullAsciiPairs) {
    EXPECT_EQ(Enc(EncodeCode39Variant3, u"a"), u"[+A]");
    EXPECT_EQ(Enc(EncodeCode39Variant3, u"A b/:@`"), u"[A#+B/O/Z%V%W]");
    EXPECT_EQ(Enc(EncodeCode39Variant3, u"\x01\x1b;[{\x7f"), u"[$A%A%F%K%P%T]");
    EXPECT_EQ(Enc(EncodeCode39Variant3, std::u16string(1, linear::kNulStandIn)), u"[%U]");
    EXPECT_EQ(Enc(EncodeCode39Variant3, u"\u00e9\u4e00"), u"[]");
    // Bounded: pairs are never split and the closing "]" always fits.
    const std::u16string font = Enc(EncodeCode39Variant3, std::u16string(300, u'a'));
    EXPECT_EQ(font.size(), 1 + 2 * 126 + 1u);
    EXPECT_EQ(font.back(), u']');
}

TEST(Code39Variant3, ReadBackByZxingAsFullAscii) {
    ASSERT_TRUE(ReaderAvailable());
    std::u16string all;
    for (char16_t c = 1; c < 128; ++c)
        if (c != u'&') all += c;
    std::vector<LinearCase> cases;
    for (std::size_t at = 0; at < all.size(); at += 20) {
        const std::u16string s = all.substr(at, 20);
        std::u16string font = Enc(EncodeCode39Variant3, s);
        font.front() = u'*';  // the font's start and stop draw the Code 39 "*"
        font.back() = u'*';
        std::string expected;
        for (char16_t c : s) expected += std::string(Code39FullAsciiPair(static_cast<unsigned char>(c)));
        cases.push_back({s, expected, font});
    }
    ReadBackLinear(cases, Code39FontToModules, "Code39");
}

TEST(AsianCode128, EdgeCases) {
    EXPECT_EQ(Enc(EncodeAsianCode128C, u"00"), u"\u00CA\u00E0\u00CC\u00E0\"\u00CB\u00E0\u00CD\u00E0");
    EXPECT_EQ(Enc(EncodeAsianCode128A, u""), u"");
    EXPECT_EQ(Enc(EncodeAsianCode128C, u""), u"");
    // A space is value 0, glyph 0xCC and the trail.
    const std::u16string space = Enc(EncodeAsianCode128B, u" ");
    EXPECT_EQ(space.substr(2, 2), u"\u00CC\u00E0");
    // 193 is FNC3 in sets A and B: glyph 0xC1 and the trail.
    EXPECT_EQ(Enc(EncodeAsianCode128A, u"\u00C1").substr(2, 2), u"\u00C1\u00E0");
    // Every glyph above 127 carries the trail, check glyph included.
    for (const char16_t* s : {u"KESTRIVO", u"~~~~", u"\x1f\x1e", u"12\u00C7"}) {
        for (auto fn : {EncodeAsianCode128A, EncodeAsianCode128B, EncodeAsianCode128C}) {
            const auto values = AsianValues(Enc(fn, s));
            ASSERT_TRUE(values) << Show(s);
            long sum = (*values)[0];
            for (std::size_t k = 1; k + 1 < values->size(); ++k) sum += static_cast<long>(k) * (*values)[k];
            EXPECT_EQ(sum % 103, values->back()) << Show(s);
        }
    }
}

TEST(AsianCode128, SetCPairsDigitsOnly) {
    // Characters 192 to 196 have no set C meaning and are dropped; 197 to 199 stand alone
    // as CODE B, CODE A and FNC1; digits pair up, an odd run with a "0" in front.
    auto values = AsianValues(Enc(EncodeAsianCode128C, u"1\u00C0\u00C2\u00C423"));
    ASSERT_TRUE(values);
    EXPECT_EQ(*values, (std::vector<int>{105, 1, 23, (105 + 1 + 2 * 23) % 103}));
    values = AsianValues(Enc(EncodeAsianCode128C, u"\u00C7" "123\u00C745"));
    ASSERT_TRUE(values);
    const std::vector<int> data = {102, 1, 23, 102, 45};
    long sum = 105;
    for (std::size_t k = 0; k < data.size(); ++k) sum += static_cast<long>(k + 1) * data[k];
    std::vector<int> expected = {105};
    expected.insert(expected.end(), data.begin(), data.end());
    expected.push_back(static_cast<int>(sum % 103));
    EXPECT_EQ(*values, expected);
}

TEST(AsianCode128, BoundedWithItsClosingGlyphs) {
    for (auto fn : {EncodeAsianCode128A, EncodeAsianCode128B, EncodeAsianCode128C}) {
        const std::u16string font = Enc(fn, std::u16string(600, u'5'));
        EXPECT_LE(font.size(), 255u);
        EXPECT_TRUE(AsianValues(font)) << "symbol not closed";
    }
    const std::u16string spaces = Enc(EncodeAsianCode128B, std::u16string(300, u' '));
    EXPECT_LE(spaces.size(), 255u);
    EXPECT_TRUE(AsianValues(spaces));
}

TEST(AsianCode128, ReadBackByZxingAsCode128) {
    ASSERT_TRUE(ReaderAvailable());
    std::mt19937 rng(128);
    std::vector<LinearCase> cases;
    for (int i = 0; i < 60; ++i) {
        const int set = i % 3;
        std::u16string s(1 + rng() % 24, u'0');
        for (auto& c : s) {
            const unsigned r = rng();
            c = static_cast<char16_t>(set == 0 ? 32 + r % 64 : set == 1 ? 32 + r % 95 : u'0' + r % 10);
            if (c == u'&') c = u'+';
        }
        if (set == 0 && i % 2) s[0] = 0x09;  // a control character of set A
        std::string expected(s.begin(), s.end());
        if (set == 2 && s.size() % 2) expected.insert(expected.begin(), '0');
        const linear::EncodeFn fn = set == 0 ? EncodeAsianCode128A : set == 1 ? EncodeAsianCode128B : EncodeAsianCode128C;
        cases.push_back({s, expected, Enc(fn, s)});
    }
    ReadBackLinear(cases, AsianFontToModules, "Code128");
}
