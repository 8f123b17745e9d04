#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "intelligent_mail.h"
#include "support/tables.h"

using matrix::IntelligentMailEncoder;

namespace {

std::u16string Bars(std::u16string tracking, std::u16string routing) {
    IntelligentMailEncoder im;
    return im.Encode(tracking, routing);
}

TEST(IntelligentMail, PublishedExampleOfTheStandard) {
    EXPECT_EQ(Bars(u"01234567094987654321", u"01234567891"),
              u"AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA");
}

TEST(IntelligentMail, CharacterTablesFillExactly) {
    IntelligentMailEncoder im;
    // Every 13-bit value with five (two) bits set appears once.
    for (auto [table, n, size] : {std::tuple{im.fiveOf13(), 5, 1287}, std::tuple{im.twoOf13(), 2, 78}}) {
        std::vector<bool> seen(8192);
        for (int i = 0; i < size; ++i) {
            ASSERT_EQ(__builtin_popcount(table[i]), n);
            ASSERT_FALSE(seen[table[i]]);
            seen[table[i]] = true;
        }
    }
    // USPS-B-3200's tables begin with the pair 31, 7936 and end with the symmetric characters.
    EXPECT_EQ(im.fiveOf13()[0], 0x1Fu);
    EXPECT_EQ(im.fiveOf13()[1], 0x1F00u);
    EXPECT_EQ(im.twoOf13()[0], 0x3u);
    EXPECT_EQ(im.twoOf13()[1], 0x1800u);
    std::uint32_t small[10];
    EXPECT_FALSE(IntelligentMailEncoder::BuildNof13Table(small, 2, 10));
    std::uint32_t exact[78];
    EXPECT_TRUE(IntelligentMailEncoder::BuildNof13Table(exact, 2, 78));
}

TEST(IntelligentMail, BarTableEqualsThePublishedTable) {
    std::ifstream f = testing_support::OpenTable("intelligent-mail-bars.txt");
    std::string line;
    int n = 0;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        int bar, db, ab;
        char dc, ac;
        in >> bar >> dc >> db >> ac >> ab;
        ASSERT_EQ(bar, n + 1);
        const auto& b = IntelligentMailEncoder::kBars[n++];
        EXPECT_EQ(b.descenderChar, dc - 'A');
        EXPECT_EQ(b.descenderBit, db);
        EXPECT_EQ(b.ascenderChar, ac - 'A');
        EXPECT_EQ(b.ascenderBit, ab);
    }
    EXPECT_EQ(n, 65);
}

// Reads the bar letters back into the ten characters and checks they are valid characters
// (or their complements) of the tables.
std::array<std::uint32_t, 10> Characters(const std::u16string& bars) {
    std::array<std::uint32_t, 10> ch{};
    for (int i = 0; i < 65; ++i) {
        const auto& b = IntelligentMailEncoder::kBars[i];
        if (bars[i] == u'D' || bars[i] == u'F') ch[b.descenderChar] |= 1u << b.descenderBit;
        if (bars[i] == u'A' || bars[i] == u'F') ch[b.ascenderChar] |= 1u << b.ascenderBit;
    }
    return ch;
}

TEST(IntelligentMail, RoutingLengthsAndTheirOffsets) {
    // A routing code of zeros adds only its offset: five zeros add 1, so they encode as the
    // value 1; nine add 100001, eleven 1000100001. The same values come from numbers that
    // reach them through the other lengths.
    const std::u16string zeros(20, u'0');
    EXPECT_EQ(Bars(zeros, u"00000"), Bars(zeros, u"1"));
    EXPECT_EQ(Bars(zeros, u"000000000"), Bars(zeros, u"100001"));
    EXPECT_EQ(Bars(zeros, u"00000000000"), Bars(zeros, u"1000100001"));
    EXPECT_NE(Bars(zeros, u""), Bars(zeros, u"00000"));
    // Not all digits: no routing number at all.
    EXPECT_EQ(Bars(zeros, u"1234x"), Bars(zeros, u""));
    // A tracking code of another length is ignored: even zeros would shift the routing number.
    EXPECT_EQ(Bars(u"123", u"12345"), Bars(u"", u"12345"));
    EXPECT_NE(Bars(u"123", u"12345"), Bars(zeros, u"12345"));
    const std::u16string none = Bars(zeros, u"");
    ASSERT_EQ(none.size(), 65u);
    EXPECT_EQ(none.find_first_not_of(u"TADF"), std::u16string::npos);
}

TEST(IntelligentMail, CharactersAreTableEntriesOrTheirComplements) {
    IntelligentMailEncoder im;
    std::vector<bool> valid(8192);
    for (int i = 0; i < 1287; ++i) valid[im.fiveOf13()[i]] = valid[~im.fiveOf13()[i] & 0x1FFF] = true;
    for (int i = 0; i < 78; ++i) valid[im.twoOf13()[i]] = valid[~im.twoOf13()[i] & 0x1FFF] = true;
    const std::u16string trackings[] = {u"00000000000000000000", u"01234567094987654321",
                                        u"94999999999999999999", u"00040123456789012345"};
    const std::u16string routings[] = {u"", u"99999", u"999999999", u"99999999999", u"01234567891"};
    for (const auto& t : trackings)
        for (const auto& r : routings) {
            const auto bars = im.Encode(t, r);
            ASSERT_EQ(bars.size(), 65u);
            for (std::uint32_t c : Characters(bars)) EXPECT_TRUE(valid[c]) << c;
        }
}

TEST(IntelligentMail, ANumberBeyondFortyDigitsOverflows) {
    EXPECT_THROW(Bars(std::u16string(20, u'9'), std::u16string(30, u'9')), std::overflow_error);
    EXPECT_NO_THROW(Bars(std::u16string(20, u'9'), std::u16string(11, u'9')));
}

}  // namespace
