#include "support/desktop_font_readers.h"

#include "desktop_linear.h"
#include "support/upc_code128_fonts.h"

namespace desktop_testing {

using namespace desktop;
using namespace testing_support;

// BC412, from SEMI T1: the check character is the second character; with the
// characters' values, twice the sum at odd places plus the sum at even places (places
// counted from 0) is a multiple of 35.
int Bc412Value(char16_t c) {
    static const std::u16string_view chars = u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ";
    static const int values[35] = {0,  15, 17, 29, 11, 33, 19, 21, 8,  2,  7,  25,
                                   20, 22, 9,  30, 3,  6,  27, 16, 24, 4,  34, 12,
                                   32, 18, 1,  14, 13, 26, 5,  31, 28, 23, 10};
    const auto p = chars.find(c);
    return p == std::u16string_view::npos ? -1 : values[p];
}

// The data without its check character, or nullopt when the symbol is out of the rules.
std::optional<std::u16string> ReadBc412(std::u16string_view font) {
    if (font.size() < 2 || font.front() != u'*' || font.back() != u'*') return std::nullopt;
    const std::u16string_view body = font.substr(1, font.size() - 2);
    if (body.empty()) return std::u16string();
    if (body.size() < 2) return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const int v = Bc412Value(body[i]);
        if (v < 0) return std::nullopt;
        sum += (i % 2 ? 2 : 1) * v;
    }
    if (sum % 35) return std::nullopt;
    return std::u16string(body.substr(0, 1)) + std::u16string(body.substr(2));
}

// The Asian font text as Code 128 values: every glyph above 127 followed by 0xE0, and the
// symbol closed by stop and close glyphs.
std::optional<std::vector<int>> AsianValues(std::u16string_view t) {
    std::vector<int> values;
    std::size_t i = 0;
    auto glyph = [&](char16_t& g) {
        if (i >= t.size()) return false;
        g = t[i++];
        if (g > 127) {
            if (i >= t.size() || t[i] != 0xE0) return false;
            ++i;
        }
        return true;
    };
    char16_t g;
    while (glyph(g)) {
        if (g == kAsianStop) {
            if (!glyph(g) || g != kAsianClose || i != t.size()) return std::nullopt;
            return values;
        }
        if (g == 0xCC) values.push_back(0);
        else if (g >= 33 && g <= 126) values.push_back(g - 32);
        else if (g >= 0xC0 && g <= 0xCA) values.push_back(g - 97);
        else return std::nullopt;
    }
    return std::nullopt;
}

// Bars of Asian font text, through the Code 128 patterns of the server font's description.
std::optional<Modules> AsianFontToModules(std::u16string_view t) {
    const auto values = AsianValues(t);
    if (!values || values->size() < 2) return std::nullopt;
    std::u16string server;
    for (int v : *values)
        server += static_cast<char16_t>(v == 0 ? 0xFC : v <= 94 ? v + 32 : v + 145);
    server += char16_t{0xFB};
    return Code128FontToModules(server, false);
}

// Maxicode font text back into its 33 rows of 30 cells: a line a band of three rows, one
// glyph a pair of columns ("~" marks the cell the glyph's bits leave out). Marker characters
// ('!' to '%', 'P' to 'Z') draw the finder and carry no module: passed over.
std::optional<Matrix> MaxicodeCells(std::u16string_view font) {
    Matrix cells(33, std::vector<bool>(30));
    std::size_t p = 0;
    auto skipMarkers = [&] {
        while (p < font.size() && ((font[p] >= u'!' && font[p] <= u'%') || (font[p] >= u'P' && font[p] <= u'Z'))) ++p;
    };
    for (int band = 0; band < 11; ++band) {
        if (band % 2 && (p >= font.size() || font[p++] != u'[')) return std::nullopt;
        for (int cell = 0; cell < 15; ++cell) {
            skipMarkers();
            bool tilde = false;
            if (band % 2 && p < font.size() && font[p] == u'~') tilde = true, ++p;
            if (p >= font.size()) return std::nullopt;
            const int v = font[p++] - u'0';
            if (v < 0 || v > 31) return std::nullopt;
            if (band % 2 == 0 && p < font.size() && font[p] == u'~') tilde = true, ++p;
            const std::size_t r = static_cast<std::size_t>(3 * band), c = static_cast<std::size_t>(2 * cell);
            cells[r][c] = v & 2;
            cells[r][c + 1] = v & 1;
            cells[r + 1][c] = band % 2 ? tilde : (v & 4) != 0;
            cells[r + 1][c + 1] = band % 2 ? (v & 4) != 0 : tilde;
            cells[r + 2][c] = v & 16;
            cells[r + 2][c + 1] = v & 8;
        }
        skipMarkers();
        if (font.substr(p, 2) != u"\r\n") return std::nullopt;
        p += 2;
    }
    return cells;
}

}  // namespace desktop_testing
