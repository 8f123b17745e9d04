// One way into every record encoder of the two-dimensional, stacked and postal symbologies,
// for both deliverables. A caller picks the symbol kind, fills a zeroed SymbolRecord with the
// options (each encoder's header tells which fields it reads), and calls EncodeSymbol with
// the data and the Call of its build:
//
//     auto rec = std::make_unique<matrix::SymbolRecord>();  // value-initialised: all zero
//     rec->option1 = level;
//     const int r = matrix::EncodeSymbol(matrix::Symbol::QRCode, *rec, bytes,
//                                        matrix::Call::Desktop());
//     // r <= 0: rec->fontText holds the font text; r > 0: rec->errorText holds the message
//     // (after a warning, 2, the font text is complete as well).
//
// EncodeSymbol writes the kind's symbology number of the call's build into rec.symbology, so
// callers never set it themselves. Code 16K has no record encoder here: the server's encoder
// takes UTF-16 text (code16k.h), the desktop program has its own. Intelligent Mail is a class
// of its own (intelligent_mail.h).
#pragma once

#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

enum class Symbol {
    DataMatrix,              // datamatrix.h: option2 size, option3 shape, option4 encodation
    QRCode,                  // qrcode.h: option1 level, option2 version
    MicroQRCode,             // micro_qr.h: option1 level, option2 version
    Aztec,                   // aztec.h: option1 level (numbered by build), option2 size
    Maxicode,                // maxicode.h: option1 mode, primaryMessage
    PDF417,                  // pdf417.h: option1 security level, option2 columns
    PDF417Truncated,         // pdf417.h, the truncated form
    MicroPDF417,             // micropdf417.h: option2 columns
    DatabarOmni,             // databar.h: Omnidirectional, also for Truncated
    DatabarStacked,          // databar.h
    DatabarStackedOmni,      // databar.h
    DatabarLimited,          // databar.h
    DatabarExpanded,         // databar.h
    DatabarExpandedStacked,  // databar.h: option2 segment pairs a row
    PharmaOne,               // pharmacode.h
    PharmaTwo,               // pharmacode.h
};

// The shape every record encoder has: record, data bytes, and the build's call.
using RecordEncoder = int (*)(SymbolRecord& rec, std::span<const std::uint8_t> data,
                              const Call& call);

// The encoder of a kind.
RecordEncoder EncoderOf(Symbol kind);
// The symbology number a kind's record carries in a build (0 for the kinds whose encoder
// reads none).
int SymbologyOf(Symbol kind, Build build);

// Sets rec.symbology to SymbologyOf(kind, call.build()) and runs the kind's encoder; returns
// its EncodeResult.
int EncodeSymbol(Symbol kind, SymbolRecord& rec, std::span<const std::uint8_t> data,
                 const Call& call);

}  // namespace matrix
