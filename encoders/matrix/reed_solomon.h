// Reed-Solomon check symbols over GF(2^m), as Data Matrix, QR Code, Micro QR, Aztec and
// Maxicode use them. The tables live in the workspace (workspace.h), each field's and each
// code's built on first use and kept: init (select) the field, init the code, encode blocks,
// free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace matrix {

// Selects the field given by its polynomial (x^m term included), building its log and
// antilog tables the first time.
void RsInitField(int polynomial);
// Selects the code whose generator has the roots alpha^index .. alpha^(index + n - 1) in the
// selected field, building the generator the first time.
void RsInitCode(int n, int index);
// The n check symbols of `length` data symbols; result[n - 1] follows the data first.
void RsEncode(std::size_t length, const std::uint8_t* data, std::uint8_t* result);
void RsEncodeLong(std::size_t length, const std::uint32_t* data, std::uint32_t* result);
// Forgets the selection; the tables are kept for the next encode.
void RsFree();

}  // namespace matrix
