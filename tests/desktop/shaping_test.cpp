// Where Wine's text shaping fails: which characters, at which places of a line, and the
// message that refuses them.
#include <gtest/gtest.h>

#include <string>

#include "shaping.h"

using namespace desktop;

namespace {

TEST(Shaping, TheCharactersThatFailFirstInARun) {
    // Measured one by one first in an edit field: of the spacing modifier letters these fail...
    const std::u16string failing =
        u"\u02B1\u02B8\u02BC\u02C2\u02C7\u02C8\u02CA\u02CD\u02D1\u02D4\u02D7\u02DA\u02DB\u02DC\u02DD\u02E4\u02EC\u02EE"
        u"\u02F3\u02F7\u0EB8\u0EB9\u0EC8\u0EC9\u0ECA\u0ECB\u0ECC\u0ECD";
    for (const char16_t c : failing) EXPECT_TRUE(FailsFirstInRun(c)) << std::hex << static_cast<int>(c);
    // ...and these are shown, as are combining marks and the other Lao signs.
    const std::u16string shown = u"\u02B0\u02C3\u02C6\u02CB\u02CC\u02D2\u02D3\u02D8\u02D9\u02E5\u02EB\u02EF\u02F2\u02F4"
                                 u"\u02F6\u02F8\u02FF\u0300\u0301\u0303\u0316\u0323\u05B0\u064B\u0EB1\u0EB4\u0EBB\u0EBC"
                                 u"Aa~^\u00E9\u4E2D";
    for (const char16_t c : shown) EXPECT_FALSE(FailsFirstInRun(c)) << std::hex << static_cast<int>(c);
    int count = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) count += FailsFirstInRun(static_cast<char16_t>(c));
    EXPECT_EQ(count, 47 + 8);
}

TEST(Shaping, ACharacterFailsFirstOnALineAndAfterAnotherScript) {
    // Shown: after a letter of its own script or a modifier letter, also with spaces between,
    // and after spaces that begin a line.
    for (const std::u16string text : {u"A\u02DC", u"\u00E9\u02DC", u"\u0180\u02DC", u"\u1E01\u02DC", u"\u02C6\u02DC", u" \u02DC",
                                      u"A\u02DC\u02DC", u"\u0E81\u0EB8", u"\u0E81\u0EB4\u0EB8", u"\u0E9D\u0EB8", u"\u0EDC\u0EB8",
                                      u" \u0EB8", u"\u0E81\u0EB8\u0EC8", u"ab\r\nc\u02DC", u"A  \u02DC", u"\u0E81 \u0EB8",
                                      u"  \u02DC", u"x\n \u0EC8"})
        EXPECT_FALSE(FirstShapingFault(text).has_value()) << testing::PrintToString(std::u32string(text.begin(), text.end()));
    // Failing: first on a line, after a digit, punctuation, a tab, a no-break space, a combining
    // mark, the feminine ordinal, an ideograph, or a letter of the other script, also with a
    // space between (the space joins the run before it).
    for (const std::u16string text : {u"\u02DC", u"1\u02DC", u".\u02DC", u"(\u02DC", u",\u02DC", u"\t\u02DC", u"\u00A0\u02DC",
                                      u"A\u0301\u02DC", u"\u00AA\u02DC", u"\u4E2D\u02DC", u"\u0E81\u02DC", u"\u05D0\u02DC",
                                      u"\u0EB8", u"A\u0EB8", u"\u00E9\u0EB8", u"1\u0EB8", u"\t\u0EB8", u"\u02C6\u0EB8",
                                      u"\u4E2D\u0EB8", u"\u0E81\u0EB8\u0EC8 \u02DC", u"1 \u02DC", u"A \u0EB8"}) {
        const auto fault = FirstShapingFault(text);
        ASSERT_TRUE(fault.has_value()) << testing::PrintToString(std::u32string(text.begin(), text.end()));
        EXPECT_EQ(fault->index, text.size() - 1);
        EXPECT_EQ(fault->character, text.back());
    }
    // Each line begins anew, after LF or CR alone; lines are counted by LF.
    const auto fault = FirstShapingFault(u"A\u02DC\r\nB\n\rx\r\u02DC");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->index, 9u);
    EXPECT_EQ(fault->line, 3u);
    EXPECT_FALSE(FirstShapingFault(u"").has_value());
}

TEST(Shaping, TheRefusalNamesTheCharacter) {
    EXPECT_EQ(ShapingRefused(0x0EB8),
              u"The character U+0EB8 (\u0EB8) cannot stand at the start of a line or after a character of another "
              u"script: this system's text shaping fails on it there and would end the program. The field is "
              u"unchanged.");
}

}  // namespace
