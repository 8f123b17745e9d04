// The automation server's Code 16K encoder: UTF-16 text to the rows of a Code 16K symbol in
// the linear result buffer.
#pragma once

#include "frame.h"
#include "record.h"

namespace matrix {

// Input stand-ins: 232 is FNC1, 220 is NUL.
inline constexpr char16_t kCode16kFnc1 = 232;
inline constexpr char16_t kCode16kNul = 220;

// Rows of nine glyphs (row bar, start, five symbol characters, stop, row bar), each ended
// with the call's line ends (Call::Desktop(): CR LF), then the eight glyphs of the trailer.
// Empty text gives an empty result. It takes UTF-16 text and no record, decodes the escapes
// itself by the context's profile, and returns the context's ResultBuffer.
const char16_t* EncodeCode16K(linear::Context& ctx, const char16_t* text, const Call& call);

}  // namespace matrix
