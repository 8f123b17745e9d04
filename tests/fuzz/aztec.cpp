// The Aztec encoder in both builds over arbitrary bytes and options.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "band_text.h"
#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = static_cast<std::int8_t>(data[0]) % 24;
    rec->option2 = static_cast<std::int8_t>(data[1]) % 40;
    rec->inputMode = data[2] % 3;
    rec->outputFlags = (data[2] & 0x80) ? 0x10 : 0;
    const bool crlf = data[3] & 1;
    const matrix::Call call = (data[3] & 2) ? matrix::Call::Desktop() : matrix::Call::Server(crlf);
    const int r = matrix::EncodeAztec(*rec, {data + 4, size - 4}, call);
    if (r != -1 && r != 0 && r != 2 && r != 5 && r != 6 && r != 8) __builtin_trap();
    if (!std::memchr(rec->fontText, 0, sizeof rec->fontText)) __builtin_trap();
    if ((r == 0 || r == 2) && (rec->rows < 15 || rec->rows > 151 || rec->width != rec->rows ||
                               !BandTextWellFormed(*rec, call.CrLf(false))))
        __builtin_trap();
    if (r > 2 && rec->fontText[0]) __builtin_trap();
    return 0;
}
