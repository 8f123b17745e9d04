#include "symbols.h"

#include <cstddef>
#include <iterator>

#include "aztec.h"
#include "databar.h"
#include "datamatrix.h"
#include "maxicode.h"
#include "micro_qr.h"
#include "micropdf417.h"
#include "pdf417.h"
#include "pharmacode.h"
#include "qrcode.h"

namespace matrix {

namespace {

struct Entry {
    Symbol kind;
    RecordEncoder encode;
    int SymbologyNumbers::*number;  // null: the record carries 0
};

// In the order of Symbol.
constexpr Entry kEntries[] = {
    {Symbol::DataMatrix, &EncodeDataMatrix, nullptr},
    {Symbol::QRCode, &EncodeQRCode, nullptr},
    {Symbol::MicroQRCode, &EncodeMicroQRCode, nullptr},
    {Symbol::Aztec, &EncodeAztec, nullptr},
    {Symbol::Maxicode, &EncodeMaxicode, &SymbologyNumbers::maxicode},
    {Symbol::PDF417, &EncodePDF417, &SymbologyNumbers::pdf417},
    {Symbol::PDF417Truncated, &EncodePDF417, &SymbologyNumbers::pdf417Truncated},
    {Symbol::MicroPDF417, &EncodeMicroPDF417, &SymbologyNumbers::microPdf417},
    {Symbol::DatabarOmni, &EncodeDatabar, &SymbologyNumbers::databarOmni},
    {Symbol::DatabarStacked, &EncodeDatabar, &SymbologyNumbers::databarStacked},
    {Symbol::DatabarStackedOmni, &EncodeDatabar, &SymbologyNumbers::databarStackedOmni},
    {Symbol::DatabarLimited, &EncodeDatabarLimited, &SymbologyNumbers::databarLimited},
    {Symbol::DatabarExpanded, &EncodeDatabarExpanded, &SymbologyNumbers::databarExpanded},
    {Symbol::DatabarExpandedStacked, &EncodeDatabarExpanded, &SymbologyNumbers::databarExpandedStacked},
    {Symbol::PharmaOne, &EncodePharmaOne, &SymbologyNumbers::pharmacode},
    {Symbol::PharmaTwo, &EncodePharmaTwo, &SymbologyNumbers::pharmacodeTwoTrack},
};

constexpr bool InOrder() {
    for (std::size_t i = 0; i < std::size(kEntries); ++i)
        if (static_cast<std::size_t>(kEntries[i].kind) != i) return false;
    return true;
}
static_assert(InOrder() && std::size(kEntries) == static_cast<std::size_t>(Symbol::PharmaTwo) + 1,
              "one entry for each symbol kind, in the order of Symbol");

const Entry& EntryOf(Symbol kind) { return kEntries[static_cast<std::size_t>(kind)]; }

}  // namespace

RecordEncoder EncoderOf(Symbol kind) { return EntryOf(kind).encode; }

int SymbologyOf(Symbol kind, Build build) {
    const Entry& e = EntryOf(kind);
    return e.number ? Numbers(build).*e.number : 0;
}

int EncodeSymbol(Symbol kind, SymbolRecord& rec, std::span<const std::uint8_t> data,
                 const Call& call) {
    rec.symbology = SymbologyOf(kind, call.build());
    return EncoderOf(kind)(rec, data, call);
}

}  // namespace matrix
