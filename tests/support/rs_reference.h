// Test-side Reed-Solomon over GF(2^m), from the textbook definition and nothing of the
// encoders: products by shift and add, check symbols as the remainder of the data polynomial
// times x^n divided by the generator.
#pragma once

#include <vector>

namespace testing_support {

// a times b in the field of the primitive polynomial `poly` (0x11D, 0x12D, 0x43 ...).
int GfMultiply(int a, int b, int poly);

// The n check symbols of `data` (highest power first) for the generator whose roots are
// 2^first .. 2^(first + n - 1), highest power first.
std::vector<int> RsCheckSymbols(const std::vector<int>& data, int n, int poly, int first);

}  // namespace testing_support
