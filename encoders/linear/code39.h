// Code 39 (plain, with mod-43 check, full ASCII) and Code 93.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeCode39(Context& ctx, const char16_t* text);
const char16_t* EncodeCode39Check(Context& ctx, const char16_t* text);
const char16_t* EncodeCode39Ext(Context& ctx, const char16_t* text);
const char16_t* EncodeCode93(Context& ctx, const char16_t* text);

// Value order of the Code 39 check character (values 0 to 42).
inline constexpr std::u16string_view kCode39Values = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
// Code 93 values 0 to 46: the Code 39 order and the shifts ($) ^, (%) ), (/) &, (+) (.
inline constexpr std::u16string_view kCode93Values =
    u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%^)&(";

}  // namespace linear
