// DataBar Expanded and Expanded Stacked over arbitrary bytes, every row width. The first
// byte picks the build (bit 0), the stacked form (bit 1) and the segment pairs a row (bits
// 3 up); the rest is the bracketed data. A success must give well-formed font text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "matrix.h"

namespace {

// One-row text: a space digit "1".."9" then a bar letter "A".."I", alternating.
bool OneRowText(const char* t) {
    const std::size_t n = std::strlen(t);
    if (n < 4) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const char lo = i % 2 == 0 ? '1' : 'A', hi = i % 2 == 0 ? '9' : 'I';
        if (t[i] < lo || t[i] > hi) return false;
    }
    return true;
}

// Stacked text: lines of one width, each ending "\n"; the first of "A1", the others of the
// row-and-separator glyphs.
bool StackedText(const char* t, int rows) {
    const char* nl = std::strchr(t, '\n');
    if (!nl) return false;
    const std::size_t width = static_cast<std::size_t>(nl - t);
    const std::size_t n = std::strlen(t);
    if (width == 0 || n != (width + 1) * static_cast<std::size_t>(rows)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t column = i % (width + 1);
        if (column == width) {
            if (t[i] != '\n') return false;
        } else if (!std::strchr(i <= width ? "A1" : "AWXY1PQSRTUV", t[i]) || t[i] == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    const matrix::Call call = data[0] & 1 ? matrix::Call::Desktop() : matrix::Call::Server(false);
    const matrix::SymbologyNumbers& numbers = matrix::Numbers(call.build());
    const bool stacked = data[0] & 2;
    rec->symbology = stacked ? numbers.databarExpandedStacked : numbers.databarExpanded;
    rec->option2 = data[0] >> 3;
    const int r = matrix::EncodeDatabarExpanded(*rec, {data + 1, size - 1}, call);
    if (std::strlen(rec->errorText) > 99) __builtin_trap();
    if (r != 0) {
        if (rec->fontText[0]) __builtin_trap();
        return 0;
    }
    if (stacked ? !StackedText(rec->fontText, rec->rows) : !OneRowText(rec->fontText)) __builtin_trap();
    if (!stacked && std::strlen(reinterpret_cast<const char*>(rec->readableText)) > 127) __builtin_trap();
    return 0;
}
