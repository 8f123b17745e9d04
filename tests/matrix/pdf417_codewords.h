// Test-side reading of PDF417 and MicroPDF417 codewords, written from ISO/IEC 15438: the
// compaction modes back to bytes, the mod-929 check, and the symbol-character tables read
// from the standard's table file.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/tables.h"

namespace pdf417_reading {

// Whether every root 3^1 .. 3^k of the generator is a root of the codeword polynomial.
inline bool ChecksVerify(const std::vector<int>& cw, int k) {
    int root = 1;
    for (int j = 1; j <= k; ++j) {
        root = root * 3 % 929;
        long long v = 0;
        for (int c : cw) v = (v * root + c) % 929;
        if (v != 0) return false;
    }
    return true;
}

// Data codewords back to bytes; false on a codeword this reader does not know.
inline bool DecodeCodewords(const std::vector<int>& cw, std::string& out) {
    out.clear();
    std::size_t i = 0;
    int mode = 900;
    int sub = 0, shifted = -1;  // 0 upper, 1 lower, 2 mixed, 3 punctuation
    const std::string mixed = "0123456789&\r\t,:#-.$/+%*=^";
    const std::string punct = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
    auto charOf = [&](int set, int v) -> int {
        if (set == 0) return v < 26 ? 'A' + v : v == 26 ? ' ' : -1;
        if (set == 1) return v < 26 ? 'a' + v : v == 26 ? ' ' : -1;
        if (set == 2) return v < 25 ? mixed[v] : v == 26 ? ' ' : -1;
        return v < 29 ? punct[v] : -1;
    };
    // A shift covers one value; a trailing shift with nothing after it is padding.
    auto textValue = [&](int v) {
        if (shifted >= 0) {
            const int ch = charOf(shifted, v);
            shifted = -1;
            if (ch >= 0) out += static_cast<char>(ch);
            return;
        }
        const int ch = charOf(sub, v);
        if (ch >= 0) {
            out += static_cast<char>(ch);
            return;
        }
        if (sub == 0) sub = v == 27 ? 1 : v == 28 ? 2 : (shifted = 3, sub);
        else if (sub == 1) v == 27 ? void(shifted = 0) : v == 28 ? void(sub = 2) : void(shifted = 3);
        else if (sub == 2) sub = v == 25 ? 3 : v == 27 ? 1 : v == 28 ? 0 : (shifted = 3, sub);
        else sub = 0;
    };
    while (i < cw.size()) {
        const int c = cw[i];
        if (c >= 900) {
            ++i;
            if (c == 900) {
                mode = 900, sub = 0, shifted = -1;
            } else if (c == 913) {
                if (i >= cw.size() || cw[i] > 255) return false;
                out += static_cast<char>(cw[i++]);
            } else if (c == 901 || c == 924 || c == 902) {
                mode = c;
            } else if (c != 921) {
                return false;
            }
            continue;
        }
        std::vector<int> run;
        while (i < cw.size() && cw[i] < 900) run.push_back(cw[i++]);
        if (mode == 900) {
            for (int v : run) {
                textValue(v / 30);
                textValue(v % 30);
            }
        } else if (mode == 901 || mode == 924) {
            const std::size_t groups = mode == 924 ? run.size() / 5 : (run.size() - 1) / 5;
            for (std::size_t g = 0; g < groups; ++g) {
                unsigned long long v = 0;
                for (int j = 0; j < 5; ++j) v = v * 900 + run[g * 5 + j];
                for (int j = 5; j >= 0; --j) out += static_cast<char>((v >> (8 * j)) & 0xFF);
            }
            for (std::size_t j = groups * 5; j < run.size(); ++j) {
                if (run[j] > 255) return false;
                out += static_cast<char>(run[j]);
            }
        } else {
            for (std::size_t g = 0; g < run.size(); g += 15) {
                std::vector<int> dec{0};  // decimal digits, least significant first
                for (std::size_t j = g; j < run.size() && j < g + 15; ++j) {
                    int carry = run[j];
                    for (int& d : dec) {
                        const int t = d * 900 + carry;
                        d = t % 10;
                        carry = t / 10;
                    }
                    while (carry) dec.push_back(carry % 10), carry /= 10;
                }
                while (dec.size() > 1 && dec.back() == 0) dec.pop_back();
                if (dec.back() != 1) return false;
                for (std::size_t j = dec.size() - 1; j-- > 0;) out += static_cast<char>('0' + dec[j]);
            }
        }
    }
    return true;
}

// Element widths (as text) to codeword, for clusters 0, 3 and 6 (index 0, 1, 2).
inline std::vector<std::map<std::string, int>> ClusterLookup() {
    std::vector<std::map<std::string, int>> t(3);
    std::ifstream f = testing_support::OpenTable("pdf417-symbol-characters.txt");
    std::string line;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        int cw;
        std::string w[3];
        in >> cw >> w[0] >> w[1] >> w[2];
        for (int c = 0; c < 3; ++c) t[c][w[c]] = cw;
    }
    return t;
}

// Run widths of a stretch of modules that starts dark.
inline std::string Widths(const std::vector<bool>& row, int from, int count) {
    std::string w;
    int run = 0;
    bool colour = true;
    for (int x = from; x < from + count; ++x) {
        if (row[x] == colour) {
            ++run;
        } else {
            w += static_cast<char>('0' + run);
            colour = !colour;
            run = 1;
        }
    }
    return w + static_cast<char>('0' + run);
}

}  // namespace pdf417_reading
