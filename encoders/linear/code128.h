// Code 128: the fixed sets A, B and C (with and without a printed check character) and the
// automatic set choice that GS1-128, USPS-128 and SSCC go through.
#pragma once

#include "frame.h"

namespace linear {

const char16_t* EncodeCode128A(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128B(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128C(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128AWCheck(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128BWCheck(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128CWCheck(Context& ctx, const char16_t* text);
const char16_t* EncodeCode128Auto(Context& ctx, const char16_t* text);

// Input characters of the function values, the same in both builds: 241 FNC3, 242 FNC2,
// 243 SHIFT, 244 CODE C, 245 value 100, 246 value 101, 247 FNC1; 248 to 250 the starts.
inline constexpr char16_t kInFnc3 = 241;
inline constexpr char16_t kInFnc2 = 242;
inline constexpr char16_t kInFnc1 = 247;

// Code 128 values of the function and start characters.
inline constexpr int kFnc3 = 96, kFnc2 = 97, kShift = 98, kCodeC = 99, kCodeB = 100,
                     kCodeA = 101, kFnc1 = 102, kStartA = 103, kStartB = 104, kStartC = 105;

// The glyph scheme of one build's Code 128 font.
struct Code128Glyphs {
    char16_t data[106];     // value to glyph that prints the value's text
    char16_t checkAB[103];  // check character without text, sets A and B
    char16_t checkC[103];   // check character without text, set C
    char16_t stop;
};

const Code128Glyphs& Code128GlyphScheme(const Profile& profile);

}  // namespace linear
