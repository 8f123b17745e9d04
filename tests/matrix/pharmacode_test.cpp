// Pharmacode read back from its bars: the rightmost bar is the least significant.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "pharmacode.h"
#include "support/encode_texts.h"

namespace {

using namespace matrix;
using testing_support::AsBytes;

struct Out {
    int result;
    std::string text, error;
};

Out Pharma(bool twoTrack, const std::string& data) {
    auto rec = std::make_unique<SymbolRecord>();
    const int r = twoTrack ? EncodePharmaTwo(*rec, AsBytes(data), Call::Server(false))
                           : EncodePharmaOne(*rec, AsBytes(data), Call::Server(false));
    return {r, rec->fontText, rec->errorText};
}

// One track: a narrow bar at place i (from the right, from 0) is worth 2^i, a wide one 2^(i+1).
long ReadOne(const std::string& bars) {
    long v = 0, place = 1;
    for (auto it = bars.rbegin(); it != bars.rend(); ++it, place *= 2) v += (*it == '1' ? 2 : 1) * place;
    return v;
}

// Two tracks: the bar kinds 1, 2 and 3 at place i (from the right) are worth that times 3^i.
long ReadTwo(const std::string& bars) {
    long v = 0, place = 1;
    for (auto it = bars.rbegin(); it != bars.rend(); ++it, place *= 3) v += (*it - '0') * place;
    return v;
}

TEST(Pharmacode, OneTrackReadsBackOverItsRange) {
    EXPECT_EQ(Pharma(false, "3").text, "00");
    EXPECT_EQ(Pharma(false, "4").text, "01");
    EXPECT_EQ(Pharma(false, "5").text, "10");
    EXPECT_EQ(Pharma(false, "131070").text, std::string(16, '1'));
    for (long n = 3; n <= 131070; ++n) {
        const Out o = Pharma(false, std::to_string(n));
        ASSERT_EQ(o.result, kSuccess);
        ASSERT_EQ(ReadOne(o.text), n) << o.text;
    }
}

TEST(Pharmacode, TwoTrackReadsBack) {
    EXPECT_EQ(Pharma(true, "4").text, "11");
    EXPECT_EQ(Pharma(true, "64570080").text, std::string(16, '3'));
    for (long n = 4; n <= 64570080; n += n < 100000 ? 1 : 9973) {
        const Out o = Pharma(true, std::to_string(n));
        ASSERT_EQ(o.result, kSuccess);
        ASSERT_EQ(ReadTwo(o.text), n) << o.text;
    }
}

TEST(Pharmacode, Refusals) {
    const struct {
        bool two;
        const char* data;
        int result;
        const char* message;
    } cases[] = {
        {false, "131071", kInvalidData, "Data out of range"}, {false, "2", kInvalidData, "Data out of range"},
        {false, "0000003", kDataTooLong, "Data too long"},    {false, "12A", kInvalidData, "Invalid input data"},
        {true, "64570081", kInvalidData, "Data out of range"}, {true, "3", kInvalidData, "Data out of range"},
        {true, "123456789", kDataTooLong, "Input too long"},   {true, "1x", kInvalidData, "Invalid input data"},
        {false, "", kInvalidData, "Data out of range"},
    };
    for (const auto& c : cases) {
        const Out o = Pharma(c.two, c.data);
        EXPECT_EQ(o.result, c.result) << c.data;
        EXPECT_EQ(o.error, c.message) << c.data;
        EXPECT_EQ(o.text, "") << c.data;
    }
}

}  // namespace
