// Where the text shaping of Wine 8 fails. Its edit controls shape each line through its
// Uniscribe, with the face Debian's Wine falls back to for the dialog font and for Lao
// (DejaVu Sans). When a run of text of one script begins with one of the characters below,
// its mark positioning reads before the start of the run's glyphs and the program ends (a
// page fault in GPOS_apply_MarkToLigature or GPOS_apply_MarkToMark). A run begins at the
// start of every line and wherever the script changes. Measured with each character first in
// an edit control and after each kind of character: the characters below fail first on a
// line and after digits, punctuation, a tab, a no-break space, a combining mark and letters
// of other scripts; they are shown after a letter of their own script. Spaces join the run
// before them: a character after spaces is shown where it would be shown in their place, and
// after spaces that begin a line.
// Every other character of the Basic Multilingual Plane that was tried first on a line is
// shown, combining marks among them. Windows shapes all of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace desktop {

// True for the characters that fail when they begin a run: 47 spacing modifier letters
// (U+02DC small tilde among them, not U+02C6 circumflex) and the Lao vowel signs U and UU and
// the Lao tone marks.
bool FailsFirstInRun(char16_t c);

// Whether `c` stays in the run of `before`, the last character before it on its line that is
// not a space (0 when only spaces come before it, which join the run after them): true after
// a letter of its own script, so that the shaping does not fail on it.
bool FollowsSafely(char16_t before, char16_t c);

// Where a text (lines end at LF or CR) holds a character that Wine's shaping fails on.
struct ShapingFault {
    std::size_t index = 0;  // of the character, in UTF-16 units
    std::size_t line = 1;   // from 1, counted by LF
    char16_t character = 0;
};
std::optional<ShapingFault> FirstShapingFault(std::u16string_view text);

// The message that refuses to put `c` into a field, which keeps what it had.
std::u16string ShapingRefused(char16_t c);

}  // namespace desktop
