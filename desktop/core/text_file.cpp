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

std::u16string_view WithoutLineEnd(std::u16string_view line) {
    if (line.ends_with(u'\n')) line.remove_suffix(1);
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    return line;
}

}  // namespace desktop
