#include "text_file.h"

#include <cstdint>

namespace desktop {

TextMark MarkOf(std::string_view head) {
    if (head.starts_with("\xFF\xFE")) return TextMark::Utf16;
    if (head.starts_with("\xEF\xBB\xBF")) return TextMark::Utf8;
    return TextMark::None;
}

std::size_t MarkSize(TextMark mark) {
    switch (mark) {
    case TextMark::Utf16: return 2;
    case TextMark::Utf8: return 3;
    case TextMark::None: break;
    }
    return 0;
}

void LineReader::Drop() {
    buffer_.clear();
    start_ = 0;
    ended_ = false;
}

LineReader::Result LineReader::Next(std::size_t unit, std::string& line) {
    line.clear();
    if (unit != 2) unit = 1;
    std::size_t searched = start_;  // bytes before this hold no line end
    while (true) {
        // Look for the line end in what has been read, unit by unit from the line's start.
        for (std::size_t at = searched; at + unit <= buffer_.size(); at += unit) {
            if (buffer_[at] == '\n' && (unit == 1 || buffer_[at + 1] == '\0')) {
                line.assign(buffer_, start_, at + unit - start_);
                start_ = at + unit;
                return Result::Line;
            }
            searched = at + unit;
        }
        if (ended_) break;
        // Keep only the line so far, then read the next piece after it.
        buffer_.erase(0, start_);
        searched -= start_;
        start_ = 0;
        const std::size_t had = buffer_.size();
        buffer_.resize(had + kPiece);
        const long got = source_(buffer_.data() + had, kPiece);
        if (got < 0 || static_cast<std::size_t>(got) > kPiece) {
            Drop();
            return Result::Failed;
        }
        buffer_.resize(had + static_cast<std::size_t>(got));
        if (got == 0) ended_ = true;
    }
    if (start_ == buffer_.size()) return Result::End;
    line.assign(buffer_, start_, std::string::npos);
    start_ = buffer_.size();
    return Result::Line;
}

std::u16string Utf16LeUnits(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                       static_cast<std::uint8_t>(bytes[i + 1]) << 8);
    if (i < bytes.size()) units += u'\uFFFD';
    return units;
}

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
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
            const auto next = static_cast<std::uint8_t>(bytes[i + taken]);
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
    return out;
}

std::u16string_view WithoutLineEnd(std::u16string_view line) {
    if (line.ends_with(u'\n')) line.remove_suffix(1);
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    return line;
}

}  // namespace desktop
