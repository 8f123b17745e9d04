// Maxicode (ISO/IEC 16023), modes 2 to 6, written as font text for a hexagon font: 11 lines
// of 15 cells, each cell two module columns by three module rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

inline constexpr int kMaxicodeRows = 33;
inline constexpr int kMaxicodeColumns = 30;

// The module placement: bit n of the codeword stream (codeword n / 6, most significant bit
// first) for entries n >= 0; negative entries carry no codeword bit.
extern const std::int16_t kMaxicodeGrid[kMaxicodeRows][kMaxicodeColumns];

// Encodes the data in the mode of option1 (-1 automatic, 2 to 6) into rec: bit-form
// modules, 33 rows of 30, and the font text with CR LF line ends in either build.
int EncodeMaxicode(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

}  // namespace matrix
