#include "utf.h"

#include <cstdint>

namespace encoding {

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

std::uint8_t Byte(std::string_view bytes, std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); }

void Replacing(std::string_view bytes, std::u16string& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = Byte(bytes, i);
        std::size_t length = 0;
        std::uint32_t value = 0, least = 0;
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) length = 2, value = lead & 0x1Fu, least = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3, value = lead & 0x0Fu, least = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4, value = lead & 0x07u, least = 0x10000;
        std::size_t taken = 1;
        bool whole = length != 0;
        for (; whole && taken < length; ++taken) {
            if (i + taken >= bytes.size()) { whole = false; break; }
            const std::uint8_t next = Byte(bytes, i + taken);
            if ((next & 0xC0) != 0x80) { whole = false; break; }
            value = value << 6 | (next & 0x3Fu);
        }
        if (!whole || value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            out += u'\uFFFD';
            i += taken;  // the bytes up to the one that broke the sequence
            continue;
        }
        if (value >= 0x10000) {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (value >> 10));
            out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        } else {
            out += static_cast<char16_t>(value);
        }
        i += length;
    }
}

Utf8Fault EncoderInput(std::string_view bytes, std::u16string& out) {
    const std::size_t length = bytes.size();
    std::size_t in = 0;
    while (in < length) {
        const std::uint8_t b = Byte(bytes, in);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            in += 1;
        } else if (b < 0xC0) {
            return Utf8Fault::Corrupt;
        } else if (b < 0xC2) {
            return Utf8Fault::Overlong;
        } else if (b < 0xE0) {
            if (in + 1 >= length) return Utf8Fault::Corrupt;
            out += static_cast<char16_t>((b & 0x1Fu) * 64 + (Byte(bytes, in + 1) & 0x3Fu));
            in += 2;
        } else if (b < 0xF0) {
            if (in + 2 >= length) return Utf8Fault::Corrupt;
            out += static_cast<char16_t>(((b & 0x0Fu) * 64 + (Byte(bytes, in + 1) & 0x3Fu)) * 64 +
                                         (Byte(bytes, in + 2) & 0x3Fu));
            in += 3;
        } else {
            return Utf8Fault::FourBytes;
        }
    }
    return Utf8Fault::None;
}

}  // namespace

Utf8Fault FromUtf8(std::string_view bytes, std::u16string& out, Utf8Rule rule) {
    out.reserve(out.size() + bytes.size());
    if (rule == Utf8Rule::Encoder) return EncoderInput(bytes, out);
    Replacing(bytes, out);
    return Utf8Fault::None;
}

}  // namespace encoding
