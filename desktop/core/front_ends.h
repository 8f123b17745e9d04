// The front-ends of the desktop program's two-dimensional, stacked and postal rows: each
// prepares the text for its encoder (numeric escapes, length, 8-bit conversion), fills a
// symbol record from the option settings, and returns the font text in the session's
// result buffer, or shows the encoder's message in the message line and returns "".
#pragma once

#include "session.h"

namespace desktop {

const char16_t* FrontEndDatabar(Session& s, const char16_t* text);
const char16_t* FrontEndDatabarStacked(Session& s, const char16_t* text);
const char16_t* FrontEndDatabarStackedOmni(Session& s, const char16_t* text);
const char16_t* FrontEndDatabarLimited(Session& s, const char16_t* text);
const char16_t* FrontEndDatabarExpanded(Session& s, const char16_t* text);
const char16_t* FrontEndDatabarExpandedStacked(Session& s, const char16_t* text);
const char16_t* FrontEndMaxicode(Session& s, const char16_t* text);
const char16_t* FrontEndIntelligentMail(Session& s, const char16_t* text);
const char16_t* FrontEndDataMatrix(Session& s, const char16_t* text);
const char16_t* FrontEndRoyalMailCMDM(Session& s, const char16_t* text);
const char16_t* FrontEndAztec(Session& s, const char16_t* text);
const char16_t* FrontEndDataMatrixSEMI(Session& s, const char16_t* text);
const char16_t* FrontEndQRCodeSEMI(Session& s, const char16_t* text);
const char16_t* FrontEndPDF417(Session& s, const char16_t* text);
const char16_t* FrontEndMicroPDF417(Session& s, const char16_t* text);
const char16_t* FrontEndCode16K(Session& s, const char16_t* text);
const char16_t* FrontEndQRCode(Session& s, const char16_t* text);
const char16_t* FrontEndMicroQRCode(Session& s, const char16_t* text);
const char16_t* FrontEndPharmaOne(Session& s, const char16_t* text);
const char16_t* FrontEndPharmaTwo(Session& s, const char16_t* text);

// The encoder's size number for an entry of the Aztec size list: the list runs by size,
// compact and full-range sizes interleaved, while the encoder numbers the compact sizes
// 1 to 4 and the full-range sizes 5 to 36. 0 ("Auto") and indices outside the list give 0.
int AztecSizeForEntry(int index);

// The PDF417 encoder's security level for an entry of the level list: "Auto" is the
// encoder's automatic choice (-1), the entries "1" to "8" their levels.
int PDF417LevelForEntry(int index);

// The Aztec level position for the setting: the list's index, 4 ("23%") when outside it.
int AztecLevelForEntry(int index);

}  // namespace desktop
