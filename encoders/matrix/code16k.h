// The automation server's Code 16K encoder: UTF-16 text to the rows of a Code 16K symbol in
// the linear result buffer.
#pragma once

#include <vector>

#include "buffers.h"
#include "record.h"

namespace matrix {

// Input stand-ins: 232 is FNC1, 220 is NUL.
inline constexpr char16_t kCode16kFnc1 = 232;
inline constexpr char16_t kCode16kNul = 220;

// Rows of nine glyphs (row bar, start, five symbol characters, stop, row bar), each ended
// with the call's line ends (Call::Desktop(): CR LF), then the eight glyphs of the trailer.
// Empty text gives an empty result. It takes UTF-16 text and no record, decodes the escapes
// itself by the context's profile, and returns the context's ResultBuffer.
const char16_t* EncodeCode16K(encoding::Context& ctx, const char16_t* text, const Call& call);

// What every Code 16K encoder shares once its symbol character values are chosen.
namespace code16k {

inline constexpr int kMaxDataValues = 77;  // 16 rows of 5, less the first and two checks
inline constexpr int kPad = 103;

// Completes a symbol whose values[0] is the place of the first character: pads until the
// symbol with its two check characters fills whole rows (at least two), sets the first
// character from the row count and the start mode, and appends both check characters.
// Returns the row count.
int Finish(std::vector<int>& values, int mode);

// Glyph of a value in the font's general table: 0 is 224, 1 to 95 are 33 to 127, 96 to
// 106 are 226 to 236.
char16_t ValueGlyph(int value);

// Row start and stop glyphs of row `row` (0 to 15).
char16_t RowStartGlyph(int row);
char16_t RowStopGlyph(int row);

// Writes the rows (0xFE, start, the glyphs of five values, stop, 0xFF, CR when asked, LF)
// and the trailer of seven 0xFD and one 0xE1. glyph(i) is the glyph of value i.
template <typename Glyph, typename Put>
void WriteRows(int rows, Glyph glyph, bool crlf, Put put) {
    for (int r = 0; r < rows; ++r) {
        put(char16_t{0xFE});
        put(RowStartGlyph(r));
        for (int j = 0; j < 5; ++j) put(glyph(r * 5 + j));
        put(RowStopGlyph(r));
        put(char16_t{0xFF});
        if (crlf) put(u'\r');
        put(u'\n');
    }
    for (int i = 0; i < 7; ++i) put(char16_t{0xFD});
    put(char16_t{0xE1});
}

}  // namespace code16k

}  // namespace matrix
