// The main window's words for what the painted symbol leaves out of the typed text. The
// encoders and front-ends report the loss where it happens (encoding::Context's loss bits);
// the font text itself is never changed, the main window only tells.
#pragma once

#include <string>

#include "frame.h"

namespace desktop {

using linear::kLossCut;
using linear::kLossDropped;
using linear::kLossFilled;
using linear::kLossNone;
using linear::kLossNotDigit;
using linear::kLossNul;
using linear::kLossReplaced;

// The message line's sentences for the loss bits ("" for none), one after the other.
std::u16string LossMessage(unsigned loss);

}  // namespace desktop
