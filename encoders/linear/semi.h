// SEMI M12 and M13 wafer identifiers with their two check characters (plain text).
#pragma once

#include "frame.h"

namespace linear {

// Neither decodes numeric escapes.
const char16_t* EncodeSemiM12(Context& ctx, const char16_t* text);
const char16_t* EncodeSemiM13(Context& ctx, const char16_t* text);

inline constexpr std::u16string_view kSemiChars = u"-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Weighted sum (powers of 8 from the last character) of the characters, mod 59.
unsigned SemiSumMod59(std::u16string_view chars);

}  // namespace linear
