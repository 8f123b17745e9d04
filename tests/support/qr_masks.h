// The eight QR Code data masks of ISO/IEC 18004 (table 10), as the tests' own reference:
// true where mask `mask` inverts the module in row i, column j.
#pragma once

namespace testing_support {

inline bool QrMaskInverts(int mask, int i, int j) {
    switch (mask) {
        case 0: return (i + j) % 2 == 0;
        case 1: return i % 2 == 0;
        case 2: return j % 3 == 0;
        case 3: return (i + j) % 3 == 0;
        case 4: return (i / 2 + j / 3) % 2 == 0;
        case 5: return (i * j) % 2 + (i * j) % 3 == 0;
        case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

}  // namespace testing_support
