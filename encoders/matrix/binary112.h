// Unsigned 112-bit integers held as arrays of binary digits, for the GS1 DataBar value
// computation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace matrix {

// Digit i (0 or 1) weighs 2^i.
struct BinaryNumber112 {
    std::uint16_t digit[112];
};

// number := value of `count` decimal digit characters, most significant first.
void BinaryLoadDecimal(BinaryNumber112& number, const std::uint8_t* digits, std::size_t count);
// accumulator := (accumulator + addend) mod 2^112.
void BinaryAdd(BinaryNumber112& accumulator, const BinaryNumber112& addend);
// accumulator := (accumulator - subtrahend) mod 2^112.
void BinarySubtract(BinaryNumber112& accumulator, const BinaryNumber112& subtrahend);
// number := number / 2 within digits 0..103.
void BinaryShiftDown(BinaryNumber112& number);
// number := number * 2 within digits 0..102.
void BinaryShiftUp(BinaryNumber112& number);
// 1 when a > b over digits 103..0, else 0.
int BinaryIsLarger(const BinaryNumber112& a, const BinaryNumber112& b);

}  // namespace matrix
