// Symbol-character and row-address tables of PDF417 (ISO/IEC 15438) and MicroPDF417
// (ISO/IEC 24728).
#pragma once

#include <cstdint>

namespace matrix {

// The 17-module pattern of each codeword 0..928 in clusters 0, 3 and 6 (index 0, 1, 2), the
// first module the highest of 17 bits, 1 dark.
extern const std::uint32_t kPdf417Patterns[3][929];

// MicroPDF417 row address patterns 1..52 (index n - 1), ten modules, first module highest.
extern const std::uint16_t kMicroSidePatterns[52];
extern const std::uint16_t kMicroCentrePatterns[52];

// One MicroPDF417 symbol variant.
struct MicroVariant {
    int columns, rows, checkCodewords;
    int leftStart, centreStart, rightStart;  // centreStart 0: no centre pattern
    int startCluster;                         // 0, 3 or 6
};
extern const MicroVariant kMicroVariants[34];  // variants 1..34

}  // namespace matrix
