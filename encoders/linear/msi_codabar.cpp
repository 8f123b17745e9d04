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
        if (c < u'0' || c > u'9') {
            ctx.lose(kLossDropped);
            continue;
        }
        if (!f.out.room(1, 2)) {  // room for the check digit and the stop
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(c);
    }
    f.out.put(MsiCheck(f.out.view().substr(1)));
    f.out.put(u']');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

const char16_t* EncodeCodabar(Context& ctx, const char16_t* text) {
    EncodeFrame f(ctx, text);
    f.out.put(u'A');
    const std::u16string_view in = f.work.view();
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t c = in[i];
        if (kCodabarData.find(c) == std::u16string_view::npos) {
            // A start or stop character typed in its place is the symbol's own A or B: kept
            // when it is that one, replaced when it is another.
            const bool start = i == 0, stop = i + 1 == in.size() && i > 0;
            const bool startStop = (start || stop) && c >= u'A' && c <= u'D';
            if (!startStop) ctx.lose(kLossDropped);
            else if (c != (start ? u'A' : u'B')) ctx.lose(kLossReplaced);
            continue;
        }
        if (!f.out.room(1, 1)) {
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(c);
    }
    f.out.put(u'B');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

}  // namespace linear
