// MSI and Codabar.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeMSI(Context& ctx, const char16_t* text);
const char16_t* EncodeCodabar(Context& ctx, const char16_t* text);

// MSI mod-10 check digit of a digit string of any length.
char16_t MsiCheck(std::u16string_view digits);

inline constexpr std::u16string_view kCodabarData = u"0123456789-$:/.+";

}  // namespace linear
