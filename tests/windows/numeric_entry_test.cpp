// The wide-text face of the numeric, Telepen, postal and SEMI encoders.
#include <gtest/gtest.h>

#include <string>

#include "entry.h"

namespace {

TEST(WindowsEntry, NumericAndPostalEncodersTakeWideText) {
    EXPECT_EQ(std::wstring(EncodeCode11(L"123-45")), L"*123-455*");
    EXPECT_EQ(std::wstring(EncodeI25Check(L"1234567")), L"\xe6-CYg\xe7");
    EXPECT_EQ(std::wstring(EncodePOSTNET(L"1234")), L"[123400]");
    EXPECT_EQ(std::wstring(EncodeRoyalMail(L"sn34rd1a")), L"[SN34RD1AK]");
    EXPECT_EQ(std::wstring(EncodeSemiM12(L"123456789")), L"000000000000");
}

}  // namespace
