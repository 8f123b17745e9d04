// The bars of Code 11, Code 2 of 5, Interleaved 2 of 5, MSI, Codabar, POSTNET and Royal Mail
// font text, drawn through the fonts' glyph layouts, and small readers that take the bars back
// to characters and verify the check characters by each standard's rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/barcode_image.h"

namespace testing_support {

// Interleaved 2 of 5: 0xE6 start (narrow bar, space, bar, space), 0xE7 stop (wide bar,
// narrow space, narrow bar), a pair glyph draws its two digits interleaved.
std::optional<Modules> I25FontToModules(std::u16string_view fontText);

// Codabar: "A" to "D" and the sixteen data characters, narrow gaps between characters.
std::optional<Modules> CodabarFontToModules(std::u16string_view fontText);

// Code 11: "*" start/stop, "0"-"9" and "-".
std::optional<Modules> Code11FontToModules(std::u16string_view fontText);
// Reads Code 11 modules; the data with C (and K when present) verified and removed.
std::optional<std::string> ReadCode11(const Modules& modules);

// Code 2 of 5 (the font is taken to draw Industrial 2 of 5: five bars a digit, two of them
// wide, narrow spaces; "(" start wide-wide-narrow, ")" stop wide-narrow-wide).
std::optional<Modules> Code25FontToModules(std::u16string_view fontText);
// Reads Code 2 of 5 modules into digits (a check digit, if any, is left in).
std::optional<std::string> ReadCode25(const Modules& modules);

// MSI: "[" start (a 1 bit), "]" stop (1001), a digit its four bits, 1 wide bar narrow space,
// 0 narrow bar wide space.
std::optional<Modules> MsiFontToModules(std::u16string_view fontText);
// Reads MSI modules; the digits with their mod-10 check verified and removed.
std::optional<std::string> ReadMsi(const Modules& modules);

// Four-state bars: 'F' full, 'A' ascender, 'D' descender, 'T' tracker; POSTNET's two-state
// bars are 'F' (full) and 'T' (half).
using Bars = std::string;

// POSTNET: "[" and "]" full frame bars, each digit five bars, two of them full.
std::optional<Bars> PostnetFontToBars(std::u16string_view fontText);
// Reads POSTNET bars; the digits with their check verified and removed.
std::optional<std::string> ReadPostnet(const Bars& bars);

// Royal Mail: "[" start (ascender), "]" stop (full), each character four bars.
std::optional<Bars> RoyalMailFontToBars(std::u16string_view fontText);
// Reads Royal Mail bars; the characters with their check verified and removed.
std::optional<std::string> ReadRoyalMail(const Bars& bars);

}  // namespace testing_support
