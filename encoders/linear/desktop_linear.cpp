#include "desktop_linear.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "code39.h"

namespace desktop {

using linear::Context;

// ---- BC412 ----

int BC412Value(char16_t c) {
    static constexpr std::array<signed char, 35> kValues = {
        0,  15, 17, 29, 11, 33, 19, 21, 8,  2,                      // 0-9
        7,  25, 20, 22, 9,  30, 3,  6,  27, 16, 24, 4,  34, 12,    // A-N
        32, 18, 1,  14, 13, 26, 5,  31, 28, 23, 10};               // P-Z
    const auto pos = kBC412Set.find(c);
    return pos == std::u16string_view::npos ? -1 : kValues[pos];
}

int InsertChar(char16_t* text, std::size_t capacity, std::size_t position, char16_t c) {
    const std::size_t n = linear::TextLength(text);
    if (n + 1 >= capacity || position > n) return -1;
    std::copy_backward(text + position, text + n + 1, text + n + 2);
    text[position] = c;
    return 1;
}

const char16_t* EncodeBC412(Context& ctx, const char16_t* text) {
    linear::EncodeFrame f(ctx, text);
    // The data, bounded so that the check character and both "*" still fit.
    char16_t data[linear::kMaxUnits] = {};
    std::size_t n = 0;
    const std::size_t room = ctx.profile().bound - 1 - 3;
    for (char16_t c : f.work.view()) {
        if (BC412Value(c) < 0) {
            ctx.lose(linear::kLossDropped);
        } else if (n >= room) {
            ctx.lose(linear::kLossCut);
            break;
        } else {
            data[n++] = c;
        }
    }
    data[n] = 0;
    if (n > 0 && InsertChar(data, linear::kMaxUnits, 1, u'0') > 0) {
        ++n;
        int even = 0, odd = 0;
        for (std::size_t i = 0; i < n; ++i) (i % 2 ? odd : even) += BC412Value(data[i]);
        const int r = (2 * (odd % 35) + even % 35) % 35;
        const int check = 17 * r % 35;
        for (char16_t c : kBC412Set)
            if (BC412Value(c) == check) data[1] = c;
    }
    f.out.put(u'*');
    f.out.append({data, n});
    f.out.put(u'*');
    return linear::Publish(ctx, ctx.resultBuffer(), f.out.view());
}

// ---- Code 39 ----

namespace {
constexpr std::u16string_view kCode39Chars = u"0123456789.+-/ $%ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// GS1 mod-10 over any characters, each counting its code minus 48 (taken modulo 10, so
// that characters below "0" count as well as digits do).
char16_t Mod10Any(std::u16string_view text) {
    int sum = 0, weight = 3;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const int value = ((static_cast<int>(*it) - 48) % 10 + 10) % 10;
        sum = (sum + weight * value) % 10;
        weight = 4 - weight;
    }
    return static_cast<char16_t>(u'0' + (10 - sum) % 10);
}
}  // namespace

const char16_t* EncodeUSSCode39(Context& ctx, const char16_t* text) {
    linear::EncodeFrame f(ctx, text);
    std::u16string kept;
    for (char16_t c : f.work.view()) {
        if (kCode39Chars.find(c) == std::u16string_view::npos) {
            ctx.lose(linear::kLossDropped);
        } else if (!f.out.room(kept.size() + 1, 3)) {
            ctx.lose(linear::kLossCut);
            break;
        } else {
            kept += c;
        }
    }
    f.out.put(u'*');
    for (char16_t c : kept) f.out.put(c == u' ' ? u'#' : c);
    f.out.put(Mod10Any(kept));
    f.out.put(u'*');
    return linear::Publish(ctx, ctx.resultBuffer(), f.out.view());
}

namespace {
// The Code 39 glyphs of one character of full ASCII; empty when it has none.
std::u16string FullAsciiUnit(char16_t c) {
    constexpr std::u16string_view kPlain = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. ";
    if (kPlain.find(c) != std::u16string_view::npos) return {c == u' ' ? u'#' : c};
    const auto [shift, letter] = linear::FullAsciiShifted(c, {u'$', u'%', u'/', u'+'});
    if (!shift) return {};
    return {shift, letter};
}
}  // namespace

const char16_t* EncodeCode39Variant3(Context& ctx, const char16_t* text) {
    linear::EncodeFrame f(ctx, text);
    f.out.put(u'[');
    for (char16_t c : f.work.view()) {
        const std::u16string unit = FullAsciiUnit(c);
        if (unit.empty()) {
            ctx.lose(linear::kLossDropped);
        } else if (!f.out.putUnit(unit, 1)) {
            ctx.lose(linear::kLossCut);
            break;
        }
    }
    f.out.put(u']');
    return linear::Publish(ctx, ctx.resultBuffer(), f.out.view());
}

// ---- Asian Code 128 ----

char16_t AsianCode128Glyph(int value) {
    if (value == 0) return 0xCC;
    if (value <= 94) return static_cast<char16_t>(value + 32);
    return static_cast<char16_t>(value + 97);
}

namespace {
constexpr int kStartA = 103, kStartB = 104, kStartC = 105;

int AsianSetAValue(char16_t c) {
    if (c >= 32 && c <= 95) return c - 32;
    if (c >= 1 && c <= 31) return c + 64;
    if (c >= 193 && c <= 199) return c - 97;
    return -1;
}
int AsianSetBValue(char16_t c) {
    if (c >= 32 && c <= 127) return c - 32;
    if (c >= 193 && c <= 199) return c - 97;
    return -1;
}

// Start, data values, check, stop and close, each glyph above 127 followed by the trail.
// The data values are cut so that check, stop and close always fit the bound.
// An empty input gives an empty text.
const char16_t* AsianSymbol(Context& ctx, int start, const linear::WorkText& input,
                            const std::vector<int>& data) {
    char16_t* result = ctx.code128ResultBuffer();
    std::fill_n(result, ctx.profile().bufferUnits, char16_t{0});
    if (input.length == 0) return result;
    linear::Output out(result, ctx.profile().bound);
    auto put = [&](char16_t g) {
        out.put(g);
        if (g > 127) out.put(kAsianTrail);
    };
    constexpr std::size_t kTrailer = 2 + 4;  // check with its trail, stop and close with theirs
    put(AsianCode128Glyph(start));
    long sum = start;
    long position = 1;
    for (int v : data) {
        const char16_t g = AsianCode128Glyph(v);
        if (!out.room(g > 127 ? 2 : 1, kTrailer)) {
            ctx.lose(linear::kLossCut);
            break;
        }
        put(g);
        sum += position++ * v;
    }
    put(AsianCode128Glyph(static_cast<int>(sum % 103)));
    put(kAsianStop);
    put(kAsianClose);
    return result;
}

const char16_t* FixedSet(Context& ctx, const char16_t* text, int start, int (*value)(char16_t)) {
    linear::WorkText work;
    linear::DecodeInput(ctx, text, work);
    std::vector<int> values;
    for (char16_t c : work.view()) {
        if (const int v = value(c); v >= 0) values.push_back(v);
        else ctx.lose(linear::kLossDropped);
    }
    return AsianSymbol(ctx, start, work, values);
}
}  // namespace

const char16_t* EncodeAsianCode128A(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, kStartA, AsianSetAValue);
}

const char16_t* EncodeAsianCode128B(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, kStartB, AsianSetBValue);
}

// Set C: digits in pairs, a run of odd length with a "0" in front; the characters 197 to
// 199 stand alone as CODE B, CODE A and FNC1 (values 100 to 102). The characters 192 to
// 196 would give the values 95 to 99, which set C spends on digit pairs: they are dropped.
const char16_t* EncodeAsianCode128C(Context& ctx, const char16_t* text) {
    linear::WorkText work;
    linear::DecodeInput(ctx, text, work);
    std::vector<int> values;
    const auto t = work.view();
    auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] >= 197 && t[i] <= 199) {
            values.push_back(t[i] - 97);
            ++i;
        } else if (digit(t[i])) {
            std::u16string run;
            for (; i < t.size(); ++i) {
                if (digit(t[i])) run += t[i];
                else if (!(t[i] < 197 || t[i] > 199)) break;
                else ctx.lose(linear::kLossDropped);  // dropped, and the run goes on
            }
            if (run.size() % 2) run.insert(run.begin(), u'0');
            for (std::size_t k = 0; k < run.size(); k += 2)
                values.push_back((run[k] - u'0') * 10 + (run[k + 1] - u'0'));
        } else {
            ctx.lose(linear::kLossDropped);
            ++i;
        }
    }
    return AsianSymbol(ctx, kStartC, work, values);
}

}  // namespace desktop
