#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/band_text.h"

using namespace matrix;

namespace {

std::unique_ptr<SymbolRecord> NewRecord() { return std::make_unique<SymbolRecord>(); }

TEST(RecordHelpers, CharacterSetsAndDigits) {
    const auto* d = reinterpret_cast<const std::uint8_t*>("0123");
    const auto* a = reinterpret_cast<const std::uint8_t*>("01A3");
    EXPECT_EQ(CheckCharSet("0123456789", d, 4), kSuccess);
    EXPECT_EQ(CheckCharSet("0123456789", a, 4), kInvalidData);
    EXPECT_EQ(CheckCharSet("0123456789", a, 0), kSuccess);
    EXPECT_EQ(CharToDigit('7'), 7);
    EXPECT_EQ(CharToDigit('F'), 15);
    EXPECT_EQ(DigitToChar(10), 'A');
    EXPECT_EQ(CharPosition("ABC", 'C'), 2);
    EXPECT_EQ(CharPosition("ABC", 'Z'), 0);
    char buf[16] = "aZ9b";
    ToUpperAscii(buf);
    EXPECT_STREQ(buf, "AZ9B");
    const char* table[] = {"1", "22", "333"};
    char out[16] = "x";
    AppendPattern("ABA", table, 'A', out);
    EXPECT_STREQ(out, "x1333");
    EXPECT_TRUE(IsTwoDigits(reinterpret_cast<const std::uint8_t*>("a12"), 1));
    EXPECT_FALSE(IsTwoDigits(reinterpret_cast<const std::uint8_t*>("a1b"), 1));
}

TEST(RecordHelpers, ModuleForms) {
    auto rec = NewRecord();
    SetModuleBit(*rec, 3, 15);
    EXPECT_EQ(rec->modules[3][2], 2);
    EXPECT_EQ(IsModuleSet(*rec, 3, 15), 1);
    EXPECT_EQ(IsModuleSet(*rec, 3, 14), 0);
    ClearModuleBit(*rec, 3, 15);
    EXPECT_EQ(IsModuleSet(*rec, 3, 15), 0);
    rec->modules[0][0] = 5;
    SetModuleByte(*rec, 0, 0);
    SetModuleByte(*rec, 0, 1);
    EXPECT_EQ(rec->modules[0][0], 5);
    EXPECT_EQ(rec->modules[0][1], 1);
}

TEST(RecordHelpers, ErrorTextKeeps99Characters) {
    auto rec = NewRecord();
    const std::string longMessage(150, 'x');
    EXPECT_EQ(Fail(*rec, kInvalidOption, longMessage.c_str()), kInvalidOption);
    EXPECT_EQ(std::string(rec->errorText), std::string(99, 'x'));
}

TEST(BandLayout, TenRowsGiveThreeLines) {
    auto rec = NewRecord();
    rec->rows = 10;
    rec->width = 3;
    for (int r = 0; r < 10; ++r) rec->modules[r][0] = 1;  // column 0 all dark
    rec->modules[0][1] = 1;                                 // column 1: first row only
    rec->modules[9][2] = 1;                                 // column 2: last row only
    ASSERT_TRUE(WriteBandText(*rec, true));
    EXPECT_STREQ(rec->fontText, "F80\r\nF00\r\nC04\r\n");
    ASSERT_TRUE(WriteBandText(*rec, false));
    EXPECT_STREQ(rec->fontText, "F80\nF00\nC04\n");
    const auto m = testing_support::BandTextToMatrix(rec->fontText, 10);
    ASSERT_TRUE(m);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ((*m)[r][c], rec->modules[r][c] != 0) << r << "," << c;
}

TEST(BandLayout, BitFormAndOverflow) {
    auto rec = NewRecord();
    rec->rows = 4;
    rec->width = 9;
    SetModuleBit(*rec, 1, 8);
    ASSERT_TRUE(WriteBandText(*rec, false, ModuleForm::Bit));
    EXPECT_STREQ(rec->fontText, "000000004\n");
    rec->rows = kMaxRows;
    rec->width = 1000;  // 50 bands of 1,001 characters cannot fit
    EXPECT_FALSE(WriteBandText(*rec, true, ModuleForm::Bit));
    EXPECT_STREQ(rec->fontText, "");
    // An encoder's last step reports a text that does not fit, whatever it had reached.
    EXPECT_EQ(FinishBandText(*rec, false, ModuleForm::Bit, kWarning), kDataTooLong);
    EXPECT_STREQ(rec->errorText, kBandTextTooLong);
    EXPECT_STREQ(rec->fontText, "");
    rec->rows = 4;
    rec->width = 9;
    EXPECT_EQ(FinishBandText(*rec, false, ModuleForm::Bit, kWarning), kWarning);
    EXPECT_STREQ(rec->fontText, "000000004\n");
}

std::size_t Length(const char* s) { return std::char_traits<char>::length(s); }

TEST(Utf8Conversion, Latin1) {
    auto rec = NewRecord();
    std::uint8_t out[16];
    const std::uint8_t in[] = {'A', 0xC3, 0xA9, 0xC2, 0xA0, 'z'};
    std::size_t n = sizeof in;
    ASSERT_EQ(Utf8ToLatin1(*rec, in, out, n), kSuccess);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "A\xE9\xA0z");
    const std::uint8_t bad[] = {'A', 0xE2, 0x82, 0xAC};
    n = sizeof bad;
    EXPECT_EQ(Utf8ToLatin1(*rec, bad, out, n), kInvalidData);
    EXPECT_STREQ(rec->errorText,
                 "error: Invalid character in input string (only Latin-1 characters supported)");
    // A lead byte cut off at the end of the data is refused, not read past.
    const std::uint8_t cut[] = {'A', 0xC3};
    n = sizeof cut;
    EXPECT_EQ(Utf8ToLatin1(*rec, cut, out, n), kInvalidData);
    EXPECT_EQ(Length(rec->errorText) > 0, true);
}

TEST(Utf8Conversion, CodePoints) {
    auto rec = NewRecord();
    std::uint32_t out[16];
    const std::uint8_t euro[] = {0xE2, 0x82, 0xAC, 'a', 0xCE, 0xA9};
    std::size_t n = sizeof euro;
    ASSERT_EQ(Utf8ToUtf16(*rec, euro, out, n), kSuccess);
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(out[0], 0x20ACu);
    EXPECT_EQ(out[1], u'a');
    EXPECT_EQ(out[2], 0x3A9u);
    struct Bad {
        std::basic_string<std::uint8_t> in;
        const char* message;
    };
    const Bad bad[] = {{{0x80}, "Corrupt Unicode data"},
                       {{0xC0, 0x80}, "Overlong encoding not supported"},
                       {{0xF0, 0x9F, 0x98, 0x80}, "Unicode sequences of more than 3 bytes not supported"},
                       {{'a', 0xE2, 0x82}, "Corrupt Unicode data"},
                       {{0xC3}, "Corrupt Unicode data"}};
    for (const Bad& b : bad) {
        n = b.in.size();
        EXPECT_EQ(Utf8ToUtf16(*rec, b.in.data(), out, n), kInvalidUtf8);
        EXPECT_STREQ(rec->errorText, b.message);
    }
}

}  // namespace
