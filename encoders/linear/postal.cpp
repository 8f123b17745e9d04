#include "postal.h"

#include <string>

namespace linear {

const char16_t* EncodePOSTNET(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string digits;
    for (char16_t c : work.view()) {
        if (c < u'0' || c > u'9') {
            ctx.lose(kLossDropped);
        } else if (digits.size() == 11) {  // longer data is cut to eleven digits
            ctx.lose(kLossCut);
            break;
        } else {
            digits += c;
        }
    }
    const std::size_t n = digits.size();
    const std::size_t length = n <= 5 ? 5 : n <= 9 ? 9 : 11;
    digits.append(length - n, u'0');
    unsigned sum = 0;
    for (char16_t d : digits) sum += static_cast<unsigned>(d - u'0');
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'[');
    out.append(digits);
    out.put(static_cast<char16_t>(u'0' + (10 - sum % 10) % 10));
    out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

char16_t RoyalMailCheck(std::u16string_view chars) {
    unsigned rows = 0, columns = 0;
    for (char16_t c : chars) {
        const auto v = static_cast<unsigned>(kRoyalMailChars.find(c));
        rows += v / 6 + 1;
        columns += v % 6 + 1;
    }
    const unsigned r = rows % 6 == 0 ? 6 : rows % 6;
    const unsigned c = columns % 6 == 0 ? 6 : columns % 6;
    return kRoyalMailChars[(r - 1) * 6 + (c - 1)];
}

const char16_t* EncodeRoyalMail(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    const char16_t* upper = UpperCaseCopy(ctx, work.text);
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'[');
    for (const char16_t* p = upper; *p; ++p) {
        if (kRoyalMailChars.find(*p) == std::u16string_view::npos) {
            ctx.lose(kLossDropped);
            continue;
        }
        if (!out.room(1, 2)) {  // room for the check character and the stop
            ctx.lose(kLossCut);
            break;
        }
        out.put(*p);
    }
    out.put(RoyalMailCheck(out.view().substr(1)));
    out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

}  // namespace linear
