// Micro QR (M1 to M4).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

// Encodes up to 35 bytes into a Micro QR symbol and writes its band text. option1 is the
// minimum level (1 L, 2 M, 3 Q; 4 H fails; anything else L), option2 a version 1..4 (M1..M4)
// taken when it is not smaller than the one the data needs. The desktop build ends lines
// with CR LF.
int EncodeMicroQRCode(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

namespace microqr {
// Format word of symbol number (M1 0, M2-L 1, M2-M 2, M3-L 3, M3-M 4, M4-L 5, M4-M 6,
// M4-Q 7) and mask, masked with 0x4445.
std::uint32_t FormatWord(int symbolNumber, int mask);
}  // namespace microqr

}  // namespace matrix
