// The module-wide working state of the two-dimensional, stacked and postal encoders, all of
// it in one place. A deliverable has one Workspace; the encoders reach it through
// SharedWorkspace(). Nothing in it carries over from one encode to the next except what is
// built once and then only read (the Reed-Solomon tables, the Aztec position maps, the Data
// Matrix layouts, the PDF417 generators), so one encode must end before the next begins, on
// any thread (the automation server holds its encode lock around each).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "aztec.h"
#include "datamatrix.h"
#include "buffers.h"
#include "pdf417.h"

namespace matrix {

// Reed-Solomon: the tables of each field and the generator of each code, built on first
// use and then only read; RsInitField and RsInitCode select one of each, RsFree forgets the
// selection. A product is antilog[log a + log b] with no modulo: the antilog table runs
// through the group twice (2q - 1 entries) and then holds q zeros, which the logarithm 2q - 1
// given to the element 0 reaches from the logarithm of any non-zero element.
struct RsField {
    int polynomial = 0;
    int q = 0;                          // 2^m - 1
    std::vector<std::uint16_t> log;      // 2^m entries
    std::vector<std::uint16_t> antilog;  // 3q - 1 entries
};
struct RsCode {
    const RsField* field = nullptr;
    int n = 0;                                // check symbols
    std::vector<std::uint16_t> generatorLog;  // logarithms of the coefficients of x^0 .. x^(n-1)
};
struct ReedSolomonTables {
    std::map<int, RsField> fields;                             // by polynomial
    std::map<std::tuple<int, int, int>, RsCode> codes;         // by polynomial, n, first root
    const RsField* field = nullptr;
    const RsCode* code = nullptr;
};

// Aztec: the position maps of the largest full-range and compact symbols (cells as aztec.h
// numbers them), built on first use and kept.
struct AztecMaps {
    int full[kAztecFullSide * kAztecFullSide];
    bool fullBuilt;
    std::vector<int> compact;  // empty until built
};

// Data Matrix: the module layout of each symbol size, in the order of kDataMatrixSizes (cells
// as datamatrix.cpp numbers them), each empty until built.
struct DataMatrixLayouts {
    std::vector<std::uint16_t> bySize[kDmSizeCount];
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
    // Logarithms of the generator coefficients by number of check codewords (2 .. 512),
    // each empty until built.
    std::vector<std::uint16_t> generatorLogs[513];
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
    int units[encoding::kMaxUnits];
};

struct Workspace {
    ReedSolomonTables reedSolomon;
    AztecMaps aztec;
    DataMatrixLayouts dataMatrix;
    Pdf417Work pdf417;
    MaxicodeWork maxicode;
    DatabarWork databar;
    Code16kWork code16k;
};

// The deliverable's one workspace.
Workspace& SharedWorkspace();

}  // namespace matrix
