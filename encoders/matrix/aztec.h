// Aztec Code (ISO/IEC 24778): compact symbols of 1 to 4 layers, full-range symbols of 1 to 32
// layers, nineteen error-correction levels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "record.h"

namespace matrix {

// Sides of the position maps: full range (32 layers) and compact (4 layers).
inline constexpr int kAztecFullSide = 151;
inline constexpr int kAztecCompactSide = 27;
// Map cells: 0 light and 1 dark module of the finder, orientation and reference patterns,
// kAztecModeBit + i bit i of the mode message, kAztecDataBit + n bit n of the data and check
// bits counted outward from the core.
inline constexpr int kAztecModeBit = 20000;
inline constexpr int kAztecDataBit = 2;

// Encodes the data into rec (byte-form modules and band text; the desktop build ends lines
// with LF). The level numbering of option1 is the call's build's: 1 to 19 (0 and -1 the
// default) in the server, 0 to 18 in the desktop. Empty data gives kEmptyData.
int EncodeAztec(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

// The character-mode bit string of the text (one 0/1 byte a bit); 5 when a binary run is
// longer than 2,078 bytes.
int AztecEncodeText(const char16_t* chars, std::size_t count, std::vector<std::uint8_t>& bits);

// Moves a coordinate of the full-range layout past the reference-grid lines it reaches.
int AztecSkipGrid(int coordinate);
// Builds the full-range position map (kept for the life of the program).
void AztecBuildMap();
// Row-major maps; the full-range one is built on first use.
const int* AztecFullMap();
const int* AztecCompactMap();

}  // namespace matrix
