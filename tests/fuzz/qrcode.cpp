// QR Code over arbitrary bytes with options taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = static_cast<std::int8_t>(data[0]) % 7;
    rec->option2 = static_cast<std::int8_t>(data[1]) % 45;
    const bool crlf = data[2] & 1;
    const int result = matrix::EncodeQRCode(*rec, {data + 3, size - 3}, matrix::Call::Server(crlf));
    if (result == matrix::kSuccess) {
        const std::size_t line = static_cast<std::size_t>(rec->width) + (crlf ? 2 : 1);
        if (std::strlen(rec->fontText) != line * static_cast<std::size_t>((rec->rows + 3) / 4)) __builtin_trap();
    } else if (result != matrix::kDataTooLong || rec->fontText[0]) {
        __builtin_trap();
    }
    return 0;
}
