// The bars of Code 39 and Code 93 font text, drawn through the fonts' glyph layouts.
#pragma once

#include <optional>
#include <string_view>

#include "support/barcode_image.h"

namespace testing_support {

// Code 39 font: "0"-"9", "A"-"Z", "-", ".", "$", "/", "+", "%", "#" (space) and "*".
std::optional<Modules> Code39FontToModules(std::u16string_view fontText);

// Full-ASCII Code 39 font: each glyph draws the Code 39 pair of its ASCII character.
std::optional<Modules> Code39ExtFontToModules(std::u16string_view fontText);

// Code 93 font: value glyphs, "[" start, "]" stop, "|" termination bar.
std::optional<Modules> Code93FontToModules(std::u16string_view fontText);

// The full-ASCII Code 39 pair (one or two Code 39 characters) of an ASCII character.
std::string_view Code39FullAsciiPair(unsigned char c);

}  // namespace testing_support
