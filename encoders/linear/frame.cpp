#include "frame.h"

namespace linear {

const char16_t* UpperCaseCopy(Context& ctx, const char16_t* text) {
    char16_t* out = ctx.resultBuffer();
    const std::size_t cap = ctx.profile().bufferUnits;
    std::size_t n = 0;
    for (const char16_t* p = text; p && *p && n + 1 < cap; ++p)
        out[n++] = (*p >= u'a' && *p <= u'z') ? static_cast<char16_t>(*p - 32) : *p;
    out[n] = 0;
    return out;
}

char16_t Mod10Check(std::u16string_view digits) {
    unsigned sum = 0;
    unsigned weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += weight * static_cast<unsigned>(*it - u'0');
        weight = 4 - weight;
    }
    const unsigned r = sum % 10;
    return static_cast<char16_t>(u'0' + (r == 0 ? 0 : 10 - r));
}

int AppendWChar(char16_t* buffer, char16_t c) {
    std::size_t n = TextLength(buffer);
    if (n >= 255) return -1;
    buffer[n] = c;
    buffer[n + 1] = 0;
    return static_cast<int>(n + 1);
}

}  // namespace linear
