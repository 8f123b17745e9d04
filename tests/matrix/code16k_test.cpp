// The server's Code 16K read back by a test-side reader written from the Code 16K standard:
// row frames, start and stop glyphs, the row count and mode of the first character, both
// mod-107 check characters, the character sets back to the text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "code16k.h"

namespace {

using encoding::Context;

struct Reading {
    Reading() = default;
    Reading(std::string e) : error(std::move(e)) {}
    std::string error;
    std::u16string text;
    int rows = 0, mode = -1;
};

// Symbol character value of a glyph of the Code 16K font.
int ValueOf(char16_t g) {
    if (g == 224) return 0;
    if (g == 220) return 64;
    if (g >= 1 && g <= 31) return g + 64;
    if (g >= 32 && g <= 127) return g - 32;
    if (g >= 226 && g <= 236) return g - 226 + 96;
    return -1;
}

Reading Read(std::u16string_view s, bool crlf) {
    static const int startValue[16] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};
    static const int stopValue[16] = {0, 1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7, 0, 1, 2, 3};
    Reading r;
    const std::size_t lineLength = crlf ? 11 : 10;
    if (s.size() < 8 || (s.size() - 8) % lineLength) return {"length"};
    if (s.substr(s.size() - 8) != std::u16string(7, 0xFD) + char16_t(0xE1)) return {"trailer"};
    const int rows = static_cast<int>((s.size() - 8) / lineLength);
    std::vector<int> v;
    for (int k = 0; k < rows; ++k) {
        const auto line = s.substr(k * lineLength, lineLength);
        if (line[0] != 0xFE || line[1] != 0xED + startValue[k] || line[7] != 0xF5 + stopValue[k] || line[8] != 0xFF ||
            line.substr(9) != (crlf ? u"\r\n" : u"\n"))
            return {"frame of row " + std::to_string(k + 1)};
        for (int j = 2; j < 7; ++j) {
            const int value = ValueOf(line[j]);
            if (value < 0) return {"glyph"};
            v.push_back(value);
        }
    }
    int c1 = 0, c2 = 0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i + 2 < n; ++i) c1 += v[i] * static_cast<int>(i + 2);
    for (std::size_t i = 0; i + 1 < n; ++i) c2 += v[i] * static_cast<int>(i + 1);
    if (v[n - 2] != c1 % 107 || v[n - 1] != c2 % 107) return {"check characters"};
    r.rows = v[0] / 7 + 2;
    r.mode = v[0] % 7;
    if (r.rows != rows || rows < 2) return {"row count"};
    char set = "ABCBCCC"[r.mode];
    int leadingB = r.mode == 5 ? 1 : r.mode == 6 ? 2 : 0;
    if (r.mode == 3 || r.mode == 4) r.text += char16_t(232);
    bool fnc4 = false;
    auto emit = [&](int c) {
        if (fnc4) c += 128;
        fnc4 = false;
        r.text += c == 0 ? char16_t(220) : char16_t(c);
    };
    for (std::size_t i = 1; i + 2 < n; ++i) {
        const int x = v[i];
        if (leadingB > 0) {
            --leadingB;
            if (x >= 96) return {"leading character"};
            emit(x + 32);
            continue;
        }
        if (x == 103) continue;  // pad
        if (x == 102) { r.text += char16_t(232); continue; }
        if (set == 'C') {
            if (x < 100) { r.text += char16_t('0' + x / 10); r.text += char16_t('0' + x % 10); }
            else set = x == 100 ? 'B' : 'A';
            continue;
        }
        auto charIn = [](char s, int value) { return s == 'A' ? (value < 64 ? value + 32 : value - 64) : value + 32; };
        if (x < 96) { emit(charIn(set, x)); continue; }
        if (x == 98) {
            const char other = set == 'A' ? 'B' : 'A';
            if (i + 3 >= n || v[i + 1] >= 96) return {"shift"};
            emit(charIn(other, v[++i]));
            continue;
        }
        if (x == 99) { set = 'C'; continue; }
        if ((set == 'A' && x == 101) || (set == 'B' && x == 100)) { fnc4 = true; continue; }
        if (set == 'A' && x == 100) { set = 'B'; continue; }
        if (set == 'B' && x == 101) { set = 'A'; continue; }
        return {"value " + std::to_string(x)};
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
