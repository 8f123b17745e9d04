// Code 11, Code 2 of 5 and Interleaved 2 of 5.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeCode11(Context& ctx, const char16_t* text);
const char16_t* EncodeCode25(Context& ctx, const char16_t* text);
const char16_t* EncodeCode25Check(Context& ctx, const char16_t* text);
const char16_t* EncodeI25(Context& ctx, const char16_t* text);
const char16_t* EncodeI25Check(Context& ctx, const char16_t* text);

// Glyph of an Interleaved 2 of 5 digit pair of value 0 to 99.
inline char16_t I25PairGlyph(unsigned v) { return static_cast<char16_t>(v < 94 ? v + 33 : v + 130); }

}  // namespace linear
