// Text conversions of the front-ends. The ANSI code pages go through the platform seam,
// sized by query and checked; UTF-8 and the byte-for-byte widening need no platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform.h"
#include "utf.h"

namespace desktop {

// UTF-16 to UTF-8: the tree's one pair (encoders/common/utf.h).
using encoding::ToUtf8;

// UTF-16 to the 8-bit code page `page`, the buffer sized by asking the platform first.
// Returns false and leaves `out` empty when the platform reports a failure or a result
// that does not fit what it asked for.
bool ToAnsi(Platform& platform, CodePage page, std::u16string_view text, std::string& out);

// The reverse, from `bytes` (exactly those bytes are read).
bool FromAnsi(Platform& platform, CodePage page, std::string_view bytes, std::u16string& out);

// Each byte becomes the UTF-16 unit of the same value (the fonts whose glyphs sit at fixed
// 8-bit codes, whatever the code page).
std::u16string WidenBytes(std::string_view bytes);

// `n` in decimal digits; with `grouped`, a comma before each group of three ("3,084,048").
std::u16string Decimal(std::uint64_t n, bool grouped = false);

// An 8-bit message (English, ASCII) as UTF-16.
std::u16string WidenMessage(const char* message);

}  // namespace desktop
