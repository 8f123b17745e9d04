// What every fuzz target of a matrix or stacked symbol checks about a success: the band text
// is one line a band of four module rows, each `width` hexadecimal digits and the line end,
// and the rows past the symbol's last row, in its last band, are light.
#pragma once

#include <cstddef>
#include <cstring>

#include "matrix.h"

inline bool BandTextWellFormed(const matrix::SymbolRecord& rec, bool crlf) {
    if (rec.rows < 1 || rec.width < 1) return false;
    const std::size_t width = static_cast<std::size_t>(rec.width), eol = crlf ? 2 : 1;
    const std::size_t bands = static_cast<std::size_t>(rec.rows + 3) / 4;
    const char* t = rec.fontText;
    if (std::strlen(t) != bands * (width + eol)) return false;
    const int unused = (4 - rec.rows % 4) % 4;  // low bits of the last band's digits
    for (std::size_t b = 0; b < bands; ++b, t += width + eol) {
        for (std::size_t c = 0; c < width; ++c) {
            const char* digit = std::strchr("0123456789ABCDEF", t[c]);
            if (!digit || !t[c]) return false;
            if (b + 1 == bands && ((digit - "0123456789ABCDEF") & ((1 << unused) - 1))) return false;
        }
        if (crlf ? (t[width] != '\r' || t[width + 1] != '\n') : t[width] != '\n') return false;
    }
    return true;
}
