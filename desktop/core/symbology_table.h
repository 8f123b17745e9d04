// The desktop program's table of symbologies: for each the name the user picks, the encode
// routines, the behaviour of the "Checksum" and "Human Readable" boxes, the family of
// barcode font faces and a sample text. The one place of the font family keys and faces.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "session.h"

namespace desktop {

// The kind of a row (nSymbologyKind): the windows decide by it how to paint the font text,
// which option controls and which keyboard keys to show. Several rows may share a kind;
// kKindDatabarTruncatedLimited stands for "Databar Truncated" and "Databar Limited" alike.
inline constexpr std::uint32_t kKindCode39 = 0, kKindCode93 = 1, kKindUpcEan = 2, kKindCode128 = 3,
                               kKindAsianCode128 = 4, kKindCodabar = 5, kKindInterleaved2of5 = 6,
                               kKindMasterCarton = 7, kKindCode25 = 8, kKindCode11 = 9,
                               kKindMsi = 10, kKindPostnet = 11, kKindTelepen = 12,
                               kKindTelepenNumeric = 13, kKindIntelligentMail = 14,
                               kKindRoyalMail = 15, kKindRoyalMailCmdm = 16, kKindPharmaOne = 17,
                               kKindPharmaTwo = 18, kKindDataMatrix = 19, kKindDataMatrixSemi = 20,
                               kKindQRCodeSemi = 21, kKindBC412 = 22, kKindCode39Semi = 23,
                               kKindPdf417 = 24, kKindMicroPdf417 = 25, kKindCode16k = 26,
                               kKindQRCode = 27, kKindMicroQRCode = 28, kKindAztec = 29,
                               kKindMaxicode = 30, kKindDatabar = 31,
                               kKindDatabarTruncatedLimited = 32, kKindDatabarStacked = 33,
                               kKindDatabarStackedOmni = 34, kKindDatabarExpanded = 35,
                               kKindDatabarExpandedStacked = 36, kKindSemi = 43;
// No row: a kind that no row has.
inline constexpr std::uint32_t kNoKind = ~0u;

struct SymbologyAction {
    std::uint32_t nSymbologyKind;
    std::u16string szDisplayName;
    std::array<EncodeFn, 3> pfnEncode;  // [0] "Checksum" off, [1] on, [2] stored only
    std::int32_t nAttr1;                // CheckBoxMode of the "Checksum" box
    std::int32_t nAttr2;
    std::int32_t nAttr3;                // CheckBoxMode of the "Human Readable" box
    std::u16string szFontFamily;        // family key: the stem of the faces
    std::int32_t nAttr4, nAttr5;
    std::u16string szSampleData;
    std::uint32_t bFontAvailable;       // 1 when the default face is installed
    std::u16string szFontFace;          // the default face
};

// Capacities of the row's texts, terminator included.
inline constexpr std::size_t kDisplayNameUnits = 30;
inline constexpr std::size_t kFontFamilyUnits = 30;
inline constexpr std::size_t kSampleDataUnits = 200;
inline constexpr std::size_t kFontFaceUnits = 104;

// The 53 rows in list order, each with bFontAvailable 0.
std::vector<SymbologyAction> BuildSymbologyTable();

// Whether a face is installed (Platform::IsFontInstalled, or a test's fake).
using FontPredicate = std::function<bool(std::u16string_view face)>;

// Sets bFontAvailable of every row from its default face.
void CheckSymbologyFonts(std::vector<SymbologyAction>& table, const FontPredicate& installed);

// The suffixes of the composed face lists, largest first.
inline constexpr std::array<std::u16string_view, 7> kFontSizeSuffixes = {
    u"XXL", u"XL", u"L", u"M", u"S", u"XS", u"XXS"};

// The faces offered for a row with `humanReadable`, in list order: the installed ones of
// the row family's candidates.
std::vector<std::u16string> FontFaces(const SymbologyAction& row, std::int32_t humanReadable,
                                      const FontPredicate& installed);

// The entry to select in a fresh face list: with keepIndex 0 or more the entry at that
// index, or the last when the list is shorter; with a negative keepIndex the first entry
// that begins with the family key and "M", else entry 0. -1 for an empty list.
int SelectFontFace(const std::vector<std::u16string>& faces, const SymbologyAction& row,
                   int keepIndex);

// Every face that the table's default faces and the face-list rules can ask for, each once,
// in the order first asked.
std::vector<std::u16string> AllFontFaces();

// Case-insensitive comparison of ASCII letters, as the table's lookups use.
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

// The first row whose display name equals `name` without regard to case, or null.
const SymbologyAction* FindSymbology(const std::vector<SymbologyAction>& table,
                                     std::u16string_view name);

// The display names of the rows whose default face is installed, in table order: the
// symbology list.
std::vector<std::u16string> ListedSymbologies(const std::vector<SymbologyAction>& table);

// The entry of the symbology list to select at start: the one that equals the stored
// DefaultSymbology without regard to case; else entry 0, whose name is then stored.
// -1 (nothing read or written) for an empty list.
int SelectDefaultSymbology(Platform& platform, const std::vector<std::u16string>& listed);

// The one encode entry: the row's routine [1] when AddChecksum is set, else [0], on the text
// (a text of kInputUnits units or more is cut to kInputUnits - 1 in a copy); the message line
// is cleared first. Returns the font text, a view of the session's result buffers valid until
// the next encode ("" when the row has no routine). The context's loss bits then tell what
// the font text leaves out of the text (the copy's cut included).
inline constexpr std::size_t kInputUnits = 8192;
std::u16string_view EncodeSelectedText(Session& session, const SymbologyAction& row, const std::u16string& text);

// The same, the font text as a string of its own.
std::u16string EncodeSelected(Session& session, const SymbologyAction& row, std::u16string_view text);

}  // namespace desktop
