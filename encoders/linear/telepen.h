// Telepen (full ASCII) and Telepen numeric.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeTelepen(Context& ctx, const char16_t* text);
const char16_t* EncodeTelepenNumeric(Context& ctx, const char16_t* text);

// Glyph of a Telepen character 1 to 127 in the Telepen font.
char16_t TelepenGlyph(char16_t c);

}  // namespace linear
