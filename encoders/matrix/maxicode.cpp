#include "maxicode.h"

#include <cstring>
#include <vector>

#include "reed_solomon.h"
#include "workspace.h"

namespace matrix {

namespace {

enum Set { kA, kB, kC, kD, kE };

// The codeword store of the workspace.
std::uint8_t* Store() { return SharedWorkspace().maxicode.codewords; }

constexpr int kNumericShift = 31;
constexpr int kPad = 33;
constexpr int kLatchAFromCde = 58;
constexpr int kLatchB = 63;  // from A, C, D and E
constexpr int kLatchAFromB = 63;
constexpr int kShiftAB = 59;  // Shift B in set A, Shift A in set B
constexpr int kTwoShiftA = 56;
constexpr int kThreeShiftA = 57;
// Shift C, D, E from any set; the same value in the target set locks it in.
constexpr int kShiftTo[5] = {-1, -1, 60, 61, 62};

// Byte held by each value of each code set; -1 for values that are not characters.
struct Tables {
    int byteOf[5][64];
    int valueIn[5][256];  // value of a byte in a set, -1 when the set does not hold it
    Tables() {
        for (auto& s : byteOf)
            for (int& v : s) v = -1;
        auto put = [&](Set s, int value, int byte) { byteOf[s][value] = byte; };
        put(kA, 0, 13);
        for (int i = 0; i < 26; ++i) {
            put(kA, 1 + i, 'A' + i);
            put(kB, 1 + i, 'a' + i);
        }
        for (int s = kA; s <= kD; ++s)
            for (int i = 0; i < 3; ++i) put(static_cast<Set>(s), 28 + i, 28 + i);
        put(kA, 32, ' ');
        for (int b = 34; b <= 58; ++b) put(kA, b, b);
        const char* setB = "{?}~\x7f;<=>?[\\]^_ ,./:@!|";
        put(kB, 0, '`');
        put(kB, 32, '{');
        for (int i = 2; setB[i]; ++i) put(kB, 32 + i, static_cast<unsigned char>(setB[i]));
        put(kB, 33, -1);
        for (int i = 0; i < 27; ++i) {
            put(kC, i, 192 + i);
            put(kD, i, 224 + i);
            put(kE, i, i);
        }
        const int c[] = {219, 220, 221, 222, 223, 170, 172, 177, 178, 179, 181, 185, 186, 188, 189, 190};
        const int d[] = {251, 252, 253, 254, 255, 161, 168, 171, 175, 176, 180, 183, 184, 187, 191};
        const int e[] = {27, -2, 28, 29, 30, 31, 159, 160, 162, 163, 164, 165, 166, 167, 169, 173, 174, 182};
        for (int i = 0; i < 16; ++i) put(kC, 32 + i, c[i]);
        for (int i = 0; i < 10; ++i) put(kC, 48 + i, 128 + i);
        for (int i = 0; i < 15; ++i) put(kD, 32 + i, d[i]);
        for (int i = 0; i < 11; ++i) put(kD, 47 + i, 138 + i);
        put(kE, 30, 27);
        for (int i = 2; i < 18; ++i) put(kE, 30 + i, e[i]);
        for (int i = 0; i < 10; ++i) put(kE, 48 + i, 149 + i);
        for (int s = kC; s <= kE; ++s) put(static_cast<Set>(s), 59, ' ');
        for (auto& s : valueIn)
            for (int& v : s) v = -1;
        for (int s = 0; s < 5; ++s)
            for (int v = 63; v >= 0; --v)
                if (byteOf[s][v] >= 0) valueIn[s][byteOf[s][v]] = v;
    }
    // The set a byte is taken from when nothing around it decides: the first that holds it.
    Set Home(int byte) const {
        for (int s = 0; s < 5; ++s)
            if (valueIn[s][byte] >= 0) return static_cast<Set>(s);
        return kA;
    }
};

const Tables& CodeSets() {
    static const Tables tables;
    return tables;
}

bool IsDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }

// The code set of each byte (by its neighbours where more than one holds it) and its value
// there.
void ChooseSets(const std::uint8_t* data, std::size_t length, std::vector<Set>& sets, std::vector<int>& values) {
    const Tables& t = CodeSets();
    sets.resize(length);
    values.resize(length);
    for (std::size_t i = 0; i < length; ++i) {
        const int b = data[i];
        const Set prev = i ? sets[i - 1] : kA;
        const Set next = i + 1 < length ? t.Home(data[i + 1]) : kA;
        Set s = t.Home(b);
        if (b == 13) {
            s = prev == kE ? kE : ((i + 1 == length || next != kE) ? kA : kE);
        } else if (b >= 28 && b <= 30) {
            s = prev;
        } else if (b == ' ') {
            if (prev == kA || prev == kB) s = prev;
            else if (next == kA || next == kB) s = next;
            else s = prev;
        } else if (b == ',' || b == '.' || b == '/' || b == ':') {
            s = (prev == kB || next == kB) ? kB : kA;
        }
        sets[i] = s;
        values[i] = t.valueIn[s][b];
    }
}

// Nine digits from `i` as a numeric shift and five codewords; false when they are not nine
// digits.
bool NumericShift(const std::uint8_t* data, std::size_t length, std::size_t i, std::vector<int>& out) {
    if (i + 9 > length) return false;
    for (std::size_t k = 0; k < 9; ++k)
        if (!IsDigit(data[i + k])) return false;
    long value = 0;
    for (std::size_t k = 0; k < 9; ++k) value = value * 10 + (data[i + k] - '0');
    out.push_back(kNumericShift);
    for (int shift = 24; shift >= 0; shift -= 6) out.push_back(static_cast<int>((value >> shift) & 63));
    return true;
}

// The shift or latch into set `s` for a run of `n` bytes in it; the shifts of two and three
// A characters take the values before the last. Returns how many bytes it took.
std::size_t ChangeSet(Set s, std::size_t n, const int* values, Set& current, std::vector<int>& out) {
    if (s == kA || s == kB) {
        if (current == kA && s == kB && n == 1) {
            out.push_back(kShiftAB);
        } else if (current == kB && s == kA && n <= 3) {
            out.push_back(n == 1 ? kShiftAB : (n == 2 ? kTwoShiftA : kThreeShiftA));
            for (std::size_t k = 0; k + 1 < n; ++k) out.push_back(values[k]);
            return n - 1;
        } else {
            out.push_back(s == kB ? kLatchB : (current == kB ? kLatchAFromB : kLatchAFromCde));
            current = s;
        }
    } else {
        out.push_back(kShiftTo[s]);
        if (n >= 4) {
            out.push_back(kShiftTo[s]);
            current = s;
        }
    }
    return 0;
}

// The secondary message's codewords, padded to `room`; false when it needs more.
bool EncodeText(const std::uint8_t* data, std::size_t length, std::size_t room, std::vector<int>& out) {
    std::vector<Set> sets;
    std::vector<int> values;
    ChooseSets(data, length, sets, values);
    Set current = kA;
    for (std::size_t i = 0; i < length; ++i) {
        if (NumericShift(data, length, i, out)) {
            i += 8;
            continue;
        }
        const Set s = sets[i];
        if (s == current) {
            out.push_back(values[i]);
            continue;
        }
        std::size_t n = 0;
        while (i + n < length && sets[i + n] == s) ++n;
        i += ChangeSet(s, n, values.data() + i, current, out);
        out.push_back(values[i]);
        if (out.size() > room) return false;
    }
    if (out.size() > room) return false;
    // The pad value is a pad only in sets A and B.
    if (out.size() < room && current != kA && current != kB) out.push_back(kLatchAFromCde);
    while (out.size() < room) out.push_back(kPad);
    return true;
}

void CheckWords(const std::uint8_t* data, int n, int checks, std::uint8_t* out) {
    RsInitField(0x43);
    RsInitCode(checks, 1);
    RsEncode(static_cast<std::size_t>(n), data, out);
    RsFree();
}

int Number(const char* s, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + (s[i] - '0');
    return v;
}

void Primary(const char* p, int mode) {
    const int country = Number(p + 9, 3), service = Number(p + 12, 3);
    std::uint8_t* cw = Store();
    if (mode == 2) {
        long code = 0;
        int digits = 0;
        while (digits < 9 && IsDigit(static_cast<std::uint8_t>(p[digits]))) code = code * 10 + (p[digits++] - '0');
        cw[0] = static_cast<std::uint8_t>(2 | ((code & 3) << 4));
        cw[1] = static_cast<std::uint8_t>((code >> 2) & 63);
        cw[2] = static_cast<std::uint8_t>((code >> 8) & 63);
        cw[3] = static_cast<std::uint8_t>((code >> 14) & 63);
        cw[4] = static_cast<std::uint8_t>((code >> 20) & 63);
        cw[5] = static_cast<std::uint8_t>(((code >> 26) & 15) | ((digits & 3) << 4));
        cw[6] = static_cast<std::uint8_t>(((digits >> 2) & 15) | ((country & 3) << 4));
    } else {
        int v[6];
        for (int i = 0; i < 6; ++i) {
            int c = static_cast<unsigned char>(p[i]);
            if (c >= 'a' && c <= 'z') c -= 32;
            if (c >= 'A' && c <= 'Z') c -= 64;
            if (c == 27 || c == 31 || c == 33 || c >= 59) c = 32;
            v[i] = c;
        }
        cw[0] = static_cast<std::uint8_t>(3 | ((v[5] & 3) << 4));
        for (int k = 1; k <= 5; ++k)
            cw[k] = static_cast<std::uint8_t>(((v[5 - k] & 3) << 4) | ((v[6 - k] >> 2) & 15));
        cw[6] = static_cast<std::uint8_t>(((v[0] >> 2) & 15) | ((country & 3) << 4));
    }
    cw[7] = static_cast<std::uint8_t>((country >> 2) & 63);
    cw[8] = static_cast<std::uint8_t>(((country >> 8) & 3) | ((service & 15) << 2));
    cw[9] = static_cast<std::uint8_t>((service >> 4) & 63);
}

// Orientation modules that are always dark, (row, column).
constexpr int kDark[][2] = {{0, 28},  {0, 29},  {9, 10},  {9, 11},  {10, 11}, {15, 7}, {16, 8},
                            {16, 20}, {17, 20}, {22, 10}, {23, 10}, {22, 17}, {23, 17}};

}  // namespace

namespace {

// The mode asked for, or with -1 the one the primary message implies; 0 or a failure.
int ChooseMode(SymbolRecord& rec, int& mode) {
    mode = rec.option1;
    const char* primary = rec.primaryMessage;
    const std::size_t primaryLength = strnlen(primary, sizeof rec.primaryMessage);
    if (mode == -1) {
        if (primaryLength == 0) {
            mode = 4;
        } else {
            bool digits = true;
            for (std::size_t i = 0; i < 10 && i < primaryLength; ++i) digits = digits && IsDigit(static_cast<std::uint8_t>(primary[i]));
            mode = digits ? 2 : 3;
        }
    }
    if (mode < 2 || mode > 6) return Fail(rec, kInvalidOption, "Maxicode Mode invalid");
    if (mode <= 3) {
        bool valid = primaryLength == 15;
        for (std::size_t i = 9; i < 15 && valid; ++i) valid = IsDigit(static_cast<std::uint8_t>(primary[i]));
        if (!valid) return Fail(rec, kInvalidUtf8, "Invalid Primary String");
    }
    return 0;
}

// The primary message (the structured carrier message in modes 2 and 3, else the mode and
// the first nine codewords of the text), the secondary message, and the check words of both.
void FillCodewords(const char* primary, int mode, const std::vector<int>& text) {
    std::uint8_t* const codewords = Store();
    std::size_t from = 0;
    if (mode <= 3) {
        Primary(primary, mode);
    } else {
        codewords[0] = static_cast<std::uint8_t>(mode);
        for (int i = 0; i < 9; ++i) codewords[1 + i] = static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]);
        from = 9;
    }
    const int dataWords = mode == 5 ? 68 : 84, checks = mode == 5 ? 28 : 20;
    for (int i = 0; i < dataWords; ++i) codewords[20 + i] = static_cast<std::uint8_t>(text[from + static_cast<std::size_t>(i)]);

    std::uint8_t check[28];
    CheckWords(codewords, 10, 10, check);
    for (int i = 0; i < 10; ++i) codewords[10 + i] = check[9 - i];
    for (int half = 0; half < 2; ++half) {
        std::uint8_t part[42];
        for (int i = 0; i < dataWords / 2; ++i) part[i] = codewords[20 + 2 * i + half];
        CheckWords(part, dataWords / 2, checks, check);
        for (int i = 0; i < checks; ++i) codewords[20 + dataWords + 2 * i + half] = check[checks - 1 - i];
    }
}

// The codeword bits on the hexagon grid, and the orientation modules.
void Draw(SymbolRecord& rec) {
    const std::uint8_t* const codewords = Store();
    std::memset(rec.modules, 0, sizeof rec.modules);
    for (int r = 0; r < kMaxicodeRows; ++r)
        for (int c = 0; c < kMaxicodeColumns; ++c) {
            const int e = kMaxicodeGrid[r][c];
            if (e >= 0 && ((codewords[e / 6] >> (5 - e % 6)) & 1)) SetModuleBit(rec, r, c);
        }
    for (const auto& m : kDark) SetModuleBit(rec, m[0], m[1]);
    rec.rows = kMaxicodeRows;
    rec.width = kMaxicodeColumns;
}

// The finder's three rings are drawn by the hexagon font: bands 3 to 7 each carry one marker,
// '!' to '%', at the start of the cell of columns 14 and 15 (a cell that touches the finder
// area). The marker has no advance and no codeword bit; its glyph draws that band's slice of
// the rings around the centre of row 16, column 14.
constexpr int kFinderFirstBand = 3, kFinderLastBand = 7, kFinderCell = 7;

// One line a band of three module rows, one cell a pair of columns.
void WriteBands(SymbolRecord& rec) {
    char* out = rec.fontText;
    for (int band = 0; band < 11; ++band) {
        for (int cell = 0; cell < 15; ++cell) {
            if (cell == kFinderCell && band >= kFinderFirstBand && band <= kFinderLastBand)
                *out++ = static_cast<char>('!' + band - kFinderFirstBand);
            const int r = 3 * band, col = 2 * cell;
            const int a = IsModuleSet(rec, r, col), b = IsModuleSet(rec, r, col + 1);
            const int c = IsModuleSet(rec, r + 1, col), d = IsModuleSet(rec, r + 1, col + 1);
            const int e = IsModuleSet(rec, r + 2, col), f = IsModuleSet(rec, r + 2, col + 1);
            if (band % 2 == 0) {
                *out++ = static_cast<char>('0' + 16 * e + 8 * f + 4 * c + 2 * a + b);
                if (d) *out++ = '~';
            } else {
                if (cell == 0) *out++ = '[';
                if (c) *out++ = '~';
                *out++ = static_cast<char>('0' + 16 * e + 8 * f + 4 * d + 2 * a + b);
            }
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    *out = 0;
}

}  // namespace

int EncodeMaxicode(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call&) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    std::vector<std::uint8_t> bytes;
    if (const int r = InputBytes(rec, data, length, bytes)) return r;
    std::memset(Store(), 0, sizeof MaxicodeWork::codewords);

    int mode = 0;
    if (const int r = ChooseMode(rec, mode)) return r;
    if (bytes.size() > 138) return Fail(rec, kDataTooLong, "Input data too long");
    const std::size_t room = mode <= 3 ? 84 : (mode == 5 ? 77 : 93);
    std::vector<int> text;
    if (!EncodeText(bytes.data(), bytes.size(), room, text)) return Fail(rec, kDataTooLong, "Input data too long");
    FillCodewords(rec.primaryMessage, mode, text);
    Draw(rec);
    WriteBands(rec);
    return kSuccess;
}

}  // namespace matrix
