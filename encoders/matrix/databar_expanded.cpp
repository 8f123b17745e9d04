// GS1 DataBar Expanded and Expanded Stacked (ISO/IEC 24724).
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "databar.h"
#include "gs1_verify.h"

namespace matrix {

namespace {

constexpr std::size_t kMaxBits = 252;

struct Group {
    int gsum, t, oddModules, evenModules, widestOdd, widestEven;
};
const Group kGroups[5] = {
    {0, 4, 12, 5, 7, 2}, {348, 20, 10, 7, 5, 4}, {1388, 52, 8, 9, 4, 5},
    {2948, 104, 6, 11, 3, 6}, {3988, 204, 4, 13, 1, 8},
};
// Finder patterns A to F; finder number 2k+1 is pattern k as written, 2k+2 reversed.
const int kFinders[6][5] = {
    {1, 8, 4, 1, 1}, {3, 6, 4, 1, 1}, {3, 4, 6, 1, 1}, {3, 2, 8, 1, 1}, {2, 6, 5, 1, 1}, {2, 2, 9, 1, 1},
};
// Finder sequences by symbol size (row r holds r + 2 finders).
const int kSequences[10][11] = {
    {1, 2},
    {1, 4, 3},
    {1, 6, 3, 8},
    {1, 10, 3, 8, 5},
    {1, 10, 3, 8, 7, 12},
    {1, 10, 3, 8, 9, 12, 11},
    {1, 2, 3, 4, 5, 6, 7, 8},
    {1, 2, 3, 4, 5, 6, 7, 10, 9},
    {1, 2, 3, 4, 5, 6, 7, 10, 11, 12},
    {1, 2, 3, 4, 5, 8, 7, 10, 9, 12, 11},
};

enum class Mode { Numeric, Alpha, Iso };

void PutBits(std::string& bits, int value, int count) {
    for (int i = count - 1; i >= 0; --i) bits += ((value >> i) & 1) ? '1' : '0';
}

int Number(const std::uint8_t* s, int count) {
    int v = 0;
    for (int i = 0; i < count; ++i) v = v * 10 + (s[i] - '0');
    return v;
}

bool AllDigits(const std::uint8_t* s, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// Class of a general-purpose character: 'x' digit or FNC1, 'y' alphanumeric or ISO/IEC 646,
// 'i' ISO/IEC 646 only, 0 not encodable.
char ClassOf(std::uint8_t c) {
    if ((c >= '0' && c <= '9') || c == kFnc1Mark) return 'x';
    if ((c >= 'A' && c <= 'Z') || c == '*' || c == ',' || c == '-' || c == '.' || c == '/') return 'y';
    if (c < 32 || c > 122 || c == '#' || c == '$' || c == '@' || c == '\\' || c == '^' || c == '`' ||
        c == '[' || c == ']')
        return 0;
    return 'i';
}

// Chooses the encodation of each general-purpose character by runs of one class.
// Returns true when the last run is numeric with an odd length.
bool GeneralField(const std::uint8_t* s, std::size_t n, std::vector<Mode>& modes) {
    struct Run {
        char cls;
        std::size_t begin, end;
        Mode mode;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = ClassOf(s[i]);
        if (runs.empty() || runs.back().cls != c) runs.push_back({c, i, i + 1, Mode::Numeric});
        else runs.back().end = i + 1;
    }
    for (std::size_t r = 0; r < runs.size(); ++r) {
        Run& run = runs[r];
        if (run.cls == 'i') {
            run.mode = Mode::Iso;
        } else if (r > 0 && runs[r - 1].mode == Mode::Iso) {
            const std::size_t len = run.end - run.begin;
            if (run.cls == 'x') run.mode = len >= 4 ? Mode::Numeric : Mode::Iso;
            else run.mode = len >= 5 ? Mode::Alpha : Mode::Iso;
        } else if (r > 0 && runs[r - 1].mode == Mode::Alpha && run.cls == 'x') {
            const std::size_t len = run.end - run.begin;
            const bool last = r + 1 == runs.size();
            run.mode = (len < 6 && !(last && (len == 4 || len == 5))) ? Mode::Alpha : Mode::Numeric;
        } else {
            run.mode = run.cls == 'y' ? Mode::Alpha : Mode::Numeric;
        }
    }
    modes.assign(n, Mode::Numeric);
    for (const Run& run : runs)
        for (std::size_t i = run.begin; i < run.end; ++i) modes[i] = run.mode;
    // Numeric runs hold digit pairs: an odd run other than the last gives its last
    // character to what follows.
    std::size_t i = 0;
    bool oddLast = false;
    while (i < n) {
        std::size_t j = i;
        while (j < n && modes[j] == modes[i]) ++j;
        if (modes[i] == Mode::Numeric && (j - i) % 2 == 1) {
            if (j < n) modes[j - 1] = modes[j];
            else oddLast = true;
        }
        i = j;
    }
    return oddLast;
}

int Remainder(std::size_t length) {
    if (length < 36) return static_cast<int>(36 - length);
    return static_cast<int>((12 - length % 12) % 12);
}

void Latch(std::string& bits, Mode& current, Mode wanted) {
    if (current == wanted) return;
    if (current == Mode::Numeric) bits += wanted == Mode::Alpha ? "0000" : "000000100";
    else if (wanted == Mode::Numeric) bits += "000";
    else bits += "00100";
    current = wanted;
}

void PutAlphaOrIso(std::string& bits, Mode mode, std::uint8_t c) {
    if (c >= '0' && c <= '9') return PutBits(bits, c - '0' + 5, 5);
    if (c == kFnc1Mark) return PutBits(bits, 15, 5);
    if (mode == Mode::Alpha) {
        if (c >= 'A' && c <= 'Z') return PutBits(bits, c - 'A' + 32, 6);
        const char* p = std::strchr("*,-./", c);
        return PutBits(bits, static_cast<int>(p - "*,-./") + 58, 6);
    }
    if (c >= 'A' && c <= 'Z') return PutBits(bits, c - 'A' + 64, 7);
    if (c >= 'a' && c <= 'z') return PutBits(bits, c - 'a' + 90, 7);
    static const char kPunctuation[] = "!\"%&'()*+,-./:;<=>?_ ";
    const char* p = std::strchr(kPunctuation, c);
    PutBits(bits, static_cast<int>(p - kPunctuation) + 232, 8);
}

// Method choice: 1 for a GTIN with AI (01), 2 for anything else, 3 to 14 for the compressed
// forms, which take only data of exactly their shape.
int EncodationMethod(const std::uint8_t* s, std::size_t n) {
    int method = 2;
    if (n >= 16 && s[0] == '0' && s[1] == '1') method = 1;
    if (!(method == 1 && n >= 20 && s[2] == '9' && s[16] == '3' && AllDigits(s, 0, 20))) return method;
    const int x = s[19] - '0';
    auto dateForm = [&](std::size_t at) {
        const int month = Number(s + at + 2, 2), day = Number(s + at + 4, 2);
        return AllDigits(s, at, at + 6) && month >= 1 && month <= 12 && day <= 31;
    };
    const bool weightForm = (n == 26 || n == 34) && AllDigits(s, 20, 26) && s[20] == '0';
    const bool dateAi = n == 34 && s[26] == '1' &&
                        (s[27] == '1' || s[27] == '3' || s[27] == '5' || s[27] == '7') && dateForm(28);
    if (s[17] == '1' && s[18] == '0' && weightForm && (n == 26 || dateAi)) {
        method = n == 26 ? 7 : 7 + (s[27] - '1');
        if (n == 26 && x == 3 && Number(s + 20, 6) <= 32767) method = 3;
    } else if (s[17] == '2' && s[18] == '0' && weightForm && (n == 26 || dateAi)) {
        method = n == 26 ? 8 : 8 + (s[27] - '1');
        if (n == 26 && ((x == 2 && Number(s + 20, 6) <= 9999) || (x == 3 && Number(s + 20, 6) <= 22767)))
            method = 4;
    } else if (s[17] == '9' && s[18] == '2' && x <= 3) {
        method = 5;
    } else if (s[17] == '9' && s[18] == '3' && x <= 3 && n >= 23 && AllDigits(s, 20, 23)) {
        method = 6;
    }
    return method;
}

// The compressed data fields of a method: the GTIN after its first digit in groups of three
// digits, then the weight, price or date fields of the method.
void CompressedFields(std::string& bits, const std::uint8_t* s, std::size_t n, int method) {
    if (method == 1) PutBits(bits, s[2] - '0', 4);
    if (method != 2)
        for (int g = 0; g < 4; ++g) PutBits(bits, Number(s + 3 + 3 * g, 3), 10);
    if (method == 3) PutBits(bits, Number(s + 20, 6), 15);
    if (method == 4) PutBits(bits, Number(s + 20, 6) + (s[19] == '3' ? 10000 : 0), 15);
    if (method == 5 || method == 6) PutBits(bits, s[19] - '0', 2);
    if (method == 6) PutBits(bits, Number(s + 20, 3), 10);
    if (method >= 7) {
        PutBits(bits, (s[19] - '0') * 100000 + Number(s + 20, 6), 20);
        if (n == 34)
            PutBits(bits, Number(s + 28, 2) * 384 + (Number(s + 30, 2) - 1) * 32 + Number(s + 32, 2), 16);
        else
            PutBits(bits, 38400, 16);
    }
}

// The general-purpose field in numeric, alphanumeric and ISO/IEC 646 encodation; leaves the
// encodation in force in `current`.
void GeneralPurposeField(std::string& bits, const std::uint8_t* g, std::size_t gn, Mode& current) {
    std::vector<Mode> modes;
    bool oddLast = GeneralField(g, gn, modes);
    std::size_t last = oddLast ? gn - 1 : gn;
    auto value = [](std::uint8_t c) { return c == kFnc1Mark ? 10 : c - '0'; };
    for (std::size_t i = 0; i < last;) {
        if (g[i] == kFnc1Mark && modes[i] != Mode::Numeric && i + 1 < gn) {
            // Readers differ on the encodation that follows an FNC1 written in alphanumeric
            // or ISO/IEC 646 encodation; the FNC1 paired numerically with the AI digit
            // after it costs the same and reads one way only.
            Latch(bits, current, Mode::Numeric);
            PutBits(bits, 11 * 10 + value(g[i + 1]) + 8, 7);
            i += 2;
            if (i > last) last = i, oddLast = false;
            continue;
        }
        Latch(bits, current, modes[i]);
        if (current == Mode::Numeric) {
            PutBits(bits, 11 * value(g[i]) + value(g[i + 1]) + 8, 7);
            i += 2;
        } else {
            PutAlphaOrIso(bits, current, g[i]);
            ++i;
        }
        if (bits.size() > kMaxBits + 12) break;
    }
    if (oddLast) {
        Latch(bits, current, Mode::Numeric);
        const int r = Remainder(bits.size());
        const int digit = g[gn - 1] - '0';
        if (r >= 4 && r <= 6) PutBits(bits, digit + 1, 4);
        else PutBits(bits, 11 * digit + 18, 7);
    }
}

// Appends the encodation method and the data to `bits` (which holds the linkage flag), pads
// to whole symbol characters and sets the "XX" bits of the methods that have them.
int ExpandedBits(SymbolRecord& rec, const std::uint8_t* s, std::size_t n, std::string& bits) {
    const int method = EncodationMethod(s, n);
    static const char* const kPrefix[15] = {"",        "1XX",     "00XX",    "0100",    "0101",
                                            "01100XX", "01101XX", "0111000", "0111001", "0111010",
                                            "0111011", "0111100", "0111101", "0111110", "0111111"};
    // Methods 7 to 14 compress the date too; 7 and 8 also stand for the weight alone.
    static const std::size_t kCompressed[15] = {0, 16, 0, 26, 26, 20, 23, 34, 34, 34, 34, 34, 34, 34, 34};
    std::size_t compressed = kCompressed[method];
    if ((method == 7 || method == 8) && n == 26) compressed = 26;
    const std::size_t xx = bits.size() + std::strlen(kPrefix[method]) - 2;
    bits += kPrefix[method];
    if (!AllDigits(s, 0, compressed)) return Fail(rec, kInvalidData, "Invalid characters in input data");
    CompressedFields(bits, s, n, method);

    const std::uint8_t* g = s + compressed;
    const std::size_t gn = n - compressed;
    for (std::size_t i = 0; i < gn; ++i)
        if (!ClassOf(g[i])) return Fail(rec, kInvalidData, "Invalid characters in input data");
    Mode current = Mode::Numeric;
    GeneralPurposeField(bits, g, gn, current);
    if (bits.size() > kMaxBits) return Fail(rec, kDataTooLong, "Input too long");

    const int r = Remainder(bits.size());
    std::string pad = current == Mode::Numeric ? "0000" : "";
    while (pad.size() < static_cast<std::size_t>(r)) pad += "00100";
    bits += pad.substr(0, static_cast<std::size_t>(r));
    if (method == 1 || method == 2 || method == 5 || method == 6) {
        bits[xx] = (bits.size() / 12) % 2 == 0 ? '1' : '0';
        bits[xx + 1] = bits.size() > 156 ? '1' : '0';
    }
    return kSuccess;
}

void CharacterWidths(int value, int* widths) {
    int group = 0;
    for (int k = 1; k < 5; ++k) group += value >= kGroups[k].gsum;
    const Group& gr = kGroups[group];
    const int v = value - gr.gsum;
    DatabarWidths(v / gr.t, gr.oddModules, 4, gr.widestOdd, 0);
    const int* w = DatabarWidthsResult();
    for (int i = 0; i < 4; ++i) widths[2 * i] = w[i];
    DatabarWidths(v % gr.t, gr.evenModules, 4, gr.widestEven, 1);
    for (int i = 0; i < 4; ++i) widths[2 * i + 1] = w[i];
}

// Separator modules over (or under) a row: the complement of the row, alternating under
// the spaces of each finder, clear in the first and last four columns.
std::vector<int> Separator(const std::vector<int>& row, const std::vector<std::pair<int, int>>& finders) {
    std::vector<int> sep(row.size());
    for (std::size_t c = 0; c < row.size(); ++c) sep[c] = !row[c];
    for (const auto& [from, to] : finders) {
        for (int c = from; c < to;) {
            if (!row[static_cast<std::size_t>(c)]) {
                int k = c + 1, v = 0;
                for (; k < to && !row[static_cast<std::size_t>(k)]; ++k, v ^= 1) sep[static_cast<std::size_t>(k)] = v;
                c = k;
            } else {
                ++c;
            }
        }
    }
    for (std::size_t c = 0; c < row.size() && c < 4; ++c) sep[c] = sep[row.size() - 1 - c] = 0;
    return sep;
}

// The 12-bit values of the data characters and their element widths.
std::vector<std::array<int, 8>> DataCharacterWidths(const std::string& bits) {
    const std::size_t d = bits.size() / 12;
    std::vector<std::array<int, 8>> widths(d);
    for (std::size_t i = 0; i < d; ++i) {
        int value = 0;
        for (std::size_t b = 0; b < 12; ++b) value = value * 2 + (bits[12 * i + b] - '0');
        CharacterWidths(value, widths[i].data());
    }
    return widths;
}

// The check character's widths; the weights of a data character follow from the
// finder beside it and its side.
void CheckCharacterWidths(const std::vector<std::array<int, 8>>& widths, const int* sequence, int* checkWidths) {
    const int d = static_cast<int>(widths.size());
    int checksum = 0;
    for (int i = 0; i < d; ++i) {
        const int v = sequence[(i + 1) / 2];
        const int row = i % 2 == 1 ? 2 * v - 3 : 2 * v - 2;
        int weight = 1;
        for (int k = 0; k < 8 * row; ++k) weight = weight * 3 % 211;
        for (int j = 0; j < 8; ++j, weight = weight * 3 % 211) checksum += widths[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] * weight;
    }
    CharacterWidths(211 * (d - 3) + checksum % 211, checkWidths);
}

// Guards, the check character, then blocks of a finder and two data characters (the
// left one reversed).
std::vector<int> ElementSequence(const std::vector<std::array<int, 8>>& widths, const int* sequence, int finders) {
    const int d = static_cast<int>(widths.size());
    int checkWidths[8];
    CheckCharacterWidths(widths, sequence, checkWidths);
    const int count = 5 * finders + 8 * (d + 1) + 4;
    std::vector<int> e(static_cast<std::size_t>(count));
    e[0] = e[1] = e[static_cast<std::size_t>(count - 1)] = e[static_cast<std::size_t>(count - 2)] = 1;
    for (int k = 0; k < finders; ++k) {
        const int f = sequence[k] - 1;
        for (int j = 0; j < 5; ++j)
            e[static_cast<std::size_t>(21 * k + 10 + j)] = kFinders[f / 2][f % 2 == 0 ? j : 4 - j];
    }
    for (int j = 0; j < 8; ++j) e[static_cast<std::size_t>(2 + j)] = checkWidths[j];
    for (int i = 0; i < d; ++i)
        for (int j = 0; j < 8; ++j) {
            const int at = i % 2 == 1 ? 21 * ((i - 1) / 2) + 23 + j : 21 * (i / 2) + 15 + 7 - j;
            e[static_cast<std::size_t>(at)] = widths[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
        }
    return e;
}

// Expanded, one row; the readable text is the data as given.
void WriteExpanded(SymbolRecord& rec, const std::vector<int>& e, const std::uint8_t* data, std::size_t length) {
    const int count = static_cast<int>(e.size());
    for (int i = 0; i < count; ++i)
        rec.fontText[i] = static_cast<char>(i % 2 == 0 ? '0' + e[static_cast<std::size_t>(i)] : '@' + e[static_cast<std::size_t>(i)]);
    rec.fontText[count] = 0;
    std::size_t k = 0;
    for (; k < length && k < sizeof rec.readableText - 1; ++k) rec.readableText[k] = data[k];
    rec.readableText[k] = 0;
    rec.rows = 1;
    rec.width = count;
}

// One row of Expanded Stacked: its modules and the module ranges of its finders.
struct StackedRow {
    std::vector<int> modules;
    std::vector<std::pair<int, int>> finders;
};

// Row r of `rowCount`, holding blocks `first` to `last` - 1 of `blocks`; even rows of
// an even number of blocks a row run right to left.
StackedRow BuildStackedRow(const std::vector<int>& e, int r, int rowCount, int pairs, int blocks) {
    const int count = static_cast<int>(e.size());
    const int first = r * pairs;
    const int last = std::min(blocks, first + pairs);
    // Elements of this row's blocks in symbol order.
    std::vector<int> content;
    std::vector<bool> isFinder;
    const int from = 2 + 21 * first;
    const int to = std::min(count - 2, 2 + 21 * last);
    for (int i = from; i < to; ++i) {
        content.push_back(i);
        const int inBlock = (i - 2) % 21;
        isFinder.push_back(inBlock >= 8 && inBlock < 13);
    }
    const bool evenRow = r % 2 == 1;
    const bool partialOdd = r == rowCount - 1 && (rowCount * pairs - blocks) % 2 == 1;
    const bool reversed = pairs % 2 == 0 && evenRow && !partialOdd;
    if (reversed) {
        std::reverse(content.begin(), content.end());
        std::reverse(isFinder.begin(), isFinder.end());
    }
    // Colours come from each element's place in the symbol; the guards contrast.
    const bool firstBar = content[0] % 2 == 1;
    StackedRow out;
    std::vector<int>& row = out.modules;
    std::vector<std::pair<int, int>>& fc = out.finders;
    if (pairs % 2 == 0 && evenRow && partialOdd) row.push_back(0);  // one module to the right
    row.push_back(firstBar ? 1 : 0);
    row.push_back(firstBar ? 0 : 1);
    for (std::size_t k = 0; k < content.size(); ++k) {
        const int start = static_cast<int>(row.size());
        for (int w = 0; w < e[static_cast<std::size_t>(content[k])]; ++w) row.push_back(content[k] % 2);
        if (isFinder[k]) {
            if (!fc.empty() && fc.back().second == start) fc.back().second = static_cast<int>(row.size());
            else fc.push_back({start, static_cast<int>(row.size())});
        }
    }
    const int lastColour = row.back();
    row.push_back(!lastColour);
    row.push_back(lastColour);
    return out;
}

// The rows as lines of glyphs: the first row alone, every later one with the separators
// between it and the row above.
void WriteStackedRows(SymbolRecord& rec, std::vector<StackedRow>& rows, std::size_t width) {
    char* out = rec.fontText;
    std::vector<int> under;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<int>& row = rows[r].modules;
        const std::size_t used = row.size();
        row.resize(width, 0);
        std::vector<int> over = Separator(row, rows[r].finders);
        for (std::size_t c = used; c < width; ++c) over[c] = 0;
        for (std::size_t c = 0; c < width; ++c) {
            if (r == 0) {
                *out++ = row[c] ? 'A' : '1';
                continue;
            }
            const int t = under[c], b = over[c];
            const int m = c >= 4 && c + 4 < width && c % 2 == 1;
            static const char kBar[] = "AWXY";
            static const char kSpace[] = "1PQSRTUV";
            *out++ = row[c] ? kBar[t * 2 + m] : kSpace[t * 4 + m * 2 + b];
        }
        *out++ = '\n';
        under = over;
        for (std::size_t c = used; c < width; ++c) under[c] = 0;
    }
    *out = 0;
}

// Expanded Stacked, blocks of a finder and its two characters, `option2` to a row.
int WriteExpandedStacked(SymbolRecord& rec, const std::vector<int>& e, int finders) {
    const int pairs = rec.option2 >= 1 && rec.option2 <= 10 ? rec.option2 : 2;
    const int blocks = finders;
    const int rowCount = (blocks + pairs - 1) / pairs;
    std::vector<StackedRow> rows;
    std::size_t width = 0;
    for (int r = 0; r < rowCount; ++r) {
        rows.push_back(BuildStackedRow(e, r, rowCount, pairs, blocks));
        width = std::max(width, rows.back().modules.size());
    }
    if (static_cast<std::size_t>(rowCount) * (width + 1) + 1 > kFontTextSize)
        return Fail(rec, kDataTooLong, "Input too long");
    WriteStackedRows(rec, rows, width);
    rec.rows = rowCount;
    rec.width = static_cast<int>(width);
    return kSuccess;
}

}  // namespace

int EncodeDatabarExpanded(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    // The verification counts fields up to a NUL: work on a terminated copy.
    std::vector<std::uint8_t> text(data, data + length);
    text.push_back(0);
    std::vector<std::uint8_t> reduced(2 * length + 2);
    if (int r = VerifyGS1Data(rec, text.data(), length, reduced.data())) return r;
    const std::size_t n = std::strlen(reinterpret_cast<const char*>(reduced.data()));
    if (n == 0) return Fail(rec, kInvalidData, "Invalid characters in input data");
    std::string bits = "0";
    if (int r = ExpandedBits(rec, reduced.data(), n, bits)) return r;

    const std::vector<std::array<int, 8>> widths = DataCharacterWidths(bits);
    const int d = static_cast<int>(widths.size());
    const int finders = (d + 1) / 2 + (d + 1) % 2;
    const std::vector<int> e = ElementSequence(widths, kSequences[finders - 2], finders);
    if (rec.symbology != Numbers(call.build()).databarExpandedStacked) {
        WriteExpanded(rec, e, data, length);
        return kSuccess;
    }
    return WriteExpandedStacked(rec, e, finders);
}

}  // namespace matrix
