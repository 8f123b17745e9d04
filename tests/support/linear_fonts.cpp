#include "support/linear_fonts.h"

#include "support/font_text.h"

#include <array>
#include <string>

namespace testing_support {

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
    return FontTextModules("code39", fontText);
}

std::optional<Modules> Code39ExtFontToModules(std::u16string_view fontText) {
    // "*" only starts and ends the text.
    for (std::size_t i = 0; i < fontText.size(); ++i)
        if ((fontText[i] == u'*') != (i == 0 || i + 1 == fontText.size())) return std::nullopt;
    return FontTextModules("code39ext", fontText);
}

std::optional<Modules> Code93FontToModules(std::u16string_view fontText) {
    return FontTextModules("code93", fontText);
}

}  // namespace testing_support
