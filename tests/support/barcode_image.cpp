#include "support/barcode_image.h"

#include <algorithm>

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

}  // namespace testing_support
