#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "matrix.h"

using namespace matrix;

namespace {

struct Outcome {
    int result;
    std::string text;  // the reduced string, or the message
};

Outcome Verify(const std::string& in) {
    auto rec = std::make_unique<SymbolRecord>();
    std::vector<std::uint8_t> reduced(in.size() + 1 + in.size() / 2 + 1, 0xAA);
    const int r = VerifyGS1Data(*rec, reinterpret_cast<const std::uint8_t*>(in.c_str()), in.size(),
                                reduced.data());
    if (r != kSuccess) return {r, rec->errorText};
    EXPECT_STREQ(rec->errorText, "");
    return {r, reinterpret_cast<const char*>(reduced.data())};
}

const std::string kFnc1(1, static_cast<char>(kFnc1Mark));

TEST(Gs1Verify, ReducesWithMarksAfterVariableFields) {
    EXPECT_EQ(Verify("(01)12345678901231(10)ABC(17)010203").text,
              "0112345678901231" "10ABC" + kFnc1 + "17010203");
    // A variable-length field at the end gets no mark, nor does the start.
    EXPECT_EQ(Verify("(10)A1(21)XYZ").text, "10A1" + kFnc1 + "21XYZ");
    EXPECT_EQ(Verify("(3103)000123(15)991231").text, "3103000123" "15991231");
    EXPECT_EQ(Verify("(00)123456789012345675").text, "00123456789012345675");
    EXPECT_EQ(Verify("").result, kSuccess);
    EXPECT_EQ(Verify("").text, "");
}

TEST(Gs1Verify, BracketFaults) {
    const struct {
        const char* in;
        const char* message;
    } cases[] = {
        {"(01", "Malformed AI in input data (brackets don't match)"},
        {"(10)AB(", "Malformed AI in input data (brackets don't match)"},
        // A ")" outside brackets is refused, not dropped from the data.
        {"(10)AB)CD", "Malformed AI in input data (brackets don't match)"},
        {")10(AB", "Malformed AI in input data (brackets don't match)"},
        {"(1(0))AB", "Found nested brackets in input data"},
        {"(12345)AB", "Invalid AI in input data (AI too long)"},
        {"(1)AB", "Invalid AI in input data (AI too short)"},
        {"()AB", "Invalid AI in input data (AI too short)"},
        {"(1A)AB", "Invalid AI in input data (non-numeric characters in AI)"},
    };
    for (const auto& c : cases) {
        const Outcome o = Verify(c.in);
        EXPECT_EQ(o.result, kInvalidData) << c.in;
        EXPECT_EQ(o.text, c.message) << c.in;
    }
}

TEST(Gs1Verify, AiRulesNameTheLastFailingAi) {
    EXPECT_EQ(Verify("(01)123").text, "Invalid data length for AI (01)");
    EXPECT_EQ(Verify("(9012)ANY").text, "Invalid AI value (9012)");
    EXPECT_EQ(Verify("(24)X").text, "Invalid AI value (24)");
    EXPECT_EQ(Verify("(310)123456").text, "Invalid AI value (310)");
    EXPECT_EQ(Verify("(3100)12345").text, "Invalid data length for AI (3100)");
    EXPECT_EQ(Verify("(411)123").text, "Invalid data length for AI (411)");
    EXPECT_EQ(Verify("(000)123").text, "Invalid data length for AI (00)");
    // Two failures: the later one is named, whichever kind it is.
    EXPECT_EQ(Verify("(24)X(01)1").text, "Invalid data length for AI (01)");
    EXPECT_EQ(Verify("(01)1(10)OK(9999)Z").text, "Invalid AI value (9999)");
    // A failure stays while later AIs pass.
    EXPECT_EQ(Verify("(01)1(10)OK").text, "Invalid data length for AI (01)");
    EXPECT_EQ(Verify("(01)1").result, kInvalidData);
}

TEST(Gs1Verify, ManyAis) {
    std::string in, expected;
    for (int i = 0; i < 250; ++i) {
        in += "(10)A";
        expected += (i ? kFnc1 : "") + "10A";
    }
    EXPECT_EQ(Verify(in).text, expected);
    // The last of 250 AIs is still checked.
    EXPECT_EQ(Verify(in + "(01)1").text, "Invalid data length for AI (01)");
}

TEST(Gs1Verify, AiText) {
    char buf[16];
    GS1AiToText(buf, 0);
    EXPECT_STREQ(buf, "(00)");
    GS1AiToText(buf, 7);
    EXPECT_STREQ(buf, "(07)");
    GS1AiToText(buf, 310);
    EXPECT_STREQ(buf, "(310)");
    GS1AiToText(buf, 9012);
    EXPECT_STREQ(buf, "(9012)");
}

}  // namespace
