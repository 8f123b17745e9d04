#include "buffers.h"

#include <algorithm>

namespace encoding {

const Profile kServer{"server", 2048, 2048, 255, false, false};
const Profile kDesktop{"desktop", 8192, 256, 511, true, true};

Context::Context(const Profile& profile)
    : profile_(profile),
      result_(new char16_t[profile.bufferUnits]()),
      ean13_(new char16_t[profile.bufferUnits]()),
      code128_(new char16_t[profile.bufferUnits]()) {}

std::size_t TextLength(const char16_t* text) {
    if (!text) return 0;
    std::size_t n = 0;
    while (text[n]) ++n;
    return n;
}

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Writes into a fixed buffer, dropping what does not fit.
struct Sink {
    char16_t* out;
    std::size_t capacity;  // units, terminator included
    std::size_t len = 0;
    bool full = false;
    void put(char16_t c) {
        if (len + 1 < capacity) out[len++] = c;
        else full = true;
    }
};

}  // namespace

std::size_t DecodeCharRefs(const Profile& profile, const char16_t* text, char16_t* out,
                           std::size_t capacity, unsigned* loss) {
    if (capacity == 0) return 0;
    unsigned lost = kLossNone;
    Sink sink{out, capacity};
    const std::size_t n = TextLength(text);
    std::size_t i = 0;
    while (i < n) {
        if (!(text[i] == u'&' && i + 1 < n && text[i + 1] == u'#')) {
            sink.put(text[i++]);
            continue;
        }
        const std::size_t digitsStart = i + 2;
        std::size_t j = digitsStart;
        unsigned value = 0;
        while (j < n && IsDigit(text[j]) && value < 100) value = value * 10 + (text[j++] - u'0');
        const bool semicolon = j < n && text[j] == u';';
        if (value > profile.escapeMax) {
            // The escape stays as text; the server keeps its ";", the desktop drops it.
            for (std::size_t k = i; k < j; ++k) sink.put(text[k]);
            if (semicolon && !profile.desktopEscapes) sink.put(u';');
            else if (semicolon) lost |= kLossDropped;
        } else if (value == 0) {
            lost |= kLossNul;
        } else if (profile.desktopEscapes && sink.len >= 255) {
            lost |= kLossCut;  // the desktop decodes a character only while the text is shorter than 255
        } else {
            sink.put(static_cast<char16_t>(value));
        }
        i = semicolon ? j + 1 : j;
    }
    out[sink.len] = 0;
    if (sink.full) lost |= kLossCut;
    if (loss) *loss |= lost;
    return sink.len;
}

std::u16string DecodeCharRefs(const Profile& profile, const char16_t* text) {
    std::u16string s(TextLength(text) + 1, u'\0');
    s.resize(DecodeCharRefs(profile, text, s.data(), s.size()));
    return s;
}

std::u16string DecodeCharRefs(const Context& ctx, const char16_t* text) {
    std::u16string s(TextLength(text) + 1, u'\0');
    unsigned lost = kLossNone;
    s.resize(DecodeCharRefs(ctx.profile(), text, s.data(), s.size(), &lost));
    ctx.lose(lost);
    return s;
}

const char16_t* DecodeCharRefsToResult(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    return Publish(ctx, ctx.resultBuffer(), work.view());
}

void DecodeInput(const Context& ctx, const char16_t* text, WorkText& work) {
    unsigned lost = kLossNone;
    work.length = DecodeCharRefs(ctx.profile(), text, work.text, ctx.profile().bufferUnits, &lost);
    ctx.lose(lost);
}

const char16_t* Publish(const Context& ctx, char16_t* buffer, std::u16string_view text) {
    const std::size_t n = std::min(text.size(), ctx.profile().bufferUnits - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return buffer;
}

}  // namespace encoding
