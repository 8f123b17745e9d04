// The Intelligent Mail encoder over arbitrary tracking and routing text.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "intelligent_mail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t split = data[0] % 40;
    std::u16string text;
    for (std::size_t i = 1; i < size; ++i) text += static_cast<char16_t>(data[i] % 2 ? u'0' + data[i] % 10 : data[i]);
    const std::u16string tracking = text.substr(0, std::min(split, text.size()));
    const std::u16string routing = text.substr(tracking.size());
    matrix::IntelligentMailEncoder im;
    try {
        const std::u16string bars = im.Encode(tracking, routing);
        if (bars.size() != 65) __builtin_trap();
    } catch (const std::overflow_error&) {
        // Numbers beyond forty digits are refused.
    }
    return 0;
}
