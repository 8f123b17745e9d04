#include "record.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "utf.h"

namespace matrix {

const SymbologyNumbers& Numbers(Build build) {
    static const SymbologyNumbers server{20, kPdf417TruncatedNumber, 21, 0, 26, 27, 28, 29, 30, 31, 32, 51, 53};
    static const SymbologyNumbers desktop{24, kPdf417TruncatedNumber, 25, 26, 30, 31, 32, 33, 34, 35, 36, 51, 53};
    return build == Build::Server ? server : desktop;
}

void SetError(SymbolRecord& rec, const char* message) {
    std::size_t n = 0;
    while (message[n] && n < sizeof rec.errorText - 1) {
        rec.errorText[n] = message[n];
        ++n;
    }
    rec.errorText[n] = 0;
}

int Fail(SymbolRecord& rec, int result, const char* message) {
    SetError(rec, message);
    return result;
}

std::size_t ByteStrLen(const char* s) { return std::strlen(s); }

void ByteStrCopy(char* dst, const char* src) { std::strcpy(dst, src); }

int CharToDigit(char c) { return (c >= '0' && c <= '9') ? c - '0' : c - 55; }

char DigitToChar(int value) {
    return static_cast<char>((value >= 0 && value <= 9) ? '0' + value : value + 55);
}

void ToUpperAscii(char* s) {
    for (; *s; ++s)
        if (*s >= 'a' && *s <= 'z') *s = static_cast<char>(*s - 32);
}

int CheckCharSet(const char* set, const std::uint8_t* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (data[i] == 0 || !std::strchr(set, data[i])) return kInvalidData;
    return kSuccess;
}

int CharPosition(const char* set, char c) {
    const char* p = std::strchr(set, c);
    return (p && c) ? static_cast<int>(p - set) : 0;
}

void AppendPattern(const char* set, const char* const* table, char c, char* dst) {
    for (std::size_t i = 0; set[i]; ++i)
        if (set[i] == c) std::strcat(dst, table[i]);
}

bool IsTwoDigits(const std::uint8_t* s, std::size_t position) {
    auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    return digit(s[position]) && digit(s[position + 1]);
}

int IsModuleSet(const SymbolRecord& rec, int row, int column) {
    return (rec.modules[row][column / 7] >> (column % 7)) & 1;
}

void SetModuleByte(SymbolRecord& rec, int row, int column) {
    if (!rec.modules[row][column]) rec.modules[row][column] = 1;
}

void SetModuleBit(SymbolRecord& rec, int row, int column) {
    rec.modules[row][column / 7] |= static_cast<std::uint8_t>(1 << (column % 7));
}

void ClearModuleBit(SymbolRecord& rec, int row, int column) {
    rec.modules[row][column / 7] &= static_cast<std::uint8_t>(~(1 << (column % 7)));
}

bool WriteBandText(SymbolRecord& rec, bool crlf, ModuleForm form) {
    const int bands = (rec.rows + 3) / 4;
    const std::size_t need = static_cast<std::size_t>(bands) * (rec.width + (crlf ? 2 : 1)) + 1;
    rec.fontText[0] = 0;
    if (rec.rows < 0 || rec.width < 0 || need > sizeof rec.fontText) return false;
    auto dark = [&](int r, int c) {
        if (r >= rec.rows) return 0;
        return form == ModuleForm::Byte ? (rec.modules[r][c] ? 1 : 0) : IsModuleSet(rec, r, c);
    };
    char* out = rec.fontText;
    for (int b = 0; b < bands; ++b) {
        for (int c = 0; c < rec.width; ++c) {
            const int v = 8 * dark(4 * b, c) + 4 * dark(4 * b + 1, c) + 2 * dark(4 * b + 2, c) +
                          dark(4 * b + 3, c);
            *out++ = "0123456789ABCDEF"[v];
        }
        if (crlf) *out++ = '\r';
        *out++ = '\n';
    }
    *out = 0;
    return true;
}

int FinishBandText(SymbolRecord& rec, bool crlf, ModuleForm form, int result) {
    if (!WriteBandText(rec, crlf, form)) return Fail(rec, kDataTooLong, kBandTextTooLong);
    return result;
}

int Utf8ToLatin1(SymbolRecord& rec, const std::uint8_t* src, std::uint8_t* dst, std::size_t& length) {
    static const char* kMessage =
        "error: Invalid character in input string (only Latin-1 characters supported)";
    std::size_t in = 0, out = 0;
    while (in < length) {
        const std::uint8_t b = src[in];
        if (b < 0x80) {
            dst[out++] = b;
            in += 1;
        } else if ((b == 0xC2 || b == 0xC3) && in + 1 < length) {
            dst[out++] = static_cast<std::uint8_t>(b == 0xC2 ? src[in + 1] : src[in + 1] + 0x40);
            in += 2;
        } else {
            dst[out] = 0;
            return Fail(rec, kInvalidData, kMessage);
        }
    }
    dst[out] = 0;
    length = out;
    return kSuccess;
}

int Utf8ToUtf16(SymbolRecord& rec, const std::uint8_t* src, std::uint32_t* dst, std::size_t& length) {
    std::u16string units;
    const encoding::Utf8Fault fault = encoding::FromUtf8(
        std::string_view(reinterpret_cast<const char*>(src), length), units, encoding::Utf8Rule::Encoder);
    std::copy(units.begin(), units.end(), dst);
    switch (fault) {
    case encoding::Utf8Fault::None: break;
    case encoding::Utf8Fault::Corrupt: return Fail(rec, kInvalidUtf8, "Corrupt Unicode data");
    case encoding::Utf8Fault::Overlong: return Fail(rec, kInvalidUtf8, "Overlong encoding not supported");
    case encoding::Utf8Fault::FourBytes:
        return Fail(rec, kInvalidUtf8, "Unicode sequences of more than 3 bytes not supported");
    }
    length = units.size();
    return kSuccess;
}

int InputBytes(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
               std::vector<std::uint8_t>& bytes) {
    bytes.assign(data, data + length);
    if (rec.inputMode != kUtf8Mode) return 0;
    bytes.resize(length + 1);  // the conversion ends its output with a NUL
    std::size_t n = length;
    if (const int r = Utf8ToLatin1(rec, data, bytes.data(), n)) return r;
    bytes.resize(n);
    return 0;
}

}  // namespace matrix
