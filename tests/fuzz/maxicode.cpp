// The Maxicode encoder over arbitrary bytes, modes and primary messages.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "matrix.h"

namespace {

// Maxicode font text: eleven lines ending CR LF, each of fifteen cells '0' to 'O' (the odd
// lines opening with '['), with '~' marking a cell's extra module; lines 3 to 7 carry one
// finder marker each, '!' to '%'.
bool MaxicodeTextWellFormed(const char* t) {
    for (int line = 0; line < 11; ++line) {
        if (line % 2 && *t++ != '[') return false;
        int cells = 0, markers = 0;
        for (; *t && *t != '\r'; ++t) {
            if (*t >= '0' && *t <= 'O') ++cells;
            else if (*t == '!' + line - 3) ++markers;
            else if (*t != '~') return false;
        }
        if (markers != (line >= 3 && line <= 7 ? 1 : 0)) return false;
        if (cells != 15 || t[0] != '\r' || t[1] != '\n') return false;
        t += 2;
    }
    return *t == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    rec->option1 = static_cast<std::int8_t>(data[0]) % 8;
    rec->inputMode = data[1] % 3;
    std::size_t primary = (data[1] >> 2) % 20;
    if (primary > size - 2) primary = size - 2;
    std::memcpy(rec->primaryMessage, data + 2, primary);
    const int r = matrix::EncodeMaxicode(*rec, {data + 2 + primary, size - 2 - primary}, matrix::Call::Server(true));
    if (r != 0 && r != 5 && r != 6 && r != 8 && r != 13) __builtin_trap();
    if (!std::memchr(rec->fontText, 0, sizeof rec->fontText)) __builtin_trap();
    if (r == 0 && !MaxicodeTextWellFormed(rec->fontText)) __builtin_trap();
    if (r != 0 && rec->fontText[0]) __builtin_trap();
    return 0;
}
