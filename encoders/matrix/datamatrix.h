// Data Matrix ECC 200 (ISO/IEC 16022) with the extended rectangles of ISO/IEC 21471:
// encodation in the six schemes, symbol size choice, Reed-Solomon blocks, placement,
// finder and alignment patterns, and the band text of the symbol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "record.h"

namespace matrix {

// Encodation schemes, numbered as the encodation argument numbers them (0: automatic).
enum DmScheme { kDmAscii = 1, kDmC40 = 2, kDmText = 3, kDmX12 = 4, kDmEdifact = 5, kDmBase256 = 6 };

// The largest symbol's data capacity.
inline constexpr int kDmMaxDataCodewords = 1558;

struct DataMatrixSize {
    int option2;  // the caller's size number
    int rows, columns;
    int regionRows, regionColumns;  // finder and alignment border included
    int dataCodewords;
    int blockData, blockCheck;      // data codewords a block (the longer blocks), check codewords a block
    bool extended;                  // an extended rectangle
};
inline constexpr int kDmSizeCount = 42;
// The sizes in the order the automatic choice tries them.
extern const DataMatrixSize kDataMatrixSizes[kDmSizeCount];

// The state of the encodation at the end of the data, before the symbol size is known.
struct DmEncodation {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    bool gs1 = false;
    std::vector<std::uint8_t> codewords;
    std::vector<bool> base256;   // codeword belongs to a Base 256 field
    int scheme = kDmAscii;       // the scheme in force at the end
    std::vector<int> pending;    // C40, Text, X12 or EDIFACT values not yet packed
    std::vector<std::size_t> pendingPositions;  // X12 and EDIFACT: data positions of the pending values
    // C40 and Text: where the last segment's packed codewords begin, and its characters
    // (data position, number of values).
    std::size_t segmentStart = 0;
    std::vector<std::pair<std::size_t, int>> segmentChars;
    // Start of the last EDIFACT unlatch group shorter than three codewords (-1: none); a
    // reader takes fewer than three codewords left in the symbol as ASCII.
    long shortEdifactGroup = -1;
};

// Which scheme to use from `position` on.
int DataMatrixLookAhead(const std::uint8_t* data, std::size_t length, std::size_t position,
                        int current, bool gs1, int encodation);

// Runs the encodation; returns kSuccess, or a failure with its message (kDataTooLong when
// the data needs more than the largest symbol holds).
int DataMatrixEncodeData(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
                         int encodation, DmEncodation& out, std::vector<std::uint8_t>& work);

// Closes the last scheme for a symbol of `capacity` data codewords; false when the data
// does not fit it. `result` gets the data codewords without padding, Base 256 randomised.
bool DataMatrixFinishData(const DmEncodation& enc, int capacity, std::vector<std::uint8_t>& result);

// Pads to the capacity and appends the interleaved check codewords.
void DataMatrixAddEcc(const DataMatrixSize& size, std::vector<std::uint8_t>& codewords);

// The symbol's modules, row 0 at the top.
std::vector<std::vector<std::uint8_t>> DataMatrixPlace(const DataMatrixSize& size,
                                                       const std::vector<std::uint8_t>& codewords);

// The entry point. rec.option2 is the size (1 to 42 as kDataMatrixSizes numbers them, 0
// automatic), rec.option3 the shape (100 squares only, 101 extended rectangles allowed),
// rec.option4 the encodation (0 automatic, else a DmScheme). The desktop build ends lines
// with CR LF.
int EncodeDataMatrix(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

}  // namespace matrix
