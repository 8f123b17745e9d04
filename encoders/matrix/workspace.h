// The module-wide working state of the two-dimensional, stacked and postal encoders, all of
// it in one place. A deliverable has one Workspace; the encoders reach it through
// SharedWorkspace(). Nothing in it carries over from one encode to the next except what is
// built once and then only read (the Aztec position maps), so one encode must end before
// the next begins, on any thread (the automation server holds its encode lock around each).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "aztec.h"
#include "frame.h"
#include "pdf417.h"

namespace matrix {

// Reed-Solomon: the field tables and the generator of the current code, from RsInitField
// and RsInitCode to RsFree.
struct ReedSolomonTables {
    int q = 0;                   // 2^m - 1
    std::vector<int> log;        // 2^m entries
    std::vector<int> antilog;    // 2^m - 1 entries
    int n = 0;                   // check symbols of the current code
    std::vector<int> generator;  // n + 1 coefficients, x^k at index k
};

// Aztec: the position maps of the largest full-range and compact symbols (cells as aztec.h
// numbers them), built on first use and kept.
struct AztecMaps {
    int full[kAztecFullSide * kAztecFullSide];
    bool fullBuilt;
    std::vector<int> compact;  // empty until built
};

// PDF417 and MicroPDF417: the block list of the compaction stage, its text-compaction
// values and the codeword arrays of the two symbol builders.
struct Pdf417Block {
    int mode;
    int length;
};
struct Pdf417Work {
    Pdf417Block blocks[kPdf417MaxData];
    int blockCount;
    int textValues[3 * kPdf417MaxData + 4];  // a byte costs at most three values
    int codewords[kPdf417MaxCodewords + 1 + 512 + 90];  // PDF417: descriptor, data, padding, check
    int microCodewords[kPdf417MaxCodewords + 64];       // MicroPDF417: data, padding, check
};

// Maxicode: the codeword store (0-9 primary message, 10-19 its check words, then the
// secondary message and its check words).
struct MaxicodeWork {
    std::uint8_t codewords[144];
};

// DataBar: the element widths that DatabarWidths leaves.
struct DatabarWork {
    int widths[8];
};

// The server's Code 16K encoder: the input characters as Code 16K units.
struct Code16kWork {
    int units[linear::kMaxUnits];
};

struct Workspace {
    ReedSolomonTables reedSolomon;
    AztecMaps aztec;
    Pdf417Work pdf417;
    MaxicodeWork maxicode;
    DatabarWork databar;
    Code16kWork code16k;
};

// The deliverable's one workspace.
Workspace& SharedWorkspace();

}  // namespace matrix
