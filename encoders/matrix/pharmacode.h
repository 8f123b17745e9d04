// Pharmacode in one and two tracks: a number into one font character per bar.
#pragma once

#include <cstddef>
#include <cstdint>

#include "record.h"

namespace matrix {

// One track: '1' wide bar, '0' narrow bar, read from the right (the rightmost bar the least
// significant). Values 3 to 131,070.
int EncodePharmaOne(SymbolRecord& rec, const std::uint8_t* data, std::size_t length);
// Two tracks: '1', '2', '3' the bar kinds of value 1, 2 and 3, the rightmost the least
// significant. Values 4 to 64,570,080.
int EncodePharmaTwo(SymbolRecord& rec, const std::uint8_t* data, std::size_t length);

}  // namespace matrix
