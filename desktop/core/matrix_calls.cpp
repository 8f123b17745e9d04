#include "matrix_calls.h"

#include "code16k_desktop.h"
#include "matrix.h"

namespace desktop {

int EncodeMatrix(MatrixSymbology symbology, matrix::SymbolRecord& rec, std::string_view bytes,
                 int encodation) {
    using namespace matrix;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t n = bytes.size();
    switch (symbology) {
        case MatrixSymbology::DataMatrix: return EncodeDataMatrixDesktop(rec, data, n, encodation);
        case MatrixSymbology::Aztec: return EncodeAztec(rec, data, n, false, Build::Desktop);
        case MatrixSymbology::QRCode: return EncodeQRCode(rec, data, n, true);
        case MatrixSymbology::MicroQRCode: return EncodeMicroQRCode(rec, data, n, true);
        case MatrixSymbology::PDF417: return EncodePDF417(rec, data, n, true);
        case MatrixSymbology::MicroPDF417: return EncodeMicroPDF417(rec, data, n, true);
        case MatrixSymbology::Maxicode: return EncodeMaxicode(rec, data, n);
        case MatrixSymbology::Databar: return EncodeDatabar(rec, data, n, Build::Desktop);
        case MatrixSymbology::DatabarLimited: return EncodeDatabarLimited(rec, data, n);
        case MatrixSymbology::DatabarExpanded: return EncodeDatabarExpanded(rec, data, n, Build::Desktop);
        case MatrixSymbology::PharmaOne: return EncodePharmaOne(rec, data, n);
        case MatrixSymbology::PharmaTwo: return EncodePharmaTwo(rec, data, n);
        case MatrixSymbology::Code16K: return EncodeCode16KRecord(rec, data, n);
    }
    return kInvalidOption;
}

}  // namespace desktop
