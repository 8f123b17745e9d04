#include "support/barcode_image.h"

#include <algorithm>
#include <string>

#include "support/font_text.h"

namespace testing_support {

void AppendWidths(Modules& modules, std::string_view widths, bool bar) {
    for (char w : widths) {
        modules.insert(modules.end(), static_cast<std::size_t>(w - '0'), bar);
        bar = !bar;
    }
}

Image RenderRows(const std::vector<Modules>& rows, const std::vector<int>& rowHeights,
                 int moduleWidth, int quiet) {
    std::size_t longest = 0;
    for (const auto& r : rows) longest = std::max(longest, r.size());
    Image img;
    img.width = static_cast<int>(longest + 2 * static_cast<std::size_t>(quiet)) * moduleWidth;
    int total = 0;
    for (int h : rowHeights) total += h;
    img.height = total + 2 * quiet * moduleWidth;
    img.pixels.assign(static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height), 255);
    int y = quiet * moduleWidth;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int dy = 0; dy < rowHeights[r]; ++dy, ++y) {
            for (std::size_t m = 0; m < rows[r].size(); ++m) {
                if (!rows[r][m]) continue;
                const int x0 = (quiet + static_cast<int>(m)) * moduleWidth;
                std::fill_n(img.pixels.begin() + y * img.width + x0, moduleWidth, 0);
            }
        }
    }
    return img;
}

Image RenderLinear(const Modules& modules, int moduleWidth, int height, int quiet) {
    return RenderRows({modules}, {height}, moduleWidth, quiet);
}

Image RenderMatrix(const Matrix& matrix, int scale, int quiet) {
    std::vector<Modules> rows(matrix.begin(), matrix.end());
    std::vector<int> heights(rows.size(), scale);
    return RenderRows(rows, heights, scale, quiet);
}

Image RenderMaxicode(const Matrix& cells) {
    // The cells as the hexagon font's text: a line a band of three rows, a glyph a pair of columns.
    auto cell = [&cells](std::size_t r, std::size_t c) {
        return r < cells.size() && c < cells[r].size() && cells[r][c] ? 1 : 0;
    };
    std::u16string text;
    for (std::size_t band = 0; band < 11; ++band) {
        for (std::size_t pair = 0; pair < 15; ++pair) {
            const std::size_t r = 3 * band, col = 2 * pair;
            const int a = cell(r, col), b = cell(r, col + 1), c = cell(r + 1, col), d = cell(r + 1, col + 1);
            const int e = cell(r + 2, col), f = cell(r + 2, col + 1);
            if (band % 2 == 0) {
                text += static_cast<char16_t>(u'0' + 16 * e + 8 * f + 4 * c + 2 * a + b);
                if (d) text += u'~';
            } else {
                if (pair == 0) text += u'[';
                if (c) text += u'~';
                text += static_cast<char16_t>(u'0' + 16 * e + 8 * f + 4 * d + 2 * a + b);
            }
        }
        text += u"\r\n";
    }
    return RenderMaxicodeText(text);
}

}  // namespace testing_support
