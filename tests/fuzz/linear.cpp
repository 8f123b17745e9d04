// Every linear encoder in both builds over arbitrary UTF-16 text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "linear.h"

namespace {
const linear::EncodeFn kEncoders[] = {
#define LINEAR_ENCODER(name) &linear::Encode##name,
#include "encoders.inc"
#undef LINEAR_ENCODER
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static linear::Context server(linear::kServer);
    static linear::Context desktop(linear::kDesktop);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c) text += c;
    }
    for (linear::Context* ctx : {&server, &desktop}) {
        for (auto fn : kEncoders) {
            const char16_t* out = fn(*ctx, text.c_str());
            if (linear::TextLength(out) >= ctx->profile().bound) __builtin_trap();
        }
        linear::DecodeCharRefs(ctx->profile(), text.c_str());
    }
    return 0;
}
