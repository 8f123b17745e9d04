// GS1-128 from bracketed GS1 data, USPS-128 and the SSCC with AI 00.
#pragma once

#include "frame.h"

namespace linear {

// Font text, or the message naming the fault when the GS1 data is malformed.
const char16_t* EncodeGS1128(Context& ctx, const char16_t* text);
const char16_t* EncodeUSPS128(Context& ctx, const char16_t* text);
const char16_t* EncodeSSCC(Context& ctx, const char16_t* text);

// The SSCC check digit, "0" to "9", of the digits of `text`.
char16_t ComputeSSCCChecksum(Context& ctx, const char16_t* text);

// Writes "(" + the AI number (at least two digits) + ")" into `buffer` of `capacity` units.
void Gs1AiToTextW(char16_t* buffer, std::size_t capacity, int ai);

}  // namespace linear
