// Pharmacode in one and two tracks: a number into one font character per bar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

// One track: '1' wide bar, '0' narrow bar, read from the right (the rightmost bar the least
// significant). Values 3 to 131,070.
int EncodePharmaOne(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);
// Two tracks: '1', '2', '3' the bar kinds of value 1, 2 and 3, the rightmost the least
// significant. Values 4 to 64,570,080.
int EncodePharmaTwo(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

}  // namespace matrix
