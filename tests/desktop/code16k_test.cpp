// Both Code 16K encoders read back by the test-side reader: rows announced and written,
// row indicators, both check characters and the data; and the desktop encoder's limits.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "code16k.h"
#include "code16k_desktop.h"
#include "support/code16k_reader.h"
#include "frame.h"
#include "record.h"
#include "support/encode_texts.h"

using namespace testing_support;

namespace {

struct Encoded {
    int result;
    std::string error;
    std::u16string font;
    int rows;
};

Encoded Desktop(const std::string& data) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    const int result = desktop::EncodeCode16KRecord(
        *rec, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}, matrix::Call::Desktop());
    std::u16string font;
    for (const char* p = rec->fontText; *p; ++p) font += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return {result, rec->errorText, font, rec->rows};
}

// Reads the desktop symbol of `data` and expects the data back with the rows it says.
Code16kReading ReadBack(const std::string& data) {
    const Encoded e = Desktop(data);
    EXPECT_EQ(e.result, 0) << e.error;
    std::string why;
    const auto r = ReadCode16k(e.font, Code16kGlyphs::Desktop, &why);
    EXPECT_TRUE(r) << why << " for " << testing::PrintToString(data);
    if (!r) return {};
    EXPECT_EQ(r->data, data);
    EXPECT_EQ(r->rows, e.rows);
    return *r;
}

}  // namespace

TEST(DesktopCode16K, StartModesOfTheEdgeCases) {
    EXPECT_EQ(ReadBack("12").mode, 1);
    EXPECT_EQ(ReadBack("12").rows, 2);
    EXPECT_EQ(ReadBack("1234").mode, 2);
    EXPECT_EQ(ReadBack("12345").mode, 5);     // one leading set B digit, then set C
    EXPECT_EQ(ReadBack("a12345").mode, 6);    // two leading set B characters
    EXPECT_EQ(ReadBack("a1234").mode, 5);
    EXPECT_EQ(ReadBack("\x01" "ABC").mode, 0);
    EXPECT_EQ(ReadBack("abc").mode, 1);
}

TEST(DesktopCode16K, RowsCountEveryValueTheSymbolWrites) {
    // The sample of the Code16K row: "K" and seven shift-B letters are nine values with the
    // first character, which need three rows with the checks.
    const auto k = ReadBack("Kestrivo");
    EXPECT_EQ(k.rows, 3);
    // Latches and shifts take places too: each of these announces exactly what it writes.
    for (const char* s : {"aB1234cD5678eF", "a\x01" "b\x02" "c\x03" "d\x04" "e\x05" "f\x06" "g",
                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"})
        ReadBack(s);
}

TEST(DesktopCode16K, LengthLimits) {
    EXPECT_EQ(ReadBack(std::string(154, '7')).rows, 16);  // 77 pairs fit
    const Encoded pairs78 = Desktop(std::string(156, '7'));
    EXPECT_EQ(pairs78.result, 5);
    EXPECT_EQ(pairs78.error, "Input too long");
    EXPECT_TRUE(pairs78.font.empty());
    const Encoded bytes158 = Desktop(std::string(158, '7'));
    EXPECT_EQ(bytes158.result, 5);
    EXPECT_EQ(bytes158.error, "Input too long");
    // 77 letters fit only without latches: "a" and 76 capitals take a latch too many?
    // No: set B holds both, so 77 fit and 78 do not.
    EXPECT_EQ(ReadBack(std::string(77, 'x')).rows, 16);
    EXPECT_EQ(Desktop(std::string(78, 'x')).result, 5);
    // Shifts counted: 39 pairs of a control character and a lower-case letter need more.
    std::string mixed;
    for (int i = 0; i < 39; ++i) mixed += std::string("\x01") + "a";
    EXPECT_EQ(Desktop(mixed).result, 5);
}

TEST(DesktopCode16K, LayoutOfTheLines) {
    const Encoded e = Desktop("Kestrivo Code 16K");
    ASSERT_EQ(e.result, 0);
    std::size_t lines = 0, p = 0;
    for (std::size_t q; (q = e.font.find(u"\r\n", p)) != std::u16string::npos; p = q + 2, ++lines)
        EXPECT_EQ(q - p, 9u);
    EXPECT_EQ(lines, static_cast<std::size_t>(e.rows));
    EXPECT_EQ(e.font.substr(p), std::u16string(7, char16_t{0xFD}) + char16_t{0xE1});
}

TEST(DesktopCode16K, ExtendedCharactersSingleAndInRuns) {
    // Single extended characters take one FNC4 each; runs of five (three at the end) are
    // written in extended mode, spaces inside them plain, and the mode ends with the run,
    // not at some later space, so the text after a run reads plain.
    for (const char* s : {"\xC4", "a\xE9z", "\xC4\xD6\xDC\xDF\xE9", "\xC4\xD6\xDC\xDF\xE9xyz",
                          "\xC4\xD6 \xDC\xDF \xE9 tail", "ab\xE0\xE1\xE2", "\x80\x81\x82\x83\x84Q",
                          "\xF0\xF1\xF2\xF3\xF4" "1234", "\xC4\xD6\xDC\xDF\xE9" "abc def"})
        ReadBack(s);
}

TEST(DesktopCode16K, RandomBytesReadBack) {
    std::mt19937 rng(16);
    for (int i = 0; i < 3000; ++i) {
        std::string s(rng() % 40, ' ');
        const int kind = i % 4;
        for (auto& c : s) {
            const unsigned r = rng();
            c = static_cast<char>(kind == 0 ? '0' + r % 10 : kind == 1 ? 32 + r % 96 : kind == 2 ? 1 + r % 255 : (r % 3 ? '0' + r % 10 : 128 + r % 128));
        }
        const Encoded e = Desktop(s);
        if (e.result != 0) {
            EXPECT_EQ(e.result, 5);
            continue;
        }
        std::string why;
        const auto r = ReadCode16k(e.font, Code16kGlyphs::Desktop, &why);
        ASSERT_TRUE(r) << why << " for " << testing::PrintToString(s);
        ASSERT_EQ(r->data, s);
    }
}

TEST(ServerCode16K, ReadsBackWithItsGlyphTables) {
    linear::Context ctx(linear::kServer);
    std::mt19937 rng(26);
    for (int i = 0; i < 2000; ++i) {
        std::u16string s(1 + rng() % 30, u' ');
        for (auto& c : s) {
            const unsigned r = rng();
            c = static_cast<char16_t>(i % 3 == 0 ? u'0' + r % 10 : i % 3 == 1 ? 32 + r % 95 : 1 + r % 126);
            if (c == u'&') c = u'+';  // no numeric escapes here
        }
        const std::u16string font(matrix::EncodeCode16K(ctx, s.c_str(), matrix::Call::Server(true)));
        std::string why;
        const auto r = ReadCode16k(font, Code16kGlyphs::Server, &why);
        ASSERT_TRUE(r) << why << " for " << testing_support::Show(s);
        // The server drops data past 77 symbol characters; what it keeps is the text's start.
        std::string expected(s.begin(), s.end());
        ASSERT_EQ(expected.substr(0, r->data.size()), r->data) << testing_support::Show(s);
        if (r->rows < 16) {
            ASSERT_EQ(r->data, expected);
        }
    }
}
