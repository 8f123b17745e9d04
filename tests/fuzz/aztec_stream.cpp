// The Aztec Code character stage alone (mode choice, shifts and latches, binary runs), without
// the symbol, so that inputs of thousands of bytes run thousands of times. The input is laid
// out as for the aztec target (four option bytes, the data), whose seeds it shares. The bits
// must read back to the data by the character tables of ISO/IEC 24778.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "aztec.h"

namespace {

enum Mode { kUpper, kLower, kMixed, kPunct, kDigit };

// Appends the character(s) of `code` in `mode`; false when the code is not a character there.
bool Character(Mode mode, int code, std::vector<std::uint8_t>& out) {
    static const char* const kPunctCodes[] = {"\r", "\r\n", ". ", ", ", ": ", "!", "\"", "#", "$", "%",
                                              "&", "'", "(", ")", "*", "+", ",", "-", ".", "/",
                                              ":", ";", "<", "=", ">", "?", "[", "]", "{", "}"};
    static const std::uint8_t kMixedCodes[] = {' ', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                               27, 28, 29, 30, 31, '@', '\\', '^', '_', '`', '|', '~', 127};
    switch (mode) {
    case kUpper:
    case kLower:
        if (code < 1 || code > 27) return false;
        out.push_back(code == 1 ? ' ' : static_cast<std::uint8_t>((mode == kUpper ? 'A' : 'a') + code - 2));
        return true;
    case kMixed:
        if (code < 1 || code > 27) return false;
        out.push_back(kMixedCodes[code - 1]);
        return true;
    case kPunct:
        if (code < 1 || code > 30) return false;
        for (const char* p = kPunctCodes[code - 1]; *p; ++p) out.push_back(static_cast<std::uint8_t>(*p));
        return true;
    case kDigit:
        if (code < 1 || code > 13) return false;
        out.push_back(static_cast<std::uint8_t>(" 0123456789,."[code - 1]));
        return true;
    }
    return false;
}

// Reads the bit string back into bytes; false on anything a reader would refuse.
bool Read(const std::vector<std::uint8_t>& bits, std::vector<std::uint8_t>& out) {
    std::size_t pos = 0;
    auto take = [&](int n, int& v) {
        if (pos + static_cast<std::size_t>(n) > bits.size()) return false;
        v = 0;
        for (int i = 0; i < n; ++i, ++pos) {
            if (bits[pos] > 1) return false;
            v = v << 1 | bits[pos];
        }
        return true;
    };
    auto shifted = [&](Mode to) {
        int code;
        return take(5, code) && Character(to, code, out);
    };
    auto binary = [&] {
        int length, v;
        if (!take(5, length)) return false;
        if (length == 0) {
            if (!take(11, length)) return false;
            length += 31;
        }
        for (; length > 0; --length) {
            if (!take(8, v)) return false;
            out.push_back(static_cast<std::uint8_t>(v));
        }
        return true;
    };
    Mode mode = kUpper;
    while (pos < bits.size()) {
        int code;
        if (!take(mode == kDigit ? 4 : 5, code)) return false;
        if (Character(mode, code, out)) continue;
        bool ok = true;
        switch (mode) {
        case kUpper:
        case kLower:
        case kMixed:
            if (code == 0) ok = shifted(kPunct);
            else if (code == 31) ok = binary();
            else if (code == 30) mode = mode == kMixed ? kPunct : kDigit;
            else if (code == 29) mode = mode == kMixed ? kUpper : kMixed;
            else if (mode == kLower) ok = shifted(kUpper);  // 28: upper shift
            else mode = kLower;                             // 28 in upper and mixed
            break;
        case kPunct:
            if (code != 31) return false;  // 0 would be FLG(n), not used here
            mode = kUpper;
            break;
        case kDigit:
            if (code == 0) ok = shifted(kPunct);
            else if (code == 14) mode = kUpper;
            else ok = shifted(kUpper);  // 15
            break;
        }
        if (!ok) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    const std::vector<char16_t> chars(data + 4, data + size);
    std::vector<std::uint8_t> bits;
    const int r = matrix::AztecEncodeText(chars.data(), chars.size(), bits);
    if (r != matrix::kSuccess) {
        // Refused only for a binary run longer than 2,078 bytes.
        if (r != matrix::kDataTooLong || chars.size() <= 2078) __builtin_trap();
        return 0;
    }
    std::vector<std::uint8_t> back;
    if (!Read(bits, back) || back.size() != chars.size() || std::memcmp(back.data(), data + 4, chars.size()))
        __builtin_trap();
    return 0;
}
