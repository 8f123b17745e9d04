#include "gs1_128.h"

#include <algorithm>
#include <cstdint>

#include "code128.h"
#include "fixed_text.h"

namespace linear {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct Ai {
    std::u16string_view digits;  // the AI digits as written
    int number = 0;
    std::u16string_view data;    // up to the next "(" or the end
};

// The AI whose "(" stands at `open` in text whose brackets are checked.
Ai AiAt(std::u16string_view t, std::size_t open) {
    Ai ai;
    const std::size_t close = t.find(u')', open);
    ai.digits = t.substr(open + 1, close - open - 1);
    for (char16_t c : ai.digits) ai.number = ai.number * 10 + (c - u'0');
    const std::size_t next = t.find(u'(', close);
    ai.data = t.substr(close + 1, (next == std::u16string_view::npos ? t.size() : next) - close - 1);
    return ai;
}

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// The data-length rule of an AI: whether `n` data characters are allowed.
bool LengthAllowed(int ai, std::size_t n) {
    auto exactly = [n](std::size_t k) { return n == k; };
    auto upTo = [n](std::size_t k) { return n >= 1 && n <= k; };
    if (ai == 0) return exactly(18);
    if (ai == 1 || ai == 2 || ai == 3 || ai == 41 || ai == 42 || ai == 70) return exactly(14);
    if (ai == 4) return exactly(16);
    if (ai == 10 || ai == 21) return upTo(20);
    if (In(ai, 11, 19)) return exactly(6);
    if (ai == 20) return exactly(2);
    if (In(ai, 22, 25) || ai == 39) return upTo(29);
    if (In(ai, 31, 36)) return exactly(8);
    if (In(ai, 90, 99)) return upTo(30);
    if (ai == 400) return upTo(29);
    if (In(ai, 410, 415)) return exactly(13);
    if (In(ai, 3100, 3699)) return exactly(6);
    if (ai == 8001) return exactly(14);
    if (ai == 8002) return upTo(20);
    if (ai == 8003 || ai == 8004) return upTo(30);
    if (ai == 8005 || ai == 8100) return exactly(6);
    if (ai == 8101) return exactly(10);
    if (ai == 8102) return exactly(2);
    return true;
}

bool Refused(int ai) {
    return In(ai, 100, 179) || In(ai, 200, 229) || In(ai, 300, 379) || In(ai, 700, 703) ||
           In(ai, 800, 810) || In(ai, 900, 999) || In(ai, 1000, 1799) || In(ai, 2000, 2299) ||
           In(ai, 3000, 3099) || In(ai, 3700, 3799) || In(ai, 4100, 4199) || In(ai, 9000, 9999);
}

// Whether an AI, by its first two digits as written, has data of predefined length.
bool PredefinedLength(std::u16string_view aiDigits) {
    const int p = (aiDigits[0] - u'0') * 10 + (aiDigits[1] - u'0');
    return In(p, 0, 4) || In(p, 11, 20) || p == 23 || In(p, 31, 36) || p == 41;
}


const char16_t* Message(Context& ctx, std::u16string_view text) {
    return Publish(ctx, ctx.code128ResultBuffer(), text);
}

// The structural check of bracketed data: brackets paired and not nested, AIs of two to
// four digits. Returns the message of the first fault found, or an empty text.
std::u16string_view StructureFault(std::u16string_view t) {
    int depth = 0, maxDepth = 0;
    std::size_t aiLength = 0, longest = 0, shortest = SIZE_MAX;
    bool nonNumeric = false;
    for (char16_t c : t) {
        if (c == u'(') {
            maxDepth = std::max(maxDepth, ++depth);
            aiLength = 0;
        } else if (c == u')') {
            --depth;
            shortest = std::min(shortest, aiLength);
            aiLength = 0;
        } else if (depth > 0) {
            ++aiLength;
            longest = std::max(longest, aiLength);
            if (!IsDigit(c)) nonNumeric = true;
        }
        if (depth < 0) break;  // a ")" before its "(" can never be matched
    }
    if (depth != 0) return u"Malformed AI in input data (brackets don't match)";
    if (maxDepth > 1) return u"Found nested brackets in input data";
    if (longest > 4) return u"Invalid AI in input data (AI too long)";
    if (shortest < 2) return u"Invalid AI in input data (AI too short)";
    if (nonNumeric) return u"Invalid AI in input data (non-numeric characters in AI)";
    return {};
}

// The 17 digits of an SSCC without AI and check digit: a leading "00" is taken as the AI
// only when the digits go on past a bare 18-digit code.
FixedText<17> SsccDigits(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    FixedText<19> first;
    std::size_t count = 0;
    for (char16_t c : work.view())
        if (IsDigit(c)) {
            first += c;
            ++count;
        }
    std::u16string_view d = first;
    if (count >= 19 && d.substr(0, 2) == u"00") d.remove_prefix(2);
    FixedText<17> out = d.substr(0, std::min<std::size_t>(17, d.size()));
    out.resize(17, u'0');
    return out;
}

}  // namespace

void Gs1AiToTextW(char16_t* buffer, std::size_t capacity, int ai) {
    if (capacity == 0) return;
    FixedText<16> s(u"(");
    if (ai < 10) s += u'0';
    char16_t digits[12];
    int n = 0;
    unsigned v = ai < 0 ? 0u : static_cast<unsigned>(ai);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v);
    while (n) s += digits[--n];
    s += u')';
    const std::size_t len = std::min(s.size(), capacity - 1);
    std::copy_n(s.c_str(), len, buffer);
    buffer[len] = 0;
}

const char16_t* EncodeGS1128(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    // Filtered in place: the kept characters never outrun the reading position.
    std::size_t n = 0;
    for (std::size_t i = 0; i < work.length; ++i) {
        const char16_t c = work.text[i];
        if ((c >= 32 && c <= 127) || c == kInFnc1) work.text[n++] = c;
        else ctx.lose(kLossDropped);
    }
    work.text[n] = 0;
    const std::u16string_view t(work.text, n);

    if (t.find(u'(') == std::u16string_view::npos) {
        std::size_t m = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (work.text[i] != u')') work.text[m++] = work.text[i];
            else ctx.lose(kLossDropped);
        }
        work.text[m] = 0;
        return EncodeCode128Auto(ctx, work.text);
    }
    const std::u16string_view fault = StructureFault(t);
    if (!fault.empty()) return Message(ctx, fault);

    // Each AI at fault replaces the message; the last one found is named.
    FixedText<64> message;
    for (std::size_t open = t.find(u'('); open != std::u16string_view::npos; open = t.find(u'(', open + 1)) {
        const Ai ai = AiAt(t, open);
        const bool length = !LengthAllowed(ai.number, ai.data.size());
        if (!length && !Refused(ai.number)) continue;
        message = length ? u"Invalid data length for AI " : u"Invalid AI value ";
        char16_t aiText[16];
        Gs1AiToTextW(aiText, 16, ai.number);
        message += aiText;
    }
    if (!message.empty()) return Message(ctx, message);

    // FNC1, then each AI's digits and data; FNC1 after a field of variable length that
    // another AI follows. The data is never longer than the text it comes from.
    FixedText<kMaxUnits> data;
    data += kInFnc1;
    bool variableBefore = false;
    for (std::size_t open = t.find(u'('); open != std::u16string_view::npos; open = t.find(u'(', open + 1)) {
        const Ai ai = AiAt(t, open);
        if (variableBefore) data += kInFnc1;
        data += ai.digits;
        data += ai.data;
        variableBefore = !PredefinedLength(ai.digits);
    }
    return EncodeCode128Auto(ctx, data.c_str());
}

const char16_t* EncodeUSPS128(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    FixedText<kMaxUnits + 2> data;
    FixedText<kMaxUnits> digits;
    for (char16_t c : work.view()) {
        if (!IsDigit(c) && c != kInFnc1) {
            ctx.lose(kLossDropped);
            continue;
        }
        if (IsDigit(c)) digits += c;
        if (data.empty() && c != kInFnc1) data += kInFnc1;  // FNC1 always comes first
        data += c;
    }
    if (data.empty()) data += kInFnc1;
    data += Mod10Check(digits);
    return EncodeCode128Auto(ctx, data.c_str());
}

const char16_t* EncodeSSCC(Context& ctx, const char16_t* text) {
    const FixedText<17> d = SsccDigits(ctx, text);
    FixedText<24> data;
    data += kInFnc1;
    data += u"00";
    data += d;
    data += Mod10Check(d);
    const char16_t* symbol = EncodeCode128Auto(ctx, data.c_str());
    return Publish(ctx, ctx.resultBuffer(), symbol);
}

char16_t ComputeSSCCChecksum(Context& ctx, const char16_t* text) {
    return Mod10Check(SsccDigits(ctx, text));
}

}  // namespace linear
