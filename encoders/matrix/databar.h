// GS1 DataBar (ISO/IEC 24724): Omnidirectional, Truncated, Stacked, Stacked
// Omnidirectional, Limited, Expanded and Expanded Stacked, as font text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

// Element widths of subset value `value`: `modules` modules over `elements` elements (at
// most 8), none wider than `widest`; with `noNarrow` 0 the combinations without a
// one-module element are not counted. The widths are left in DatabarWidthsResult().
void DatabarWidths(int value, int modules, int elements, int widest, int noNarrow);
const int* DatabarWidthsResult();

// Omnidirectional (and Truncated), Stacked and Stacked Omnidirectional by rec.symbology,
// numbered as the call's build numbers them; up to 13 digits. Lines end with LF.
int EncodeDatabar(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);
// DataBar Limited; up to 13 digits, 13-digit data starting with 0 or 1.
int EncodeDatabarLimited(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

// DataBar Expanded (one row) or Expanded Stacked (rec.symbology, numbered as the call's build
// numbers it; rec.option2 segment pairs a row) from bracketed GS1 data. Lines end with LF.
int EncodeDatabarExpanded(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

// The Limited check character element widths (14 per check value 0 to 88).
extern const std::uint8_t kDatabarLimitedCheck[89][14];

}  // namespace matrix
