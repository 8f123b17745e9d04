// GS1 data with bracketed application identifiers: checked and reduced to the form the
// symbols carry (AI digits and data run together, an FNC1 mark after each variable-length
// field that another AI follows).
#pragma once

#include <cstddef>
#include <cstdint>

#include "record.h"

namespace matrix {

// The FNC1 mark in the reduced string.
inline constexpr std::uint8_t kFnc1Mark = 232;

// Checks `length` bytes of bracketed GS1 data (NUL-terminated) and writes the reduced,
// NUL-terminated string into `reduced`, which holds at least length + 1 + one byte per AI.
// Returns kSuccess, or kInvalidData with the message in rec.errorText.
int VerifyGS1Data(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
                  std::uint8_t* reduced);

// Writes "(" + the AI number (two digits below 100, three below 1000, else four) + ")".
void GS1AiToText(char* buffer, int ai);

}  // namespace matrix
