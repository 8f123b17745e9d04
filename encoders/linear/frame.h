// The linear encode frame: the shared buffers and escape decoder of every encoder, and the
// helpers the linear encoders share.
#pragma once

#include <cstddef>
#include <string_view>

#include "buffers.h"

namespace linear {

using encoding::Context;
using encoding::DecodeCharRefs;
using encoding::DecodeCharRefsToResult;
using encoding::DecodeInput;
using encoding::EncodeFrame;
using encoding::kDesktop;
using encoding::kLossCut;
using encoding::kLossDropped;
using encoding::kLossFilled;
using encoding::kLossNone;
using encoding::kLossNotDigit;
using encoding::kLossNul;
using encoding::kLossReplaced;
using encoding::kMaxUnits;
using encoding::kNulStandIn;
using encoding::kServer;
using encoding::Output;
using encoding::Profile;
using encoding::Publish;
using encoding::TextLength;
using encoding::WorkText;

// Copies text with "a" to "z" upper-cased into ResultBuffer.
const char16_t* UpperCaseCopy(Context& ctx, const char16_t* text);

// GS1 mod-10 check digit ("0" to "9") of a digit string; weights 3, 1, ... from the right.
char16_t Mod10Check(std::u16string_view digits);

// The desktop's bounded single-character append on a 256-unit buffer: -1 when the text is
// already 255 characters long, else the new length.
int AppendWChar(char16_t* buffer, char16_t c);

// The signature of every linear encoder.
using EncodeFn = const char16_t* (*)(Context&, const char16_t*);

}  // namespace linear
