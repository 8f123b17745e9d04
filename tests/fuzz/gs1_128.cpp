// GS1-128, USPS-128, SSCC and the automatic Code 128 choice over text made of brackets,
// digits and a few other characters, so that most inputs reach the AI checks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "linear.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static linear::Context server(linear::kServer);
    static linear::Context desktop(linear::kDesktop);
    static const char16_t alphabet[] = u"()0123456789A )(\x01\xf7\xf2\xfc&#;";
    std::u16string text;
    for (std::size_t i = 0; i < size; ++i) text += alphabet[data[i] % (sizeof alphabet / 2 - 1)];
    for (linear::Context* ctx : {&server, &desktop}) {
        for (auto fn : {&linear::EncodeGS1128, &linear::EncodeUSPS128, &linear::EncodeSSCC,
                        &linear::EncodeCode128Auto, &linear::EncodeCode128C}) {
            const char16_t* out = fn(*ctx, text.c_str());
            if (linear::TextLength(out) >= ctx->profile().bound) __builtin_trap();
        }
        const char16_t c = linear::ComputeSSCCChecksum(*ctx, text.c_str());
        if (c < u'0' || c > u'9') __builtin_trap();
    }
    return 0;
}
