// Reading a text file line by line: the byte-order-mark test, the line splitting over any
// source of bytes (a line of any length, LF or CR LF ends, a last line without an end) and
// the decodings that need no code page. The 8-bit code pages are converted by the caller.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "utf.h"

namespace desktop {

// The byte-order mark a file starts with.
enum class TextMark {
    None,   // 8-bit text in a code page
    Utf16,  // FF FE: UTF-16, low byte first
    Utf8,   // EF BB BF
};

// The mark at the start of `head` (the file's first bytes; three are enough).
TextMark MarkOf(std::string_view head);
// The mark's length in bytes: 2, 3, or 0 for none.
std::size_t MarkSize(TextMark mark);

// The lines of a stream of bytes. The source is read in pieces of kPiece bytes; a line
// grows until its line end or the end of the stream, whatever its length.
class LineReader {
public:
    static constexpr std::size_t kPiece = 4096;

    // Fills up to `capacity` bytes at `out`: the number read, 0 at the end, -1 on failure.
    using Source = std::function<long(char* out, std::size_t capacity)>;
    enum class Result { Line, End, Failed };

    explicit LineReader(Source source) : source_(std::move(source)) {}

    // The next line's bytes with its line end as it stands (the last line may have none).
    // `unit` is 1 for 8-bit text, or 2 for UTF-16, whose line end is the unit 0x000A at an
    // even offset from where reading started. End when nothing is left; Failed when the
    // source failed (the line read so far is dropped).
    Result Next(std::size_t unit, std::string& line);

    // Bytes taken from the source and not yet handed out.
    std::size_t Buffered() const { return buffer_.size() - start_; }
    // Forgets them (the source has been moved elsewhere).
    void Drop();

private:
    Source source_;
    std::string buffer_;
    std::size_t start_ = 0;
    bool ended_ = false;
};

// The UTF-16 units of UTF-16LE bytes; an odd byte at the end becomes U+FFFD.
std::u16string Utf16LeUnits(std::string_view bytes);

// UTF-8 to UTF-16, each malformed sequence U+FFFD: the tree's one pair (encoders/common/utf.h).
using encoding::FromUtf8;

// A line as read: without its LF and a CR just before it.
std::u16string_view WithoutLineEnd(std::u16string_view line);

}  // namespace desktop
