// The server's Code 16K read back by the tests' Code 16K reader: row frames, start and stop
// glyphs, the row count and mode of the first character, both mod-107 check characters, the
// character sets back to the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "code16k.h"
#include "support/code16k_reader.h"

namespace {

using encoding::Context;

struct Reading {
    Reading() = default;
    Reading(std::string e) : error(std::move(e)) {}
    std::string error;
    std::u16string text;
    int rows = 0, mode = -1;
};

// The shared Code 16K reader on the server's glyph tables, its reading given back as the
// server's input text: FNC1 as 232, NUL as 220. The line ends must all be CR LF or all LF.
Reading Read(std::u16string_view s, bool crlf) {
    std::string why;
    const auto read = testing_support::ReadCode16k(s, testing_support::Code16kGlyphs::Server, &why);
    if (!read) return {why};
    if (std::count(s.begin(), s.end(), u'\r') != (crlf ? read->rows : 0)) return {"line ends"};
    Reading r;
    r.rows = read->rows;
    r.mode = read->mode;
    std::size_t fnc1 = 0;
    for (std::size_t i = 0; i <= read->data.size(); ++i) {
        for (; fnc1 < read->fnc1At.size() && read->fnc1At[fnc1] == i; ++fnc1) r.text += char16_t(232);
        if (i == read->data.size()) break;
        const auto byte = static_cast<unsigned char>(read->data[i]);
        r.text += byte == 0 ? char16_t(220) : char16_t(byte);
    }
    return r;
}

struct Code16k : ::testing::Test {
    Context ctx{encoding::kServer};
    Reading Run(const std::u16string& text, int crlf = 1) {
        const std::u16string out = matrix::EncodeCode16K(ctx, text.c_str(), matrix::Call::Server(crlf == 1));
        return Read(out, crlf == 1);
    }
};

TEST_F(Code16k, StartModesAndRows) {
    const struct {
        std::u16string text;
        int mode, rows;
    } cases[] = {
        {u"1234", 2, 2}, {u"12345", 5, 2}, {u"1", 1, 2},
        {u"\u00E81234", 4, 2}, {u"\u00E8AB", 3, 2}, {u"\u00E81", 3, 2},
        {u"a1234", 5, 2}, {u"a12345", 6, 2}, {u"a123", 1, 2},
        {u"\x01" u"ABC", 0, 2}, {u"\u00DCAB", 0, 2}, {u"\x01" u"abc", 1, 2},
        {u"Kestrivo", 1, 3},  // mode, 8 data, 2 checks: 11 characters, three rows
        {u"ABCDEFG", 1, 2},   // 1 + 7 + 2 fill two rows exactly
    };
    for (const auto& c : cases) {
        const Reading r = Run(c.text);
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(r.mode, c.mode);
        EXPECT_EQ(r.rows, c.rows);
        EXPECT_EQ(r.text, c.text);
    }
}

TEST_F(Code16k, GeneratedTextReadsBack) {
    std::mt19937 rng(5);
    const std::u16string alphabet = u"0123456789ABCDEFabcxyz !~{}\x01\x1F\u00DC\u00E8\u00C0\u00FF\u0080\u00E9";
    for (int i = 0; i < 3000; ++i) {
        std::u16string s;
        const int len = 1 + static_cast<int>(rng() % 90);
        for (int j = 0; j < len; ++j) {
            const int kind = static_cast<int>(rng() % 4);
            s += kind == 0 ? char16_t('0' + rng() % 10) : kind == 1 ? char16_t(32 + rng() % 96)
                                                         : alphabet[rng() % alphabet.size()];
        }
        if (s.find(u"&#") != std::u16string::npos) continue;
        const int crlf = static_cast<int>(rng() % 2);
        const Reading r = Run(s, crlf);
        ASSERT_EQ(r.error, "") << i;
        ASSERT_LE(r.rows, 16);
        // Long text is cut after whole characters.
        ASSERT_EQ(s.substr(0, r.text.size()), r.text) << i;
        if (len <= 30) {
            EXPECT_EQ(r.text, s) << i;
        }
    }
}

TEST_F(Code16k, LinesEscapesAndLimits) {
    const std::u16string out = matrix::EncodeCode16K(ctx, u"ABC", matrix::Call::Server(false));
    EXPECT_EQ(out.find(u'\r'), std::u16string::npos);
    EXPECT_EQ(out.size(), 2u * 10 + 8);
    // The desktop's line ends are CR LF.
    const std::u16string withCrLf = matrix::EncodeCode16K(ctx, u"ABC", matrix::Call::Server(true));
    EXPECT_EQ(withCrLf.size(), 2u * 11 + 8);
    EXPECT_EQ(std::u16string(matrix::EncodeCode16K(ctx, u"ABC", matrix::Call::Desktop())), withCrLf);
    EXPECT_EQ(std::u16string(matrix::EncodeCode16K(ctx, u"", matrix::Call::Server(true))), u"");
    EXPECT_EQ(Run(u"&#65;B").text, u"AB");
    EXPECT_EQ(Run(u"A\u20ACB").text, u"AB");  // no Code 16K form: dropped
    const Reading full = Run(std::u16string(200, u'A'));
    EXPECT_EQ(full.rows, 16);
    EXPECT_EQ(full.text, std::u16string(77, u'A'));
    const Reading digits = Run(std::u16string(200, u'7'));
    EXPECT_EQ(digits.rows, 16);
    EXPECT_EQ(digits.text.size(), 154u);
}

}  // namespace
