#include "preview.h"

#include <algorithm>

namespace desktop {

PixelRect PaintedRect(int clientWidth, std::span<const int> lineWidths, int lineHeight) {
    if (lineWidths.empty()) return {};
    const int left = (clientWidth - lineWidths.front()) / 2;
    const int widest = *std::max_element(lineWidths.begin(), lineWidths.end());
    const int lines = static_cast<int>(lineWidths.size());
    return {left, kPaintTop, left + widest, kPaintTop + lines * lineHeight};
}

bool InsidePaintArea(const PixelRect& painted) {
    if (painted.Width() <= 0 || painted.Height() <= 0) return true;
    return painted.left >= kPaintArea.left && painted.top >= kPaintArea.top && painted.right <= kPaintArea.right &&
           painted.bottom <= kPaintArea.bottom;
}

std::u16string MessageLineText(std::u16string_view message, bool previewCut) {
    std::u16string text(message);
    if (previewCut) {
        if (!text.empty()) text += u' ';
        text += kPreviewCut;
    }
    return text;
}

}  // namespace desktop
