// POSTNET (and PLANET through it) and the Royal Mail 4-state customer code.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodePOSTNET(Context& ctx, const char16_t* text);
const char16_t* EncodeRoyalMail(Context& ctx, const char16_t* text);

// The Royal Mail characters in table order: index v is row v / 6 + 1, column v % 6 + 1.
inline constexpr std::u16string_view kRoyalMailChars = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Royal Mail check character of kept characters.
char16_t RoyalMailCheck(std::u16string_view chars);

}  // namespace linear
