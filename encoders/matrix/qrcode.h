// QR Code (Model 2, versions 1 to 40) and the pieces of it that Micro QR shares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "record.h"

namespace matrix {

// Encodes the data into a QR Code symbol and writes its band text. option1 is the minimum
// error-correction level (1 L, 2 M, 3 Q, 4 H; anything else L), option2 a version 1..40
// taken when it is larger than the one the data needs. The desktop build ends lines with
// CR LF.
int EncodeQRCode(SymbolRecord& rec, std::span<const std::uint8_t> data, const Call& call);

namespace qr {

inline constexpr char kAlphanumeric[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";

// Position of a byte in the alphanumeric alphabet, -1 when it is not in it.
int AlphanumericValue(std::uint8_t c);

// One mode letter a byte: 'N', 'A' or 'B', with runs of 'N' and then of 'A' shorter than six
// turned into the next wider mode.
std::string DefineModes(const std::uint8_t* data, std::size_t length);
// The worst-case length in bits of data in those modes, a full header at every change of
// mode: data whose worst case does not fit version 40 at its level is refused.
int EstimateBits(const std::string& modes);

// Table values by version 1..40 and level index 0 L, 1 M, 2 Q, 3 H.
int DataCodewords(int version, int level);
int Blocks(int version, int level);
// Codewords the symbol holds, counted from its function patterns.
int TotalCodewords(int version);
// Alignment-pattern centre positions (empty for version 1).
std::vector<int> AlignmentPositions(int version);

// The modules of a symbol before data placement, one byte a module, row-major: bit 0 dark,
// kFunctionModule marking the finder, separator, timing, alignment and dark modules and the
// format and version areas (reserved light).
inline constexpr std::uint8_t kFunctionModule = 16;
std::vector<std::uint8_t> FunctionPatterns(int version);
// The penalty score (ISO/IEC 18004 rules 1 to 4) of each of the eight masks over `cells`
// (size x size, laid out as FunctionPatterns lays them out, data modules filled in): the mask
// applied to the data modules and the format information of `levelBits` and the mask written;
// the version areas stay light. A finder-like pattern counts where it starts at positions 0
// to size - 8 of its row or column.
std::array<int, 8> MaskPenalties(const std::uint8_t* cells, int size, int levelBits);

// BCH(15,5) word of five data bits, generator 0x537, before masking.
std::uint32_t Bch15(std::uint32_t data);
// Format word of level bits (L 1, M 0, Q 3, H 2) and mask, masked with 0x5412.
std::uint32_t FormatWord(int levelBits, int mask);
// 18-bit version word for versions 7..40.
std::uint32_t VersionWord(int version);

// The data stage of an encode: the version and level chosen and the data codewords.
struct Stream {
    int version = 0;
    int level = 0;                    // index 0 L .. 3 H, raised where the version has room
    std::vector<std::uint8_t> data;   // data codewords, padded to the version's capacity
};
// Chooses the modes, version (at least `requestedVersion` when that is 1..40) and level (at
// least `level`, index 0..3) for the input and builds the data codewords; false when the data
// does not fit version 40 at the level.
bool EncodeStream(std::span<const std::uint8_t> input, int level, int requestedVersion, Stream& out);

}  // namespace qr
}  // namespace matrix
