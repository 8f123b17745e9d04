#include "pharmacode.h"

#include <algorithm>

namespace matrix {

namespace {

// The decimal value of digits already checked.
long DecimalValue(const std::uint8_t* data, std::size_t length) {
    long v = 0;
    for (std::size_t i = 0; i < length; ++i) v = v * 10 + (data[i] - '0');
    return v;
}

// Writes the bars produced least significant first in reading order: the code is read
// from the right, so the first bar produced is the rightmost.
void Publish(SymbolRecord& rec, char* bars, int count) {
    std::reverse(bars, bars + count);
    std::copy(bars, bars + count, rec.fontText);
    rec.fontText[count] = 0;
}

}  // namespace

int EncodePharmaOne(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call&) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    if (length >= 7) return Fail(rec, kDataTooLong, "Data too long");
    if (CheckCharSet("0123456789", data, length) != 0) return Fail(rec, kInvalidData, "Invalid input data");
    long n = DecimalValue(data, length);
    if (n < 3 || n > 131070) return Fail(rec, kInvalidData, "Data out of range");
    char bars[32];
    int count = 0;
    for (;;) {
        const long m = n % 2 == 0 ? n - 2 : n - 1;
        bars[count++] = n % 2 == 0 ? '1' : '0';
        if (m < 2) break;
        n = m / 2;
    }
    Publish(rec, bars, count);
    return kSuccess;
}

int EncodePharmaTwo(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call&) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    rec.fontText[0] = 0;
    if (length >= 9) return Fail(rec, kDataTooLong, "Input too long");
    if (CheckCharSet("0123456789", data, length) != 0) return Fail(rec, kInvalidData, "Invalid input data");
    long n = DecimalValue(data, length);
    if (n < 4 || n > 64570080) return Fail(rec, kInvalidData, "Data out of range");
    char bars[32];
    int count = 0;
    while (n != 0) {
        const long r = n % 3;
        const long digit = r == 0 ? 3 : r;
        bars[count++] = static_cast<char>('0' + digit);
        n = (n - digit) / 3;
    }
    Publish(rec, bars, count);
    return kSuccess;
}

}  // namespace matrix
