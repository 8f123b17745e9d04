// The linear encoders only the desktop program has: BC412, USS Code 39, the full-ASCII
// Code 39 of the Code 39 row's third routine, and Asian Code 128. All have the shape of
// linear::EncodeFn and follow the desktop profile of the linear frame.
#pragma once

#include <string_view>

#include "frame.h"

namespace desktop {

// BC412 (SEMI): "*", the data with its check character in the second place, "*".
const char16_t* EncodeBC412(linear::Context& ctx, const char16_t* text);

// Inserts c at `position` of the NUL-terminated text in a buffer of `capacity` units;
// returns -1 and changes nothing when the text already fills the buffer or the position
// lies past its end, else 1.
int InsertChar(char16_t* text, std::size_t capacity, std::size_t position, char16_t c);

// The BC412 characters (no letter O) and the check value of each, -1 outside the set.
inline constexpr std::u16string_view kBC412Set = u"0123456789ABCDEFGHIJKLMNPQRSTUVWXYZ";
int BC412Value(char16_t c);

// USS Code 39: "*", the Code 39 characters (space as "#"), a mod-10 check digit, "*".
const char16_t* EncodeUSSCode39(linear::Context& ctx, const char16_t* text);

// Full-ASCII Code 39 through the shift characters "$", "%", "/", "+": "[", data, "]".
const char16_t* EncodeCode39Variant3(linear::Context& ctx, const char16_t* text);

// Code 128 for the Asian fonts: function and start glyphs at 0xC0 to 0xCD, and 0xE0 after
// every glyph above 127.
const char16_t* EncodeAsianCode128A(linear::Context& ctx, const char16_t* text);
const char16_t* EncodeAsianCode128B(linear::Context& ctx, const char16_t* text);
const char16_t* EncodeAsianCode128C(linear::Context& ctx, const char16_t* text);

// Glyph of a Code 128 value (0 to 105) in the Asian fonts.
char16_t AsianCode128Glyph(int value);
inline constexpr char16_t kAsianTrail = 0xE0;
inline constexpr char16_t kAsianStop = 0xCB;
inline constexpr char16_t kAsianClose = 0xCD;

}  // namespace desktop
