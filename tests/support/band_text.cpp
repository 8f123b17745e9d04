#include "support/band_text.h"

#include <string>
#include <vector>

namespace testing_support {

std::optional<Matrix> BandTextToMatrix(std::string_view fontText, int rows) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : fontText) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) return std::nullopt;  // every band ends with its line end
    Matrix m(static_cast<std::size_t>(rows));
    for (std::size_t b = 0; b < lines.size(); ++b) {
        if (lines[b].size() != lines[0].size()) return std::nullopt;
        for (char c : lines[b]) {
            int v;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            else return std::nullopt;
            for (int k = 0; k < 4; ++k) {
                const std::size_t r = 4 * b + static_cast<std::size_t>(k);
                if (r < m.size()) m[r].push_back((v >> (3 - k)) & 1);
                else if ((v >> (3 - k)) & 1) return std::nullopt;  // rows past the symbol are light
            }
        }
    }
    if ((static_cast<std::size_t>(rows) + 3) / 4 != lines.size()) return std::nullopt;
    return m;
}

}  // namespace testing_support
