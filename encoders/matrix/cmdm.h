// The check character of the twenty-character hexadecimal field of CMDM data.
#pragma once

#include <cstddef>

namespace matrix {

// The check character of the first twenty characters of `field` ("0".."9", "A".."F"), or 0
// when `length` is below twenty or one of them is outside that alphabet (lower-case letters
// included), so that a caller can refuse the field instead of checking a wrong sum.
char16_t cmdmCheckChar(const char16_t* field, std::size_t length);

}  // namespace matrix
