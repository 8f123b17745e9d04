// Test-side rendering of modules into grey-scale images for the independent decoder.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace testing_support {

// One row of modules of a linear symbol: true is a bar.
using Modules = std::vector<bool>;

// Appends elements given as widths, alternating bar and space, the first a bar when
// `bar` is true. Widths are digits "1" to "9".
void AppendWidths(Modules& modules, std::string_view widths, bool bar = true);

// A module matrix: rows of modules, true is dark.
using Matrix = std::vector<std::vector<bool>>;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // 0 black, 255 white, row by row
};

// A linear symbol with `quiet` modules of quiet zone on both sides.
Image RenderLinear(const Modules& modules, int moduleWidth = 2, int height = 40, int quiet = 12);

// Rows of a linear or stacked symbol, each with its own height in pixels.
Image RenderRows(const std::vector<Modules>& rows, const std::vector<int>& rowHeights,
                 int moduleWidth, int quiet);

// A matrix symbol, `scale` pixels a module, with `quiet` modules of quiet zone.
Image RenderMatrix(const Matrix& matrix, int scale = 4, int quiet = 4);

// A Maxicode symbol from its 33 rows of 30 cells, drawn in the hexagon font: offset rows of
// hexagons (odd rows half a cell to the right) and no finder, which only the encoder's font text
// draws (a picture for a reader that does not need the finder, e.g. of corrupted cells).
Image RenderMaxicode(const Matrix& cells);

}  // namespace testing_support
