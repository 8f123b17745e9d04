// The one place where the desktop core calls the encoders of encoders/matrix (their
// desktop build): a symbology of the front-ends, a zeroed record and the 8-bit data in,
// the encoder's result out.
#pragma once

#include <string_view>

#include "record.h"

namespace desktop {

enum class MatrixSymbology {
    DataMatrix, Aztec, QRCode, MicroQRCode, PDF417, MicroPDF417, Maxicode,
    Databar, DatabarLimited, DatabarExpanded, PharmaOne, PharmaTwo, Code16K,
};

// Calls the symbology's encoder with `bytes`; `encodation` is read by Data Matrix only.
int EncodeMatrix(MatrixSymbology symbology, matrix::SymbolRecord& rec, std::string_view bytes,
                 int encodation = 0);

}  // namespace desktop
