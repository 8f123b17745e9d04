// Reed-Solomon check symbols over GF(2^m), as Data Matrix, QR Code, Micro QR, Aztec and
// Maxicode use them. The tables live in the workspace (workspace.h): init the field, init
// the code, encode blocks, free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace matrix {

// Builds the log and antilog tables of the field given by its polynomial (x^m term included).
void RsInitField(int polynomial);
// Builds the generator with the roots alpha^index .. alpha^(index + n - 1).
void RsInitCode(int n, int index);
// The n check symbols of `length` data symbols; result[n - 1] follows the data first.
void RsEncode(std::size_t length, const std::uint8_t* data, std::uint8_t* result);
void RsEncodeLong(std::size_t length, const std::uint32_t* data, std::uint32_t* result);
// Frees the tables and forgets the generator.
void RsFree();

}  // namespace matrix
