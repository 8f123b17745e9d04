// PDF417 and truncated PDF417 over arbitrary bytes and options.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "band_text.h"
#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    rec->option1 = static_cast<int>(data[0] % 12) - 2;
    rec->option2 = static_cast<int>(data[1] % 34) - 1;
    rec->symbology = data[2] & 1 ? 56 : 20;
    rec->outputFlags = data[2] & 0x10;
    const bool crlf = (data[2] & 2) != 0;
    const int r = matrix::EncodePDF417(*rec, {data + 3, size - 3}, matrix::Call::Server(crlf));
    if (r != matrix::kSuccess && r != matrix::kWarning && r != matrix::kDataTooLong) __builtin_trap();
    if (r == matrix::kDataTooLong && rec->fontText[0] != 0) __builtin_trap();
    if (r != matrix::kDataTooLong && (rec->rows > 90 || rec->rows < 3 || !BandTextWellFormed(*rec, crlf))) __builtin_trap();
    return 0;
}
