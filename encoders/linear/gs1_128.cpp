#include "gs1_128.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "code128.h"

namespace linear {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct Ai {
    std::size_t digitsAt;  // first AI digit, just behind its "("
    std::size_t digits;    // count of AI digits
    int number;
    std::size_t dataAt;    // first data character, just behind its ")"
    std::size_t dataLength;
};

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

std::u16string AiText(int ai) {
    char16_t buf[16];
    Gs1AiToTextW(buf, 16, ai);
    return buf;
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
std::u16string SsccDigits(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string d;
    for (char16_t c : work.view())
        if (IsDigit(c)) d += c;
    if (d.size() >= 19 && d.compare(0, 2, u"00") == 0) d.erase(0, 2);
    d.resize(17, u'0');
    return d;
}

}  // namespace

void Gs1AiToTextW(char16_t* buffer, std::size_t capacity, int ai) {
    std::u16string s = u"(";
    if (ai < 10) s += u'0';
    for (char c : std::to_string(ai)) s += static_cast<char16_t>(c);
    s += u')';
    if (capacity == 0) return;
    const std::size_t n = std::min(s.size(), capacity - 1);
    s.copy(buffer, n);
    buffer[n] = 0;
}

const char16_t* EncodeGS1128(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string t;
    for (char16_t c : work.view())
        if ((c >= 32 && c <= 127) || c == kInFnc1) t += c;

    if (t.find(u'(') == std::u16string::npos) {
        std::u16string plain;
        for (char16_t c : t)
            if (c != u')') plain += c;
        return EncodeCode128Auto(ctx, plain.c_str());
    }
    const std::u16string_view fault = StructureFault(t);
    if (!fault.empty()) return Message(ctx, fault);

    std::vector<Ai> ais;
    for (std::size_t i = t.find(u'('); i != std::u16string::npos; i = t.find(u'(', i + 1)) {
        Ai ai{};
        ai.digitsAt = i + 1;
        const std::size_t close = t.find(u')', i);
        ai.digits = close - ai.digitsAt;
        for (std::size_t k = ai.digitsAt; k < close; ++k) ai.number = ai.number * 10 + (t[k] - u'0');
        ai.dataAt = close + 1;
        const std::size_t next = t.find(u'(', close);
        ai.dataLength = (next == std::u16string::npos ? t.size() : next) - ai.dataAt;
        ais.push_back(ai);
    }

    // Each AI at fault replaces the message; the last one found is named.
    std::u16string message;
    for (const Ai& ai : ais) {
        if (!LengthAllowed(ai.number, ai.dataLength))
            message = u"Invalid data length for AI " + AiText(ai.number);
        else if (Refused(ai.number))
            message = u"Invalid AI value " + AiText(ai.number);
    }
    if (!message.empty()) return Message(ctx, message);

    std::u16string data(1, kInFnc1);
    for (std::size_t k = 0; k < ais.size(); ++k) {
        const Ai& ai = ais[k];
        const std::u16string_view aiDigits(t.data() + ai.digitsAt, ai.digits);
        if (k > 0 && !PredefinedLength({t.data() + ais[k - 1].digitsAt, ais[k - 1].digits}))
            data += kInFnc1;
        data += aiDigits;
        data += std::u16string_view(t.data() + ai.dataAt, ai.dataLength);
    }
    return EncodeCode128Auto(ctx, data.c_str());
}

const char16_t* EncodeUSPS128(Context& ctx, const char16_t* text) {
    WorkText work;
    DecodeInput(ctx, text, work);
    std::u16string data, digits;
    for (char16_t c : work.view()) {
        if (IsDigit(c)) digits += c;
        if (IsDigit(c) || c == kInFnc1) data += c;
    }
    if (data.empty() || data[0] != kInFnc1) data.insert(data.begin(), kInFnc1);
    data += Mod10Check(digits);
    return EncodeCode128Auto(ctx, data.c_str());
}

const char16_t* EncodeSSCC(Context& ctx, const char16_t* text) {
    const std::u16string d = SsccDigits(ctx, text);
    const std::u16string data = std::u16string(1, kInFnc1) + u"00" + d + Mod10Check(d);
    const char16_t* symbol = EncodeCode128Auto(ctx, data.c_str());
    return Publish(ctx, ctx.resultBuffer(), symbol);
}

char16_t ComputeSSCCChecksum(Context& ctx, const char16_t* text) {
    return Mod10Check(SsccDigits(ctx, text));
}

}  // namespace linear
