// The desktop program's Code 16K encoder: 8-bit text through a symbol record, code sets
// chosen block by block (ISO/IEC 15417 Annex E, as Code 128 does), extended characters
// through FNC4.
#pragma once

#include <cstdint>
#include <span>

#include "record.h"

namespace desktop {

// Writes the rows of the symbol into rec.fontText (each glyph one byte: 0xFE, row start,
// five symbol characters, row stop, 0xFF, the line end (CR LF in the desktop build); then
// the trailer), `rows`, `width` (70) and `rowHeights` (10). Returns 0, or 5 with "Input too
// long" when the data takes more than the 77 symbol characters of 16 rows. The shape of
// the other record encoders.
int EncodeCode16KRecord(matrix::SymbolRecord& rec, std::span<const std::uint8_t> data,
                        const matrix::Call& call);

}  // namespace desktop
