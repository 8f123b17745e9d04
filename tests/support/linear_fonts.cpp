#include "support/linear_fonts.h"

#include <array>
#include <string>

namespace testing_support {

namespace {

// Code 39 characters and their nine elements (bar first); a set bit is a wide element.
constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr std::array<unsigned, 44> kCode39Patterns = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064,  // 0-9
    0x109, 0x049, 0x148, 0x019, 0x118, 0x058, 0x00D, 0x10C, 0x04C, 0x01C,  // A-J
    0x103, 0x043, 0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016,  // K-T
    0x181, 0x0C1, 0x1C0, 0x091, 0x190, 0x0D0,                              // U-Z
    0x085, 0x184, 0x0C4, 0x0A8, 0x0A2, 0x08A, 0x02A, 0x094};               // - . space $ / + % *

bool AppendCode39Char(Modules& m, char c) {
    const auto i = kCode39Chars.find(c);
    if (i == std::string_view::npos) return false;
    if (!m.empty()) m.push_back(false);  // narrow inter-character gap
    for (int e = 8; e >= 0; --e) {
        const bool wide = (kCode39Patterns[i] >> e) & 1;
        const bool bar = (8 - e) % 2 == 0;
        m.insert(m.end(), wide ? 3 : 1, bar);
    }
    return true;
}

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

void AppendNineModules(Modules& m, unsigned pattern) {
    for (int b = 8; b >= 0; --b) m.push_back((pattern >> b) & 1);
}

}  // namespace

std::string_view Code39FullAsciiPair(unsigned char c) {
    static const std::array<std::string, 128> table = [] {
        std::array<std::string, 128> t;
        t[0] = "%U";
        for (int i = 1; i <= 26; ++i) t[i] = std::string("$") + char('A' + i - 1);
        for (int i = 27; i <= 31; ++i) t[i] = std::string("%") + char('A' + i - 27);
        t[' '] = " ";
        for (int i = 33; i <= 44; ++i) t[i] = std::string("/") + char('A' + i - 33);
        t['-'] = "-";
        t['.'] = ".";
        t['/'] = "/O";
        for (int i = '0'; i <= '9'; ++i) t[i] = std::string(1, char(i));
        t[':'] = "/Z";
        for (int i = 59; i <= 63; ++i) t[i] = std::string("%") + char('F' + i - 59);
        t['@'] = "%V";
        for (int i = 'A'; i <= 'Z'; ++i) t[i] = std::string(1, char(i));
        for (int i = 91; i <= 95; ++i) t[i] = std::string("%") + char('K' + i - 91);
        t['`'] = "%W";
        for (int i = 'a'; i <= 'z'; ++i) t[i] = std::string("+") + char(i - 32);
        for (int i = 123; i <= 127; ++i) t[i] = std::string("%") + char('P' + i - 123);
        return t;
    }();
    return c < 128 ? std::string_view(table[c]) : std::string_view();
}

std::optional<Modules> Code39FontToModules(std::u16string_view fontText) {
    Modules m;
    for (char16_t g : fontText) {
        const char c = g == u'#' ? ' ' : static_cast<char>(g);
        if (g > 127 || !AppendCode39Char(m, c)) return std::nullopt;
    }
    return m;
}

std::optional<Modules> Code39ExtFontToModules(std::u16string_view fontText) {
    Modules m;
    for (std::size_t i = 0; i < fontText.size(); ++i) {
        const char16_t g = fontText[i];
        const bool edge = i == 0 || i + 1 == fontText.size();
        if (edge) {
            if (g != u'*') return std::nullopt;
            AppendCode39Char(m, '*');
            continue;
        }
        int ascii;
        if (g >= 224 && g <= 255) ascii = g - 224;
        else if (g == u'#') ascii = ' ';
        else if (g == 176) ascii = '*';
        else if (g == 177) ascii = '#';
        else if (g == 175) ascii = 127;
        else if (g < 128 && g != u' ' && g != u'*') ascii = g;
        else return std::nullopt;
        for (char c : Code39FullAsciiPair(static_cast<unsigned char>(ascii)))
            if (!AppendCode39Char(m, c)) return std::nullopt;
    }
    return m;
}

std::optional<Modules> Code93FontToModules(std::u16string_view fontText) {
    Modules m;
    for (char16_t g : fontText) {
        if (g == u'[' || g == u']') {
            AppendNineModules(m, kCode93Patterns[47]);
        } else if (g == u'|') {
            m.push_back(true);
        } else {
            const auto v = kCode93Glyphs.find(g);
            if (v == std::u16string_view::npos) return std::nullopt;
            AppendNineModules(m, kCode93Patterns[v]);
        }
    }
    return m;
}

}  // namespace testing_support
