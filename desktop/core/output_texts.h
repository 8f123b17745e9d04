// Texts of the desktop program's outputs: the keyboard's escapes, the clipboard's rich-text
// and plain forms, the printed page's lines and the link's fallback command line. Pure text
// work; the windows put them where they go.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resource.h"
#include "symbology_table.h"

namespace desktop {

// --- Character keyboard ---------------------------------------------------------------

// Key ids of the keyboard pane.
inline constexpr int kKeyFirstControl = IDC_KEY_NUL;  // ids up to IDC_KEY_US are characters 0 to 31
inline constexpr int kKeyLastControl = IDC_KEY_US;
inline constexpr int kKeyDel = IDC_KEY_DEL, kKeyFnc2 = IDC_KEY_FNC2, kKeyFnc3 = IDC_KEY_FNC3,
                     kKeyStop = IDC_KEY_STOP, kKeyShift = IDC_KEY_SHIFT, kKeyFnc1 = IDC_KEY_FNC1,
                     kKeyFnc4 = IDC_KEY_FNC4;

// True when the kind shows FNC1 to FNC4.
bool FunctionKeysShown(std::uint32_t kind);

// The escape a key appends for the current kind ("&#3;" for ETX), or empty when it appends
// nothing (STOP, SHIFT, FNC1 outside Code 128, Data Matrix and Code 16K, unknown ids).
std::u16string KeyEscape(int id, std::uint32_t kind);

// The data field after a key: the whole text followed by the escape.
std::u16string AppendEscape(std::u16string_view field, std::u16string_view escape);

// --- Main window ----------------------------------------------------------------------

// True for the kinds whose font text is painted line by line: every band symbol, Royal Mail
// CMDM (a Data Matrix symbol) among them.
bool PaintedByLines(std::uint32_t kind);

// The lines a font text is painted as: split at each LF; an LF that opens the remaining text
// ends the splitting (it and the rest make the last line). A view into `text`.
std::vector<std::u16string_view> PaintedLines(std::u16string_view text);

// --- Clipboard --------------------------------------------------------------------------

// The rich-text document of `text` in face `face` at `heightTenths` tenths of a point, sized
// to what it holds (no terminating zero).
std::string BuildRtf(std::u16string_view face, int heightTenths, std::u16string_view text);

// The 8-bit plain form: the low byte of each UTF-16 unit, then a zero byte.
std::string ClipboardBytes(std::u16string_view text);

// The UTF-16 plain form followed by a zero unit.
std::u16string ClipboardUnicode(std::u16string_view text);

// --- Printed page -----------------------------------------------------------------------

enum class PrintFont { Header, Label, Value, Link, Barcode };

// One piece of text on the page. A piece with `newLine` starts at the left edge under the
// previous line (after `blankLines` empty lines of the line step); otherwise it follows the
// previous piece on its line. `multiLine` pieces are drawn as a block of lines.
struct PrintPiece {
    PrintFont font;
    std::u16string text;
    bool newLine = false;
    int blankLines = 0;
    int pointSize = 0;  // Barcode pieces: the size of the barcode font
    bool multiLine = false;
};

inline constexpr std::u16string_view kPrintDocumentName = u"Kestrivo Encoder";

// The sizes of the barcode lines, in points; the postal rows print one line at 12 points.
inline constexpr int kPrintPointSizes[] = {8, 10, 12, 14};

// True for the rows printed once at 12 points (a display name holding "Postnet" or "Planet").
bool PrintedOnceAt12(std::u16string_view displayName);

// The two lines that tell the symbology, the face and the data.
std::vector<PrintPiece> PrintDataPieces(std::u16string_view displayName, std::u16string_view face,
                                        std::u16string_view data);

// One barcode line after a blank line: its label and the font text at `pointSize`; `onceAt12`
// gives the postal rows' label. A text holding an LF after its first unit is a block of lines.
std::vector<PrintPiece> PrintBarcodePieces(std::u16string_view encoded, int pointSize, bool onceAt12);

// The body of the page (the header is the maker's name and address, drawn before it).
std::vector<PrintPiece> PrintBodyPieces(std::u16string_view displayName, std::u16string_view face,
                                        std::u16string_view data, std::u16string_view encoded);

// --- Link fallback ----------------------------------------------------------------------

// Capacity of the fallback's command line, in UTF-16 units with its terminator.
inline constexpr std::size_t kCommandLineUnits = 520;

// The command line that opens `url` with the registered browser command `command`: the
// command cut at its first "\"%1\"" (else at its first "%1"), a space and the address in
// double quotes. Nothing when the address is empty, holds a double quote or a control
// character, or the line would not fit.
std::optional<std::u16string> FallbackCommandLine(std::u16string_view command, std::u16string_view url);

}  // namespace desktop
