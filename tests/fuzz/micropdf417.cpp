// MicroPDF417 over arbitrary bytes and column requests.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "band_text.h"
#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    rec->option2 = static_cast<int>(data[0] % 8) - 1;
    rec->outputFlags = data[1] & 0x10;
    const bool crlf = (data[1] & 1) != 0;
    const int r = matrix::EncodeMicroPDF417(*rec, {data + 2, size - 2}, matrix::Call::Server(crlf));
    if (r != matrix::kSuccess && r != matrix::kWarning && r != matrix::kDataTooLong) __builtin_trap();
    if (r != matrix::kDataTooLong && (rec->rows > 44 || rec->width > 99 || !BandTextWellFormed(*rec, crlf))) __builtin_trap();
    return 0;
}
