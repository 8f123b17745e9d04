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
    EncodeFrame f(ctx, text);
    f.out.put(u'[');
    for (char16_t c : f.work.view()) {
        if (c < u'0' || c > u'9') continue;
        if (!f.out.room(1, 2)) break;  // room for the check digit and the stop
        f.out.put(c);
    }
    f.out.put(MsiCheck(f.out.view().substr(1)));
    f.out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

const char16_t* EncodeCodabar(Context& ctx, const char16_t* text) {
    EncodeFrame f(ctx, text);
    f.out.put(u'A');
    for (char16_t c : f.work.view()) {
        if (kCodabarData.find(c) == std::u16string_view::npos) continue;
        if (!f.out.room(1, 1)) break;
        f.out.put(c);
    }
    f.out.put(u'B');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

}  // namespace linear
