// GS1 verification over arbitrary bytes: never reads or writes past its buffers, and a
// success leaves a reduced string no longer than the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto rec = std::make_unique<matrix::SymbolRecord>();
    std::vector<std::uint8_t> text(data, data + size);
    text.push_back(0);
    std::size_t ais = 0;
    for (std::size_t i = 0; i < size; ++i) ais += data[i] == '(';
    std::vector<std::uint8_t> reduced(size + 1 + ais);
    rec->errorText[0] = 0;
    const int r = matrix::VerifyGS1Data(*rec, text.data(), size, reduced.data());
    if (r == matrix::kSuccess) {
        if (std::strlen(reinterpret_cast<const char*>(reduced.data())) > size) __builtin_trap();
    } else if (r != matrix::kInvalidData || rec->errorText[0] == 0) {
        __builtin_trap();
    }
    return 0;
}
