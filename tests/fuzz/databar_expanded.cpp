// DataBar Expanded and Expanded Stacked over arbitrary bytes, every row width.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    const matrix::Build build = data[0] & 1 ? matrix::Build::Desktop : matrix::Build::Server;
    rec->symbology = data[0] & 2 ? matrix::Numbers(build).databarExpandedStacked : matrix::Numbers(build).databarExpanded;
    rec->option2 = data[0] >> 3;
    const int r = matrix::EncodeDatabarExpanded(*rec, data + 1, size - 1, build);
    if (r != 0 && rec->fontText[0]) __builtin_trap();
    if (std::strlen(rec->errorText) > 99) __builtin_trap();
    return 0;
}
