// PDF417 (ISO/IEC 15438) and truncated PDF417, and the compaction stage that MicroPDF417
// shares with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record.h"

namespace matrix {

// Compaction modes, named by their latch codewords.
inline constexpr int kTextMode = 900;
inline constexpr int kByteMode = 901;
inline constexpr int kNumericMode = 902;

// Largest data an encode takes: far beyond what 928 codewords can carry in any compaction.
inline constexpr std::size_t kPdf417MaxData = 2800;
// Room for the codewords of the compaction stage; more than this is refused as too long.
inline constexpr std::size_t kPdf417MaxCodewords = 2700;

// Codewords of the data after block split, smoothing and compaction (921 first when
// `readerInit`). Returns the count, or -1 when the data passes the working limits.
int Pdf417DataCodewords(const std::uint8_t* data, std::size_t length, bool readerInit,
                        int* codewords);

// The k mod-929 check codewords of `count` codewords, in the order they follow the data.
// k is 2 to 512; `check` holds k values.
void Pdf417ErrorCorrection(const int* codewords, int count, int k, int* check);

// PDF417 into the record's bit-form matrix and band text; `symbology` 56 asks for the
// truncated form. Returns 0, 2 (an option replaced) or 5. The desktop build ends lines with
// CR LF.
int EncodePDF417(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

// The symbol-building step: 0, 2 (too many codewords), 4 (too many rows) or 5 (the band
// text does not fit fontText).
int BuildPDF417(SymbolRecord& rec, const std::uint8_t* data, std::size_t length, bool crlf);

}  // namespace matrix
