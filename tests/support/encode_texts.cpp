#include "support/encode_texts.h"

#include <cstdio>

namespace testing_support {

std::u16string U(std::string_view bytes) {
    std::u16string s;
    for (unsigned char c : bytes) s += static_cast<char16_t>(c);
    return s;
}

std::u16string Encode(linear::EncodeFn fn, linear::Context& ctx, std::u16string_view text) {
    const std::u16string input(text);
    return std::u16string(fn(ctx, input.c_str()));
}

std::string Show(std::u16string_view text) {
    std::string s;
    for (char16_t c : text) {
        if (c >= 32 && c < 127) {
            s += static_cast<char>(c);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "<%u>", static_cast<unsigned>(c));
            s += buf;
        }
    }
    return s;
}

}  // namespace testing_support
