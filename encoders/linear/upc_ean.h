// UPC-A, UPC-E, EAN-13, EAN-8 and Bookland with their 2- and 5-digit add-ons.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeEAN13(Context& ctx, const char16_t* text);
const char16_t* EncodeEAN8(Context& ctx, const char16_t* text);
const char16_t* EncodeUPCA(Context& ctx, const char16_t* text);
const char16_t* EncodeUPCE(Context& ctx, const char16_t* text);
const char16_t* EncodeBookland(Context& ctx, const char16_t* text);

// The add-on font text of the digits of `text` in ResultBuffer (empty when it has none).
const char16_t* EncodeAddOn(Context& ctx, const char16_t* text);

// "{" and the add-on digit glyphs with "\" between them, for exactly five or two digits.
std::u16string EncodeEan5AddOn(std::u16string_view digits);
std::u16string EncodeEan2AddOn(std::u16string_view digits);

// "0" and six digits become the eleven-digit UPC-A number in place; false (text unchanged)
// when the text is not seven characters beginning with "0".
bool ExpandUpcE(char16_t* text);

}  // namespace linear
