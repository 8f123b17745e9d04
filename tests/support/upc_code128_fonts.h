// The bars of UPC/EAN font text and of the two builds' Code 128 font text, drawn through the
// fonts' glyph layouts.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "support/barcode_image.h"

namespace testing_support {

// UPC/EAN font: digit rows of the parity sets, guards, human-readable digits (white), the
// add-on start and separator, and the space between symbol and add-on.
std::optional<Modules> UpcEanFontToModules(std::u16string_view fontText);

// Code 128 values of a Code 128 font text (start, data, check; the stop is checked and not
// returned), or nothing when a glyph is unknown or the stop is missing.
std::optional<std::vector<int>> Code128FontToValues(std::u16string_view fontText, bool desktop);

// The bars of a Code 128 font text.
std::optional<Modules> Code128FontToModules(std::u16string_view fontText, bool desktop);

}  // namespace testing_support
