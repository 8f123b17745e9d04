#include "intelligent_mail.h"

#include <stdexcept>

namespace matrix {

namespace {

constexpr std::uint32_t kBase = 10000;

std::uint32_t Mirror13(std::uint32_t v) {
    std::uint32_t m = 0;
    for (int b = 0; b < 13; ++b)
        if (v & (1u << b)) m |= 1u << (12 - b);
    return m;
}

int BitCount(std::uint32_t v) {
    int n = 0;
    for (; v; v &= v - 1) ++n;
    return n;
}

bool AllDigits(const std::u16string& s) {
    for (char16_t c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The 11-bit frame check sequence over the 102 bits of the value's 13 bytes.
std::uint32_t FrameCheckSequence(const std::uint8_t (&bytes)[13]) {
    std::uint32_t fcs = 0x7FF;
    for (int i = 0; i < 13; ++i) {
        for (int b = i == 0 ? 5 : 7; b >= 0; --b) {
            const std::uint32_t bit = (bytes[i] >> b) & 1u;
            const std::uint32_t top = (fcs >> 10) & 1u;
            fcs = (bit != top ? (fcs << 1) ^ 0xF35 : fcs << 1) & 0x7FF;
        }
    }
    return fcs;
}

}  // namespace

// The bar-to-character mapping of USPS-B-3200, converted by a one-off script from the standard's table
// (bar, descender character and bit, ascender character and bit; characters A to J as 0 to 9).
const std::array<IntelligentMailEncoder::Bar, 65> IntelligentMailEncoder::kBars = {{
    {7, 2, 4, 3},
    {1, 10, 0, 0},
    {9, 12, 2, 8},
    {5, 5, 6, 11},
    {8, 9, 3, 1},
    {0, 1, 5, 12},
    {2, 5, 1, 8},
    {4, 4, 9, 11},
    {6, 3, 8, 10},
    {3, 9, 7, 6},
    {5, 11, 1, 4},
    {8, 5, 2, 12},
    {9, 10, 0, 2},
    {7, 1, 6, 7},
    {3, 6, 4, 9},
    {0, 3, 8, 6},
    {6, 4, 2, 7},
    {1, 1, 9, 9},
    {7, 10, 5, 2},
    {4, 0, 3, 8},
    {6, 2, 0, 4},
    {8, 11, 1, 0},
    {9, 8, 3, 12},
    {2, 6, 7, 7},
    {5, 1, 4, 10},
    {1, 12, 6, 9},
    {7, 3, 8, 0},
    {5, 8, 9, 7},
    {4, 6, 2, 10},
    {3, 4, 0, 5},
    {8, 4, 5, 7},
    {7, 11, 1, 9},
    {6, 0, 9, 6},
    {0, 6, 4, 8},
    {2, 1, 3, 2},
    {5, 9, 8, 12},
    {4, 11, 6, 1},
    {9, 5, 7, 4},
    {3, 3, 1, 2},
    {0, 7, 2, 0},
    {1, 3, 4, 1},
    {6, 10, 3, 5},
    {8, 7, 9, 4},
    {2, 11, 5, 6},
    {0, 8, 7, 12},
    {4, 2, 8, 1},
    {5, 10, 3, 0},
    {9, 3, 0, 9},
    {6, 5, 2, 4},
    {7, 8, 1, 7},
    {5, 0, 4, 5},
    {2, 3, 0, 10},
    {6, 12, 9, 2},
    {3, 11, 1, 6},
    {8, 8, 7, 9},
    {5, 4, 0, 11},
    {1, 5, 2, 2},
    {9, 1, 4, 12},
    {8, 3, 6, 6},
    {7, 0, 3, 7},
    {4, 7, 7, 5},
    {0, 12, 1, 11},
    {2, 9, 9, 0},
    {6, 8, 5, 3},
    {3, 10, 8, 2},
}};

IntelligentMailEncoder::IntelligentMailEncoder() : first_(), second_() {
    BuildNof13Table(twoOf13_.data(), 2, twoOf13_.size());
    BuildNof13Table(fiveOf13_.data(), 5, fiveOf13_.size());
}

IntelligentMailEncoder::~IntelligentMailEncoder() = default;

bool IntelligentMailEncoder::BuildNof13Table(std::uint32_t* table, int bitsSet, std::size_t tableSize) {
    if (!table || tableSize == 0) return false;
    // Front and back indices; an entry is written only inside the table.
    long low = 0, high = static_cast<long>(tableSize) - 1;
    bool overrun = false;
    for (std::uint32_t v = 0; v < 8192; ++v) {
        if (BitCount(v) != bitsSet) continue;
        const std::uint32_t mirror = Mirror13(v);
        if (mirror < v) continue;  // stored with its mirror
        if (mirror == v) {
            if (high < low) { overrun = true; continue; }
            table[high--] = v;
        } else {
            if (high < low + 1) { overrun = true; continue; }
            table[low++] = v;
            table[low++] = mirror;
        }
    }
    return !overrun && low == high + 1;
}

void IntelligentMailEncoder::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (auto& w : value_) {
        const std::uint64_t t = static_cast<std::uint64_t>(w) * factor + carry;
        w = static_cast<std::uint32_t>(t % kBase);
        carry = t / kBase;
    }
    if (carry) throw std::overflow_error("Over flow");
}

std::uint32_t IntelligentMailEncoder::DivideBy(std::uint32_t divisor) {
    std::uint64_t rest = 0;
    for (auto it = value_.rbegin(); it != value_.rend(); ++it) {
        const std::uint64_t t = rest * kBase + *it;
        *it = static_cast<std::uint32_t>(t / divisor);
        rest = t % divisor;
    }
    return static_cast<std::uint32_t>(rest);
}

std::u16string IntelligentMailEncoder::Encode(std::u16string tracking, std::u16string routing) {
    value_.fill(0);
    codewords_.fill(0);

    // Routing code: its number, then the offset of its length.
    if (AllDigits(routing)) {
        for (char16_t c : routing) MultiplyAdd(10, static_cast<std::uint32_t>(c - u'0'));
        const std::size_t n = routing.size();
        if (n == 5) MultiplyAdd(1, 1);
        else if (n == 9) MultiplyAdd(1, 100001);
        else if (n == 11) MultiplyAdd(1, 1000100001);
    }

    // Tracking code: the second digit is base 5.
    if (tracking.size() == 20) {
        for (std::size_t i = 0; i < 20; ++i)
            MultiplyAdd(i == 1 ? 5 : 10, static_cast<std::uint32_t>(tracking[i] - u'0'));
    }

    // The value as 13 bytes, most significant first.
    std::uint8_t bytes[13];
    {
        const auto saved = value_;
        for (int i = 12; i >= 0; --i) bytes[i] = static_cast<std::uint8_t>(DivideBy(256));
        value_ = saved;
    }

    const std::uint32_t fcs = FrameCheckSequence(bytes);

    // Codewords J down to A.
    codewords_[9] = DivideBy(636);
    for (int i = 8; i >= 1; --i) codewords_[i] = DivideBy(1365);
    // What remains is below 659 for codes of the allowed lengths.
    codewords_[0] = value_[0] + value_[1] * kBase;
    codewords_[9] *= 2;
    if (fcs & 0x400) codewords_[0] += 659;

    // 13-bit characters, complemented where the FCS says so.
    for (int i = 0; i < 10; ++i) {
        const std::uint32_t c = codewords_[i];
        // The modulo only guards input outside the allowed forms.
        std::uint32_t ch = c < 1287 ? fiveOf13_[c] : twoOf13_[(c - 1287) % 78];
        if (fcs & (1u << i)) ch = ~ch & 0x1FFF;
        codewords_[i] = ch;
    }

    std::u16string bars;
    for (const Bar& b : kBars) {
        const bool descender = (codewords_[b.descenderChar] >> b.descenderBit) & 1u;
        const bool ascender = (codewords_[b.ascenderChar] >> b.ascenderBit) & 1u;
        bars += descender ? (ascender ? u'F' : u'D') : (ascender ? u'A' : u'T');
    }
    return bars;
}

}  // namespace matrix
