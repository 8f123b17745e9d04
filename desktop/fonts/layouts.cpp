#include "fonts/layouts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>

namespace fonts {

namespace {

// Linear fonts: 16 modules to the em, bars the full em tall.
constexpr int kLinearModule = kEm / 16;
// Postal fonts: bars one module wide with a module of space, 8 modules to the em.
constexpr int kPostalModule = kEm / 8;
// Matrix and stacked symbols: a band glyph is one module wide and four modules tall.
constexpr int kBandModule = kEm / 4;

using Bits = std::vector<bool>;

// Elements as widths ("1" to "9"), alternating bar and space, the first a bar when `bar`.
void AppendWidths(Bits& bits, std::string_view widths, bool bar = true) {
    for (char w : widths) {
        bits.insert(bits.end(), static_cast<std::size_t>(w - '0'), bar);
        bar = !bar;
    }
}

// Elements as narrow ("0") or wide ("1", three modules), alternating from a bar or a space.
void AppendNarrowWide(Bits& bits, std::string_view nw, bool bar = true) {
    for (char c : nw) {
        bits.insert(bits.end(), c == '1' ? 3 : 1, bar);
        bar = !bar;
    }
}

// A glyph of module columns, each dark column drawn from y0 to y1.
Glyph ColumnGlyph(char16_t code, const Bits& bits, int module, int y0 = 0, int y1 = kEm) {
    Glyph g{code, static_cast<int>(bits.size()) * module, {}, {}, {}};
    for (std::size_t i = 0; i < bits.size();) {
        if (!bits[i]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < bits.size() && bits[j]) ++j;
        g.rects.push_back({static_cast<int>(i) * module, y0, static_cast<int>(j - i) * module, y1 - y0});
        i = j;
    }
    return g;
}

Glyph Empty(char16_t code, int advance = 0) { return Glyph{code, advance, {}, {}, {}}; }

// Collects the glyphs of one layout; a later glyph of the same code replaces an earlier one.
class Builder {
public:
    Builder(std::string_view name, int module) : name_(name), module_(module) {
        Add(Empty(u'\r'));
        Add(Empty(u'\n'));
    }
    void Add(Glyph g) { glyphs_[g.code] = std::move(g); }
    void Bars(char16_t code, const Bits& bits) { Add(ColumnGlyph(code, bits, module_)); }
    // Elements as widths ("1" to "9"), the first a bar when `bar`.
    void Widths(char16_t code, std::string_view widths, bool bar = true) {
        Bits bits;
        AppendWidths(bits, widths, bar);
        Bars(code, bits);
    }
    // Elements as narrow ("0") or wide ("1"), from a bar; `gap` adds a narrow space.
    void NarrowWide(char16_t code, std::string_view pattern, bool gap = false) {
        Bits bits;
        AppendNarrowWide(bits, pattern);
        if (gap) bits.push_back(false);
        Bars(code, bits);
    }
    Layout Done() {
        Layout l{name_, module_, {}, {}};
        for (auto& [code, g] : glyphs_) l.glyphs.push_back(std::move(g));
        return l;
    }

private:
    std::string_view name_;
    int module_;
    std::map<char16_t, Glyph> glyphs_;
};

// ---- Code 39 and full-ASCII Code 39 -------------------------------------------------------

// Code 39 characters and their nine elements (bar first); a set bit is a wide element.
constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr std::array<unsigned, 44> kCode39Patterns = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064,  // 0-9
    0x109, 0x049, 0x148, 0x019, 0x118, 0x058, 0x00D, 0x10C, 0x04C, 0x01C,  // A-J
    0x103, 0x043, 0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016,  // K-T
    0x181, 0x0C1, 0x1C0, 0x091, 0x190, 0x0D0,                              // U-Z
    0x085, 0x184, 0x0C4, 0x0A8, 0x0A2, 0x08A, 0x02A, 0x094};               // - . space $ / + % *

// A Code 39 character followed by its narrow inter-character gap.
void AppendCode39(Bits& bits, char c) {
    const unsigned p = kCode39Patterns[kCode39Chars.find(c)];
    for (int e = 8; e >= 0; --e) bits.insert(bits.end(), (p >> e) & 1 ? 3 : 1, (8 - e) % 2 == 0);
    bits.push_back(false);
}

Layout Code39() {
    Builder b("code39", kLinearModule);
    for (char c : kCode39Chars) {
        Bits bits;
        AppendCode39(bits, c);
        b.Bars(static_cast<unsigned char>(c), bits);
        if (c == ' ') b.Bars(u'#', bits);
    }
    return b.Done();
}

// The full-ASCII Code 39 pair (one or two Code 39 characters) of an ASCII character.
std::string FullAsciiPair(int c) {
    if (c == 0) return "%U";
    if (c <= 26) return std::string("$") + char('A' + c - 1);
    if (c <= 31) return std::string("%") + char('A' + c - 27);
    if (c == ' ' || c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
        return std::string(1, char(c));
    if (c == '/') return "/O";
    if (c == ':') return "/Z";
    if (c <= 44) return std::string("/") + char('A' + c - 33);
    if (c <= 63) return std::string("%") + char('F' + c - 59);
    if (c == '@') return "%V";
    if (c <= 95) return std::string("%") + char('K' + c - 91);
    if (c == '`') return "%W";
    if (c <= 'z') return std::string("+") + char(c - 32);
    return std::string("%") + char('P' + c - 123);
}

// Full-ASCII font: "*" start and stop; every other glyph draws the pair of its ASCII character.
Layout Code39Ext() {
    Builder b("code39ext", kLinearModule);
    auto pair = [&b](char16_t glyph, int ascii) {
        Bits bits;
        for (char c : FullAsciiPair(ascii)) AppendCode39(bits, c);
        b.Bars(glyph, bits);
    };
    for (int c = 33; c < 128; ++c)
        if (c != '*') pair(static_cast<char16_t>(c), c);
    for (int c = 0; c < 32; ++c) pair(static_cast<char16_t>(224 + c), c);
    pair(u'#', ' ');
    pair(176, '*');
    pair(177, '#');
    pair(175, 127);
    Bits star;
    AppendCode39(star, '*');
    b.Bars(u'*', star);
    return b.Done();
}

// ---- Code 93 -------------------------------------------------------------------------------

// Code 93 values 0-46, then the start/stop character, as nine-module patterns.
constexpr std::array<unsigned, 48> kCode93Patterns = {
    0x114, 0x148, 0x144, 0x142, 0x128, 0x124, 0x122, 0x150, 0x112, 0x10A,  // 0-9
    0x1A8, 0x1A4, 0x1A2, 0x194, 0x192, 0x18A, 0x168, 0x164, 0x162, 0x134,  // A-J
    0x11A, 0x158, 0x14C, 0x146, 0x12C, 0x116, 0x1B4, 0x1B2, 0x1AC, 0x1A6,  // K-T
    0x196, 0x19A, 0x16C, 0x166, 0x136, 0x13A,                              // U-Z
    0x12E, 0x1D4, 0x1D2, 0x1CA, 0x16E, 0x176, 0x1AE,                       // - . space $ / + %
    0x126, 0x1DA, 0x1D6, 0x132,                                            // ($) (%) (/) (+)
    0x15E};                                                                // start/stop
constexpr std::u16string_view kCode93Glyphs = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.#$/+%^)&(";

Layout Code93() {
    Builder b("code93", kLinearModule);
    auto nine = [](unsigned p) {
        Bits bits;
        for (int k = 8; k >= 0; --k) bits.push_back((p >> k) & 1);
        return bits;
    };
    for (std::size_t v = 0; v < kCode93Glyphs.size(); ++v) b.Bars(kCode93Glyphs[v], nine(kCode93Patterns[v]));
    b.Bars(u'[', nine(kCode93Patterns[47]));
    b.Bars(u']', nine(kCode93Patterns[47]));
    b.Bars(u'|', Bits{true});  // termination bar
    return b.Done();
}

// Cuts the glyph's bars to the bar band and prints `text` in the text band under them, centred
// under the glyph (human-readable layouts, below). `above`: the text band at the top of the em
// and the bars below it, as the digits of a UPC/EAN add-on stand above its bars.
void PrintText(Glyph& g, const std::string& text, bool above = false);

// ---- UPC/EAN -------------------------------------------------------------------------------

// Odd-parity (set A) widths of the digits 0 to 9: space, bar, space, bar.
constexpr std::array<std::string_view, 10> kOddWidths = {"3211", "2221", "2122", "1411", "1132",
                                                         "1231", "1114", "1312", "1213", "3112"};

Layout UpcEan() {
    Builder b("upcean", kLinearModule);
    auto widths = [&b](char16_t g, std::string_view w, bool bar) { b.Widths(g, w, bar); };
    // Each row holds the digits 1 to 9, then 0.
    auto row = [&](std::u16string_view glyphs, int set) {
        for (int i = 0; i < 10; ++i) {
            const std::string_view odd = kOddWidths[(i + 1) % 10];
            if (set == 0) widths(glyphs[i], odd, false);  // left-hand odd parity
            else if (set == 1) widths(glyphs[i], std::string(odd.rbegin(), odd.rend()), false);  // even
            else widths(glyphs[i], odd, true);  // right-hand
        }
    };
    row(u"1234567890", 0);
    row(u"!@#$%^&*()", 0);
    row(u"zxcvbnm,./", 0);
    row(u"QWERTYUIOP", 1);
    row(u"ZXCVBNM<>?", 1);
    row(u"ASDFGHJKL:", 2);
    row(u"asdfghjkl;", 2);
    widths(u'[', "111", true);       // normal guard
    widths(u']', "111", true);
    widths(u'|', "11111", false);    // centre guard
    widths(u'\'', "111111", false);  // end guard of UPC-E
    widths(u'{', "112", true);       // add-on start
    widths(u'\\', "11", false);      // add-on separator
    for (char16_t g = 0xE0; g <= 0xE9; ++g) b.Add(Empty(g, 7 * kLinearModule));  // printed digits
    b.Add(Empty(u' ', 9 * kLinearModule));  // between symbol and add-on
    // The font prints the digits: under the bars of the digits of sets A, B and C and as the
    // digits outside the bars (0xE0 + digit); the guards and the long-bar digits (the UPC-A
    // number system and check digit, whose text stands outside) reach down past them; the
    // add-on's digits stand above its bars.
    Layout l = b.Done();
    constexpr std::u16string_view kPrinted = u"1234567890QWERTYUIOPASDFGHJKL:", kAddOn = u"zxcvbnm,./ZXCVBNM<>?";
    constexpr std::string_view kDigits = "1234567890";
    for (Glyph& g : l.glyphs) {
        if (const std::size_t i = kPrinted.find(g.code); i != std::u16string_view::npos)
            PrintText(g, std::string(1, kDigits[i % 10]));
        else if (const std::size_t j = kAddOn.find(g.code); j != std::u16string_view::npos)
            PrintText(g, std::string(1, kDigits[j % 10]), true);
        else if (g.code == u'{' || g.code == u'\\')
            PrintText(g, "", true);
        else if (g.code >= 0xE0 && g.code <= 0xE9)
            PrintText(g, std::string(1, static_cast<char>('0' + g.code - 0xE0)));
    }
    return l;
}

// ---- Code 128 --------------------------------------------------------------------------------

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

Layout Code128(std::string_view name) {
    Builder b(name, kLinearModule);
    for (char16_t g = 0x10; g < 0x200; ++g) {
        const int v = Code128GlyphValue(name, g);
        if (v != -2) b.Widths(g, kCode128[v < 0 ? 106 : v]);
    }
    return b.Done();
}

// Asian Code 128: function and start glyphs at 0xC0 to 0xCD, each followed by the empty 0xE0;
// the stop is drawn as 0xCB (its first six elements) and 0xCD (its closing bar).
Layout AsianCode128() {
    Builder b("asian128", kLinearModule);
    auto value = [&b](char16_t g, int v) { b.Widths(g, kCode128[v]); };
    value(0xCC, 0);
    for (int v = 1; v <= 94; ++v) value(static_cast<char16_t>(v + 32), v);
    for (int v = 95; v <= 105; ++v) value(static_cast<char16_t>(v + 97), v);
    b.Widths(0xCB, "233111");
    b.Widths(0xCD, "2");
    b.Add(Empty(0xE0));
    return b.Done();
}

// ---- Codabar, Code 11, 2 of 5, MSI -------------------------------------------------------------

// Interleaved and Industrial 2 of 5 digit patterns (1 wide).
constexpr std::array<std::string_view, 10> k25 = {"00110", "10001", "01001", "11000", "00101",
                                                  "10100", "01100", "00011", "10010", "01010"};

// Codabar patterns, seven elements from a bar (1 wide).
constexpr std::string_view kCodabarChars = "0123456789-$:/.+ABCD";
constexpr std::array<std::string_view, 20> kCodabar = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001",
    "0100100", "0110000", "1001000", "0001100", "0011000", "1000101", "1010001",
    "1010100", "0010101", "0011010", "0101001", "0001011", "0001110"};

// Code 11 patterns, five elements from a bar; the last is the start/stop.
constexpr std::string_view kCode11Chars = "0123456789-*";
constexpr std::array<std::string_view, 12> kCode11 = {"00001", "10001", "01001", "11000",
                                                      "00101", "10100", "01100", "00011",
                                                      "10010", "10000", "00100", "00110"};

// Characters drawn as their narrow/wide pattern followed by a narrow gap.
Layout Gapped(std::string_view name, std::string_view chars, const std::string_view* patterns) {
    Builder b(name, kLinearModule);
    for (std::size_t i = 0; i < chars.size(); ++i) b.NarrowWide(static_cast<unsigned char>(chars[i]), patterns[i], true);
    return b.Done();
}

Layout I25() {
    Builder b("i25", kLinearModule);
    b.NarrowWide(0xE6, "0000");  // start
    b.NarrowWide(0xE7, "100");   // stop
    for (int v = 0; v < 100; ++v) {
        std::string p;
        for (int k = 0; k < 5; ++k) p += {k25[v / 10][k], k25[v % 10][k]};
        b.NarrowWide(static_cast<char16_t>(v < 94 ? v + 33 : v + 130), p);  // 0xE0 to 0xE5 for 94 to 99
    }
    return b.Done();
}

// Code 2 of 5: five bars a digit, two of them wide, every space narrow.
Layout Code25() {
    Builder b("code25", kLinearModule);
    auto bars = [&b](char16_t g, std::string_view widths) {
        Bits bits;
        for (char w : widths) {
            bits.insert(bits.end(), w == '1' ? 3 : 1, true);
            bits.push_back(false);
        }
        b.Bars(g, bits);
    };
    bars(u'(', "110");
    bars(u')', "101");
    for (int d = 0; d < 10; ++d) bars(static_cast<char16_t>(u'0' + d), k25[d]);
    return b.Done();
}

// MSI: a 1 bit is a wide bar and a narrow space, a 0 bit a narrow bar and a wide space.
Layout Msi() {
    Builder b("msi", kLinearModule);
    b.NarrowWide(u'[', "10");
    b.NarrowWide(u']', "010");
    for (int d = 0; d < 10; ++d) {
        std::string p;
        for (int k = 3; k >= 0; --k) p += (d >> k) & 1 ? "10" : "01";
        b.NarrowWide(static_cast<char16_t>(u'0' + d), p);
    }
    return b.Done();
}

// ---- Telepen -----------------------------------------------------------------------------------

// A Telepen character: its ASCII code with an even-parity bit 7, sent from the least significant
// bit as 16 modules. A 1 is a narrow bar and a narrow space; a pair of 0s a wide bar and a
// narrow space; a 0 that stands alone pairs with the next 0: "010" is a wide bar and a wide
// space, and "0 1...1 0" begins with a wide bar and a narrow space (the 0 and the first 1),
// its further 1s as before, and ends with a narrow bar and a wide space (the last 1 and the 0).
Bits TelepenBits(int c) {
    int byte = c & 0x7F, ones = 0;
    for (int k = 0; k < 7; ++k) ones += (byte >> k) & 1;
    if (ones % 2) byte |= 0x80;
    auto bit = [byte](int k) { return (byte >> k) & 1; };
    Bits bits;
    for (int i = 0; i < 8;) {
        if (bit(i)) {
            AppendWidths(bits, "11");
            ++i;
        } else if (!bit(i + 1)) {
            AppendWidths(bits, "31");
            i += 2;
        } else {
            int j = i + 1;
            while (bit(j)) ++j;
            if (j - i - 1 == 1) {
                AppendWidths(bits, "33");
            } else {
                AppendWidths(bits, "31");
                for (int k = 0; k < j - i - 3; ++k) AppendWidths(bits, "11");
                AppendWidths(bits, "13");
            }
            i = j + 1;
        }
    }
    return bits;
}

// The glyphs the Telepen encoders write: "[" and "]" draw the start ("_") and stop ("z")
// characters, "#" the space, 0xB0 to 0xB3 the characters "#", "[", "]" and DEL, 225 to 255 the
// control characters 1 to 31; every other printable character draws itself.
Layout Telepen() {
    Builder b("telepen", kLinearModule);
    for (int c = 1; c < 128; ++c) {
        char16_t g = static_cast<char16_t>(c);
        if (c == ' ') g = u'#';
        else if (c == '#') g = 0xB0;
        else if (c == '[') g = 0xB1;
        else if (c == ']') g = 0xB2;
        else if (c == 127) g = 0xB3;
        else if (c < 32) g = static_cast<char16_t>(c + 224);
        b.Bars(g, TelepenBits(c));
    }
    b.Bars(u'[', TelepenBits('_'));
    b.Bars(u']', TelepenBits('z'));
    return b.Done();
}

// ---- BC412 -------------------------------------------------------------------------------------

// BC412 characters: four one-module bars, each followed by a space of 1 to 5 modules, 12 modules
// in all. Value v draws the v-th of the 35 space sequences in increasing order; "*" (start and
// stop) is a one-module bar and a one-module space.
constexpr std::u16string_view kBc412Chars = u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ";
constexpr std::array<int, 35> kBc412Values = {0,  15, 17, 29, 11, 33, 19, 21, 8,  2,  7,  25,
                                              20, 22, 9,  30, 3,  6,  27, 16, 24, 4,  34, 12,
                                              32, 18, 1,  14, 13, 26, 5,  31, 28, 23, 10};

Layout Bc412() {
    Builder b("bc412", kLinearModule);
    std::vector<std::string> sequences;
    for (int s1 = 1; s1 <= 5; ++s1)
        for (int s2 = 1; s2 <= 5; ++s2)
            for (int s3 = 1; s3 <= 5; ++s3) {
                const int s4 = 8 - s1 - s2 - s3;
                if (s4 >= 1 && s4 <= 5) sequences.push_back({'1', char('0' + s1), '1', char('0' + s2), '1', char('0' + s3), '1', char('0' + s4)});
            }
    for (std::size_t i = 0; i < kBc412Chars.size(); ++i) b.Widths(kBc412Chars[i], sequences[static_cast<std::size_t>(kBc412Values[i])]);
    b.Widths(u'*', "11");
    return b.Done();
}

// ---- Stroke characters -------------------------------------------------------------------------

// Printable ASCII from "!" to "~", 5 by 7 cells each, rows top to bottom.
constexpr std::array<std::string_view, 94> kStrokeRows = {
    "00100" "00100" "00100" "00100" "00100" "00000" "00100",  // !
    "01010" "01010" "01010" "00000" "00000" "00000" "00000",  // "
    "01010" "01010" "11111" "01010" "11111" "01010" "01010",  // #
    "00100" "01111" "10100" "01110" "00101" "11110" "00100",  // $
    "11000" "11001" "00010" "00100" "01000" "10011" "00011",  // %
    "01100" "10010" "10100" "01000" "10101" "10010" "01101",  // &
    "00100" "00100" "01000" "00000" "00000" "00000" "00000",  // '
    "00010" "00100" "01000" "01000" "01000" "00100" "00010",  // (
    "01000" "00100" "00010" "00010" "00010" "00100" "01000",  // )
    "00000" "00100" "10101" "01110" "10101" "00100" "00000",  // *
    "00000" "00100" "00100" "11111" "00100" "00100" "00000",  // +
    "00000" "00000" "00000" "00000" "01100" "00100" "01000",  // ,
    "00000" "00000" "00000" "11111" "00000" "00000" "00000",  // -
    "00000" "00000" "00000" "00000" "00000" "01100" "01100",  // .
    "00000" "00001" "00010" "00100" "01000" "10000" "00000",  // /
    "01110" "10001" "10011" "10101" "11001" "10001" "01110",  // 0
    "00100" "01100" "00100" "00100" "00100" "00100" "01110",  // 1
    "01110" "10001" "00001" "00010" "00100" "01000" "11111",  // 2
    "11111" "00010" "00100" "00010" "00001" "10001" "01110",  // 3
    "00010" "00110" "01010" "10010" "11111" "00010" "00010",  // 4
    "11111" "10000" "11110" "00001" "00001" "10001" "01110",  // 5
    "00110" "01000" "10000" "11110" "10001" "10001" "01110",  // 6
    "11111" "00001" "00010" "00100" "01000" "01000" "01000",  // 7
    "01110" "10001" "10001" "01110" "10001" "10001" "01110",  // 8
    "01110" "10001" "10001" "01111" "00001" "00010" "01100",  // 9
    "00000" "01100" "01100" "00000" "01100" "01100" "00000",  // :
    "00000" "01100" "01100" "00000" "01100" "00100" "01000",  // ;
    "00010" "00100" "01000" "10000" "01000" "00100" "00010",  // <
    "00000" "00000" "11111" "00000" "11111" "00000" "00000",  // =
    "01000" "00100" "00010" "00001" "00010" "00100" "01000",  // >
    "01110" "10001" "00001" "00010" "00100" "00000" "00100",  // ?
    "01110" "10001" "00001" "01101" "10101" "10101" "01110",  // @
    "01110" "10001" "10001" "11111" "10001" "10001" "10001",  // A
    "11110" "10001" "10001" "11110" "10001" "10001" "11110",  // B
    "01110" "10001" "10000" "10000" "10000" "10001" "01110",  // C
    "11100" "10010" "10001" "10001" "10001" "10010" "11100",  // D
    "11111" "10000" "10000" "11110" "10000" "10000" "11111",  // E
    "11111" "10000" "10000" "11110" "10000" "10000" "10000",  // F
    "01110" "10001" "10000" "10111" "10001" "10001" "01111",  // G
    "10001" "10001" "10001" "11111" "10001" "10001" "10001",  // H
    "01110" "00100" "00100" "00100" "00100" "00100" "01110",  // I
    "00111" "00010" "00010" "00010" "00010" "10010" "01100",  // J
    "10001" "10010" "10100" "11000" "10100" "10010" "10001",  // K
    "10000" "10000" "10000" "10000" "10000" "10000" "11111",  // L
    "10001" "11011" "10101" "10101" "10001" "10001" "10001",  // M
    "10001" "10001" "11001" "10101" "10011" "10001" "10001",  // N
    "01110" "10001" "10001" "10001" "10001" "10001" "01110",  // O
    "11110" "10001" "10001" "11110" "10000" "10000" "10000",  // P
    "01110" "10001" "10001" "10001" "10101" "10010" "01101",  // Q
    "11110" "10001" "10001" "11110" "10100" "10010" "10001",  // R
    "01111" "10000" "10000" "01110" "00001" "00001" "11110",  // S
    "11111" "00100" "00100" "00100" "00100" "00100" "00100",  // T
    "10001" "10001" "10001" "10001" "10001" "10001" "01110",  // U
    "10001" "10001" "10001" "10001" "10001" "01010" "00100",  // V
    "10001" "10001" "10001" "10101" "10101" "10101" "01010",  // W
    "10001" "10001" "01010" "00100" "01010" "10001" "10001",  // X
    "10001" "10001" "01010" "00100" "00100" "00100" "00100",  // Y
    "11111" "00001" "00010" "00100" "01000" "10000" "11111",  // Z
    "01110" "01000" "01000" "01000" "01000" "01000" "01110",  // [
    "00000" "10000" "01000" "00100" "00010" "00001" "00000",  // backslash
    "01110" "00010" "00010" "00010" "00010" "00010" "01110",  // ]
    "00100" "01010" "10001" "00000" "00000" "00000" "00000",  // ^
    "00000" "00000" "00000" "00000" "00000" "00000" "11111",  // _
    "01000" "00100" "00010" "00000" "00000" "00000" "00000",  // `
    "00000" "00000" "01110" "00001" "01111" "10001" "01111",  // a
    "10000" "10000" "10110" "11001" "10001" "10001" "11110",  // b
    "00000" "00000" "01110" "10000" "10000" "10001" "01110",  // c
    "00001" "00001" "01101" "10011" "10001" "10001" "01111",  // d
    "00000" "00000" "01110" "10001" "11111" "10000" "01110",  // e
    "00110" "01001" "01000" "11100" "01000" "01000" "01000",  // f
    "00000" "01111" "10001" "10001" "01111" "00001" "01110",  // g
    "10000" "10000" "10110" "11001" "10001" "10001" "10001",  // h
    "00100" "00000" "01100" "00100" "00100" "00100" "01110",  // i
    "00010" "00000" "00110" "00010" "00010" "10010" "01100",  // j
    "10000" "10000" "10010" "10100" "11000" "10100" "10010",  // k
    "01100" "00100" "00100" "00100" "00100" "00100" "01110",  // l
    "00000" "00000" "11010" "10101" "10101" "10001" "10001",  // m
    "00000" "00000" "10110" "11001" "10001" "10001" "10001",  // n
    "00000" "00000" "01110" "10001" "10001" "10001" "01110",  // o
    "00000" "00000" "11110" "10001" "11110" "10000" "10000",  // p
    "00000" "00000" "01101" "10011" "01111" "00001" "00001",  // q
    "00000" "00000" "10110" "11001" "10000" "10000" "10000",  // r
    "00000" "00000" "01110" "10000" "01110" "00001" "11110",  // s
    "01000" "01000" "11100" "01000" "01000" "01001" "00110",  // t
    "00000" "00000" "10001" "10001" "10001" "10011" "01101",  // u
    "00000" "00000" "10001" "10001" "10001" "01010" "00100",  // v
    "00000" "00000" "10001" "10001" "10101" "10101" "01010",  // w
    "00000" "00000" "10001" "01010" "00100" "01010" "10001",  // x
    "00000" "00000" "10001" "10001" "01111" "00001" "01110",  // y
    "00000" "00000" "11111" "00010" "00100" "01000" "11111",  // z
    "00010" "00100" "00100" "01000" "00100" "00100" "00010",  // {
    "00100" "00100" "00100" "00100" "00100" "00100" "00100",  // |
    "01000" "00100" "00100" "00010" "00100" "00100" "01000",  // }
    "00000" "00000" "01000" "10101" "00010" "00000" "00000",  // ~
};

// The dark runs of one stroke character as rectangles: cells `cellW` by `cellH` units, the
// top-left cell at (x, y), each dark cell widened to `strokeCells` cells (the sixth column of
// the character box stays clear).
void AddStrokeCharacter(std::vector<Rect>& rects, char c, int x, int y, int cellW, int cellH, int strokeCells = 1) {
    const std::string_view rows = StrokeRows(c);
    if (rows.empty()) return;
    for (int r = 0; r < 7; ++r) {
        bool dark[6] = {};
        for (int k = 0; k < 5; ++k)
            if (rows[static_cast<std::size_t>(r * 5 + k)] == '1')
                for (int s = k; s < std::min(5, k + strokeCells); ++s) dark[s] = true;
        for (int k = 0; k < 6;) {
            if (!dark[k]) {
                ++k;
                continue;
            }
            int e = k;
            while (e < 6 && dark[e]) ++e;
            rects.push_back({x + k * cellW, y + r * cellH, (e - k) * cellW, cellH});
            k = e;
        }
    }
}

// ---- SEMI wafer identifiers --------------------------------------------------------------------

// The SEMI rows print their identifier as plain text: the stroke face of the characters the
// encoders write, one stroke a module square, the "B" face with strokes two modules wide.
constexpr std::string_view kSemiChars = "-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

Layout Semi(std::string_view name, int strokeCells) {
    constexpr int cell = kEm / 8;  // seven rows and a row of space below
    Builder b(name, cell);
    for (char c : kSemiChars) {
        Glyph g{static_cast<unsigned char>(c), 6 * cell, {}, {}, {}};
        AddStrokeCharacter(g.rects, c, 0, 0, cell, cell, strokeCells);
        b.Add(std::move(g));
    }
    return b.Done();
}

// ---- Code 16K ----------------------------------------------------------------------------------

// A line is one row: the separator bar (one module) along its top, the row's bars below it.
// 0xFE is the leading quiet zone (10 modules) and 0xFF the trailing one (1 module); 0xED + v
// and 0xF5 + v are the start and stop of row indicator v (start: bar, space, bar, space; stop: a
// one-module bar, then the pattern from a space); a symbol character is the Code 128 pattern of
// its value (106: the first six elements of the Code 128 stop): value 0 at 224, 1 to 95 at 33
// to 127, 96 to 106 at 226 to 236. The trailer line
// draws the bottom separator bar: seven 0xFD of 11 modules and 0xE1 of 4, 81 modules in all.
constexpr std::array<std::string_view, 8> kCode16kIndicators = {"3211", "2221", "2122", "1411",
                                                                "1132", "1231", "1114", "3112"};

Layout Code16k() {
    constexpr int m = kLinearModule;
    Builder b("code16k", m);
    auto row = [&b](char16_t code, const Bits& bits) {
        Glyph g = ColumnGlyph(code, bits, m, m, kEm);
        g.rects.push_back({0, 0, g.advance, m});
        b.Add(std::move(g));
    };
    auto widths = [](std::string_view w, bool bar = true) {
        Bits bits;
        AppendWidths(bits, w, bar);
        return bits;
    };
    row(0xFE, Bits(10, false));
    row(0xFF, Bits(1, false));
    for (int v = 0; v < 8; ++v) {
        row(static_cast<char16_t>(0xED + v), widths(kCode16kIndicators[v]));
        Bits stop{true};
        AppendWidths(stop, kCode16kIndicators[v], false);
        row(static_cast<char16_t>(0xF5 + v), stop);
    }
    for (int v = 0; v <= 106; ++v) {
        const char16_t g = static_cast<char16_t>(v == 0 ? 224 : v < 96 ? 32 + v : 226 + v - 96);
        row(g, widths(v < 106 ? kCode128[v] : kCode128[106].substr(0, 6)));
    }
    b.Add(Glyph{0xFD, 11 * m, {{0, 0, 11 * m, m}}, {}, {}});
    b.Add(Glyph{0xE1, 4 * m, {{0, 0, 4 * m, m}}, {}, {}});
    return b.Done();
}

// ---- Pharmacode ---------------------------------------------------------------------------------

// One-track: narrow bar one module, wide bar three, each followed by two modules of space.
Layout Pharma() {
    Builder b("pharma", kLinearModule);
    b.Bars(u'0', Bits{true, false, false});
    b.Bars(u'1', Bits{true, true, true, false, false});
    return b.Done();
}

// Two-track: "1" the lower half, "2" the upper half, "3" the full height; bar, then a space.
Layout PharmaTwo() {
    Builder b("pharmatwo", kLinearModule);
    const Bits bar{true, false};
    b.Add(ColumnGlyph(u'1', bar, kLinearModule, kEm / 2, kEm));
    b.Add(ColumnGlyph(u'2', bar, kLinearModule, 0, kEm / 2));
    b.Add(ColumnGlyph(u'3', bar, kLinearModule));
    return b.Done();
}

// ---- Postal --------------------------------------------------------------------------------------

// A run of postal bars: 'F' full, 'A' ascender, 'D' descender, 'T' tracker, 'H' POSTNET half.
Glyph PostalGlyph(char16_t code, std::string_view bars) {
    Glyph g{code, static_cast<int>(bars.size()) * 2 * kPostalModule, {}, {}, {}};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        int y0 = 0, y1 = kEm;
        switch (bars[i]) {
            case 'A': y1 = kEm * 5 / 8; break;
            case 'D': y0 = kEm * 3 / 8; break;
            case 'T': y0 = kEm * 3 / 8, y1 = kEm * 5 / 8; break;
            case 'H': y0 = kEm / 2; break;
            default: break;
        }
        g.rects.push_back({static_cast<int>(i) * 2 * kPostalModule, y0, kPostalModule, y1 - y0});
    }
    return g;
}

// POSTNET digits: bars from the left, 1 full (weights 7 4 2 1 0). PLANET draws them inverted.
constexpr std::array<std::string_view, 10> kPostnet = {"11000", "00011", "00101", "00110", "01001",
                                                       "01010", "01100", "10001", "10010", "10100"};

Layout PostnetPlanet(std::string_view name, bool planet) {
    Builder b(name, kPostalModule);
    b.Add(PostalGlyph(u'[', "F"));
    b.Add(PostalGlyph(u']', "F"));
    for (int d = 0; d < 10; ++d) {
        std::string bars;
        for (char c : kPostnet[d]) bars += (c == '1') != planet ? 'F' : 'H';
        b.Add(PostalGlyph(static_cast<char16_t>(u'0' + d), bars));
    }
    return b.Done();
}

// Royal Mail: a character's row gives its ascenders, its column its descenders.
constexpr std::array<std::string_view, 6> kRm4 = {"0011", "0101", "0110", "1001", "1010", "1100"};
constexpr std::string_view kRmChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

Layout RoyalMail() {
    Builder b("royalmail", kPostalModule);
    b.Add(PostalGlyph(u'[', "A"));
    b.Add(PostalGlyph(u']', "F"));
    for (std::size_t v = 0; v < kRmChars.size(); ++v) {
        std::string bars;
        for (int k = 0; k < 4; ++k) {
            const bool up = kRm4[v / 6][k] == '1', down = kRm4[v % 6][k] == '1';
            bars += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
        }
        b.Add(PostalGlyph(static_cast<unsigned char>(kRmChars[v]), bars));
    }
    return b.Done();
}

// Intelligent Mail: one glyph a bar, named by its letter.
Layout IntelligentMail() {
    Builder b("imb", kPostalModule);
    for (char c : std::string_view("FADT")) b.Add(PostalGlyph(static_cast<unsigned char>(c), std::string(1, c)));
    return b.Done();
}

// ---- Band font of the matrix and stacked symbols ---------------------------------------------------

// A hexadecimal digit draws its four bits as a column of four module rows `row` units tall,
// the highest bit on top, one module `module` units wide.
Layout Bands(std::string_view name, int module, int row) {
    Builder b(name, module);
    for (int v = 0; v < 16; ++v) {
        Glyph g{static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10), module, {}, {}, {}};
        for (int k = 0; k < 4;) {
            if (!((v >> (3 - k)) & 1)) {
                ++k;
                continue;
            }
            int e = k;
            while (e < 4 && ((v >> (3 - e)) & 1)) ++e;
            g.rects.push_back({0, k * row, module, (e - k) * row});
            k = e;
        }
        b.Add(std::move(g));
    }
    return b.Done();
}

// The matrix symbols' band font: square modules, four to the em.
Layout Band() { return Bands("band", kBandModule, kBandModule); }

// The stacked symbols' band font: each of the four rows a symbol row twice as tall as a module
// is wide (8 modules to the em), the row height of MicroPDF417 and a PDF417 symbol half as wide
// as in the square band font.
Layout StackedBand() { return Bands("stackedband", kEm / 8, kEm / 4); }

// ---- DataBar -----------------------------------------------------------------------------------------

// 16 modules to the em. One-row forms: a digit is a space of its width; "a" to "i" a full-height
// bar of width 1 to 9 (Omnidirectional, Limited), "A" to "I" a bar of width 1 to 9 below the
// three separator modules (Expanded; "A" is also the bar of a stacked form's first line).
// Stacked: one glyph a module column, top row (5 modules), separator (1), bottom row (7).
// Further lines of Stacked Omnidirectional and Expanded Stacked: the three separator modules
// t, m, b over the row, as "1PQSRTUV" (spaces: t 4, m 2, b 1) and "AWXY" (bars: t 2, m 1).
Layout Databar() {
    constexpr int m = kLinearModule;
    Builder b("databar", m);
    for (int w = 1; w <= 9; ++w) {
        b.Add(Empty(static_cast<char16_t>(u'0' + w), w * m));
        b.Add(ColumnGlyph(static_cast<char16_t>(u'a' + w - 1), Bits(static_cast<std::size_t>(w), true), m));
        b.Add(ColumnGlyph(static_cast<char16_t>(u'A' + w - 1), Bits(static_cast<std::size_t>(w), true), m, 3 * m, kEm));
    }
    // Stacked: bits top, separator, bottom.
    const std::u16string_view stacked = u"KJMLNO";
    static constexpr int kStacked[6][3] = {{0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
    for (int i = 0; i < 6; ++i) {
        Glyph glyph{stacked[i], m, {}, {}, {}};
        static constexpr int kSpan[3][2] = {{0, 5}, {5, 6}, {6, 13}};
        for (int part = 0; part < 3; ++part)
            if (kStacked[i][part]) glyph.rects.push_back({0, kSpan[part][0] * m, m, (kSpan[part][1] - kSpan[part][0]) * m});
        b.Add(std::move(glyph));
    }
    const std::u16string_view spaces = u"1PQSRTUV", bars = u"AWXY";
    for (int s = 1; s < 8; ++s) {
        Glyph glyph{spaces[s], m, {}, {}, {}};
        for (int k = 0; k < 3; ++k)
            if (s & (4 >> k)) glyph.rects.push_back({0, k * m, m, m});
        b.Add(std::move(glyph));
    }
    for (int k = 1; k < 4; ++k) {
        Glyph glyph{bars[k], m, {{0, 3 * m, m, kEm - 3 * m}}, {}, {}};
        if (k & 2) glyph.rects.push_back({0, 0, m, m});
        if (k & 1) glyph.rects.push_back({0, m, m, m});
        b.Add(std::move(glyph));
    }
    return b.Done();
}

// ---- Maxicode -----------------------------------------------------------------------------------------

// A convex polygon cut to the rows y0 <= y <= y1 (empty when nothing is left).
std::vector<Point> CutToRows(const std::vector<std::pair<double, double>>& poly, double y0, double y1) {
    std::vector<std::pair<double, double>> pts = poly;
    for (int side = 0; side < 2; ++side) {
        const double limit = side ? y1 : y0;
        auto inside = [&](const std::pair<double, double>& p) { return side ? p.second <= limit : p.second >= limit; };
        std::vector<std::pair<double, double>> kept;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const auto& a = pts[i];
            const auto& b = pts[(i + 1) % pts.size()];
            if (inside(a)) kept.push_back(a);
            if (inside(a) != inside(b)) {
                const double t = (limit - a.second) / (b.second - a.second);
                kept.push_back({a.first + t * (b.first - a.first), limit});
            }
        }
        pts = std::move(kept);
    }
    std::vector<Point> out;
    for (const auto& p : pts) {
        const Point q{static_cast<int>(std::lround(p.first)), static_cast<int>(std::lround(p.second))};
        if (out.empty() || q.x != out.back().x || q.y != out.back().y) out.push_back(q);
    }
    while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) out.pop_back();
    if (out.size() < 3) out.clear();
    return out;
}

// The finder marker of a band ('!' for band 3 to '%' for band 7): no advance, drawn at the
// start of the cell of columns 14 and 15 (after the half-module step of an odd band). It draws
// the band's slice of the three dark rings around the finder centre, the middle of row 16,
// column 14, reaching a little into the next bands so that slices join without a seam.
// Ring edges from the centre in module widths: a light disc to 0.58, then dark to 1.34, light
// to 2.11, dark to 2.88, light to 3.64, dark to 4.40. These are the nominal radii of the
// bull's-eye of ISO/IEC 16023 (0.51, 1.18, 1.86, 2.53, 3.20 and 3.87 mm) over its nominal
// module width of 0.88 mm; the outer edge stays clear of the nearest
// data hexagon. Each ring is drawn as convex segments of 5 degrees.
Glyph MaxicodeFinderSlice(int band, int module, double w, double pitch) {
    constexpr double kEdges[6] = {0.51 / 0.88, 1.18 / 0.88, 1.86 / 0.88, 2.53 / 0.88, 3.20 / 0.88, 3.87 / 0.88};
    constexpr int kSegments = 72;
    constexpr double kOverlap = 64;  // font units: a pixel at 12 points on the screen
    const double pen = 2 * kMaxicodeFinderCell * module + (band % 2 ? module / 2 : 0);
    const double cx = 14 * module + module / 2 - pen, cy = (16.5 - 3 * band) * pitch;
    Glyph g{static_cast<char16_t>(u'!' + band - kMaxicodeFinderFirstBand), 0, {}, {}, {}};
    const double pi = std::acos(-1.0);
    for (int ring = 0; ring < 3; ++ring) {
        const double inner = kEdges[2 * ring] * w, outer = kEdges[2 * ring + 1] * w;
        for (int k = 0; k < kSegments; ++k) {
            // Each segment reaches a degree into its neighbours: the rasterisers leave a
            // hairline where two outlines merely touch.
            const double a0 = 2 * pi * (k - 0.2) / kSegments, a1 = 2 * pi * (k + 1.2) / kSegments;
            // The outer edge runs on the chord's outside so the ring keeps its full width.
            const double out = outer / std::cos(1.4 * pi / kSegments);
            const std::vector<std::pair<double, double>> quad = {
                {cx + inner * std::cos(a0), cy + inner * std::sin(a0)},
                {cx + out * std::cos(a0), cy + out * std::sin(a0)},
                {cx + out * std::cos(a1), cy + out * std::sin(a1)},
                {cx + inner * std::cos(a1), cy + inner * std::sin(a1)}};
            auto cut = CutToRows(quad, -kOverlap, kEm + kOverlap);
            if (!cut.empty()) g.polygons.push_back(std::move(cut));
        }
    }
    return g;
}

// Hexagon font: a line is a band of three module rows, a glyph "0" + v a cell of two module
// columns: v bit 1 the top right, 2 the top left, 4 the middle module between them, 8 the
// bottom right, 16 the bottom left hexagon. The middle row lies half a module to the right of
// the top and bottom rows. "~" (no advance) draws a middle hexagon centred on the pen, "["
// moves the pen half a module (the first cell of an odd band).
Layout Maxicode() {
    const double pitch = kEm / 3.0;            // row pitch
    const double radius = pitch / 1.5;         // centre to corner
    const double w = radius * std::sqrt(3.0);  // module width
    const int module = static_cast<int>(std::lround(w));
    auto hexagon = [radius, w](double cx, double cy) {
        std::vector<Point> p;
        const double dx[6] = {0, w / 2, w / 2, 0, -w / 2, -w / 2};
        const double dy[6] = {-radius, -radius / 2, radius / 2, radius, radius / 2, -radius / 2};
        for (int k = 0; k < 6; ++k)
            p.push_back({static_cast<int>(std::lround(cx + dx[k])), static_cast<int>(std::lround(cy + dy[k]))});
        return p;
    };
    Builder b("maxicode", module);
    for (int v = 0; v < 32; ++v) {
        Glyph g{static_cast<char16_t>(u'0' + v), 2 * module, {}, {}, {}};
        if (v & 2) g.polygons.push_back(hexagon(0.5 * w, 0.5 * pitch));
        if (v & 1) g.polygons.push_back(hexagon(1.5 * w, 0.5 * pitch));
        if (v & 4) g.polygons.push_back(hexagon(1.0 * w, 1.5 * pitch));
        if (v & 16) g.polygons.push_back(hexagon(0.5 * w, 2.5 * pitch));
        if (v & 8) g.polygons.push_back(hexagon(1.5 * w, 2.5 * pitch));
        b.Add(std::move(g));
    }
    b.Add(Glyph{u'~', 0, {}, {hexagon(0, 1.5 * pitch)}, {}});
    b.Add(Empty(u'[', module / 2));
    for (int band = kMaxicodeFinderFirstBand; band <= kMaxicodeFinderLastBand; ++band)
        b.Add(MaxicodeFinderSlice(band, module, w, pitch));
    return b.Done();
}

// ---- Human-readable layouts --------------------------------------------------------------------

// The human-readable text of a glyph of each family's font.
std::string Digits2(int v) { return {char('0' + v / 10), char('0' + v % 10)}; }
std::string Char(int c) { return c > 32 && c < 127 ? std::string(1, char(c)) : std::string(); }

// Code 39: the character itself; the start and stop "*" print as "*", as Code 39 text does.
std::string Code39Text(char16_t g) { return g == u'#' ? std::string() : Char(g); }

// Full-ASCII Code 39: the ASCII character each glyph stands for.
std::string Code39ExtText(char16_t g) {
    if (g == 176) return "*";
    if (g == 177) return "#";
    return g == u'#' ? std::string() : Char(g);
}

// Code 93: the data characters; the shift glyphs, start, stop and termination bar print nothing.
std::string Code93Text(char16_t g) {
    if (std::u16string_view(u"#^)&([]|").find(g) != std::u16string_view::npos) return {};
    return Char(g);
}

// Code 128 by code set: A prints the characters 33 to 95, B 33 to 126, C the digit pair of
// values 0 to 99; function values, controls and DEL print nothing.
std::string Code128SetText(char set, int v) {
    if (set == 'C') return v >= 0 && v <= 99 ? Digits2(v) : std::string();
    if (v < 1 || v > 94 || (set == 'A' && v > 63)) return {};
    return Char(v + 32);
}

// The desktop Code 128 font: the check glyphs that print no text (0xA6 to 0xE2, 0x180 and up,
// 0x1D) stay without it, and so do the switch and start glyphs of the server's scheme (0xF0
// and up) that the automatic encoder writes.
template <char Set>
std::string Code128Text(char16_t g) {
    if (g >= 0xA6 || g == 0x1D) return {};
    return Code128SetText(Set, Code128GlyphValue("code128desktop", g));
}

template <char Set>
std::string AsianCode128Text(char16_t g) {
    return Code128SetText(Set, Code128GlyphValue("asian128", g));
}

// Codabar: every character, the start "A" and stop "B" included, as Codabar text shows them.
std::string CodabarText(char16_t g) { return Char(g); }

// Code 11, Code 2 of 5 and MSI: the data digits (and Code 11's "-"); their start and stop print nothing.
std::string Code11Text(char16_t g) { return g == u'*' ? std::string() : Char(g); }
std::string DigitText(char16_t g) { return g >= u'0' && g <= u'9' ? Char(g) : std::string(); }

// Interleaved 2 of 5: the digit pair of each pair glyph.
std::string I25Text(char16_t g) {
    if (g >= 33 && g <= 126) return Digits2(g - 33);
    if (g >= 0xE0 && g <= 0xE5) return Digits2(g - 130);
    return {};
}

// The Telepen character a glyph draws; 0 for the start and stop.
int TelepenChar(char16_t g) {
    switch (g) {
        case u'#': return ' ';
        case 0xB0: return '#';
        case 0xB1: return '[';
        case 0xB2: return ']';
        case 0xB3: return 127;
        case u'[': case u']': return 0;
        default: return g >= 225 ? g - 224 : g;
    }
}

std::string TelepenText(char16_t g) { return Char(TelepenChar(g)); }

// Telepen numeric: the digit pair a character 27 to 126 carries.
std::string TelepenNumericText(char16_t g) {
    const int c = TelepenChar(g);
    return c >= 27 && c <= 126 ? Digits2(c - 27) : std::string();
}

struct HrLayout {
    std::string_view name, bars;
    std::string (*text)(char16_t);
};
constexpr HrLayout kHrLayouts[] = {
    {"code39-hr", "code39", Code39Text},
    {"code39ext-hr", "code39ext", Code39ExtText},
    {"code93-hr", "code93", Code93Text},
    {"code128a-hr", "code128desktop", Code128Text<'A'>},
    {"code128b-hr", "code128desktop", Code128Text<'B'>},
    {"code128c-hr", "code128desktop", Code128Text<'C'>},
    {"asian128a-hr", "asian128", AsianCode128Text<'A'>},
    {"asian128b-hr", "asian128", AsianCode128Text<'B'>},
    {"asian128c-hr", "asian128", AsianCode128Text<'C'>},
    {"codabar-hr", "codabar", CodabarText},
    {"code11-hr", "code11", Code11Text},
    {"i25-hr", "i25", I25Text},
    {"code25-hr", "code25", DigitText},
    {"msi-hr", "msi", DigitText},
    {"telepen-hr", "telepen", TelepenText},
    {"telepennum-hr", "telepen", TelepenNumericText},
};

Layout HumanReadable(const HrLayout& hr, const Layout& bars) {
    Layout l{hr.name, bars.module, {}, bars.name};
    for (const Glyph& plain : bars.glyphs) {
        l.glyphs.push_back(plain);
        PrintText(l.glyphs.back(), hr.text(plain.code));
    }
    return l;
}

void PrintText(Glyph& g, const std::string& text, bool above) {
    const int barTop = above ? kEm - kHrBarBottom : 0, barBottom = above ? kEm : kHrBarBottom;
    std::vector<Rect> rects;
    for (Rect r : g.rects) {
        const int top = std::max(r.y, barTop), bottom = std::min(r.y + r.h, barBottom);
        if (bottom > top) rects.push_back({r.x, top, r.w, bottom - top});
    }
    g.rects = std::move(rects);
    g.text = text;
    const int n = static_cast<int>(text.size());
    const int width = (6 * n - 1) * kHrCellWidth;
    for (int i = 0; i < n; ++i)
        AddStrokeCharacter(g.rects, text[static_cast<std::size_t>(i)], (g.advance - width) / 2 + 6 * i * kHrCellWidth,
                           above ? 0 : kHrTextTop, kHrCellWidth, kHrCellHeight);
}

std::vector<Layout> MakeLayouts() {
    std::vector<Layout> all;
    all.push_back(Band());
    all.push_back(StackedBand());
    all.push_back(Code39());
    all.push_back(Code39Ext());
    all.push_back(Code93());
    all.push_back(UpcEan());
    all.push_back(Code128("code128"));
    all.push_back(Code128("code128desktop"));
    all.push_back(AsianCode128());
    all.push_back(Gapped("codabar", kCodabarChars, kCodabar.data()));
    all.push_back(Gapped("code11", kCode11Chars, kCode11.data()));
    all.push_back(I25());
    all.push_back(Code25());
    all.push_back(Msi());
    all.push_back(Pharma());
    all.push_back(PharmaTwo());
    all.push_back(PostnetPlanet("postnet", false));
    all.push_back(PostnetPlanet("planet", true));
    all.push_back(RoyalMail());
    all.push_back(IntelligentMail());
    all.push_back(Databar());
    all.push_back(Maxicode());
    all.push_back(Telepen());
    all.push_back(Bc412());
    all.push_back(Semi("semi", 1));
    all.push_back(Semi("semibold", 2));
    all.push_back(Code16k());
    std::vector<Layout> readable;
    for (const HrLayout& hr : kHrLayouts)
        for (const Layout& l : all)
            if (l.name == hr.bars) readable.push_back(HumanReadable(hr, l));
    for (Layout& l : readable) all.push_back(std::move(l));
    return all;
}

// Family keys with the layout their faces draw.
struct Family {
    std::string_view key, layout;
};
constexpr Family kFamilies[] = {
    {"KVCode39", "code39"},          {"KVCode39Ext", "code39ext"},      {"KVCode93", "code93"},
    {"KVUpcEan", "upcean"},          {"KVCode128A", "code128desktop"},  {"KVAsianCode128A", "asian128"},
    {"KVCode128B", "code128desktop"}, {"KVAsianCode128B", "asian128"},  {"KVCode128C", "code128desktop"},
    {"KVAsianCode128C", "asian128"}, {"KVCode128", "code128desktop"},   {"KVCodabar", "codabar"},
    {"KVPharma", "pharma"},          {"KVPharmaTwo", "pharmatwo"},      {"KVI25", "i25"},
    {"KVCarton", "i25"},             {"KVCode25", "code25"},            {"KVCode11", "code11"},
    {"KVMsi", "msi"},                {"KVPostnet", "postnet"},          {"KVPlanet", "planet"},
    {"KVIntelligentMail", "imb"},    {"KVRoyalMail", "royalmail"},      {"KVCmdm", "band"},
    {"KVDataMatrix", "band"},        {"KVDataMatrixSemi", "band"},      {"KVQRCodeSemi", "band"},
    {"KVCode39Semi", "code39"},      {"KVPdf417", "stackedband"},              {"KVQRCode", "band"},
    {"KVAztec", "band"},             {"KVDatabar", "databar"},          {"KVMaxicode", "maxicode"},
    {"KVTelepen", "telepen"},        {"KVTelepenNum", "telepen"},       {"KVBC412", "bc412"},
    {"KVSemi", "semi"},              {"KVSemiB", "semibold"},           {"KVCode16K", "code16k"},
};

// Families with "Hr" faces and the human-readable layout those faces draw.
constexpr Family kHrFamilies[] = {
    {"KVCode39", "code39-hr"},      {"KVCode39Ext", "code39ext-hr"}, {"KVCode93", "code93-hr"},
    {"KVCode128A", "code128a-hr"},   {"KVCode128B", "code128b-hr"},    {"KVCode128C", "code128c-hr"},
    {"KVAsianCode128A", "asian128a-hr"}, {"KVAsianCode128B", "asian128b-hr"}, {"KVAsianCode128C", "asian128c-hr"},
    {"KVCodabar", "codabar-hr"},     {"KVI25", "i25-hr"},              {"KVCarton", "i25-hr"},
    {"KVCode25", "code25-hr"},       {"KVCode11", "code11-hr"},        {"KVMsi", "msi-hr"},
    {"KVTelepen", "telepen-hr"},     {"KVTelepenNum", "telepennum-hr"},
};

// Default faces: family key and suffix.
constexpr std::pair<std::string_view, std::string_view> kDefaultFaces[] = {
    {"KVCode39", "MHr"},   {"KVCode39Ext", "MHr"}, {"KVCode93", "MHr"},     {"KVUpcEan", "M"},
    {"KVCode128A", "MHr"}, {"KVAsianCode128A", "MHr"}, {"KVCode128B", "MHr"}, {"KVAsianCode128B", "MHr"},
    {"KVCode128C", "MHr"}, {"KVAsianCode128C", "MHr"}, {"KVCode128", "M"},    {"KVCodabar", "MHr"},
    {"KVPharma", ""},      {"KVPharmaTwo", "L"},   {"KVI25", "MHr"},        {"KVCarton", ""},
    {"KVCode25", "MHr"},   {"KVCode11", "MHr"},    {"KVMsi", "MHr"},        {"KVPostnet", ""},
    {"KVPlanet", ""},      {"KVIntelligentMail", ""}, {"KVRoyalMail", ""},  {"KVCmdm", ""},
    {"KVDataMatrix", ""},  {"KVDataMatrixSemi", ""}, {"KVQRCodeSemi", ""},  {"KVCode39Semi", ""},
    {"KVPdf417", ""},      {"KVQRCode", ""},       {"KVAztec", ""},         {"KVDatabar", "S"},
    {"KVDatabar", "M"},    {"KVMaxicode", ""},     {"KVTelepen", "MHr"},    {"KVTelepenNum", "MHr"},
    {"KVBC412", ""},       {"KVSemi", ""},         {"KVSemiB", ""},         {"KVCode16K", "M"},
};

// Families whose whole face set is built: composed families with every size suffix, with
// "Hr", without it, or both, as the program asks for them (the UPC/EAN and plain Code 128
// faces never have "Hr"; a Code 128 row without text takes the plain Code 128 faces), and
// the fixed lists of the others.
constexpr std::string_view kSizeSuffixes[] = {"XXL", "XL", "L", "M", "S", "XS", "XXS"};
struct ComposedSet {
    std::string_view key;
    bool plain, humanReadable;
};
constexpr ComposedSet kComposedSets[] = {
    {"KVCode39", true, true}, {"KVCode128", true, false}, {"KVCode128A", false, true}, {"KVUpcEan", true, false}};
constexpr std::pair<std::string_view, std::string_view> kFixedSets[] = {
    {"KVDatabar", "L"}, {"KVPharmaTwo", "S"}, {"KVCarton", "Hr"}};

}  // namespace

const Glyph* Layout::Find(char16_t code) const {
    const auto it = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                                     [](const Glyph& g, char16_t c) { return g.code < c; });
    return it != glyphs.end() && it->code == code ? &*it : nullptr;
}

bool Layout::Covers(const Glyph& glyph, double x, double y) {
    for (const Rect& r : glyph.rects)
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return true;
    for (const auto& poly : glyph.polygons) {
        bool inside = false;
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const Point a = poly[i], b = poly[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / double(b.y - a.y) + a.x) inside = !inside;
        }
        if (inside) return true;
    }
    return false;
}

const std::vector<Layout>& AllLayouts() {
    static const std::vector<Layout> all = MakeLayouts();
    return all;
}

const Layout* FindLayout(std::string_view name) {
    for (const Layout& l : AllLayouts())
        if (l.name == name) return &l;
    return nullptr;
}

std::string_view StrokeRows(char c) {
    return c > 32 && c < 127 ? kStrokeRows[static_cast<std::size_t>(c - 33)] : std::string_view();
}

std::vector<Face> GeneratedFaces() {
    // A face with "Hr" draws its family's human-readable layout (none: no layout).
    auto layoutOf = [](std::string_view key, bool hr) {
        auto find = [key](const auto& families) {
            for (const Family& f : families)
                if (f.key == key) return f.layout;
            return std::string_view();
        };
        return hr ? find(kHrFamilies) : find(kFamilies);
    };
    std::vector<Face> faces;
    auto add = [&](std::string_view key, std::string_view suffix) {
        std::string name = std::string(key) + std::string(suffix);
        for (const Face& f : faces)
            if (f.name == name) return;
        const bool hr = suffix.size() >= 2 && suffix.substr(suffix.size() - 2) == "Hr";
        faces.push_back({std::move(name), layoutOf(key, hr), hr});
    };
    for (auto [key, suffix] : kDefaultFaces) add(key, suffix);
    for (const ComposedSet& set : kComposedSets)
        for (std::string_view size : kSizeSuffixes) {
            if (set.plain) add(set.key, size);
            if (set.humanReadable) add(set.key, std::string(size) + "Hr");
        }
    for (auto [key, suffix] : kFixedSets) add(key, suffix);
    return faces;
}

int Code128GlyphValue(std::string_view layout, char16_t g) {
    if (layout == "asian128") {
        if (g == 0xCC) return 0;
        if (g >= 33 && g <= 126) return g - 32;
        if (g >= 0xC0 && g <= 0xCA) return g - 97;
        return g == 0xCB ? -1 : -2;
    }
    if (g >= 0x180 && g <= 0x1A5) return g - 383;  // checks 1 to 38, no text
    if (g >= 0xA6 && g <= 0xE2) return g - 127;    // checks 39 to 99, no text
    if (g >= 33 && g <= 126) return g - 32;
    // Switch and start glyphs of the server's scheme; the desktop's automatic encoder writes them too.
    if (g >= 0xF0 && g <= 0xFA) return g - 145;
    if (layout == "code128desktop") {
        if (g == 0x1C || g == 0x1D) return 0;
        if (g >= 0x10 && g <= 0x1A) return g + 79;
        if (g == 0x1B) return -1;
    } else if (layout == "code128") {
        if (g == 0xFC || g == 0xFD) return 0;
        if (g == 0xFB) return -1;
    }
    return -2;
}

}  // namespace fonts
