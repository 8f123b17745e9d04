#include "support/barcode_image.h"

#include <cmath>

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

Image RenderMaxicode(const Matrix& cells) {
    const double w = 12, radius = w / std::sqrt(3.0), rowStep = 1.5 * radius;
    const int quiet = 24;
    Image img;
    img.width = static_cast<int>(30 * w) + 2 * quiet;
    img.height = static_cast<int>(32 * rowStep + 2 * radius) + 2 * quiet;
    img.pixels.assign(static_cast<std::size_t>(img.width * img.height), 255);
    for (std::size_t r = 0; r < cells.size() && r < 33; ++r)
        for (std::size_t c = 0; c < cells[r].size() && c < 30; ++c) {
            if (!cells[r][c]) continue;
            const double shift = r % 2 ? 0.5 : 0.0;
            const double cx = quiet + (static_cast<double>(c) + 0.5 + shift) * w;
            const double cy = quiet + radius + static_cast<double>(r) * rowStep;
            for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius) + 1; ++y)
                for (int x = static_cast<int>(cx - w / 2); x <= static_cast<int>(cx + w / 2) + 1;
                     ++x) {
                    const double dx = std::fabs(x + 0.5 - cx), dy = std::fabs(y + 0.5 - cy);
                    if (dx <= w / 2 && dy <= radius - dx / std::sqrt(3.0))
                        img.pixels[static_cast<std::size_t>(y * img.width + x)] = 0;
                }
        }
    const double fx = quiet + 14.5 * w, fy = quiet + radius + 16 * rowStep;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const double d = std::hypot(x + 0.5 - fx, y + 0.5 - fy) / w;
            if ((d >= 0.9 && d < 1.5) || (d >= 2.1 && d < 2.7) || (d >= 3.3 && d < 3.9))
                img.pixels[static_cast<std::size_t>(y * img.width + x)] = 0;
        }
    return img;
}

}  // namespace testing_support
