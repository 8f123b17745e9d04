#include "support/upc_code128_fonts.h"

#include "support/font_text.h"

namespace testing_support {

namespace {

std::string_view Code128Layout(bool desktop) { return desktop ? "code128desktop" : "code128"; }

}  // namespace

std::optional<Modules> UpcEanFontToModules(std::u16string_view fontText) {
    return FontTextModules("upcean", fontText);
}

std::optional<std::vector<int>> Code128FontToValues(std::u16string_view fontText, bool desktop) {
    std::vector<int> values;
    for (std::size_t i = 0; i < fontText.size(); ++i) {
        const int v = fonts::Code128GlyphValue(Code128Layout(desktop), fontText[i]);
        if (v == -1 && i + 1 == fontText.size()) return values;
        if (v < 0) return std::nullopt;
        values.push_back(v);
    }
    return std::nullopt;
}

std::optional<Modules> Code128FontToModules(std::u16string_view fontText, bool desktop) {
    if (!Code128FontToValues(fontText, desktop)) return std::nullopt;
    return FontTextModules(Code128Layout(desktop), fontText);
}

}  // namespace testing_support
