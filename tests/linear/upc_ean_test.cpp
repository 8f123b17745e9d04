#include <gtest/gtest.h>

#include "linear.h"
#include "support/encode_texts.h"

using namespace linear;
using testing_support::Encode;
using testing_support::Show;
using testing_support::U;

namespace {

class UpcEan : public ::testing::TestWithParam<const Profile*> {
protected:
    Context ctx{*GetParam()};
    std::u16string Run(EncodeFn fn, std::u16string_view text) { return Encode(fn, ctx, text); }
};

std::u16string Hr(int digit) { return std::u16string(1, static_cast<char16_t>(0xE0 + digit)); }

TEST_P(UpcEan, Ean13ParityGuardsAndCheckDigit) {
    EXPECT_EQ(Run(EncodeEAN13, u"590123412345"), Hr(5) + u"[9PQ23R|ASDFGJ]");
    // Short data is filled with "0" at its end; long data is cut; other characters dropped.
    EXPECT_EQ(Run(EncodeEAN13, u"123"), Run(EncodeEAN13, u"123000000000"));
    EXPECT_EQ(Run(EncodeEAN13, u"5901-2341-2345-999"), Run(EncodeEAN13, u"590123412345"));
    EXPECT_EQ(Run(EncodeEAN13, u"&#53;90123412345"), Run(EncodeEAN13, u"590123412345"));
    EXPECT_EQ(Run(EncodeEAN13, u""), Hr(0) + u"[000000|::::::]");
}

TEST_P(UpcEan, Ean8UpcAAndUpcE) {
    // Check digit of 1234567 is 0.
    EXPECT_EQ(Run(EncodeEAN8, u"1234567"), u"[1234|GHJ:]");
    // UPC-A: number-system digit and check digit with long bars; check digit 2.
    const std::u16string a = Run(EncodeUPCA, u"12345678901");
    EXPECT_EQ(a, Hr(1) + u"[!23456|JKL:As]" + Hr(2));
    // UPC-E 123456 expands to 01234500006, check digit 5, parity BAABBA.
    EXPECT_EQ(Run(EncodeUPCE, u"123456"), Hr(0) + u"[Q23RT6'" + Hr(5));
}

TEST(UpcEExpansion, ByTheLastDigit) {
    auto expand = [](std::u16string s) {
        s.resize(12);
        EXPECT_TRUE(ExpandUpcE(s.data()));
        return std::u16string(s.c_str());
    };
    EXPECT_EQ(expand(u"0123450"), u"01200000345");
    EXPECT_EQ(expand(u"0123452"), u"01220000345");
    EXPECT_EQ(expand(u"0123453"), u"01230000045");
    EXPECT_EQ(expand(u"0123454"), u"01234000005");
    EXPECT_EQ(expand(u"0123456"), u"01234500006");
    char16_t bad[12] = u"1123456";
    EXPECT_FALSE(ExpandUpcE(bad));
    char16_t shortText[12] = u"012345";
    EXPECT_FALSE(ExpandUpcE(shortText));
}

TEST_P(UpcEan, UpcEInItsFullEightDigitForm) {
    // Number system 0, six digits and the right check digit: the six digits are taken.
    EXPECT_EQ(Run(EncodeUPCE, u"01234565"), Run(EncodeUPCE, u"123456"));
    // Any other eight digits are cut as before.
    EXPECT_EQ(Run(EncodeUPCE, u"01234564"), Run(EncodeUPCE, u"012345"));
    EXPECT_EQ(Run(EncodeUPCE, u"11234565"), Run(EncodeUPCE, u"112345"));
}

TEST_P(UpcEan, AddOnsPadCutAndParity) {
    EXPECT_EQ(Run(EncodeAddOn, u""), u"");
    EXPECT_EQ(Run(EncodeAddOn, u"x"), u"");
    EXPECT_EQ(Run(EncodeAddOn, u"5"), Run(EncodeAddOn, u"50"));
    EXPECT_EQ(Run(EncodeAddOn, u"123"), Run(EncodeAddOn, u"12300"));
    EXPECT_EQ(Run(EncodeAddOn, u"1234567"), Run(EncodeAddOn, u"12345"));
    // 2-digit parity by value mod 4: 12 odd-odd, 13 odd-even, 14 even-odd, 15 even-even.
    EXPECT_EQ(Run(EncodeAddOn, u"12"), u"{z\\x");
    EXPECT_EQ(Run(EncodeAddOn, u"13"), u"{z\\C");
    EXPECT_EQ(Run(EncodeAddOn, u"14"), u"{Z\\v");
    EXPECT_EQ(Run(EncodeAddOn, u"15"), u"{Z\\B");
    // 52495: check (3*(5+4+5) + 9*(2+9)) mod 10 = 1, parity "01011".
    EXPECT_EQ(Run(EncodeAddOn, u"52495"), u"{B\\x\\V\\.\\b");
    EXPECT_EQ(EncodeEan2AddOn(u"00"), u"{/\\/");
}

TEST_P(UpcEan, AddOnFollowsTheSymbolAfterOneSpace) {
    const std::u16string main = Run(EncodeEAN13, u"590123412345");
    EXPECT_EQ(Run(EncodeEAN13, u"590123412345|12"), main + u" " + Run(EncodeAddOn, u"12"));
    EXPECT_EQ(Run(EncodeEAN13, u"590123412345|"), main);
    EXPECT_EQ(Run(EncodeEAN13, u"5901|2341|2345"), Run(EncodeEAN13, u"5901|23412345"));
    const std::u16string upca = Run(EncodeUPCA, u"12345678901|52495");
    EXPECT_EQ(upca, Run(EncodeUPCA, u"12345678901") + u" " + Run(EncodeAddOn, u"52495"));
    EXPECT_EQ(Run(EncodeEAN8, u"1234567|5"), Run(EncodeEAN8, u"1234567") + u" " + Run(EncodeAddOn, u"50"));
    EXPECT_EQ(Run(EncodeUPCE, u"123456|1"), Run(EncodeUPCE, u"123456") + u" " + Run(EncodeAddOn, u"10"));
}

TEST_P(UpcEan, BooklandFromIsbn10AndIsbn13) {
    // ISBN 0-7352-0044-? : "978" and its first nine digits; the ISBN check is not tested.
    const std::u16string ean = Run(EncodeEAN13, u"978073520044");
    EXPECT_EQ(Run(EncodeBookland, u"0-7352-0044-X"), ean);
    EXPECT_EQ(Run(EncodeBookland, u"0735200449"), ean);
    // An ISBN-13 is the EAN-13 number itself.
    EXPECT_EQ(Run(EncodeBookland, u"978-0-7352-0044-9"), ean);
    EXPECT_EQ(Run(EncodeBookland, u"9791234567896"), Run(EncodeEAN13, u"979123456789"));
    // Any other count of digits is cut or filled to ten as before.
    EXPECT_EQ(Run(EncodeBookland, u"12"), Run(EncodeEAN13, u"978120000000"));
    EXPECT_EQ(Run(EncodeBookland, u"1234567890123"), Run(EncodeEAN13, u"978123456789"));
    // The add-on joins the EAN-13 text; a "|" without add-on digits leaves one space.
    EXPECT_EQ(Run(EncodeBookland, u"0735200449|51995"), ean + u" " + Run(EncodeAddOn, u"51995"));
    EXPECT_EQ(Run(EncodeBookland, u"0735200449|"), ean + u" ");
}

TEST_P(UpcEan, ResultBuffersAreKeptApart) {
    const char16_t* ean = EncodeEAN13(ctx, u"590123412345");
    const std::u16string saved = ean;
    EncodeAddOn(ctx, u"12345");
    EncodeUPCA(ctx, u"1");
    EXPECT_EQ(std::u16string(ean), saved) << Show(ean);
    EXPECT_EQ(ean, ctx.ean13ResultBuffer());
    EXPECT_EQ(EncodeBookland(ctx, u"1"), ctx.resultBuffer());
}

INSTANTIATE_TEST_SUITE_P(Builds, UpcEan, ::testing::Values(&kServer, &kDesktop),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
