// The symbol record through which the two-dimensional, stacked and postal encoders talk to
// their callers, the encoders' results, the band layout of their font text and the small
// helpers they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace matrix {

// Which deliverable's build of an encoder runs: the automation server's encoders take a
// CR LF flag, the desktop program's end lines as their symbology fixes; some option
// numberings and symbology numbers differ too.
enum class Build { Server, Desktop };

// How a deliverable calls a record encoder; every record encoder takes one, and there is no
// default, so that no caller gets the other build's numbering by forgetting it.
//   Call::Server(crlf): the automation server's numbering; band lines end with CR LF when
//                       `crlf` is true and with LF alone when it is false.
//   Call::Desktop():    the desktop program's numbering; each encoder ends its lines as the
//                       desktop fixes them (CR LF: Data Matrix, QR Code, Micro QR, PDF417,
//                       MicroPDF417, Maxicode, Code 16K; LF: Aztec, DataBar).
// Encoders with one-line output, and Maxicode (always CR LF), do not read the line ends.
class Call {
public:
    static constexpr Call Server(bool crlf) { return Call(Build::Server, crlf); }
    static constexpr Call Desktop() { return Call(Build::Desktop, false); }

    constexpr Build build() const { return build_; }
    // The line ends an encoder writes: the server caller's choice, or in the desktop build
    // the encoder's own `desktopCrLf`.
    constexpr bool CrLf(bool desktopCrLf) const {
        return build_ == Build::Server ? crlf_ : desktopCrLf;
    }

private:
    constexpr Call(Build build, bool crlf) : build_(build), crlf_(crlf) {}
    Build build_;
    bool crlf_;
};

// Module matrix bounds, sized for the largest symbol of any encoder (QR Code version 40 is
// 177 modules wide; PDF417 in bit form holds up to 1,001 modules a row).
inline constexpr int kMaxRows = 200;
inline constexpr int kMaxRowBytes = 184;
// Font text, sized for the band text of the largest symbol with CR LF line ends.
inline constexpr std::size_t kFontTextSize = 16384;

struct SymbolRecord {
    std::int32_t symbology;
    std::int32_t outputFlags;
    std::int32_t option1;
    std::int32_t option2;
    std::int32_t option3;
    std::int32_t option4;    // Data Matrix: the encodation (0 automatic, else a DmScheme)
    std::int32_t inputMode;  // 0 data, 1 UTF-8, 2 GS1 with bracketed AIs
    std::uint8_t readableText[128];
    std::int32_t rows;
    std::int32_t width;
    char primaryMessage[128];
    std::uint8_t modules[kMaxRows][kMaxRowBytes];
    char fontText[kFontTextSize];
    std::int32_t rowHeights[kMaxRows];
    char errorText[100];
};

// Input modes.
inline constexpr int kDataMode = 0;
inline constexpr int kUtf8Mode = 1;
inline constexpr int kGs1Mode = 2;

// EncodeResult values.
inline constexpr int kEmptyData = -1;
inline constexpr int kSuccess = 0;
inline constexpr int kWarning = 2;
inline constexpr int kDataTooLong = 5;
inline constexpr int kInvalidData = 6;
inline constexpr int kInvalidOption = 8;
inline constexpr int kEncodingError = 9;
inline constexpr int kInvalidUtf8 = 13;

// Symbology numbers the callers write into `symbology`.
struct SymbologyNumbers {
    int pdf417, pdf417Truncated, microPdf417, code16k, maxicode;
    int databarOmni, databarLimited, databarStacked, databarStackedOmni;
    int databarExpanded, databarExpandedStacked, pharmacode, pharmacodeTwoTrack;
};
const SymbologyNumbers& Numbers(Build build);
// Truncated PDF417 has the same number in both builds.
inline constexpr int kPdf417TruncatedNumber = 56;

// Writes `message` (at most 99 characters kept) into the record's errorText.
void SetError(SymbolRecord& rec, const char* message);
// Sets the message and returns `result`, for `return Fail(rec, kInvalidData, "...")`.
int Fail(SymbolRecord& rec, int result, const char* message);

// Shared helpers over NUL-terminated 8-bit strings.
std::size_t ByteStrLen(const char* s);
void ByteStrCopy(char* dst, const char* src);
int CharToDigit(char c);
char DigitToChar(int value);
void ToUpperAscii(char* s);
int CheckCharSet(const char* set, const std::uint8_t* data, std::size_t length);
int CharPosition(const char* set, char c);
void AppendPattern(const char* set, const char* const* table, char c, char* dst);
bool IsTwoDigits(const std::uint8_t* s, std::size_t position);

// Module access. Byte form: one byte a module. Bit form: module c of a row is bit c mod 7
// of byte c / 7.
int IsModuleSet(const SymbolRecord& rec, int row, int column);
void SetModuleByte(SymbolRecord& rec, int row, int column);
void SetModuleBit(SymbolRecord& rec, int row, int column);
void ClearModuleBit(SymbolRecord& rec, int row, int column);

enum class ModuleForm { Byte, Bit };

// Writes the band layout of the finished matrix (rows x width) into fontText: one line per
// band of four rows, one hexadecimal digit per column, the band's first row the highest
// bit, each line ended with CR LF or LF. Returns false (and writes nothing) when the text
// would not fit fontText.
[[nodiscard]] bool WriteBandText(SymbolRecord& rec, bool crlf, ModuleForm form = ModuleForm::Byte);

// The last step of a band-text encoder: writes the band text and returns `result` (the
// encode's success or warning), or kDataTooLong with kBandTextTooLong when the text would
// not fit fontText.
inline constexpr const char* kBandTextTooLong = "Symbol too large for its font text";
[[nodiscard]] int FinishBandText(SymbolRecord& rec, bool crlf, ModuleForm form, int result);

// UTF-8 input conversions. `length` is in: source bytes; out: result bytes or code points.
// A sequence cut off at the end of the data is refused like any malformed one.
int Utf8ToLatin1(SymbolRecord& rec, const std::uint8_t* src, std::uint8_t* dst, std::size_t& length);
// The data as a Latin-1 encoder works on it: converted from UTF-8 in UTF-8 input mode, else
// as it stands. Returns 0, or the conversion's result (its message set).
int InputBytes(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
               std::vector<std::uint8_t>& bytes);
// UTF-8 to UTF-16 units by the encoders' rule of encoding::FromUtf8, each unit in 32 bits.
int Utf8ToUtf16(SymbolRecord& rec, const std::uint8_t* src, std::uint32_t* dst, std::size_t& length);

}  // namespace matrix
