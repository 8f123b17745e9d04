#include "telepen.h"

#include <string>

namespace linear {

char16_t TelepenGlyph(char16_t c) {
    if (c == u' ') return u'#';
    if (c == u'#') return 0xB0;
    if (c == u'[') return 0xB1;
    if (c == u']') return 0xB2;
    if (c == 127) return 0xB3;
    if (c < 32) return static_cast<char16_t>(c + 224);
    return c;
}

namespace {

// "[", the glyphs of the characters and of their check character, "]".
const char16_t* TelepenSymbol(Context& ctx, std::u16string_view chars) {
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'[');
    unsigned sum = 0;
    for (char16_t c : chars) {
        if (!out.room(1, 2)) {  // room for the check character and the stop
            ctx.lose(kLossCut);
            break;
        }
        out.put(TelepenGlyph(c));
        sum += c;
    }
    out.put(TelepenGlyph(static_cast<char16_t>(127 - sum % 127)));
    out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

}  // namespace

const char16_t* EncodeTelepen(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string kept;
    for (char16_t c : work.view()) {
        if (c >= 1 && c <= 127) kept += c;
        else ctx.lose(kLossDropped);
    }
    return TelepenSymbol(ctx, kept);
}

const char16_t* EncodeTelepenNumeric(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string digits;
    for (char16_t c : work.view()) {
        if (c >= u'0' && c <= u'9') digits += c;
        else ctx.lose(kLossDropped);
    }
    if (digits.size() % 2) digits += u'0';
    std::u16string pairs;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        pairs += static_cast<char16_t>(27 + (digits[i] - u'0') * 10 + (digits[i + 1] - u'0'));
    return TelepenSymbol(ctx, pairs);
}

}  // namespace linear
