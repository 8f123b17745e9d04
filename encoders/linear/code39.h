// Code 39 (plain, with mod-43 check, full ASCII) and Code 93.
#pragma once

#include <utility>

#include "frame.h"

namespace linear {

const char16_t* EncodeCode39(Context& ctx, const char16_t* text);
const char16_t* EncodeCode39Check(Context& ctx, const char16_t* text);
const char16_t* EncodeCode39Ext(Context& ctx, const char16_t* text);
const char16_t* EncodeCode93(Context& ctx, const char16_t* text);

// The four shift characters of a full-ASCII scheme: Code 39 writes "$", "%", "/", "+";
// Code 93 has shift glyphs of its own in their places.
struct FullAsciiShifts {
    char16_t dollar, percent, slash, plus;
};

// The shift and letter that stand for a character outside the plain Code 39 set (NUL as
// kNulStandIn); {0, 0} for a character that full ASCII cannot carry. Characters of the
// plain set are the caller's to write as they stand.
std::pair<char16_t, char16_t> FullAsciiShifted(char16_t c, const FullAsciiShifts& shifts);

// Value order of the Code 39 check character (values 0 to 42).
inline constexpr std::u16string_view kCode39Values = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
// Code 93 values 0 to 46: the Code 39 order and the shifts ($) ^, (%) ), (/) &, (+) (.
inline constexpr std::u16string_view kCode93Values =
    u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%^)&(";

}  // namespace linear
