#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::Encode;
using testing_support::Show;

namespace {

const std::u16string kFnc1(1, kInFnc1);

class Gs1128 : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
    std::u16string Auto(std::u16string_view data) { return Run(EncodeCode128Auto, data); }
};

TEST_P(Gs1128, FieldsAndFnc1) {
    EXPECT_EQ(Run(EncodeGS1128, u"(01)12345678901231(10)ABC"), Auto(kFnc1 + u"0112345678901231" u"10ABC"));
    EXPECT_EQ(Run(EncodeGS1128, u"(10)ABC(01)12345678901231"), Auto(kFnc1 + u"10ABC" + kFnc1 + u"0112345678901231"));
    EXPECT_EQ(Run(EncodeGS1128, u"(3103)000123"), Auto(kFnc1 + u"3103000123"));
    EXPECT_EQ(Run(EncodeGS1128, u"(00)350123451234567894"), Auto(kFnc1 + u"00350123451234567894"));
    // Without any "(" the text is plain Code 128 with its ")" dropped.
    EXPECT_EQ(Run(EncodeGS1128, u"AB)12"), Auto(u"AB12"));
    EXPECT_EQ(Run(EncodeGS1128, u""), u"");
    // Characters outside 32 to 127 are dropped first.
    EXPECT_EQ(Run(EncodeGS1128, u"(10)A\x01" u"BC\x2000"), Run(EncodeGS1128, u"(10)ABC"));
    EXPECT_EQ(Run(EncodeUSPS128, u""), Auto(kFnc1 + u"0"));
}

TEST_P(Gs1128, MessagesOfTheAiRules) {
    EXPECT_EQ(Run(EncodeGS1128, u"(01)123"), u"Invalid data length for AI (01)");
    EXPECT_EQ(Run(EncodeGS1128, u"(3103)123"), u"Invalid data length for AI (3103)");
    EXPECT_EQ(Run(EncodeGS1128, u"(100)1"), u"Invalid AI value (100)");
    EXPECT_EQ(Run(EncodeGS1128, u"(00)123"), u"Invalid data length for AI (00)");
    EXPECT_EQ(Run(EncodeGS1128, u"(10)"), u"Invalid data length for AI (10)");
    EXPECT_EQ(Run(EncodeGS1128, u"(10)" + std::u16string(21, u'A')), u"Invalid data length for AI (10)");
    EXPECT_EQ(Run(EncodeGS1128, u"(9012)X"), u"Invalid AI value (9012)");
    // The last AI at fault is named, with its own kind of fault.
    EXPECT_EQ(Run(EncodeGS1128, u"(01)1(100)1"), u"Invalid AI value (100)");
    EXPECT_EQ(Run(EncodeGS1128, u"(100)1(01)1(10)A"), u"Invalid data length for AI (01)");
    // Other numbers are taken with any length.
    EXPECT_EQ(Run(EncodeGS1128, u"(240)X"), Auto(kFnc1 + u"240X"));
}

TEST_P(Gs1128, MessagesOfMalformedBrackets) {
    EXPECT_EQ(Run(EncodeGS1128, u"(01"), u"Malformed AI in input data (brackets don't match)");
    EXPECT_EQ(Run(EncodeGS1128, u"(01)1)"), u"Malformed AI in input data (brackets don't match)");
    EXPECT_EQ(Run(EncodeGS1128, u")(01)12345678901231"), u"Malformed AI in input data (brackets don't match)");
    EXPECT_EQ(Run(EncodeGS1128, u"((01))1"), u"Found nested brackets in input data");
    EXPECT_EQ(Run(EncodeGS1128, u"(12345)1"), u"Invalid AI in input data (AI too long)");
    EXPECT_EQ(Run(EncodeGS1128, u"(99999999999999999999)1"), u"Invalid AI in input data (AI too long)");
    EXPECT_EQ(Run(EncodeGS1128, u"(1)1"), u"Invalid AI in input data (AI too short)");
    EXPECT_EQ(Run(EncodeGS1128, u"()1"), u"Invalid AI in input data (AI too short)");
    EXPECT_EQ(Run(EncodeGS1128, u"(1A)1"), u"Invalid AI in input data (non-numeric characters in AI)");
    EXPECT_EQ(Run(EncodeGS1128, u"(10)A(A1)B"), u"Invalid AI in input data (non-numeric characters in AI)");
    // The message is returned in the Code 128 result buffer.
    EXPECT_EQ(EncodeGS1128(ctx, u"(01"), ctx.code128ResultBuffer());
}

TEST_P(Gs1128, AiText) {
    char16_t buf[16];
    Gs1AiToTextW(buf, 16, 0);
    EXPECT_EQ(std::u16string(buf), u"(00)");
    Gs1AiToTextW(buf, 16, 310);
    EXPECT_EQ(std::u16string(buf), u"(310)");
    Gs1AiToTextW(buf, 16, 8001);
    EXPECT_EQ(std::u16string(buf), u"(8001)");
    Gs1AiToTextW(buf, 4, 8001);
    EXPECT_EQ(std::u16string(buf), u"(80");
}

TEST_P(Gs1128, Usps128) {
    // Digits and FNC1 are kept; FNC1 first; the check is over the digits.
    EXPECT_EQ(Run(EncodeUSPS128, u"12345678901"), Auto(kFnc1 + u"123456789012"));
    EXPECT_EQ(Run(EncodeUSPS128, kFnc1 + u"12-3" + kFnc1 + u"4"), Auto(kFnc1 + u"123" + kFnc1 + u"48"));
}

TEST_P(Gs1128, SsccDropsTheAiOnlyBeforeTheFullCode) {
    const std::u16string d17 = u"12345678901234567";
    EXPECT_EQ(ComputeSSCCChecksum(ctx, d17.c_str()), u'5');
    const std::u16string sscc = Run(EncodeSSCC, d17);
    EXPECT_EQ(sscc, Auto(kFnc1 + u"00" + d17 + u"5"));
    EXPECT_EQ(Run(EncodeSSCC, u"00" + d17), sscc);
    EXPECT_EQ(Run(EncodeSSCC, u"(00)" + d17 + u"5"), sscc);
    // A bare 17- or 18-digit code that begins with "00" keeps its digits.
    EXPECT_EQ(Run(EncodeSSCC, u"00123456789012345"), Auto(kFnc1 + u"00" u"00123456789012345" u"2"));
    EXPECT_EQ(ComputeSSCCChecksum(ctx, u"001234567890123456"), ComputeSSCCChecksum(ctx, u"00123456789012345"));
    // Short data is filled with "0" at its end.
    EXPECT_EQ(Run(EncodeSSCC, u"1"), Run(EncodeSSCC, u"10000000000000000"));
    EXPECT_EQ(EncodeSSCC(ctx, u"1"), ctx.resultBuffer());
}

INSTANTIATE_TEST_SUITE_P(Builds, Gs1128, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
