// The QR Code data stage alone (mode choice, version, level and data codewords), without the
// check codewords and the symbol, so that inputs of thousands of bytes run thousands of times.
// The input is laid out as for the qrcode target (level, version, a byte the stage ignores,
// the data), whose seeds it shares. The data codewords must read back to the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "qrcode.h"

namespace {

// Reads the bit stream of the data codewords, most significant bit first.
class Bits {
public:
    explicit Bits(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::size_t left() const { return 8 * bytes_.size() - pos_; }
    int take(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i, ++pos_) v = v << 1 | ((bytes_[pos_ / 8] >> (7 - pos_ % 8)) & 1);
        return v;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

// The bytes that a reader takes from the data codewords of `version`; false on a stream that
// breaks ISO/IEC 18004 (unknown mode, overrun, value out of range).
bool Read(const std::vector<std::uint8_t>& codewords, int version, std::vector<std::uint8_t>& out) {
    const int cls = version <= 9 ? 0 : version <= 26 ? 1 : 2;
    Bits in(codewords);
    while (in.left() >= 4) {
        const int mode = in.take(4);
        if (mode == 0) return true;
        const int countBits = mode == 1 ? 10 + 2 * cls : mode == 2 ? 9 + 2 * cls : mode == 4 ? (cls ? 16 : 8) : 0;
        if (countBits == 0 || in.left() < static_cast<std::size_t>(countBits)) return false;
        int count = in.take(countBits);
        if (mode == 1) {
            for (; count > 0; count -= 3) {
                const int digits = count >= 3 ? 3 : count, bits = digits == 3 ? 10 : digits == 2 ? 7 : 4;
                if (in.left() < static_cast<std::size_t>(bits)) return false;
                const int v = in.take(bits);
                if (v >= (digits == 3 ? 1000 : digits == 2 ? 100 : 10)) return false;
                if (digits == 3) out.push_back(static_cast<std::uint8_t>('0' + v / 100));
                if (digits >= 2) out.push_back(static_cast<std::uint8_t>('0' + v / 10 % 10));
                out.push_back(static_cast<std::uint8_t>('0' + v % 10));
            }
        } else if (mode == 2) {
            for (; count > 0; count -= 2) {
                const int bits = count >= 2 ? 11 : 6;
                if (in.left() < static_cast<std::size_t>(bits)) return false;
                const int v = in.take(bits);
                if (v >= (count >= 2 ? 45 * 45 : 45)) return false;
                if (count >= 2) out.push_back(static_cast<std::uint8_t>(matrix::qr::kAlphanumeric[v / 45]));
                out.push_back(static_cast<std::uint8_t>(matrix::qr::kAlphanumeric[count >= 2 ? v % 45 : v]));
            }
        } else {
            if (in.left() < 8u * static_cast<std::size_t>(count)) return false;
            for (; count > 0; --count) out.push_back(static_cast<std::uint8_t>(in.take(8)));
        }
    }
    return true;  // the data filled the symbol: no room for the terminator
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int option1 = static_cast<std::int8_t>(data[0]) % 7, version = static_cast<std::int8_t>(data[1]) % 45;
    const int level = option1 >= 1 && option1 <= 4 ? option1 - 1 : 0;
    matrix::qr::Stream s;
    if (!matrix::qr::EncodeStream({data + 3, size - 3}, level, version, s)) {
        // Refused only when the worst case comes near or beyond what version 40 holds (the
        // modes chosen in the end may cost a few bits more than it).
        const std::string modes = matrix::qr::DefineModes(data + 3, size - 3);
        if (matrix::qr::EstimateBits(modes) + 64 <= 8 * matrix::qr::DataCodewords(40, level)) __builtin_trap();
        return 0;
    }
    if (s.version < 1 || s.version > 40 || s.level < level || s.level > 3) __builtin_trap();
    if (version >= 1 && version <= 40 && s.version < version) __builtin_trap();
    if (static_cast<int>(s.data.size()) != matrix::qr::DataCodewords(s.version, s.level)) __builtin_trap();
    std::vector<std::uint8_t> back;
    if (!Read(s.data, s.version, back) || back != std::vector<std::uint8_t>(data + 3, data + size)) __builtin_trap();
    return 0;
}
