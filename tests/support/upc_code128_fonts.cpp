#include "support/upc_code128_fonts.h"

#include <array>
#include <string>

namespace testing_support {

namespace {

// Odd-parity (set A) widths of the digits 0 to 9: space, bar, space, bar.
constexpr std::array<std::string_view, 10> kOddWidths = {"3211", "2221", "2122", "1411", "1132",
                                                         "1231", "1114", "1312", "1213", "3112"};

int RowDigit(std::u16string_view row, char16_t g) {
    const auto i = row.find(g);
    if (i == std::u16string_view::npos) return -1;
    return i == 9 ? 0 : static_cast<int>(i) + 1;
}

void White(Modules& m, int n) { m.insert(m.end(), n, false); }

// Code 128 patterns of the values 0 to 105, bar first, and the stop.
constexpr std::array<std::string_view, 107> kCode128 = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

// Value of a Code 128 glyph, -1 for the stop, -2 when unknown.
int Code128GlyphValue(char16_t g, bool desktop) {
    if (g >= 0x180 && g <= 0x1A5) return g - 383;   // checks 1 to 38, no text
    if (g >= 0xA6 && g <= 0xE2) return g - 127;     // checks 39 to 99, no text
    if (g >= 33 && g <= 126) return g - 32;
    if (desktop) {
        if (g == 0x1C || g == 0x1D) return 0;
        if (g >= 0x10 && g <= 0x1A) return g + 79;
        if (g == 0x1B) return -1;
    } else {
        if (g == 0xFC || g == 0xFD) return 0;
        if (g >= 0xF0 && g <= 0xFA) return g - 145;
        if (g == 0xFB) return -1;
    }
    return -2;
}

}  // namespace

std::optional<Modules> UpcEanFontToModules(std::u16string_view fontText) {
    Modules m;
    for (char16_t g : fontText) {
        int d;
        if (g == u'[' || g == u']') {
            AppendWidths(m, "111");
        } else if (g == u'|') {
            AppendWidths(m, "11111", false);
        } else if (g == u'\'') {
            AppendWidths(m, "111111", false);
        } else if (g == u'{') {
            AppendWidths(m, "112");
        } else if (g == u'\\') {
            AppendWidths(m, "11", false);
        } else if (g >= 0xE0 && g <= 0xE9) {
            White(m, 7);
        } else if (g == u' ') {
            White(m, 9);
        } else if ((d = RowDigit(u"1234567890", g)) >= 0 || (d = RowDigit(u"!@#$%^&*()", g)) >= 0 ||
                   (d = RowDigit(u"zxcvbnm,./", g)) >= 0) {
            AppendWidths(m, kOddWidths[d], false);  // odd parity: space first
        } else if ((d = RowDigit(u"QWERTYUIOP", g)) >= 0 || (d = RowDigit(u"ZXCVBNM<>?", g)) >= 0) {
            const std::string w(kOddWidths[d].rbegin(), kOddWidths[d].rend());
            AppendWidths(m, w, false);  // even parity: the right-hand pattern reversed
        } else if ((d = RowDigit(u"ASDFGHJKL:", g)) >= 0 || (d = RowDigit(u"asdfghjkl;", g)) >= 0) {
            AppendWidths(m, kOddWidths[d], true);  // right-hand: bar first
        } else {
            return std::nullopt;
        }
    }
    return m;
}

std::optional<std::vector<int>> Code128FontToValues(std::u16string_view fontText, bool desktop) {
    std::vector<int> values;
    for (std::size_t i = 0; i < fontText.size(); ++i) {
        const int v = Code128GlyphValue(fontText[i], desktop);
        if (v == -1 && i + 1 == fontText.size()) return values;
        if (v < 0) return std::nullopt;
        values.push_back(v);
    }
    return std::nullopt;
}

std::optional<Modules> Code128FontToModules(std::u16string_view fontText, bool desktop) {
    const auto values = Code128FontToValues(fontText, desktop);
    if (!values) return std::nullopt;
    Modules m;
    for (int v : *values) AppendWidths(m, kCode128[v]);
    AppendWidths(m, kCode128[106]);
    return m;
}

}  // namespace testing_support
