#include "shaping.h"

namespace desktop {

namespace {

bool LatinLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7) ||
           (c >= 0x1E00 && c <= 0x1EFF) || (c >= 0x02B0 && c <= 0x02FF);
}

bool Lao(char16_t c) { return c >= 0x0E80 && c <= 0x0EFF; }

bool LaoMark(char16_t c) { return c == 0x0EB8 || c == 0x0EB9 || (c >= 0x0EC8 && c <= 0x0ECD); }

}  // namespace

bool FailsFirstInRun(char16_t c) {
    if (LaoMark(c)) return true;
    if (c < 0x02B1 || c > 0x02F7) return false;
    // The modifier letters that were shown first on a line: U+02B0, U+02C3 to U+02C6, U+02CB,
    // U+02CC, U+02D2, U+02D3, U+02D8, U+02D9, U+02E5 to U+02EB, U+02EF to U+02F2, U+02F4 to
    // U+02F6 and U+02F8 to U+02FF.
    switch (c) {
    case 0x02C3: case 0x02C4: case 0x02C5: case 0x02C6: case 0x02CB: case 0x02CC: case 0x02D2: case 0x02D3:
    case 0x02D8: case 0x02D9: case 0x02E5: case 0x02E6: case 0x02E7: case 0x02E8: case 0x02E9: case 0x02EA:
    case 0x02EB: case 0x02EF: case 0x02F0: case 0x02F1: case 0x02F2: case 0x02F4: case 0x02F5: case 0x02F6:
        return false;
    default:
        return true;
    }
}

bool FollowsSafely(char16_t before, char16_t c) {
    if (!FailsFirstInRun(c) || before == 0) return true;
    return LaoMark(c) ? Lao(before) : LatinLetter(before);
}

std::optional<ShapingFault> FirstShapingFault(std::u16string_view text) {
    std::size_t line = 1;
    bool lineStart = true;  // nothing on the line yet
    char16_t before = 0;    // the last character on the line that is not a space
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n' || c == u'\r') {
            if (c == u'\n') ++line;
            lineStart = true;
            before = 0;
            continue;
        }
        if (FailsFirstInRun(c) && (lineStart || !FollowsSafely(before, c))) return ShapingFault{i, line, c};
        lineStart = false;
        if (c != u' ') before = c;
    }
    return std::nullopt;
}

std::u16string ShapingRefused(char16_t c) {
    std::u16string code = u"U+";
    for (int shift = 12; shift >= 0; shift -= 4) code += u"0123456789ABCDEF"[(c >> shift) & 0xF];
    return u"The character " + code + u" (" + std::u16string(1, c) +
           u") cannot stand at the start of a line or after a character of another script: this system's text "
           u"shaping fails on it there and would end the program. The field is unchanged.";
}

}  // namespace desktop
