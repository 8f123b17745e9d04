// Small helpers shared by the encoder tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "frame.h"

namespace testing_support {

// UTF-16 text from 8-bit text, each byte one character (Latin-1).
std::u16string U(std::string_view bytes);

// Runs an encoder of the frame and copies its result.
std::u16string Encode(linear::EncodeFn fn, linear::Context& ctx, std::u16string_view text);

// The bytes of 8-bit text, as the record encoders take them.
inline std::span<const std::uint8_t> AsBytes(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// Shows UTF-16 text with non-printable characters as <code> for test messages.
std::string Show(std::u16string_view text);

}  // namespace testing_support
