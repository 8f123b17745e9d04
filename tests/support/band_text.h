// Band text back into the module matrix, through the band font's glyphs.
#pragma once

#include <optional>
#include <string_view>

#include "support/barcode_image.h"

namespace testing_support {

// Parses band text (lines of hexadecimal digits, CR LF or LF ends) into `rows` module rows;
// nullopt when a character is not a hexadecimal digit or the lines differ in length.
std::optional<Matrix> BandTextToMatrix(std::string_view fontText, int rows);

}  // namespace testing_support
