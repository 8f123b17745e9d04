// The Windows face of the linear encoders: 16-bit wchar_t text through the server's profile.
#include <gtest/gtest.h>

#include <string>

#include "entry.h"

namespace {

TEST(WindowsEntry, EncodersTakeAndGiveWideText) {
    EXPECT_EQ(std::wstring(EncodeCode39(L"abc-1")), L"*-1*");
    EXPECT_EQ(std::wstring(EncodeCode39Check(L"CODE39")), L"*CODE39W*");
    EXPECT_EQ(std::wstring(EncodeCode93(L"")), L"[00]|");
    EXPECT_EQ(std::wstring(DecodeCharRefsW(L"&#65;&#300;")), L"A&#300;");
    EXPECT_EQ(&linear::LinearContext().profile(), &linear::kServer);
}

TEST(WindowsEntry, ServerBoundIs2047Characters) {
    const std::wstring many(5000, L'A');
    EXPECT_EQ(std::wstring(EncodeCode39(many.c_str())).size(), 2047u);
}

}  // namespace
