// The tree's UTF-8 decoder keeps two rules apart: the batch files' replacing rule and the
// encoders' input rule, which refuses what it cannot take and checks no continuation byte.
#include <gtest/gtest.h>

#include <string>

#include "utf.h"

namespace {

using encoding::FromUtf8;
using encoding::Utf8Fault;
using encoding::Utf8Rule;

struct Both {
    std::u16string replaced, taken;
    Utf8Fault fault;
};

Both Decode(std::string_view bytes) {
    Both b;
    FromUtf8(bytes, b.replaced, Utf8Rule::Replace);
    b.fault = FromUtf8(bytes, b.taken, Utf8Rule::Encoder);
    return b;
}

TEST(Utf8Rules, AgreeOnWellFormedTextUpToThreeBytes) {
    const Both b = Decode("A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(b.fault, Utf8Fault::None);
    EXPECT_EQ(b.taken, u"A\u00E9\u20AC");
    EXPECT_EQ(b.replaced, b.taken);
}

TEST(Utf8Rules, DifferOnMalformedInputAsEachCallerExpects) {
    Both b = Decode("\xC3" "A");  // a lead byte without its continuation
    EXPECT_EQ(b.replaced, u"\uFFFDA");
    EXPECT_EQ(b.fault, Utf8Fault::None);
    EXPECT_EQ(b.taken, u"\u00C1");  // the next byte taken as it stands
    b = Decode("\xED\xA0\x80");     // an encoded surrogate
    EXPECT_EQ(b.replaced, u"\uFFFD");
    EXPECT_EQ(b.taken, std::u16string(1, char16_t(0xD800)));
    b = Decode("ab\xF0\x9F\x98\x80");  // four bytes: a pair, or a refusal after what came before
    EXPECT_EQ(b.replaced, u"ab\U0001F600");
    EXPECT_EQ(b.fault, Utf8Fault::FourBytes);
    EXPECT_EQ(b.taken, u"ab");
    EXPECT_EQ(Decode("x\xC1\x81").fault, Utf8Fault::Overlong);
    EXPECT_EQ(Decode("x\xE2\x82").fault, Utf8Fault::Corrupt);
}

TEST(Utf8Rules, AppendToWhatTheOutputHolds) {
    std::u16string out = u">";
    EXPECT_EQ(FromUtf8("\xC3\xA9", out, Utf8Rule::Encoder), Utf8Fault::None);
    FromUtf8("\x80", out, Utf8Rule::Replace);
    EXPECT_EQ(out, u">\u00E9\uFFFD");
}

}  // namespace
