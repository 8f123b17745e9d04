// Micro QR over arbitrary bytes with options taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "band_text.h"
#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = static_cast<std::int8_t>(data[0]) % 6;
    rec->option2 = static_cast<std::int8_t>(data[1]) % 6;
    const bool crlf = data[2] & 1;
    const int result = matrix::EncodeMicroQRCode(*rec, {data + 3, size - 3}, matrix::Call::Server(crlf));
    if (result == matrix::kSuccess) {
        if (rec->rows < 11 || rec->rows > 17) __builtin_trap();
        if (rec->width != rec->rows || !BandTextWellFormed(*rec, crlf)) __builtin_trap();
    } else if (rec->fontText[0]) {
        __builtin_trap();
    }
    return 0;
}
