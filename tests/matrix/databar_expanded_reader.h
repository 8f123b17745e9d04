// Test-side reader of GS1 DataBar Expanded, written from ISO/IEC 24724: the module pattern of
// a one-row symbol back to its elements and symbol characters, the finder sequence and the
// check character verified, the data characters joined into the binary string, and the
// binary string decoded through its encodation method to bracketed GS1 data.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "matrix/databar_font.h"

namespace databar_reader {

struct Expanded {
    std::string bits;          // the binary string, linkage flag first, padding included
    int method = 0;            // encodation method, 1 to 14 (7 to 14 the "0111xxx" methods)
    std::size_t dataBits = 0;  // bits up to the end of the data, before the padding
    std::string text;          // the data, bracketed
    std::string error;         // why the symbol could not be read; empty when it was
};

namespace detail {

inline long long Combinations(int n, int r) {
    if (r < 0 || n < r) return 0;
    long long v = 1;
    for (int i = 1; i <= r; ++i) v = v * (n - r + i) / i;
    return v;
}

// The value of one subset's element widths: the count of the width combinations that come
// before it, under the subset's widest element and (noNarrow 0) the rule that a combination
// must hold a one-module element.
inline int SubsetValue(const int* widths, int elements, int widest, int noNarrow) {
    int n = 0;
    for (int i = 0; i < elements; ++i) n += widths[i];
    long long value = 0;
    int narrowMask = 0;
    for (int bar = 0; bar < elements - 1; ++bar) {
        int width = 1;
        for (narrowMask |= 1 << bar; width < widths[bar]; ++width, narrowMask &= ~(1 << bar)) {
            long long sub = Combinations(n - width - 1, elements - bar - 2);
            if (!noNarrow && narrowMask == 0 && n - width - (elements - bar - 1) >= elements - bar - 1)
                sub -= Combinations(n - width - (elements - bar), elements - bar - 2);
            if (elements - bar - 1 > 1) {
                long long less = 0;
                for (int widestHere = n - width - (elements - bar - 2); widestHere > widest; --widestHere)
                    less += Combinations(n - width - widestHere - 1, elements - bar - 3);
                sub -= less * (elements - 1 - bar);
            } else if (n - width > widest) {
                --sub;
            }
            value += sub;
        }
        n -= width;
    }
    return static_cast<int>(value);
}

// The 12-bit value of a symbol character from its eight widths in its own reading order
// (odd elements first of each pair); -1 when they form no character.
inline int CharacterValue(const int* w) {
    static const int kGsum[5] = {0, 348, 1388, 2948, 3988}, kT[5] = {4, 20, 52, 104, 204};
    static const int kOddModules[5] = {12, 10, 8, 6, 4};
    static const int kWidestOdd[5] = {7, 5, 4, 3, 1}, kWidestEven[5] = {2, 4, 5, 6, 8};
    int odd[4], even[4], oddSum = 0, evenSum = 0;
    for (int k = 0; k < 4; ++k) {
        odd[k] = w[2 * k], even[k] = w[2 * k + 1];
        oddSum += odd[k], evenSum += even[k];
    }
    if (oddSum + evenSum != 17) return -1;
    for (int g = 0; g < 5; ++g) {
        if (kOddModules[g] != oddSum) continue;
        for (int k = 0; k < 4; ++k)
            if (odd[k] > kWidestOdd[g] || even[k] > kWidestEven[g]) return -1;
        const int vOdd = SubsetValue(odd, 4, kWidestOdd[g], 0);
        const int vEven = SubsetValue(even, 4, kWidestEven[g], 1);
        if (vEven >= kT[g]) return -1;
        const int value = kGsum[g] + vOdd * kT[g] + vEven;
        return value < (g < 4 ? kGsum[g + 1] : 4096) ? value : -1;
    }
    return -1;
}

// Finder number of five widths read left to right: 2k + 1 for pattern k (A to F) as
// published, 2k + 2 for it reversed; 0 for none.
inline int FinderNumber(const int* w) {
    static const int kPatterns[6][5] = {{1, 8, 4, 1, 1}, {3, 6, 4, 1, 1}, {3, 4, 6, 1, 1},
                                        {3, 2, 8, 1, 1}, {2, 6, 5, 1, 1}, {2, 2, 9, 1, 1}};
    for (int k = 0; k < 6; ++k) {
        bool as = true, reversed = true;
        for (int j = 0; j < 5; ++j) {
            as = as && w[j] == kPatterns[k][j];
            reversed = reversed && w[j] == kPatterns[k][4 - j];
        }
        if (as) return 2 * k + 1;
        if (reversed) return 2 * k + 2;
    }
    return 0;
}

// The published finder sequences by their number of finders (2 to 11), as letters: "A1" is
// pattern A as written, "A2" reversed.
inline std::vector<int> FinderSequence(std::size_t finders) {
    static const char* const kSequences[10] = {
        "A1A2",         "A1B2B1",         "A1C2B1D2",         "A1E2B1D2C1",
        "A1E2B1D2D1F2", "A1E2B1D2E1F2F1", "A1A2B1B2C1C2D1D2", "A1A2B1B2C1C2D1E2E1",
        "A1A2B1B2C1C2D1E2F1F2", "A1A2B1B2C1D2D1E2E1F2F1"};
    std::vector<int> out;
    if (finders < 2 || finders > 11) return out;
    for (const char* p = kSequences[finders - 2]; *p; p += 2) out.push_back(2 * (p[0] - 'A') + (p[1] - '0'));
    return out;
}

class BitReader {
public:
    explicit BitReader(const std::string& bits) : bits_(bits) {}
    std::size_t left() const { return bits_.size() - at_; }
    std::size_t at() const { return at_; }
    int Peek(std::size_t n) const {
        int v = 0;
        for (std::size_t i = 0; i < n; ++i) v = v * 2 + (bits_[at_ + i] - '0');
        return v;
    }
    int Read(std::size_t n) {
        const int v = Peek(n);
        at_ += n;
        return v;
    }

private:
    const std::string& bits_;
    std::size_t at_ = 0;
};

inline std::string Padded(int value, int digits) {
    std::string s = std::to_string(value);
    return std::string(digits > static_cast<int>(s.size()) ? digits - s.size() : 0, '0') + s;
}

// "01" and the GTIN: `first` then four 10-bit groups of three digits, then the check digit.
inline std::string Gtin(BitReader& r, int first) {
    std::string digits = std::to_string(first);
    for (int g = 0; g < 4; ++g) digits += Padded(r.Read(10), 3);
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += (digits[static_cast<std::size_t>(i)] - '0') * (i % 2 == 0 ? 3 : 1);
    return "01" + digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

constexpr char kFnc1 = '\x1d';

// The general-purpose field: numeric, alphanumeric and ISO/IEC 646 encodation with their
// latches, until the bits run out or only padding is left. Returns false on a code that no
// encodation has.
inline bool GeneralPurpose(BitReader& r, std::string& out, std::size_t& dataEnd) {
    enum { Numeric, Alpha, Iso } mode = Numeric;
    dataEnd = r.at();
    for (;;) {
        if (mode == Numeric) {
            if (r.left() < 4) return true;
            if (r.Peek(4) == 0) {  // latch to alphanumeric (or padding)
                r.Read(4);
                mode = Alpha;
                continue;
            }
            if (r.left() < 7) {  // a last digit alone
                const int v = r.Read(4);
                if (v > 10) return false;
                out += static_cast<char>('0' + v - 1);
                dataEnd = r.at();
                return true;
            }
            const int v = r.Read(7) - 8;
            const int a = v / 11, b = v % 11;
            if (a == 10 && b == 10) return false;
            out += a == 10 ? kFnc1 : static_cast<char>('0' + a);
            out += b == 10 ? kFnc1 : static_cast<char>('0' + b);
            dataEnd = r.at();
            continue;
        }
        if (r.left() < 3) return true;
        if (r.Peek(3) == 0) {  // latch to numeric
            r.Read(3);
            mode = Numeric;
            continue;
        }
        if (r.left() < 5) return true;
        const int five = r.Peek(5);
        if (five == 4) {  // latch between alphanumeric and ISO/IEC 646
            r.Read(5);
            mode = mode == Alpha ? Iso : Alpha;
            continue;
        }
        if (five >= 5 && five <= 15) {
            r.Read(5);
            if (five == 15) {
                out += kFnc1;
                mode = Numeric;  // an FNC1 returns to numeric encodation
            } else {
                out += static_cast<char>('0' + five - 5);
            }
            dataEnd = r.at();
            continue;
        }
        if (mode == Alpha) {
            if (r.left() < 6) return true;
            const int v = r.Read(6);
            if (v >= 32 && v <= 57) out += static_cast<char>('A' + v - 32);
            else if (v >= 58 && v <= 62) out += "*,-./"[v - 58];
            else return false;
            dataEnd = r.at();
            continue;
        }
        if (r.left() < 7) return true;
        if (r.Peek(7) < 116) {
            const int v = r.Read(7);
            if (v >= 64 && v <= 89) out += static_cast<char>('A' + v - 64);
            else if (v >= 90 && v <= 115) out += static_cast<char>('a' + v - 90);
            else return false;
        } else {
            if (r.left() < 8) return true;
            const int v = r.Read(8);
            static const char kPunctuation[] = "!\"%&'()*+,-./:;<=>?_ ";
            if (v < 232 || v > 252) return false;
            out += kPunctuation[v - 232];
        }
        dataEnd = r.at();
    }
}

// Element string to bracketed data: the AI's digit count and fixed data length (0: variable,
// ended by FNC1 or the end) follow from its first two digits.
inline std::optional<std::string> Bracketed(const std::string& s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == kFnc1) {
            ++i;
            continue;
        }
        if (i + 2 > s.size() || s[i] < '0' || s[i] > '9' || s[i + 1] < '0' || s[i + 1] > '9')
            return std::nullopt;
        const int lead = (s[i] - '0') * 10 + (s[i + 1] - '0');
        int digits = 0, fixed = 0;
        if (lead == 0) digits = 2, fixed = 18;
        else if (lead >= 1 && lead <= 3) digits = 2, fixed = 14;
        else if (lead == 4) digits = 2, fixed = 16;
        else if (lead >= 11 && lead <= 19) digits = 2, fixed = 6;
        else if (lead == 20) digits = 2, fixed = 2;
        else if (lead >= 31 && lead <= 36) digits = 4, fixed = 6;
        else if (lead == 41) digits = 3, fixed = 13;
        else if (lead == 10 || lead == 21 || lead == 22 || lead == 30 || lead == 37 || lead >= 90) digits = 2;
        else if (lead == 24 || lead == 25 || lead == 40 || lead == 42 || lead == 71) digits = 3;
        else if (lead == 39 || lead == 43 || lead == 70 || lead == 72 || (lead >= 80 && lead <= 82)) digits = 4;
        else return std::nullopt;
        if (i + static_cast<std::size_t>(digits) > s.size()) return std::nullopt;
        out += "(" + s.substr(i, static_cast<std::size_t>(digits)) + ")";
        i += static_cast<std::size_t>(digits);
        std::size_t end = fixed ? i + static_cast<std::size_t>(fixed) : s.find(kFnc1, i);
        if (end == std::string::npos) end = s.size();
        if (end > s.size()) return std::nullopt;
        out += s.substr(i, end - i);
        i = end;
    }
    return out;
}

// The binary string through its encodation method.
inline void DecodeBits(Expanded& x) {
    BitReader r(x.bits);
    std::string data;
    r.Read(1);  // linkage flag
    bool general = true, xx = false;
    if (r.Read(1) == 1) {
        x.method = 1;
        xx = true;
    } else if (r.Read(1) == 0) {
        x.method = 2;
        xx = true;
    } else if (r.Read(1) == 0) {
        x.method = 3 + r.Read(1);
    } else if (r.Read(1) == 0) {
        x.method = 5 + r.Read(1);
        xx = true;
    } else {
        x.method = 7 + r.Read(3);
    }
    if (xx) {
        const std::size_t characters = x.bits.size() / 12;
        const int even = r.Read(1), large = r.Read(1);
        if (even != (characters % 2 == 0 ? 1 : 0) || large != (x.bits.size() > 156 ? 1 : 0)) {
            x.error = "variable-length bits do not match the symbol";
            return;
        }
    }
    if (x.method == 1) data = Gtin(r, r.Read(4));
    if (x.method >= 3) data = Gtin(r, 9);
    if (x.method == 3) {
        data += "3103" + Padded(r.Read(15), 6);
        general = false;
    } else if (x.method == 4) {
        const int w = r.Read(15);
        data += w < 10000 ? "3202" + Padded(w, 6) : "3203" + Padded(w - 10000, 6);
        general = false;
    } else if (x.method == 5) {
        data += "392" + std::to_string(r.Read(2));
    } else if (x.method == 6) {
        data += "393" + std::to_string(r.Read(2));
        data += Padded(r.Read(10), 3);
    } else if (x.method >= 7) {
        const int w = r.Read(20);
        data += (x.method % 2 == 1 ? "310" : "320") + std::to_string(w / 100000) + Padded(w % 100000, 6);
        const int date = r.Read(16);
        if (date != 38400) {
            static const char* const kDateAi[4] = {"11", "13", "15", "17"};
            data += kDateAi[(x.method - 7) / 2];
            data += Padded(date / 384, 2) + Padded(date / 32 % 12 + 1, 2) + Padded(date % 32, 2);
        }
        general = false;
    }
    x.dataBits = r.at();
    if (general) {
        std::string field;
        if (!GeneralPurpose(r, field, x.dataBits)) {
            x.error = "no such general-purpose code";
            return;
        }
        data += field;
    } else {
        // Nothing follows these methods' fields but padding.
        std::string pad = "0000";
        while (pad.size() < r.left()) pad += "00100";
        if (x.bits.compare(r.at(), std::string::npos, pad, 0, r.left()) != 0) {
            x.error = "data after a compressed method's fields";
            return;
        }
    }
    const auto text = Bracketed(data);
    if (!text) {
        x.error = "element string without its application identifiers";
        return;
    }
    x.text = *text;
}

}  // namespace detail

// Reads the elements of a one-row symbol, from its left guard to its right guard.
inline Expanded ReadElements(const std::vector<int>& e) {
    using namespace detail;
    Expanded x;
    const std::size_t count = e.size();
    // 4 guard elements, 8 per symbol character, 5 per finder: a pair of characters and its finder
    // take 21 elements, the last pair may lack its right character.
    if (count < 4 + 21 || e[0] != 1 || e[1] != 1 || e[count - 1] != 1 || e[count - 2] != 1) {
        x.error = "no guards";
        return x;
    }
    const std::size_t inner = count - 4;
    std::size_t characters = 0;
    if (inner % 21 == 0) characters = inner / 21 * 2;
    else if (inner % 21 == 13) characters = inner / 21 * 2 + 1;
    else {
        x.error = "element count of no symbol size";
        return x;
    }
    const std::size_t finders = (characters + 1) / 2;
    const std::vector<int> sequence = FinderSequence(finders);
    if (characters < 4 || sequence.empty()) {
        x.error = "symbol size out of range";
        return x;
    }
    for (std::size_t k = 0; k < finders; ++k)
        if (FinderNumber(&e[21 * k + 10]) != sequence[k]) {
            x.error = "finder " + std::to_string(k) + " out of sequence";
            return x;
        }
    // Symbol character c: pair c / 2; the left one read left to right, the right one right to left.
    std::vector<int> values;
    std::vector<std::vector<int>> widths;
    for (std::size_t c = 0; c < characters; ++c) {
        std::vector<int> w(8);
        for (std::size_t j = 0; j < 8; ++j)
            w[j] = c % 2 == 0 ? e[21 * (c / 2) + 2 + j] : e[21 * (c / 2) + 15 + 7 - j];
        const int v = CharacterValue(w.data());
        if (v < 0) {
            x.error = "symbol character " + std::to_string(c) + " unreadable";
            return x;
        }
        values.push_back(v);
        widths.push_back(w);
    }
    // Checksum weights: row 2f - 3 for the left and 2f - 2 for the right character beside
    // finder number f (the check character, left of the first finder, has none); the rows
    // run on through the powers of 3 modulo 211.
    int checksum = 0;
    for (std::size_t c = 1; c < characters; ++c) {
        const int f = sequence[c / 2];
        const int row = c % 2 == 0 ? 2 * f - 3 : 2 * f - 2;
        int weight = 1;
        for (int k = 0; k < 8 * row; ++k) weight = weight * 3 % 211;
        for (int j = 0; j < 8; ++j, weight = weight * 3 % 211) checksum += widths[c][static_cast<std::size_t>(j)] * weight;
    }
    const int data = static_cast<int>(characters) - 1;
    if (values[0] != 211 * (data - 3) + checksum % 211) {
        x.error = "check character does not match";
        return x;
    }
    for (std::size_t c = 1; c < characters; ++c)
        for (int b = 11; b >= 0; --b) x.bits += (values[c] >> b) & 1 ? '1' : '0';
    detail::DecodeBits(x);
    return x;
}

// Elements of a row of modules (true for a bar), from its first module.
inline std::vector<int> Runs(const testing_support::Modules& m) {
    std::vector<int> e;
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (i == 0 || m[i] != m[i - 1]) e.push_back(0);
        ++e.back();
    }
    return e;
}

// One-row Expanded font text read from its module pattern.
inline Expanded ReadOneRow(std::string_view fontText) {
    const auto modules = databar_font::ElementsToModules(fontText, 'A');
    if (!modules || modules->empty() || (*modules)[0]) {
        Expanded x;
        x.error = "font text of no one-row symbol";
        return x;
    }
    return ReadElements(Runs(*modules));
}

// Expanded Stacked font text: each row's segments found between its guards, turned to
// symbol order (rows read right to left where the finders say so), joined, and read as one
// row. A row's guards are single modules, but the row may lie one module to the right and
// its end runs on into the empty columns, so the element runs are tried with one more or
// fewer at either end; of the readings whose finders stand where the symbol's size puts
// them, the one whose check character holds is taken.
inline Expanded ReadStacked(std::string_view fontText, int rowHeight = 34) {
    using namespace detail;
    Expanded failed;
    const auto rows = databar_font::LinesToRows(fontText, rowHeight);
    if (!rows) {
        failed.error = "font text of no stacked symbol";
        return failed;
    }
    // Each data row's possible contents: element widths in reading order, with the colour of
    // the first (true for a bar).
    struct Content {
        std::vector<int> widths;
        bool firstBar;
    };
    std::vector<std::vector<Content>> rowContents;
    std::size_t elements = 0;
    for (std::size_t r = 0; r < rows->rows.size(); r += 4) {
        const auto& m = rows->rows[r];
        std::vector<int> runs = Runs(m);
        std::vector<bool> colour;
        for (std::size_t i = 0, at = 0; i < runs.size(); at += static_cast<std::size_t>(runs[i]), ++i)
            colour.push_back(m[at]);
        std::vector<Content> found;
        for (std::size_t lead : {2u, 3u})
            for (std::size_t trail : {2u, 3u}) {
                if (runs.size() < lead + trail + 13) continue;
                const std::size_t n = runs.size() - lead - trail;
                if (n % 21 != 0 && n % 21 != 13) continue;
                // Left guard: single modules (after an empty column when the row is shifted).
                const bool shiftedSpace = lead == 2 && !colour[0] && runs[0] == 2;
                if (runs[lead - 1] != 1 || (runs[lead - 2] != 1 && !shiftedSpace) || (lead == 3 && colour[0]))
                    continue;
                if (runs[lead + n] != 1 || (trail == 3 && colour.back())) continue;
                found.push_back({std::vector<int>(runs.begin() + static_cast<long>(lead),
                                                  runs.begin() + static_cast<long>(lead + n)),
                                 static_cast<bool>(colour[lead])});
            }
        if (found.empty()) {
            failed.error = "row " + std::to_string(r / 4) + " has no segments";
            return failed;
        }
        elements += found[0].widths.size();
        rowContents.push_back(found);
    }
    const std::size_t blocks = (elements + 20) / 21;
    const std::vector<int> sequence = FinderSequence(blocks);
    if (sequence.empty()) {
        failed.error = "symbol size out of range";
        return failed;
    }
    // Readings row by row: each content forward or reversed, its finders where the sequence
    // puts them and its first element of the colour its place in the symbol gives.
    Expanded best = failed;
    best.error = "no reading of the rows holds";
    std::vector<int> joined;
    auto search = [&](auto&& self, std::size_t row, std::size_t block) -> bool {
        if (row == rowContents.size()) {
            std::vector<int> e = {1, 1};
            e.insert(e.end(), joined.begin(), joined.end());
            e.push_back(1);
            e.push_back(1);
            Expanded x = ReadElements(e);
            if (!x.error.empty()) return false;
            best = x;
            return true;
        }
        for (const Content& c : rowContents[row])
            for (bool reversed : {false, true}) {
                std::vector<int> w = c.widths;
                bool firstBar = c.firstBar;
                if (reversed) {
                    std::reverse(w.begin(), w.end());
                    firstBar = c.firstBar == (w.size() % 2 == 1);
                }
                const std::size_t count = (w.size() + 20) / 21;
                if (block + count > sequence.size() || firstBar != (block % 2 == 1)) continue;
                bool fits = true;
                for (std::size_t k = 0; k < count && fits; ++k)
                    fits = FinderNumber(&w[21 * k + 8]) == sequence[block + k];
                if (!fits) continue;
                const std::size_t size = joined.size();
                joined.insert(joined.end(), w.begin(), w.end());
                if (self(self, row + 1, block + count)) return true;
                joined.resize(size);
            }
        return false;
    };
    search(search, 0, 0);
    return best;
}

}  // namespace databar_reader
