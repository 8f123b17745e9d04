// Where the main window paints the font text and whether the symbol fits there. The window
// measures each painted line in the font it draws with; the rectangle it covers and whether
// that rectangle lies inside the paint area are decided here.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace desktop {

// A rectangle in client pixels of the main window: left and top inside, right and bottom
// just outside.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The paint area: the inside of the white field of the face, under the data field.
inline constexpr PixelRect kPaintArea{13, 169, 387, 400};
// The top of the first painted line.
inline constexpr int kPaintTop = 170;
// The message line: the strip under the paint area, as wide as the face's fields.
inline constexpr PixelRect kMessageLineRect{12, 405, 388, 467};

// The rectangle the painted font text covers in a window `clientWidth` pixels wide: one
// line (`lineWidths` holds its width) centred, or lines each `lineHeight` tall placed from the
// centred first line's left edge down. Empty for no line.
PixelRect PaintedRect(int clientWidth, std::span<const int> lineWidths, int lineHeight);

// True when the rectangle lies inside the paint area (an empty one always does).
bool InsidePaintArea(const PixelRect& painted);

// The sentence of the message line for a symbol larger than the paint area.
inline constexpr std::u16string_view kPreviewCut =
    u"The symbol is larger than the preview and is shown cut; it prints, copies and exports whole.";

// What the message line shows: the encoder's or the loss sentence, followed by the sentence of
// the cut preview when `previewCut`.
std::u16string MessageLineText(std::u16string_view message, bool previewCut);

}  // namespace desktop
