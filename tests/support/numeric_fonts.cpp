#include "support/numeric_fonts.h"

#include "support/font_text.h"

#include <array>
#include <vector>

namespace testing_support {

namespace {

// Runs of a module row: widths of alternating bars and spaces, first a bar.
std::vector<int> Runs(const Modules& m) {
    std::vector<int> runs;
    std::size_t i = 0;
    while (i < m.size() && !m[i]) ++i;
    std::size_t end = m.size();
    while (end > i && !m[end - 1]) --end;
    while (i < end) {
        const bool v = m[i];
        int n = 0;
        while (i < end && m[i] == v) ++i, ++n;
        runs.push_back(n);
    }
    return runs;
}

std::string WideNarrow(const std::vector<int>& runs, std::size_t from, std::size_t n) {
    std::string s;
    for (std::size_t i = from; i < from + n && i < runs.size(); ++i) s += runs[i] > 1 ? '1' : '0';
    return s;
}

// Industrial 2 of 5 digit patterns (1 wide), for the reader.
constexpr std::array<std::string_view, 10> k25 = {"00110", "10001", "01001", "11000", "00101",
                                                  "10100", "01100", "00011", "10010", "01010"};

// Code 11 patterns, five elements from a bar; the last is the start/stop.
constexpr std::string_view kCode11Chars = "0123456789-*";
constexpr std::array<std::string_view, 12> kCode11 = {"00001", "10001", "01001", "11000",
                                                      "00101", "10100", "01100", "00011",
                                                      "10010", "10000", "00100", "00110"};

int Code11Value(char c) { return c == '-' ? 10 : c - '0'; }
char Code11Check(const std::string& d, int maxWeight) {
    int sum = 0, p = 0;
    for (auto it = d.rbegin(); it != d.rend(); ++it, ++p) sum += (p % maxWeight + 1) * Code11Value(*it);
    const int v = sum % 11;
    return v == 10 ? '-' : static_cast<char>('0' + v);
}

// Royal Mail: a row is the ascender pattern, a column the descender pattern.
constexpr std::array<std::string_view, 6> kRm4 = {"0011", "0101", "0110", "1001", "1010", "1100"};
constexpr std::string_view kRmChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

}  // namespace

std::optional<Modules> I25FontToModules(std::u16string_view fontText) {
    return FontTextModules("i25", fontText);
}

std::optional<Modules> CodabarFontToModules(std::u16string_view fontText) {
    return FontTextModules("codabar", fontText);
}

std::optional<Modules> Code11FontToModules(std::u16string_view fontText) {
    return FontTextModules("code11", fontText);
}

std::optional<std::string> ReadCode11(const Modules& modules) {
    const auto runs = Runs(modules);
    if (runs.size() % 6 != 5) return std::nullopt;
    std::string chars;
    for (std::size_t i = 0; i < runs.size(); i += 6) {
        if (i + 5 < runs.size() && runs[i + 5] != 1) return std::nullopt;  // narrow gap
        const std::string nw = WideNarrow(runs, i, 5);
        std::size_t v = 0;
        while (v < kCode11.size() && kCode11[v] != nw) ++v;
        if (v == kCode11.size()) return std::nullopt;
        chars += kCode11Chars[v];
    }
    if (chars.size() < 3 || chars.front() != '*' || chars.back() != '*') return std::nullopt;
    std::string data = chars.substr(1, chars.size() - 2);
    if (data.find('*') != std::string::npos) return std::nullopt;
    // K follows when data and C are longer than eleven characters.
    const bool hasK = data.size() >= 13;
    if (hasK) {
        const char k = data.back();
        data.pop_back();
        if (Code11Check(data, 9) != k) return std::nullopt;
    }
    const char c = data.back();
    data.pop_back();
    if (Code11Check(data, 10) != c) return std::nullopt;
    return data;
}

std::optional<Modules> Code25FontToModules(std::u16string_view fontText) {
    return FontTextModules("code25", fontText);
}

std::optional<std::string> ReadCode25(const Modules& modules) {
    const auto runs = Runs(modules);
    // Bars only carry data; every space is narrow.
    std::string bars;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (i % 2) {
            if (runs[i] != 1) return std::nullopt;
        } else {
            bars += runs[i] > 1 ? '1' : '0';
        }
    }
    if (bars.size() < 6 || (bars.size() - 6) % 5 || bars.substr(0, 3) != "110" ||
        bars.substr(bars.size() - 3) != "101")
        return std::nullopt;
    std::string digits;
    for (std::size_t i = 3; i + 3 < bars.size(); i += 5) {
        std::size_t v = 0;
        while (v < 10 && k25[v] != bars.substr(i, 5)) ++v;
        if (v == 10) return std::nullopt;
        digits += static_cast<char>('0' + v);
    }
    return digits;
}

std::optional<Modules> MsiFontToModules(std::u16string_view fontText) {
    return FontTextModules("msi", fontText);
}

std::optional<std::string> ReadMsi(const Modules& modules) {
    const auto runs = Runs(modules);
    // Start pair, four pairs a digit, stop bar-space-bar.
    if (runs.size() < 5 || (runs.size() - 5) % 8) return std::nullopt;
    if (WideNarrow(runs, 0, 2) != "10" || WideNarrow(runs, runs.size() - 3, 3) != "010")
        return std::nullopt;
    std::string digits;
    for (std::size_t i = 2; i + 3 < runs.size(); i += 8) {
        int v = 0;
        for (int b = 0; b < 4; ++b) {
            const std::string pair = WideNarrow(runs, i + 2 * b, 2);
            if (pair != "10" && pair != "01") return std::nullopt;
            v = v * 2 + (pair == "10");
        }
        if (v > 9) return std::nullopt;
        digits += static_cast<char>('0' + v);
    }
    if (digits.empty()) return std::nullopt;
    // Luhn-style mod 10: from the right, the check digit itself weighs 1, then 2, 1, ...
    int sum = 0;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const int d = digits[digits.size() - 1 - k] - '0';
        sum += k % 2 ? (2 * d) / 10 + (2 * d) % 10 : d;
    }
    if (sum % 10) return std::nullopt;
    digits.pop_back();
    return digits;
}

std::optional<Bars> PostnetFontToBars(std::u16string_view fontText) {
    auto bars = FontTextBars("postnet", fontText);
    if (bars)
        for (char& b : *bars) b = b == 'F' ? 'F' : 'T';  // two states: full or half
    return bars;
}

std::optional<std::string> ReadPostnet(const Bars& bars) {
    if (bars.size() < 2 || bars.front() != 'F' || bars.back() != 'F' || (bars.size() - 2) % 5)
        return std::nullopt;
    std::string digits;
    int sum = 0;
    for (std::size_t i = 1; i + 1 < bars.size(); i += 5) {
        static constexpr int weights[5] = {7, 4, 2, 1, 0};
        int v = 0, full = 0;
        for (int k = 0; k < 5; ++k)
            if (bars[i + k] == 'F') v += weights[k], ++full;
        if (full != 2) return std::nullopt;
        if (v == 11) v = 0;
        digits += static_cast<char>('0' + v);
        sum += v;
    }
    if (digits.size() != 6 && digits.size() != 10 && digits.size() != 12) return std::nullopt;
    if (sum % 10) return std::nullopt;
    digits.pop_back();
    return digits;
}

std::optional<Bars> RoyalMailFontToBars(std::u16string_view fontText) {
    return FontTextBars("royalmail", fontText);
}

std::optional<std::string> ReadRoyalMail(const Bars& bars) {
    if (bars.size() < 6 || bars.front() != 'A' || bars.back() != 'F' || (bars.size() - 2) % 4)
        return std::nullopt;
    std::string chars;
    int rows = 0, columns = 0;
    for (std::size_t i = 1; i + 1 < bars.size(); i += 4) {
        std::string up, down;
        for (int k = 0; k < 4; ++k) {
            const char b = bars[i + k];
            up += b == 'A' || b == 'F' ? '1' : '0';
            down += b == 'D' || b == 'F' ? '1' : '0';
        }
        int r = 0, c = 0;
        while (r < 6 && kRm4[r] != up) ++r;
        while (c < 6 && kRm4[c] != down) ++c;
        if (r == 6 || c == 6) return std::nullopt;
        chars += kRmChars[r * 6 + c];
        if (i + 5 < bars.size()) rows += r + 1, columns += c + 1;
        else {
            // The check character: row and column sums mod 6 (0 counting as 6).
            if ((rows + 5) % 6 != r || (columns + 5) % 6 != c) return std::nullopt;
        }
    }
    chars.pop_back();
    return chars;
}

}  // namespace testing_support
