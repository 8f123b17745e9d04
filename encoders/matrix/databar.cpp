#include "databar.h"

#include "binary112.h"
#include "workspace.h"

namespace matrix {

namespace {

// The width array of the workspace.
int* WidthsResult() { return SharedWorkspace().databar.widths; }

int Combinations(int n, int r) {
    if (r < 0 || n < r) return 0;
    long long value = 1;
    for (int i = 1; i <= r; ++i) value = value * (n - r + i) / i;
    return static_cast<int>(value);
}

// Omnidirectional character groups: 0-4 outside, 5-8 inside.
struct Group {
    int gsum, t, oddModules, evenModules, widestOdd, widestEven;
};
const Group kOmniGroups[9] = {
    {0, 1, 12, 4, 8, 1},     {161, 10, 10, 6, 6, 3},  {961, 34, 8, 8, 4, 5},
    {2015, 70, 6, 10, 3, 6}, {2715, 126, 4, 12, 1, 8}, {0, 4, 5, 10, 2, 7},
    {336, 20, 7, 8, 4, 5},   {1036, 48, 9, 6, 6, 3},  {1516, 81, 11, 4, 8, 1},
};
const Group kLimitedGroups[7] = {
    {0, 28, 17, 9, 6, 3},          {183064, 728, 13, 13, 5, 4}, {820064, 6454, 9, 17, 3, 6},
    {1000776, 203, 15, 11, 5, 4},  {1491021, 2408, 11, 15, 4, 5}, {1979845, 1, 19, 7, 8, 1},
    {1996939, 16632, 7, 19, 1, 8},
};
const int kOmniFinders[9][5] = {
    {3, 8, 2, 1, 1}, {3, 5, 5, 1, 1}, {3, 3, 7, 1, 1}, {3, 1, 9, 1, 1}, {2, 7, 4, 1, 1},
    {2, 5, 6, 1, 1}, {2, 3, 8, 1, 1}, {1, 5, 7, 1, 1}, {1, 3, 9, 1, 1},
};

// quotient := number div divisor, number := number mod divisor, by shift-and-subtract over
// `bits` + 1 quotient bits.
void DivideInPlace(BinaryNumber112& number, const char* divisorDigits, std::size_t divisorLength,
                   int bits, BinaryNumber112& quotient) {
    BinaryNumber112 divisor;
    BinaryLoadDecimal(divisor, reinterpret_cast<const std::uint8_t*>(divisorDigits), divisorLength);
    for (int i = 0; i < bits; ++i) BinaryShiftUp(divisor);
    quotient = BinaryNumber112{};
    for (int bit = bits; bit >= 0; --bit) {
        if (!BinaryIsLarger(divisor, number)) {
            quotient.digit[bit] = 1;
            BinarySubtract(number, divisor);
        }
        BinaryShiftDown(divisor);
    }
}

int ToInt(const BinaryNumber112& n, int bits) {
    int value = 0;
    for (int bit = bits; bit >= 0; --bit) value = value * 2 + n.digit[bit];
    return value;
}

// readableText: "(01)", the data zero-padded to 13 digits on the left, the check digit.
void WriteReadable(SymbolRecord& rec, const std::uint8_t* data, std::size_t length) {
    char digits[14];
    for (std::size_t i = 0; i < 13; ++i)
        digits[i] = i < 13 - length ? '0' : static_cast<char>(data[i - (13 - length)]);
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 3 : 1);
    int check = 10 - sum % 10;
    if (check == 10) check = 0;
    char* out = reinterpret_cast<char*>(rec.readableText);
    ByteStrCopy(out, "(01)");
    for (int i = 0; i < 13; ++i) out[4 + i] = digits[i];
    out[17] = static_cast<char>('0' + check);
    out[18] = 0;
}

// One-row font text: spaces as digits, bars as letters from `firstBar` for width 1.
void WriteElements(SymbolRecord& rec, const int* elements, int count, char firstBar) {
    for (int i = 0; i < count; ++i)
        rec.fontText[i] = static_cast<char>(i % 2 == 0 ? '0' + elements[i] : firstBar - 1 + elements[i]);
    rec.fontText[count] = 0;
}

int CheckDigits(SymbolRecord& rec, const std::uint8_t* data, std::size_t length) {
    if (length >= 14) return Fail(rec, kDataTooLong, "Input too long");
    if (CheckCharSet("0123456789", data, length) != 0)
        return Fail(rec, kInvalidData, "Invalid characters in data");
    return kSuccess;
}

// Appends the modules of `count` elements, the first of colour `bar`.
int PutElements(int* row, int column, const int* elements, int count, bool bar) {
    for (int i = 0; i < count; ++i, bar = !bar)
        for (int w = 0; w < elements[i]; ++w) row[column++] = bar ? 1 : 0;
    return column;
}

}  // namespace

void DatabarWidths(int value, int modules, int elements, int widest, int noNarrow) {
    int* const widthsResult = WidthsResult();
    int narrowMask = 0;
    int bar = 0;
    for (; bar < elements - 1; ++bar) {
        int width = 1;
        int subValue = 0;
        for (narrowMask |= 1 << bar;; ++width, narrowMask &= ~(1 << bar)) {
            subValue = Combinations(modules - width - 1, elements - bar - 2);
            if (!noNarrow && narrowMask == 0 &&
                modules - width - (elements - bar - 1) >= elements - bar - 1)
                subValue -= Combinations(modules - width - (elements - bar), elements - bar - 2);
            if (elements - bar - 1 > 1) {
                int lessValue = 0;
                for (int maxWidth = modules - width - (elements - bar - 2); maxWidth > widest; --maxWidth)
                    lessValue += Combinations(modules - width - maxWidth - 1, elements - bar - 3);
                subValue -= lessValue * (elements - 1 - bar);
            } else if (modules - width > widest) {
                --subValue;
            }
            value -= subValue;
            if (value < 0) break;
        }
        value += subValue;
        modules -= width;
        widthsResult[bar] = width;
    }
    widthsResult[bar] = modules;
}

const int* DatabarWidthsResult() { return WidthsResult(); }

namespace {

// The four data characters, by long division into pairs and then characters.
void DataCharacters(const std::uint8_t* data, std::size_t length, int characters[4]) {
    BinaryNumber112 value, left, right;
    BinaryLoadDecimal(value, data, length);
    DivideInPlace(value, "4537077", 7, 24, left);
    right = value;
    BinaryNumber112 q;
    DivideInPlace(left, "1597", 4, 13, q);
    characters[0] = ToInt(q, 13);
    characters[1] = ToInt(left, 13);
    DivideInPlace(right, "1597", 4, 13, q);
    characters[2] = ToInt(q, 13);
    characters[3] = ToInt(right, 13);
}

// The eight element widths of character c (0 to 3; 0 and 2 outside), odd
// elements at even places.
void CharacterWidths(int c, int character, int widths[8]) {
    const bool outside = c % 2 == 0;
    int group = 0;
    if (outside) {
        const int starts[] = {161, 961, 2015, 2715};
        for (int s : starts) group += character >= s;
    } else {
        const int starts[] = {336, 1036, 1516};
        group = 5;
        for (int s : starts) group += character >= s;
    }
    const Group& g = kOmniGroups[group];
    const int v = character - g.gsum;
    const int odd = outside ? v / g.t : v % g.t;
    const int even = outside ? v % g.t : v / g.t;
    DatabarWidths(odd, g.oddModules, 4, g.widestOdd, outside ? 1 : 0);
    for (int i = 0; i < 4; ++i) widths[2 * i] = DatabarWidthsResult()[i];
    DatabarWidths(even, g.evenModules, 4, g.widestEven, outside ? 0 : 1);
    for (int i = 0; i < 4; ++i) widths[2 * i + 1] = DatabarWidthsResult()[i];
}

// The check value, its two finders, and the 46 elements of the symbol.
void ElementSequence(const int widths[4][8], int e[46]) {
    int checksum = 0, weight = 1;
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 8; ++i, weight = weight * 3 % 79) checksum += widths[c][i] * weight;
    int check = checksum % 79;
    if (check >= 8) ++check;
    if (check >= 72) ++check;
    const int* leftFinder = kOmniFinders[check / 9];
    const int* rightFinder = kOmniFinders[check % 9];

    e[0] = e[1] = e[44] = e[45] = 1;
    for (int i = 0; i < 8; ++i) {
        e[2 + i] = widths[0][i];
        e[15 + i] = widths[1][7 - i];
        e[23 + i] = widths[3][i];
        e[36 + i] = widths[2][7 - i];
    }
    for (int i = 0; i < 5; ++i) {
        e[10 + i] = leftFinder[i];
        e[31 + i] = rightFinder[4 - i];
    }
}

// The stacked forms: 51 module columns, column 0 a space.
constexpr int kStackedColumns = 51;

// Stacked, one line of glyphs for top row, separator and bottom row together.
void WriteStacked(SymbolRecord& rec, const int* top, const int* bottom) {
    int separator[kStackedColumns] = {};
    for (int c = 4; c < kStackedColumns - 4; ++c) {
        if (top[c] == bottom[c]) separator[c] = !top[c];
        else separator[c] = !separator[c - 1];
    }
    for (int c = 0; c < kStackedColumns; ++c) {
        char g;
        if (!top[c]) g = bottom[c] ? (separator[c] ? 'M' : 'J') : (separator[c] ? 'K' : '1');
        else g = bottom[c] ? 'O' : (separator[c] ? 'N' : 'L');
        rec.fontText[c] = g;
    }
    rec.fontText[kStackedColumns] = 0;
}

// Stacked Omnidirectional, the top row, then the three separators with the bottom
// row.
void WriteStackedOmni(SymbolRecord& rec, const int* top, const int* bottom) {
    constexpr int kColumns = kStackedColumns;
    int topSep[kColumns] = {}, middle[kColumns] = {}, bottomSep[kColumns] = {};
    for (int c = 1; c <= 48; ++c) topSep[c] = !top[c];
    for (int c = 3; c <= 50; ++c) bottomSep[c] = !bottom[c];
    for (int c = 6; c <= 46; c += 2) middle[c] = 1;
    auto finderRegion = [](const int* row, int* sep, int from) {
        for (int c = from; c <= 33;) {
            if (!row[c]) {
                int k = c + 1, v = 0;
                for (; k <= 32 && !row[k]; ++k, v ^= 1) sep[k] = v;
                c = k;
            } else {
                ++c;
            }
        }
    };
    finderRegion(top, topSep, 19);
    finderRegion(bottom, bottomSep, 18);
    for (int c = 0; c < 4; ++c) {
        topSep[c] = middle[c] = bottomSep[c] = 0;
        topSep[kColumns - 1 - c] = middle[kColumns - 1 - c] = bottomSep[kColumns - 1 - c] = 0;
    }
    char* out = rec.fontText;
    for (int c = 0; c < kColumns; ++c) *out++ = top[c] ? 'A' : '1';
    *out++ = '\n';
    for (int c = 0; c < kColumns; ++c) {
        static const char kBar[] = "AWXY";
        static const char kSpace[] = "1PQSRTUV";
        *out++ = bottom[c] ? kBar[topSep[c] * 2 + middle[c]]
                           : kSpace[topSep[c] * 4 + middle[c] * 2 + bottomSep[c]];
    }
    *out = 0;
}

}  // namespace

int EncodeDatabar(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    if (int r = CheckDigits(rec, data, length)) return r;
    int characters[4];
    DataCharacters(data, length, characters);
    int widths[4][8];
    for (int c = 0; c < 4; ++c) CharacterWidths(c, characters[c], widths[c]);
    int e[46];
    ElementSequence(widths, e);

    // The output of the form.
    const SymbologyNumbers& numbers = Numbers(call.build());
    rec.rows = 1;
    if (rec.symbology != numbers.databarStacked && rec.symbology != numbers.databarStackedOmni) {
        WriteElements(rec, e, 46, 'a');
        rec.width = 46;
        WriteReadable(rec, data, length);
        return kSuccess;
    }
    int top[kStackedColumns] = {}, bottom[kStackedColumns] = {};
    int end = PutElements(top, 1, e, 23, false);
    top[end] = 1;  // closing bar, then a space
    bottom[1] = 1;
    PutElements(bottom, 3, e + 23, 23, true);
    rec.width = kStackedColumns;
    if (rec.symbology == numbers.databarStacked) WriteStacked(rec, top, bottom);
    else WriteStackedOmni(rec, top, bottom);
    return kSuccess;
}

int EncodeDatabarLimited(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call&) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    if (int r = CheckDigits(rec, data, length)) return r;
    if (length == 13 && data[0] != '0' && data[0] != '1')
        return Fail(rec, kInvalidData, "Input out of range");
    BinaryNumber112 value, leftPair;
    BinaryLoadDecimal(value, data, length);
    DivideInPlace(value, "2013571", 7, 24, leftPair);
    const int pairs[2] = {ToInt(leftPair, 24), ToInt(value, 24)};
    int widths[2][14];
    for (int p = 0; p < 2; ++p) {
        int group = 0;
        for (int g = 1; g < 7; ++g) group += pairs[p] >= kLimitedGroups[g].gsum;
        const Group& g = kLimitedGroups[group];
        const int v = pairs[p] - g.gsum;
        DatabarWidths(v / g.t, g.oddModules, 7, g.widestOdd, 1);
        for (int i = 0; i < 7; ++i) widths[p][2 * i] = DatabarWidthsResult()[i];
        DatabarWidths(v % g.t, g.evenModules, 7, g.widestEven, 0);
        for (int i = 0; i < 7; ++i) widths[p][2 * i + 1] = DatabarWidthsResult()[i];
    }
    int checksum = 0, weight = 1;
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < 14; ++i, weight = weight * 3 % 89) checksum += widths[p][i] * weight;
    const std::uint8_t* check = kDatabarLimitedCheck[checksum % 89];
    int e[46];
    e[0] = e[1] = e[44] = e[45] = 1;
    for (int i = 0; i < 14; ++i) {
        e[2 + i] = widths[0][i];
        e[16 + i] = check[i];
        e[30 + i] = widths[1][i];
    }
    WriteElements(rec, e, 46, 'a');
    rec.rows = 1;
    rec.width = 46;
    WriteReadable(rec, data, length);
    return kSuccess;
}

}  // namespace matrix
