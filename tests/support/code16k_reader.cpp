#include "support/code16k_reader.h"

namespace testing_support {

namespace {

constexpr int kStart[16] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};
constexpr int kStop[16] = {0, 1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7, 0, 1, 2, 3};

// The general table: value 0 is 224, 1..95 are 33..127, 96..106 are 226..236.
int GeneralValue(char16_t g) {
    if (g == 224) return 0;
    if (g >= 33 && g <= 127) return g - 32;
    if (g >= 226 && g <= 236) return g - 226 + 96;
    return -1;
}
// The server's set A table: 32..95 values 0..63, 220 value 64, 1..31 values 65..95.
int SetAValue(char16_t g) {
    if (g >= 32 && g <= 95) return g - 32;
    if (g == 220) return 64;
    if (g >= 1 && g <= 31) return g + 64;
    if (g >= 226 && g <= 236) return g - 226 + 96;
    return -1;
}

bool Fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

}  // namespace

std::optional<Code16kReading> ReadCode16k(std::u16string_view t, Code16kGlyphs glyphs, std::string* why) {
    Code16kReading r;
    // Rows: 0xFE, start, five glyphs, stop, 0xFF, line end; then the trailer.
    std::vector<std::u16string_view> rowGlyphs;
    std::size_t p = 0;
    while (p < t.size() && t[p] == 0xFE) {
        if (p + 9 > t.size()) return Fail(why, "short row"), std::nullopt;
        const int row = static_cast<int>(rowGlyphs.size());
        if (row >= 16) return Fail(why, "more than 16 rows"), std::nullopt;
        if (t[p + 1] != 0xED + kStart[row] || t[p + 7] != 0xF5 + kStop[row] || t[p + 8] != 0xFF)
            return Fail(why, "row indicator of row " + std::to_string(row + 1)), std::nullopt;
        rowGlyphs.push_back(t.substr(p + 2, 5));
        p += 9;
        if (p < t.size() && t[p] == u'\r') ++p;
        if (p >= t.size() || t[p] != u'\n') return Fail(why, "row without line end"), std::nullopt;
        ++p;
    }
    if (t.substr(p) != std::u16string(7, char16_t{0xFD}) + char16_t{0xE1})
        return Fail(why, "trailer"), std::nullopt;
    r.rows = static_cast<int>(rowGlyphs.size());
    if (r.rows < 2) return Fail(why, "fewer than two rows"), std::nullopt;
    const std::size_t total = static_cast<std::size_t>(r.rows) * 5;
    std::u16string all;
    for (auto g : rowGlyphs) all += g;

    // The first character: row count and start mode.
    const int first = GeneralValue(all[0]);
    if (first < 0) return Fail(why, "first character"), std::nullopt;
    if (first / 7 + 2 != r.rows) return Fail(why, "announced rows " + std::to_string(first / 7 + 2) + ", written " + std::to_string(r.rows)), std::nullopt;
    r.mode = first % 7;
    r.values.assign(total, -1);
    r.values[0] = first;
    r.values[total - 2] = GeneralValue(all[total - 2]);
    r.values[total - 1] = GeneralValue(all[total - 1]);

    // Data, with the glyph table of the set in force when the server's font is read.
    char set = "ABCBCCC"[r.mode];
    int leadingB = r.mode == 5 ? 1 : r.mode == 6 ? 2 : 0;
    if (leadingB) set = 'B';
    if (r.mode == 3 || r.mode == 4) {
        ++r.fnc1;
        r.fnc1At.push_back(0);
    }
    bool latched = false, pending = false, lastFnc4 = false;
    bool shifted = false;
    bool padding = false;
    for (std::size_t i = 1; i + 2 < total; ++i) {
        const char in = shifted ? (set == 'A' ? 'B' : 'A') : set;
        const int v = glyphs == Code16kGlyphs::Server && in == 'A' && !padding ? SetAValue(all[i]) : GeneralValue(all[i]);
        if (v < 0) return Fail(why, "unknown glyph at " + std::to_string(i)), std::nullopt;
        r.values[i] = v;
        if (v == 103) {  // pads end the data
            padding = true;
            continue;
        }
        if (padding) return Fail(why, "data after a pad"), std::nullopt;
        const bool wasShifted = shifted;
        shifted = false;
        bool fnc4 = false;
        if (in == 'C') {
            if (v < 100) {
                r.data += static_cast<char>('0' + v / 10);
                r.data += static_cast<char>('0' + v % 10);
            } else if (v == 100) {
                set = 'B';
            } else if (v == 101) {
                set = 'A';
            } else if (v == 102) {
                ++r.fnc1;
                r.fnc1At.push_back(r.data.size());
            } else {
                return Fail(why, "value " + std::to_string(v) + " in set C"), std::nullopt;
            }
        } else if (v < 96) {
            int c = in == 'A' ? (v < 64 ? v + 32 : v - 64) : v + 32;
            if (latched != pending) c += 128;
            pending = false;
            r.data += static_cast<char>(c);
        } else if (v == 98) {
            if (wasShifted) return Fail(why, "shift after shift"), std::nullopt;
            shifted = true;
        } else if (v == 99) {
            set = 'C';
        } else if ((v == 100 && in == 'B') || (v == 101 && in == 'A')) {
            fnc4 = true;
            if (lastFnc4) {  // two in a row: extended mode on or off
                latched = !latched;
                pending = false;
                fnc4 = false;
            } else {
                pending = true;
            }
        } else if (v == 100 || v == 101) {
            set = v == 100 ? 'B' : 'A';
        } else if (v == 102) {
            ++r.fnc1;
            r.fnc1At.push_back(r.data.size());
        } else if (v != 96 && v != 97) {
            return Fail(why, "value " + std::to_string(v) + " in set " + std::string(1, in)), std::nullopt;
        }
        lastFnc4 = fnc4;
        if (leadingB && in == 'B' && !wasShifted && --leadingB == 0) set = 'C';
    }

    // Both checks over the values before them.
    const std::size_t n = total - 2;
    long c1 = 0, c2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        c1 += r.values[i] * static_cast<long>(i + 2);
        c2 += r.values[i] * static_cast<long>(i + 1);
    }
    c1 %= 107;
    c2 = (c2 + c1 * static_cast<long>(n + 1)) % 107;
    if (r.values[n] != c1) return Fail(why, "first check character"), std::nullopt;
    if (r.values[n + 1] != c2) return Fail(why, "second check character"), std::nullopt;
    return r;
}

}  // namespace testing_support
