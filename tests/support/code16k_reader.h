// A test-side reader of Code 16K font text, written from the symbology's published rules
// (EN 12323 / ANSI AIM BC7; FNC4 as ISO/IEC 15417 defines it): glyphs back to symbol
// character values, the row count and row indicators, both mod-107 check characters, and
// the data with its code sets, shifts and extended characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct Code16kReading {
    int rows = 0;
    int mode = 0;
    std::vector<int> values;  // every symbol character, the first and the checks included
    std::string data;         // the bytes; FNC1 reads as the byte 0xE8 stand-in is not used
    int fnc1 = 0;             // how many FNC1 were read
    std::vector<std::size_t> fnc1At;  // the place in `data` of each FNC1
};

// Which glyph table the font text was written with: the desktop font writes every value
// through one table; the automation server's writes set A values through the set A table.
enum class Code16kGlyphs { Desktop, Server };

// Reads the font text; nullopt with `why` set when anything is out of the rules.
std::optional<Code16kReading> ReadCode16k(std::u16string_view fontText, Code16kGlyphs glyphs,
                                          std::string* why = nullptr);

}  // namespace testing_support
