// Whether the font text of an encode carries all of the text the user typed: a text can be
// cut (at the input buffer, at the append bound of the linear encoders, at a row's fixed
// length), hold characters the row drops, or characters that the row's 8-bit conversion
// turns into others. The font text itself is never changed; the main window only tells.
#pragma once

#include <string>
#include <string_view>

#include "session.h"
#include "symbology_table.h"

namespace desktop {

// What was lost, as bits.
inline constexpr unsigned kNoLoss = 0;
inline constexpr unsigned kLossCut = 1;       // the end of the text is not in the symbol
inline constexpr unsigned kLossDropped = 2;   // characters the row cannot carry are left out
inline constexpr unsigned kLossReplaced = 4;  // characters the row cannot carry became others

// The loss of encoding `typed` (as the data field holds it) with `row` and the session's
// settings, whose font text is `fontText`. The linear rows are probed by encoding again
// (one encode for the text, a few for its cut, one for each distinct character); the
// front-ends by their own cut and conversion. Runs encoders: the session's result buffers
// are overwritten, and nothing is written to the message line.
unsigned FindLoss(Session& session, const SymbologyAction& row, std::u16string_view typed,
                  std::u16string_view fontText);

// The message line's words for a loss ("" for none).
std::u16string LossMessage(unsigned loss);

}  // namespace desktop
