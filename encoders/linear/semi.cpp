#include "semi.h"

#include <string>

namespace linear {

unsigned SemiSumMod59(std::u16string_view chars) {
    // Horner's rule keeps the powers of 8 within range.
    unsigned r = 0;
    for (char16_t c : chars) r = (r * 8 + static_cast<unsigned>(c - 32)) % 59;
    return r;
}

namespace {

// `dataLength` data characters, then the two check characters.
const char16_t* SemiIdentifier(Context& ctx, const char16_t* text, std::size_t dataLength) {
    std::u16string kept;
    const std::size_t limit = ctx.profile().bound - 1;
    for (const char16_t* p = text; p && *p; ++p) {
        if (kSemiChars.find(*p) == std::u16string_view::npos) {
            ctx.lose(kLossDropped);
        } else if (kept.size() >= limit) {
            ctx.lose(kLossCut);
            break;
        } else {
            kept += *p;
        }
    }
    if (kept.size() < dataLength) {
        if (!kept.empty()) ctx.lose(kLossFilled);
        kept.assign(dataLength + 2, u'0');
    } else {
        // Check characters typed in their places are kept when they are the right ones.
        const std::u16string typedCheck = kept.substr(dataLength, 2);
        if (kept.size() < dataLength + 2) kept.resize(dataLength + 2);
        kept[dataLength] = u'A';
        kept[dataLength + 1] = u'0';
        const unsigned r = SemiSumMod59(std::u16string_view(kept).substr(0, dataLength + 2));
        if (r != 0) {
            const unsigned q = 59 - r;
            kept[dataLength] = static_cast<char16_t>(u'A' + q / 8);
            kept[dataLength + 1] = static_cast<char16_t>(u'0' + q % 8);
        }
        if (!typedCheck.empty() && std::u16string_view(kept).substr(dataLength, typedCheck.size()) != typedCheck)
            ctx.lose(kLossReplaced);
    }
    return Publish(ctx, ctx.resultBuffer(), kept);
}

}  // namespace

const char16_t* EncodeSemiM12(Context& ctx, const char16_t* text) { return SemiIdentifier(ctx, text, 10); }
const char16_t* EncodeSemiM13(Context& ctx, const char16_t* text) { return SemiIdentifier(ctx, text, 16); }

}  // namespace linear
