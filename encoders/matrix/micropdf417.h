// MicroPDF417 (ISO/IEC 24728): 34 symbol variants of one to four columns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

// Returns 0, 2 ("invalid width", "size too small for data": the automatic variant is
// written) or 5 ("Data too long"). The desktop build ends lines with CR LF.
int EncodeMicroPDF417(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

}  // namespace matrix
