#include "code39.h"

namespace linear {

namespace {

// A space is drawn by the glyph "#" in the Code 39 and Code 93 fonts.
char16_t SpaceAsHash(char16_t c) { return c == u' ' ? u'#' : c; }

// Value of a Code 39/93 glyph; the glyph "#" stands for the space, value 38.
int GlyphValue(std::u16string_view values, char16_t glyph) {
    if (glyph == u'#') return 38;
    const auto pos = values.find(glyph);
    return pos == std::u16string_view::npos ? -1 : static_cast<int>(pos);
}

// Code 39 and Code 39 with check: "*", the kept glyphs, the check when asked, "*".
const char16_t* Code39Symbol(Context& ctx, const char16_t* text, bool withCheck) {
    EncodeFrame f(ctx, text);
    const std::size_t trailer = withCheck ? 2 : 1;
    f.out.put(u'*');
    unsigned sum = 0;
    const std::u16string_view in = f.work.view();
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t c = in[i];
        const auto value = kCode39Values.find(c);
        if (value == std::u16string_view::npos) {
            // A "*" typed as the first or last character is the symbol's own start or stop.
            if (!(c == u'*' && (i == 0 || i + 1 == in.size()))) ctx.lose(kLossDropped);
            continue;
        }
        if (!f.out.room(1, trailer)) {
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(SpaceAsHash(c));
        sum += static_cast<unsigned>(value);
    }
    if (withCheck) f.out.put(SpaceAsHash(kCode39Values[sum % 43]));
    f.out.put(u'*');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

// The full-ASCII pair of one character in Code 93, as shift glyph and letter; a character
// of the value table stands alone (second = 0); first = 0 when it cannot be encoded.
struct Code93Unit {
    char16_t first = 0;
    char16_t second = 0;
};

Code93Unit Code93Encode(char16_t c) {
    // The shift glyphs themselves are taken through their full-ASCII pairs below.
    const bool isShiftGlyph = c == u'^' || c == u')' || c == u'&' || c == u'(';
    if (!isShiftGlyph && c < 128 && kCode93Values.find(c) != std::u16string_view::npos)
        return {SpaceAsHash(c), 0};
    const auto [shift, letter] = FullAsciiShifted(c, {u'^', u')', u'&', u'('});
    return {shift, letter};
}

// Code 93 check over the glyphs and, when given, one more glyph after them; weights 1 to
// maxWeight repeating from the right.
char16_t Code93Check(std::u16string_view glyphs, char16_t last, unsigned maxWeight) {
    unsigned sum = 0;
    unsigned p = 0;
    if (last) sum += (p++ % maxWeight + 1) * static_cast<unsigned>(GlyphValue(kCode93Values, last));
    for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it, ++p)
        sum += (p % maxWeight + 1) * static_cast<unsigned>(GlyphValue(kCode93Values, *it));
    return SpaceAsHash(kCode93Values[sum % 47]);
}

}  // namespace

std::pair<char16_t, char16_t> FullAsciiShifted(char16_t c, const FullAsciiShifts& s) {
    auto pair = [](char16_t shift, int letter) {
        return std::pair<char16_t, char16_t>{shift, static_cast<char16_t>(letter)};
    };
    if (c == kNulStandIn) return pair(s.percent, 'U');
    if (c == u':') return pair(s.slash, 'Z');
    if (c == u'@') return pair(s.percent, 'V');
    if (c == u'`') return pair(s.percent, 'W');
    if (c >= 1 && c <= 26) return pair(s.dollar, c + 64);
    if (c >= 33 && c <= 47) return pair(s.slash, c % 32 + 64);
    if (c >= u'a' && c <= u'z') return pair(s.plus, c - 32);
    if (c >= 27 && c <= 31) return pair(s.percent, 'A' + (c - 27));
    if (c >= 59 && c <= 63) return pair(s.percent, 'F' + (c - 59));
    if (c >= 91 && c <= 95) return pair(s.percent, 'K' + (c - 91));
    if (c >= 123 && c <= 127) return pair(s.percent, 'P' + (c - 123));
    return {0, 0};
}

const char16_t* EncodeCode39(Context& ctx, const char16_t* text) {
    return Code39Symbol(ctx, text, false);
}

const char16_t* EncodeCode39Check(Context& ctx, const char16_t* text) {
    return Code39Symbol(ctx, text, true);
}

const char16_t* EncodeCode39Ext(Context& ctx, const char16_t* text) {
    EncodeFrame f(ctx, text);
    f.out.put(u'*');
    for (char16_t c : f.work.view()) {
        char16_t g;
        if (c == kNulStandIn) g = 224;  // the glyph of NUL
        else if (c > 127) {             // the font has no glyph of its own above 127
            ctx.lose(kLossDropped);
            continue;
        }
        else if (c < 32) g = static_cast<char16_t>(c + 224);
        else if (c == u' ') g = u'#';
        else if (c == u'*') g = 176;
        else if (c == u'#') g = 177;
        else if (c == 127) g = 175;
        else g = c;
        if (!f.out.room(1, 1)) {
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(g);
    }
    f.out.put(u'*');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

const char16_t* EncodeCode93(Context& ctx, const char16_t* text) {
    EncodeFrame f(ctx, text);
    f.out.put(u'[');
    for (char16_t c : f.work.view()) {
        const Code93Unit u = Code93Encode(c);
        if (!u.first) {
            ctx.lose(kLossDropped);
            continue;
        }
        const std::size_t n = u.second ? 2 : 1;
        if (!f.out.room(n, 4)) {  // room for C, K, stop and termination bar
            ctx.lose(kLossCut);
            break;
        }
        f.out.put(u.first);
        if (u.second) f.out.put(u.second);
    }
    const std::u16string_view data = f.out.view().substr(1);
    const char16_t c = Code93Check(data, 0, 20);
    const char16_t k = Code93Check(data, c, 15);
    f.out.put(c);
    f.out.put(k);
    f.out.put(u']');
    f.out.put(u'|');
    return Publish(ctx, ctx.resultBuffer(), f.out.view());
}

}  // namespace linear
