// Small helpers shared by the encoder tests.
#pragma once

#include <string>
#include <string_view>

#include "frame.h"

namespace testing_support {

// UTF-16 text from 8-bit text, each byte one character (Latin-1).
std::u16string U(std::string_view bytes);

// Runs an encoder of the frame and copies its result.
std::u16string Encode(linear::EncodeFn fn, linear::Context& ctx, std::u16string_view text);

// Shows UTF-16 text with non-printable characters as <code> for test messages.
std::string Show(std::u16string_view text);

}  // namespace testing_support
