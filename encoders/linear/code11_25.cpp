#include "code11_25.h"

#include <string>

namespace linear {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The decoded digits of the text, at most `limit` of them.
std::u16string Digits(const Context& ctx, const char16_t* text, std::size_t limit) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string digits;
    for (char16_t c : work.view()) {
        if (!IsDigit(c)) {
            ctx.lose(kLossDropped);
        } else if (digits.size() >= limit) {
            ctx.lose(kLossCut);
            break;
        } else {
            digits += c;
        }
    }
    return digits;
}

int Code11Value(char16_t c) { return c == u'-' ? 10 : c - u'0'; }
char16_t Code11Char(unsigned v) { return v == 10 ? u'-' : static_cast<char16_t>(u'0' + v); }

// Code 11 check over `data`, weights 1 to maxWeight repeating from the right.
char16_t Code11Check(std::u16string_view data, unsigned maxWeight) {
    unsigned sum = 0, p = 0;
    for (auto it = data.rbegin(); it != data.rend(); ++it, ++p)
        sum += (p % maxWeight + 1) * static_cast<unsigned>(Code11Value(*it));
    return Code11Char(sum % 11);
}

const char16_t* Code25Symbol(Context& ctx, const char16_t* text, bool withCheck) {
    const std::size_t trailer = withCheck ? 2 : 1;
    // Start, digits, check and stop within the bound.
    const std::u16string digits = Digits(ctx, text, ctx.profile().bound - 2 - trailer);
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'(');
    out.append(digits);
    if (withCheck) out.put(Mod10Check(digits));
    out.put(u')');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

// Start glyph, one glyph per digit pair, stop glyph; `digits` has an even count.
const char16_t* I25Symbol(Context& ctx, std::u16string_view digits) {
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(0xE6);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.put(I25PairGlyph(static_cast<unsigned>((digits[i] - u'0') * 10 + (digits[i + 1] - u'0'))));
    out.put(0xE7);
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

// Largest even number of digits whose pair glyphs fit with start and stop.
std::size_t I25MaxDigits(const Context& ctx) { return 2 * (ctx.profile().bound - 3); }

}  // namespace

const char16_t* EncodeCode11(Context& ctx, const char16_t* text) {
    EncodeFrame f(ctx, text);
    f.out.put(u'*');
    for (char16_t c : f.work.view()) {
        if (!IsDigit(c) && c != u'-') {
            ctx.lose(kLossDropped);
            continue;
        }
        if (!f.out.room(1, 3)) {  // room for C, K and the stop
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(c);
    }
    const std::u16string data(f.out.view().substr(1));
    const char16_t c = Code11Check(data, 10);
    f.out.put(c);
    if (data.size() + 1 > 11) f.out.put(Code11Check(data + c, 9));
    f.out.put(u'*');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

const char16_t* EncodeCode25(Context& ctx, const char16_t* text) { return Code25Symbol(ctx, text, false); }

const char16_t* EncodeCode25Check(Context& ctx, const char16_t* text) {
    return Code25Symbol(ctx, text, true);
}

const char16_t* EncodeI25(Context& ctx, const char16_t* text) {
    std::u16string digits = Digits(ctx, text, I25MaxDigits(ctx));
    if (digits.size() % 2) digits.insert(digits.begin(), u'0');
    return I25Symbol(ctx, digits);
}

const char16_t* EncodeI25Check(Context& ctx, const char16_t* text) {
    std::u16string digits = Digits(ctx, text, I25MaxDigits(ctx) - 1);
    if (digits.size() % 2 == 0) digits.insert(digits.begin(), u'0');
    digits += Mod10Check(digits);
    return I25Symbol(ctx, digits);
}

}  // namespace linear
