// The Data Matrix encodation stage alone (scheme choice, the six encodations and their ends
// in the smallest symbol that holds them), without check codewords and placement, so that
// inputs of thousands of bytes run thousands of times. The input is laid out as for the
// datamatrix target, whose seeds it shares; the data is taken as bytes. The data codewords
// must read back to the data by the encodation rules of ISO/IEC 16022.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "datamatrix.h"

namespace {

// A reader of the data codewords of a symbol of `capacity` data codewords.
class Reader {
public:
    Reader(const std::vector<std::uint8_t>& cw, std::size_t capacity) : cw_(cw), capacity_(capacity) {}

    bool Read(std::string& out) {
        std::string suffix;
        while (pos_ < cw_.size()) {
            const int c = cw_[pos_++];
            if (c >= 1 && c <= 128) {
                out += static_cast<char>(c - 1 + upper_);
                upper_ = 0;
                continue;
            }
            if (upper_ && c != 235) return false;  // an upper shift takes an ASCII character only
            if (c == 129) return suffix.empty() || (out += suffix, true);
            if (c >= 130 && c <= 229) {
                out += static_cast<char>('0' + (c - 130) / 10);
                out += static_cast<char>('0' + (c - 130) % 10);
            } else if (c == 235) {
                if (upper_) return false;
                upper_ = 128;
            } else if ((c == 236 || c == 237) && pos_ == 1) {
                out += c == 236 ? "[)>\x1e" "05\x1d" : "[)>\x1e" "06\x1d";
                suffix = "\x1e\x04";
            } else if (c == 234 && pos_ == 1) {
                // reader programming: no data
            } else if (c == 230 || c == 239 || c == 238) {
                if (!Triples(c, out)) return false;
            } else if (c == 240) {
                if (!Edifact(out)) return false;
            } else if (c == 231) {
                if (!Base256(out)) return false;
            } else {
                return false;
            }
        }
        if (upper_) return false;
        out += suffix;
        return true;
    }

private:
    // C40 (230), Text (239) and X12 (238): two codewords, three values.
    bool Triples(int latch, std::string& out) {
        int shift = 0, upper = 0;
        auto put = [&](int ch) {
            out += static_cast<char>(ch + upper);
            upper = 0;
            shift = 0;
        };
        for (;;) {
            const std::size_t left = capacity_ - pos_;
            if (pos_ >= cw_.size()) return shift == 0 && upper == 0 && left <= 1;
            if (left == 1) return shift == 0 && upper == 0;  // read as ASCII by the caller
            if (cw_[pos_] == 254) {
                ++pos_;
                return shift == 0 && upper == 0;
            }
            if (pos_ + 1 >= cw_.size()) return false;
            const int v = cw_[pos_] * 256 + cw_[pos_ + 1] - 1;
            pos_ += 2;
            if (v >= 1600 * 40) return false;
            const int values[3] = {v / 1600, v / 40 % 40, v % 40};
            for (int k = 0; k < 3; ++k) {
                const int x = values[k];
                if (latch == 238) {
                    if (x == 0) put('\r');
                    else if (x == 1) put('*');
                    else if (x == 2) put('>');
                    else if (x == 3) put(' ');
                    else if (x <= 13) put('0' + x - 4);
                    else put('A' + x - 14);
                    continue;
                }
                if (shift == 0) {
                    if (x <= 2) shift = x + 1;
                    else if (x == 3) put(' ');
                    else if (x <= 13) put('0' + x - 4);
                    else put((latch == 230 ? 'A' : 'a') + x - 14);
                } else if (shift == 1) {
                    put(x);
                } else if (shift == 2) {
                    if (x <= 14) put('!' + x);
                    else if (x <= 21) put(':' + x - 15);
                    else if (x <= 26) put('[' + x - 22);
                    else if (x == 30) upper = 128, shift = 0;
                    else return false;  // FNC1 and reserved values
                } else {
                    if (latch == 230) put(96 + x);
                    else if (x == 0) put('`');
                    else if (x <= 26) put('A' + x - 1);
                    else if (x <= 31) put('{' + x - 27);
                    else return false;
                }
            }
            // A shift left open at the end of a pair is the padding shift of the last pair.
            if (shift == 1 && (pos_ >= cw_.size() || capacity_ - pos_ <= 1 || cw_[pos_] == 254)) shift = 0;
        }
    }

    // EDIFACT (240): three codewords, four six-bit values; 31 returns to ASCII.
    bool Edifact(std::string& out) {
        for (;;) {
            if (pos_ >= cw_.size() || capacity_ - pos_ < 3) return true;  // ASCII to the end
            std::uint32_t bits = 0;
            std::size_t n = 0;
            for (; n < 3 && pos_ < cw_.size(); ++n) bits = bits << 8 | cw_[pos_++];
            bits <<= 8 * (3 - n);
            for (int k = 0; k < 4; ++k) {
                const int x = static_cast<int>(bits >> (18 - 6 * k)) & 63;
                if (x == 31) {
                    pos_ -= n - (6 * (k + 1) + 7) / 8;  // the group ends with the codeword of the unlatch
                    return true;
                }
                if (8 * n < static_cast<std::size_t>(6 * (k + 1))) return false;
                out += static_cast<char>(x & 32 ? x : x | 64);
            }
        }
    }

    int Unrandomise(std::size_t position) {
        const int r = (149 * static_cast<int>(position + 1)) % 255 + 1;
        return (cw_[position] - r + 256) % 256;
    }

    // Base 256 (231): a length field, then the bytes, all randomised by position.
    bool Base256(std::string& out) {
        if (pos_ >= cw_.size()) return false;
        int length = Unrandomise(pos_++);
        if (length == 0) {
            length = static_cast<int>(cw_.size() - pos_);
        } else if (length >= 250) {
            if (pos_ >= cw_.size()) return false;
            length = (length - 249) * 250 + Unrandomise(pos_++);
        }
        if (pos_ + static_cast<std::size_t>(length) > cw_.size()) return false;
        for (int k = 0; k < length; ++k) out += static_cast<char>(Unrandomise(pos_++));
        return true;
    }

    const std::vector<std::uint8_t>& cw_;
    std::size_t capacity_;
    std::size_t pos_ = 0;
    int upper_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static auto rec = std::make_unique<matrix::SymbolRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    rec->outputFlags = (data[2] & 0x80) ? 0x10 : 0;
    matrix::DmEncodation enc;
    std::vector<std::uint8_t> work, cw;
    const int r = matrix::DataMatrixEncodeData(*rec, data + 4, size - 4, data[3] % 8, enc, work);
    // The dearest byte (above 127, in C40 or Text) takes 8/3 codewords: 580 bytes always fit
    // the 1,558 data codewords of 144 x 144.
    if (r != matrix::kSuccess) {
        if (r != matrix::kDataTooLong || size - 4 <= 580 || rec->errorText[0] == 0) __builtin_trap();
        return 0;
    }
    // The smallest square or rectangle (no extended rectangle) that holds the data.
    int capacity = 0;
    for (const matrix::DataMatrixSize& s : matrix::kDataMatrixSizes)
        if (!s.extended && matrix::DataMatrixFinishData(enc, s.dataCodewords, cw)) {
            capacity = s.dataCodewords;
            break;
        }
    if (capacity == 0) {
        if (size - 4 <= 580) __builtin_trap();
        return 0;
    }
    if (cw.size() > static_cast<std::size_t>(capacity)) __builtin_trap();
    if (cw.size() < static_cast<std::size_t>(capacity)) cw.push_back(129);
    std::string back;
    if (!Reader(cw, static_cast<std::size_t>(capacity)).Read(back) || back.size() != size - 4 ||
        std::memcmp(back.data(), data + 4, size - 4))
        __builtin_trap();
    return 0;
}
