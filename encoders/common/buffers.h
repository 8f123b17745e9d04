// What every encoder of the system shares, linear or two-dimensional: the build profiles,
// the module-wide result buffers, the numeric-escape decoder and the bounded output.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace encoding {

// What differs between the automation server's build of the encoders and the desktop
// program's. One compiled core serves both; each deliverable picks its profile.
struct Profile {
    const char* name;
    std::size_t bufferUnits;   // capacity of each result and working buffer, in UTF-16 units
    std::size_t bound;         // an append is made only while length + 1 < bound
    unsigned escapeMax;        // largest value a numeric escape decodes to
    bool desktopEscapes;       // ";" always dropped, decoded characters limited to 255
    bool desktopGlyphs;        // the desktop fonts' glyph scheme (Code 128)
};

extern const Profile kServer;
extern const Profile kDesktop;

// The input character that stands for NUL where a symbology can carry it.
inline constexpr char16_t kNulStandIn = 252;

// Largest buffer of any profile; local working buffers are sized by it.
inline constexpr std::size_t kMaxUnits = 8192;

// What an encode left out of the text it was given, as bits: each encoder sets them at the
// place where it skips, stops, cuts or replaces, so that a caller can tell its user. They
// never change the font text.
inline constexpr unsigned kLossNone = 0;
inline constexpr unsigned kLossCut = 1;       // the end of the data (past a bound or length)
inline constexpr unsigned kLossDropped = 2;   // characters the symbology cannot carry
inline constexpr unsigned kLossReplaced = 4;  // characters that became others
inline constexpr unsigned kLossNul = 8;       // an escape of the value 0, which adds nothing
inline constexpr unsigned kLossNotDigit = 16; // a digit field holds another character
inline constexpr unsigned kLossFilled = 32;   // too little data: a fill text in its place

// The module-wide result buffers of one deliverable. Encoders write into them and return
// pointers that stay valid until the next encode that writes the same buffer.
class Context {
public:
    explicit Context(const Profile& profile);
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    const Profile& profile() const { return profile_; }
    char16_t* resultBuffer() { return result_.get(); }
    char16_t* ean13ResultBuffer() { return ean13_.get(); }
    char16_t* code128ResultBuffer() { return code128_.get(); }

    // The loss bits of the encodes since the last clearLoss(). Reporting is not part of the
    // result, so encoders that only read the context set them too.
    unsigned loss() const { return loss_; }
    void lose(unsigned bits) const { loss_ |= bits; }
    void clearLoss() { loss_ = kLossNone; }

private:
    const Profile& profile_;
    mutable unsigned loss_ = kLossNone;
    std::unique_ptr<char16_t[]> result_;
    std::unique_ptr<char16_t[]> ean13_;
    std::unique_ptr<char16_t[]> code128_;
};

// Text built with the bounded append of the frame: at most bound - 1 characters, and a
// character that would pass the bound is silently not appended.
class Output {
public:
    Output(char16_t* buffer, std::size_t bound) : buf_(buffer), bound_(bound) { buf_[0] = 0; }

    // Appends c when length + 1 < bound; returns whether it did.
    bool put(char16_t c) {
        if (len_ + 1 >= bound_) return false;
        buf_[len_++] = c;
        buf_[len_] = 0;
        return true;
    }
    // Appends the characters of s one by one, each bounded.
    void append(std::u16string_view s) {
        for (char16_t c : s) put(c);
    }
    // Whether n more characters fit with `reserve` characters still free after them.
    bool room(std::size_t n, std::size_t reserve = 0) const { return len_ + n + reserve < bound_; }
    // Appends a whole unit only when it and `reserve` further characters fit.
    bool putUnit(std::u16string_view unit, std::size_t reserve) {
        if (!room(unit.size(), reserve)) return false;
        append(unit);
        return true;
    }

    std::size_t size() const { return len_; }
    const char16_t* data() const { return buf_; }
    std::u16string_view view() const { return {buf_, len_}; }

private:
    char16_t* buf_;
    std::size_t bound_;
    std::size_t len_ = 0;
};

// Length of a NUL-terminated UTF-16 text; a null pointer counts as empty.
std::size_t TextLength(const char16_t* text);

// Decodes the numeric escapes ("&#", decimal digits, optional ";") of `text` by the rules of
// `profile` into `out`, which holds `capacity` units; returns the decoded length. An escape
// without a value ("&#" alone, "&#0") adds nothing in either build. When `loss` is given, the
// loss bits of what the decode left out are added to it.
std::size_t DecodeCharRefs(const Profile& profile, const char16_t* text, char16_t* out,
                           std::size_t capacity, unsigned* loss = nullptr);

// The server's form: a new string that the caller owns.
std::u16string DecodeCharRefs(const Profile& profile, const char16_t* text);

// The same, with what the decode leaves out reported to the context.
std::u16string DecodeCharRefs(const Context& ctx, const char16_t* text);

// The desktop's form: the decoded text in the context's ResultBuffer.
const char16_t* DecodeCharRefsToResult(Context& ctx, const char16_t* text);

// A local working buffer that holds the decoded input of one encode.
struct WorkText {
    char16_t text[kMaxUnits];
    std::size_t length = 0;
    std::u16string_view view() const { return {text, length}; }
};

// Step 1 of every encode: the decoded input, bounded by the profile's buffer size; what the
// decode leaves out is reported to the context.
void DecodeInput(const Context& ctx, const char16_t* text, WorkText& work);

// The start of an encode that builds its text in one pass: the decoded input and an output
// over a local buffer, bounded by the profile.
class EncodeFrame {
    char16_t buf_[kMaxUnits];

public:
    EncodeFrame(const Context& ctx, const char16_t* text) : out(buf_, ctx.profile().bound) {
        DecodeInput(ctx, text, work);
    }
    WorkText work;
    Output out;
};

// Copies `text` into a result buffer of the context (bounded by its capacity) and returns it.
const char16_t* Publish(const Context& ctx, char16_t* buffer, std::u16string_view text);

}  // namespace encoding
