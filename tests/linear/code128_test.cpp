#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"
#include "support/upc_code128_fonts.h"

using namespace linear;
using testing_support::Code128FontToValues;
using testing_support::Encode;
using testing_support::Show;

namespace {

std::u16string Ch(char16_t c) { return std::u16string(1, c); }

class Code128 : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    bool desktop() const { return GetParam()->desktopGlyphs; }
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
    // The values of a symbol as the font draws them: start, data, check.
    std::vector<int> Values(EncodeFn fn, std::u16string_view text) {
        const std::u16string f = Run(fn, text);
        const auto v = Code128FontToValues(f, desktop());
        EXPECT_TRUE(v) << Show(f);
        return v.value_or(std::vector<int>{});
    }
    static int Check(const std::vector<int>& v) {
        int sum = v[0];
        for (std::size_t i = 1; i + 1 < v.size(); ++i) sum += static_cast<int>(i) * v[i];
        return sum % 103;
    }
};

TEST_P(Code128, GlyphSchemesOfBothBuilds) {
    // "A" in set B: check (104 + 33) mod 103 = 34.
    const std::u16string b = Run(EncodeCode128B, u"A");
    const std::u16string bc = Run(EncodeCode128BWCheck, u"A");
    if (desktop()) {
        EXPECT_EQ(b, u"\x19" u"A" u"\x1a1" u"\x1b");
        EXPECT_EQ(bc, u"\x19" u"AB\x1b");
    } else {
        EXPECT_EQ(b, u"\xf9" u"A" u"\x1a1" u"\xfb");
        EXPECT_EQ(bc, u"\xf9" u"AB\xfb");
    }
    // Space is value 0; starts A and C; the set-C check column for 95 to 99.
    const std::u16string sp = Run(EncodeCode128AWCheck, u" ");
    EXPECT_EQ(sp[0], desktop() ? 0x18 : 0xF8);
    EXPECT_EQ(sp[1], desktop() ? 0x1C : 0xFC);
    // "00": check (105 + 0) mod 103 = 2; "96" gives check (105 + 96) mod 103 = 98.
    EXPECT_EQ(Run(EncodeCode128C, u"00"), (desktop() ? u"\x1a\x1c" : u"\xfa\xfc") + Ch(2 + 383) + Ch(desktop() ? 0x1B : 0xFB));
    EXPECT_EQ(Run(EncodeCode128C, u"96")[2], 98 + 127);
    EXPECT_EQ(Run(EncodeCode128CWCheck, u"96")[2], desktop() ? 98 - 79 : 98 + 145);
}

TEST_P(Code128, ChecksAreComputedFromValuesInBothSchemes) {
    const std::vector<std::pair<EncodeFn, std::u16string>> inputs = {
        {EncodeCode128A, u"HELLO\x01\x1f" + Ch(kNulStandIn)}, {EncodeCode128B, u"Hello, World~\x7f"},
        {EncodeCode128C, u"0123456789"}, {EncodeCode128CWCheck, u"999897969594"},
        {EncodeCode128AWCheck, u"_^]"}, {EncodeCode128Auto, u"ab12345\x02xy"},
        {EncodeCode128Auto, u"\x1f\x1e" u"99999"}};
    for (const auto& [fn, in] : inputs) {
        const auto v = Values(fn, in);
        ASSERT_GE(v.size(), 2u) << Show(in);
        EXPECT_EQ(v.back(), Check(v)) << Show(in);
    }
}

TEST_P(Code128, FixedSetsKeepTheirCharacters) {
    // Set A: controls, NUL stand-in and the function codes 241 to 247; no lower case, no
    // start values inside the data.
    EXPECT_EQ(Values(EncodeCode128A, u"Aa\x01" + Ch(kNulStandIn) + Ch(241) + Ch(247) + Ch(248) + Ch(250)),
              (std::vector<int>{103, 33, 65, 64, 96, 102, Check({103, 33, 65, 64, 96, 102, 0})}));
    // Set B: 32 to 127 and 241 to 247; controls dropped.
    EXPECT_EQ(Values(EncodeCode128B, u"a\x01\x7f" + Ch(242) + Ch(246) + Ch(kNulStandIn)),
              (std::vector<int>{104, 65, 95, 97, 101, Check({104, 65, 95, 97, 101, 0})}));
    EXPECT_EQ(Run(EncodeCode128A, u""), u"");
    EXPECT_EQ(Run(EncodeCode128BWCheck, u""), u"");
    EXPECT_EQ(Run(EncodeCode128C, u""), u"");
    EXPECT_EQ(Run(EncodeCode128Auto, u""), u"");
}

TEST_P(Code128, SetCPairsDigitsAndKeepsFunctionCodesAlone) {
    EXPECT_EQ(Values(EncodeCode128C, u"123"), (std::vector<int>{105, 1, 23, Check({105, 1, 23, 0})}));
    EXPECT_EQ(Values(EncodeCode128C, u"1a2-3"), Values(EncodeCode128C, u"123"));
    // 245 to 247 are the single values 100 to 102; each digit run is paired on its own.
    EXPECT_EQ(Values(EncodeCode128C, Ch(247) + u"1234" + Ch(247) + u"567"),
              (std::vector<int>{105, 102, 12, 34, 102, 5, 67, Check({105, 102, 12, 34, 102, 5, 67, 0})}));
    EXPECT_EQ(Values(EncodeCode128CWCheck, Ch(245) + Ch(246)),
              (std::vector<int>{105, 100, 101, Check({105, 100, 101, 0})}));
}

TEST_P(Code128, AutomaticSetChoice) {
    EXPECT_EQ(Values(EncodeCode128Auto, u"123456"), (std::vector<int>{105, 12, 34, 56, Check({105, 12, 34, 56, 0})}));
    // Set B, then set C for "1234", back to set B for "5".
    const auto v = Values(EncodeCode128Auto, u"AB12345");
    EXPECT_EQ(v, (std::vector<int>{104, 33, 34, 99, 12, 34, 100, 21, Check({104, 33, 34, 99, 12, 34, 100, 21, 0})}));
    // A control character switches to set A and back to set B for "b".
    EXPECT_EQ(Values(EncodeCode128Auto, u"a\x1f" u"b"),
              (std::vector<int>{104, 65, 101, 95, 100, 66, Check({104, 65, 101, 95, 100, 66, 0})}));
    // In set A the characters 33 to 95 stay in set A; a space switches to set B.
    EXPECT_EQ(Values(EncodeCode128Auto, u"\x01" u"A A"),
              (std::vector<int>{103, 65, 33, 100, 0, 33, Check({103, 65, 33, 100, 0, 33, 0})}));
    // FNC2 in set C is preceded by CODE B; FNC1 stays in any set.
    EXPECT_EQ(Values(EncodeCode128Auto, u"123456" + Ch(242) + Ch(247)),
              (std::vector<int>{105, 12, 34, 56, 100, 97, 102, Check({105, 12, 34, 56, 100, 97, 102, 0})}));
    EXPECT_EQ(Values(EncodeCode128Auto, Ch(247) + u"01")[0], 105);
    EXPECT_EQ(Values(EncodeCode128Auto, Ch(242) + u"x")[0], 104);
    // Exactly four digits do not start in set C.
    EXPECT_EQ(Values(EncodeCode128Auto, u"1234")[0], 104);
}

TEST_P(Code128, AutomaticStartFollowsTheFirstEncodedCharacter) {
    // DEL, FNC3, SHIFT and characters above 127 are dropped before the start is chosen.
    EXPECT_EQ(Values(EncodeCode128Auto, u"\x7f" u"abc"), Values(EncodeCode128Auto, u"abc"));
    EXPECT_EQ(Values(EncodeCode128Auto, Ch(241) + Ch(243) + u"12345"), Values(EncodeCode128Auto, u"12345"));
    EXPECT_EQ(Values(EncodeCode128Auto, Ch(kNulStandIn) + u"a")[0], 103);
    EXPECT_EQ(Values(EncodeCode128Auto, u"\x80" u"1" + Ch(0x1234) + u"2345")[0], 105);
    // Nothing to encode: no symbol.
    EXPECT_EQ(Run(EncodeCode128Auto, Ch(241) + Ch(0x2000)), u"");
}

TEST_P(Code128, DesktopInputCodesEqualTheServers) {
    // The function values are entered as 241 to 250 in both builds; 17 to 26 are controls.
    EXPECT_EQ(Values(EncodeCode128A, Ch(17) + Ch(242))[1], 81);
    EXPECT_EQ(Values(EncodeCode128A, Ch(17) + Ch(242))[2], 97);
    EXPECT_EQ(Values(EncodeCode128B, Ch(21))[0], 104);
    EXPECT_EQ(Values(EncodeCode128B, Ch(21)).size(), 2u);
    EXPECT_EQ(Values(EncodeCode128C, Ch(21) + Ch(23)).size(), 2u);
}

TEST_P(Code128, AtTheBoundCheckAndStopAreKept) {
    const std::size_t maxLen = GetParam()->bound - 1;
    for (EncodeFn fn : {EncodeCode128A, EncodeCode128B, EncodeCode128C, EncodeCode128BWCheck, EncodeCode128Auto}) {
        const std::u16string f = Run(fn, std::u16string(5000, u'4'));
        EXPECT_LE(f.size(), maxLen);
        // Set C packs two digits a glyph: the decoded input runs out first in the server.
        if (fn != EncodeCode128C && fn != EncodeCode128Auto) {
            EXPECT_GE(f.size(), maxLen - 1);
        }
        EXPECT_EQ(f.back(), desktop() ? 0x1B : 0xFB);
        const auto v = Code128FontToValues(f, desktop());
        ASSERT_TRUE(v);
        EXPECT_EQ(v->back(), Check(*v));
    }
    // A switch is never written without the character it switches for.
    std::u16string mixed;
    while (mixed.size() < 5000) mixed += u"a\x01";
    const auto v = Code128FontToValues(Run(EncodeCode128Auto, mixed), desktop());
    ASSERT_TRUE(v);
    EXPECT_NE((*v)[v->size() - 2], 101);
    EXPECT_NE((*v)[v->size() - 2], 100);
    // The result buffer is cleared whole at each encode.
    Run(EncodeCode128B, std::u16string(100, u'x'));
    const char16_t* r = EncodeCode128B(ctx, u"x");
    EXPECT_EQ(r, ctx.code128ResultBuffer());
    for (std::size_t i = 4; i < 100; ++i) EXPECT_EQ(r[i], 0) << i;
}

INSTANTIATE_TEST_SUITE_P(Builds, Code128, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
