#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::U;

namespace {

std::u16string Decode(const Profile& p, std::u16string_view text) {
    const std::u16string in(text);
    return DecodeCharRefs(p, in.c_str());
}

TEST(DecodeCharRefs, RulesSharedByBothBuilds) {
    for (const Profile* p : {&kServer, &kDesktop}) {
        SCOPED_TRACE(p->name);
        EXPECT_EQ(Decode(*p, u"&#65;BC"), u"ABC");
        EXPECT_EQ(Decode(*p, u"&#65BC"), u"ABC");
        EXPECT_EQ(Decode(*p, u"&#0065"), u"A");                 // leading zeros cost nothing
        EXPECT_EQ(Decode(*p, u"&#1234"), u"{4");                // three significant digits
        EXPECT_EQ(Decode(*p, u"A&B#C&"), u"A&B#C&");            // no escape
        EXPECT_EQ(Decode(*p, u"&#65;&#66;"), u"AB");
        EXPECT_EQ(Decode(*p, u"&#255;"), std::u16string(1, char16_t(255)));
        EXPECT_EQ(Decode(*p, u""), u"");
    }
}

TEST(DecodeCharRefs, ServerBuild) {
    EXPECT_EQ(Decode(kServer, u"&#300;"), u"&#300;");
    EXPECT_EQ(Decode(kServer, u"&#256;"), u"&#256;");
    EXPECT_EQ(Decode(kServer, u"&#999;"), u"&#999;");
    EXPECT_EQ(Decode(kServer, u"&#999&#65;"), u"&#999A");     // scanned again after a kept escape
    EXPECT_EQ(Decode(kServer, u"&#0999;x"), u"&#0999;x");
}

TEST(DecodeCharRefs, DesktopBuild) {
    EXPECT_EQ(Decode(kDesktop, u"&#300;"), std::u16string(1, char16_t(300)));
    EXPECT_EQ(Decode(kDesktop, u"&#511;"), std::u16string(1, char16_t(511)));
    EXPECT_EQ(Decode(kDesktop, u"&#512;"), u"&#512");
    EXPECT_EQ(Decode(kDesktop, u"&#999;"), u"&#999");
    EXPECT_EQ(Decode(kDesktop, u"AB&#x"), u"ABx");
}

// An escape without a value adds nothing in either build: the data goes on after it.
TEST(DecodeCharRefs, EscapeWithoutValueAddsNothing) {
    for (const Profile* p : {&kServer, &kDesktop}) {
        SCOPED_TRACE(p->name);
        EXPECT_EQ(Decode(*p, u"AB&#"), u"AB");
        EXPECT_EQ(Decode(*p, u"AB&#CD"), u"ABCD");
        EXPECT_EQ(Decode(*p, u"AB&#0CD"), u"ABCD");
        EXPECT_EQ(Decode(*p, u"AB&#00;CD"), u"ABCD");
    }
}

TEST(DecodeCharRefs, DesktopDecodesCharactersOnlyBelow255) {
    std::u16string in(254, u'x');
    in += u"&#65;&#66;";
    const std::u16string out = Decode(kDesktop, in);
    EXPECT_EQ(out.size(), 255u);
    EXPECT_EQ(out.back(), u'A');
    // Literal text goes on past 255 characters.
    EXPECT_EQ(Decode(kDesktop, std::u16string(300, u'y')).size(), 300u);
}

TEST(DecodeCharRefs, OutputIsBoundedByTheBuffer) {
    char16_t out[8];
    const std::u16string in(100, u'z');
    EXPECT_EQ(DecodeCharRefs(kServer, in.c_str(), out, 8), 7u);
    EXPECT_EQ(out[7], 0);
    EXPECT_EQ(DecodeCharRefs(kServer, nullptr, out, 8), 0u);
}

TEST(DecodeCharRefs, DesktopFormWritesResultBuffer) {
    Context ctx(kDesktop);
    const char16_t* r = DecodeCharRefsToResult(ctx, u"&#66;x");
    EXPECT_EQ(r, ctx.resultBuffer());
    EXPECT_EQ(std::u16string(r), u"Bx");
}

TEST(FrameHelpers, Mod10Check) {
    EXPECT_EQ(Mod10Check(u"12345678901"), u'2');
    EXPECT_EQ(Mod10Check(u""), u'0');
    EXPECT_EQ(Mod10Check(u"590123412345"), u'7');
    EXPECT_EQ(Mod10Check(u"1234567"), u'0');
    EXPECT_EQ(Mod10Check(u"12345678901234567"), u'5');
}

TEST(FrameHelpers, UpperCaseCopyChangesOnlyAsciiLetters) {
    Context ctx(kServer);
    const std::u16string in = u"az AZ 09 " + U("\xe9\xff");
    EXPECT_EQ(std::u16string(UpperCaseCopy(ctx, in.c_str())), u"AZ AZ 09 " + U("\xe9\xff"));
}

TEST(FrameHelpers, AppendWCharStopsAt255) {
    char16_t buf[256] = {};
    for (int i = 1; i <= 255; ++i) ASSERT_EQ(AppendWChar(buf, u'a'), i);
    EXPECT_EQ(AppendWChar(buf, u'b'), -1);
    EXPECT_EQ(TextLength(buf), 255u);
}

TEST(FrameHelpers, OutputAppendIsBounded) {
    char16_t buf[8];
    Output out(buf, 4);
    EXPECT_TRUE(out.put(u'a'));
    EXPECT_TRUE(out.room(1, 1));
    EXPECT_FALSE(out.putUnit(u"bc", 1));
    EXPECT_TRUE(out.putUnit(u"bc", 0));
    EXPECT_FALSE(out.put(u'd'));
    EXPECT_EQ(out.view(), u"abc");
}

}  // namespace
