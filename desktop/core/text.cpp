#include "text.h"

#include <vector>

namespace desktop {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {
// Query, allocate, convert, check: shared by both directions.
template <typename Out, typename Convert>
bool Converted(std::size_t count, Out& out, Convert convert) {
    out.clear();
    if (count == 0) return true;
    const long need = convert(nullptr, 0);
    if (need <= 0) return false;
    std::vector<typename Out::value_type> buffer(static_cast<std::size_t>(need));
    const long got = convert(buffer.data(), buffer.size());
    if (got < 0 || got > need) return false;
    out.assign(buffer.data(), static_cast<std::size_t>(got));
    return true;
}
}  // namespace

bool ToAnsi(Platform& platform, CodePage page, std::u16string_view text, std::string& out) {
    return Converted(text.size(), out, [&](char* dst, std::size_t capacity) {
        return platform.ToNarrow(page, text.data(), text.size(), dst, capacity);
    });
}

bool FromAnsi(Platform& platform, CodePage page, std::string_view bytes, std::u16string& out) {
    return Converted(bytes.size(), out, [&](char16_t* dst, std::size_t capacity) {
        return platform.ToWide(page, bytes.data(), bytes.size(), dst, capacity);
    });
}

std::u16string WidenBytes(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::u16string WidenMessage(const char* message) {
    return message ? WidenBytes(message) : std::u16string();
}

}  // namespace desktop
