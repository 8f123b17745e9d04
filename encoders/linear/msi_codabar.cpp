#include "msi_codabar.h"

namespace linear {

char16_t MsiCheck(std::u16string_view digits) {
    // Doubling the number formed by every second digit from the right adds the same digit
    // sum as doubling each of its digits alone: a doubled digit's carry never carries on.
    unsigned sum = 0;
    bool doubled = true;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, doubled = !doubled) {
        const unsigned d = static_cast<unsigned>(*it - u'0');
        sum += doubled ? (2 * d) / 10 + (2 * d) % 10 : d;
    }
    return static_cast<char16_t>(u'0' + (10 - sum % 10) % 10);
}

const char16_t* EncodeMSI(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'[');
    for (char16_t c : work.view()) {
        if (c < u'0' || c > u'9') continue;
        if (!out.room(1, 2)) break;  // room for the check digit and the stop
        out.put(c);
    }
    out.put(MsiCheck(out.view().substr(1)));
    out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

const char16_t* EncodeCodabar(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    char16_t buf[kMaxUnits];
    Output out(buf, ctx.profile().bound);
    out.put(u'A');
    for (char16_t c : work.view()) {
        if (kCodabarData.find(c) == std::u16string_view::npos) continue;
        if (!out.room(1, 1)) break;
        out.put(c);
    }
    out.put(u'B');
    return Publish(ctx, ctx.resultBuffer(), out.view());
}

}  // namespace linear
