#include <gtest/gtest.h>

#include <string>

#include "matrix.h"

using namespace matrix;

namespace {

char16_t Check(const std::u16string& s) { return cmdmCheckChar(s.c_str(), s.size()); }

TEST(CmdmCheck, WeightsAndFolding) {
    const std::u16string zeros19(19, u'0');
    EXPECT_EQ(Check(std::u16string(20, u'0')), u'0');
    EXPECT_EQ(Check(zeros19 + u"1"), u'E');  // the last value is doubled
    EXPECT_EQ(Check(zeros19 + u"5"), u'B');  // 5 is not doubled
    EXPECT_EQ(Check(zeros19 + u"8"), u'F');  // 16 folds to 1
    EXPECT_EQ(Check(u"1" + zeros19), u'F');  // the first value is not weighted
    EXPECT_EQ(Check(zeros19 + u"F"), u'1');  // 15 stays
    EXPECT_EQ(Check(u"0123456789ABCDEF0123"), Check(u"0123456789ABCDEF0123XYZ"));  // only twenty count
}

TEST(CmdmCheck, RefusesShortOrForeignFields) {
    const std::u16string nineteen(19, u'0');
    EXPECT_EQ(Check(nineteen), 0);  // never reads past the text
    EXPECT_EQ(cmdmCheckChar(nullptr, 0), 0);
    EXPECT_EQ(Check(std::u16string(19, u'0') + u"a"), 0);
    EXPECT_EQ(Check(u"G" + nineteen), 0);
}

}  // namespace
