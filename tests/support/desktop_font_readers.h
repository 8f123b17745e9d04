// Readers of the desktop-only fonts: BC412 by its check rule, and the
// Asian Code 128 font back to Code 128 values and bars.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/barcode_image.h"

namespace desktop_testing {

// Check value of a BC412 character, -1 outside the set (from SEMI T1).
int Bc412Value(char16_t c);

// The data of BC412 font text without its check character, or nullopt when the symbol is
// out of the rules.
std::optional<std::u16string> ReadBc412(std::u16string_view font);

// The Code 128 values of Asian Code 128 font text (start, data, check), or nullopt.
std::optional<std::vector<int>> AsianValues(std::u16string_view t);

// The bars of Asian Code 128 font text.
std::optional<testing_support::Modules> AsianFontToModules(std::u16string_view t);

// Maxicode font text back into its 33 rows of 30 cells, or nullopt.
std::optional<testing_support::Matrix> MaxicodeCells(std::u16string_view font);

}  // namespace desktop_testing
