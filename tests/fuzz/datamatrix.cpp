// The Data Matrix encoder in both builds over arbitrary bytes: the first bytes pick the
// options, the rest is the data. Every result must leave a terminated font text and message.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "band_text.h"
#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    rec->option1 = 1;
    rec->option2 = data[0] % 45;
    rec->option3 = 99 + data[1] % 3;
    rec->inputMode = data[2] % 3;
    rec->outputFlags = (data[2] & 0x80) ? 0x10 : 0;
    rec->option4 = data[3] % 8;  // the encodation
    const bool desktop = (data[3] & 0x40) != 0, crlf = desktop || (data[3] & 0x80) != 0;
    const matrix::Call call = desktop ? matrix::Call::Desktop() : matrix::Call::Server(crlf);
    const int r = matrix::EncodeDataMatrix(*rec, {data + 4, size - 4}, call);
    if (std::memchr(rec->fontText, 0, sizeof rec->fontText) == nullptr) __builtin_trap();
    if (std::memchr(rec->errorText, 0, sizeof rec->errorText) == nullptr) __builtin_trap();
    if ((r == matrix::kSuccess || r == matrix::kWarning) && !BandTextWellFormed(*rec, crlf)) __builtin_trap();
    if (r != matrix::kSuccess && r != matrix::kWarning && rec->fontText[0] != 0) __builtin_trap();
    return 0;
}
