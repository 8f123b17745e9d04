// The one UTF-8/UTF-16 conversion pair of the tree, for the encoders and the desktop alike.
#pragma once

#include <string>
#include <string_view>

namespace encoding {

// UTF-16 to UTF-8. A lone surrogate (pasted text can hold one) becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// How FromUtf8 treats a malformed sequence.
enum class Utf8Rule {
    // Each malformed sequence (a stray or missing continuation byte, an overlong form, a
    // surrogate, a value above U+10FFFF) becomes U+FFFD and reading goes on; four-byte
    // sequences become surrogate pairs. Never fails.
    Replace,
    // The encoders' input rule: sequences of one to three bytes, the bytes after the lead
    // taken as continuation bytes without a check; reading stops at the first lead byte it
    // refuses or at a sequence cut by the end.
    Encoder,
};

// Why the Encoder rule stopped.
enum class Utf8Fault {
    None,
    Corrupt,    // a continuation byte as lead, or a sequence cut by the end
    Overlong,   // lead byte 0xC0 or 0xC1
    FourBytes,  // lead byte 0xF0 or above
};

// UTF-8 to UTF-16, appended to `out`; on a fault `out` holds what was read before it.
Utf8Fault FromUtf8(std::string_view bytes, std::u16string& out, Utf8Rule rule);

inline std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    FromUtf8(bytes, out, Utf8Rule::Replace);
    return out;
}

}  // namespace encoding
