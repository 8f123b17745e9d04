// USPS Intelligent Mail barcode (USPS-B-3200): tracking and routing code to 65 bar letters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace matrix {

class IntelligentMailEncoder {
public:
    IntelligentMailEncoder();
    ~IntelligentMailEncoder();
    IntelligentMailEncoder(const IntelligentMailEncoder&) = delete;
    IntelligentMailEncoder& operator=(const IntelligentMailEncoder&) = delete;

    // 65 letters "T", "A", "D" or "F" in bar order. A tracking code of another length than
    // 20 is ignored; a routing code that is not all digits counts as none, one of another
    // length than 0, 5, 9 or 11 is taken as its plain number. Throws std::overflow_error
    // ("Over flow") when the number passes 40 decimal digits, which codes of the
    // allowed lengths cannot reach.
    std::u16string Encode(std::u16string tracking, std::u16string routing);

    // Fills `table` with the 13-bit characters of `bitsSet` bits: each value below its
    // mirror (bits reversed) with its mirror from the front, the symmetric ones from the
    // back. Returns whether the fill came out exactly.
    static bool BuildNof13Table(std::uint32_t* table, int bitsSet, std::size_t tableSize);

    // One bar: the character (0 = A) and bit of its descender and of its ascender.
    struct Bar {
        std::uint8_t descenderChar, descenderBit, ascenderChar, ascenderBit;
    };
    static const std::array<Bar, 65> kBars;

    const std::uint32_t* fiveOf13() const { return fiveOf13_.data(); }
    const std::uint32_t* twoOf13() const { return twoOf13_.data(); }

private:
    void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
    std::uint32_t DivideBy(std::uint32_t divisor);

    std::u16string first_, second_;
    std::array<std::uint32_t, 10> value_{};       // base 10000, least significant word first
    std::array<std::uint32_t, 10> codewords_{};   // codewords A to J, then their characters
    std::array<std::uint32_t, 1287> fiveOf13_{};
    std::array<std::uint32_t, 78> twoOf13_{};
};

}  // namespace matrix
