#include "binary112.h"

#include "record.h"

namespace matrix {

void BinaryAdd(BinaryNumber112& accumulator, const BinaryNumber112& addend) {
    int carry = 0;
    for (int i = 0; i < 112; ++i) {
        const int sum = accumulator.digit[i] + addend.digit[i] + carry;
        accumulator.digit[i] = static_cast<std::uint16_t>(sum & 1);
        carry = sum >> 1;
    }
}

void BinarySubtract(BinaryNumber112& accumulator, const BinaryNumber112& subtrahend) {
    BinaryNumber112 complement{};
    for (int i = 0; i < 112; ++i) complement.digit[i] = subtrahend.digit[i] ? 0 : 1;
    BinaryAdd(accumulator, complement);
    BinaryNumber112 one{};
    one.digit[0] = 1;
    BinaryAdd(accumulator, one);
}

void BinaryShiftDown(BinaryNumber112& number) {
    number.digit[102] = 0;
    number.digit[103] = 0;
    for (int i = 0; i <= 101; ++i) number.digit[i] = number.digit[i + 1];
}

void BinaryShiftUp(BinaryNumber112& number) {
    for (int i = 102; i >= 1; --i) number.digit[i] = number.digit[i - 1];
    number.digit[0] = 0;
}

int BinaryIsLarger(const BinaryNumber112& a, const BinaryNumber112& b) {
    for (int i = 103; i >= 0; --i) {
        if (a.digit[i] != b.digit[i]) return a.digit[i] ? 1 : 0;
    }
    return 0;
}

void BinaryLoadDecimal(BinaryNumber112& number, const std::uint8_t* digits, std::size_t count) {
    number = BinaryNumber112{};
    for (std::size_t k = 0; k < count; ++k) {
        BinaryNumber112 temp = number;
        for (int n = 0; n < 9; ++n) BinaryAdd(number, temp);
        temp = BinaryNumber112{};
        const int value = CharToDigit(static_cast<char>(digits[k]));
        for (int bit = 0; bit < 4; ++bit) temp.digit[bit] = static_cast<std::uint16_t>((value >> bit) & 1);
        BinaryAdd(number, temp);
    }
}

}  // namespace matrix
