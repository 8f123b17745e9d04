#include "code128.h"

#include <algorithm>

namespace linear {

namespace {

Code128Glyphs MakeScheme(bool desktop) {
    Code128Glyphs g{};
    auto high = [desktop](int v) {
        return static_cast<char16_t>(desktop ? v - 79 : v + 145);
    };
    for (int v = 0; v < 106; ++v) {
        if (v == 0) g.data[v] = desktop ? 0x1C : 0xFC;
        else if (v <= 94) g.data[v] = static_cast<char16_t>(v + 32);
        else g.data[v] = high(v);
    }
    for (int v = 0; v < 103; ++v) {
        char16_t ab, c;
        if (v == 0) {
            ab = desktop ? 0x1C : 0xFC;
            c = desktop ? 0x1D : 0xFD;
        } else if (v <= 38) {
            ab = c = static_cast<char16_t>(v + 383);
        } else if (v <= 94) {
            ab = c = static_cast<char16_t>(v + 127);
        } else {
            ab = high(v);
            c = v <= 99 ? static_cast<char16_t>(v + 127) : high(v);
        }
        g.checkAB[v] = ab;
        g.checkC[v] = c;
    }
    g.stop = desktop ? 0x1B : 0xFB;
    return g;
}

const Code128Glyphs kServerGlyphs = MakeScheme(false);
const Code128Glyphs kDesktopGlyphs = MakeScheme(true);

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Set-A value of an input character, -1 when set A cannot carry it. The start values have
// no place inside the data, so 248 to 250 are not taken.
int SetAValue(char16_t c) {
    if (c >= 32 && c <= 95) return c - 32;
    if (c == kNulStandIn) return 64;
    if (c >= 1 && c <= 31) return c + 64;
    if (c >= 241 && c <= 247) return c - 145;
    return -1;
}

int SetBValue(char16_t c) {
    if (c >= 32 && c <= 127) return c - 32;
    if (c >= 241 && c <= 247) return c - 145;
    return -1;
}

// Values of a symbol under construction: start, data units, and room for check and stop.
class Values {
public:
    explicit Values(const Profile& p) : limit_(p.bound - 2) {}  // glyphs = values + stop
    // Adds a unit of one or two values only when it fits with the check and stop.
    bool add(std::initializer_list<int> unit) {
        if (n_ + unit.size() + 1 > limit_) return false;
        for (int v : unit) v_[n_++] = static_cast<unsigned char>(v);
        return true;
    }
    void start(int value) { v_[n_++] = static_cast<unsigned char>(value); }
    // Mod-103 check: the start value plus each data value times its position.
    int check() const {
        long sum = n_ == 0 ? 0 : v_[0];
        for (std::size_t i = 1; i < n_; ++i) sum += static_cast<long>(i) * v_[i];
        return static_cast<int>(sum % 103);
    }
    std::size_t size() const { return n_; }
    int operator[](std::size_t i) const { return v_[i]; }

private:
    std::size_t limit_;
    std::size_t n_ = 0;
    unsigned char v_[kMaxUnits];
};

enum class CheckForm { NoText, NoTextSetC, Printed };

const char16_t* Finish(Context& ctx, const Values& values, CheckForm form) {
    const Code128Glyphs& g = Code128GlyphScheme(ctx.profile());
    // The values already leave room for check and stop within the bound.
    Output out(ctx.code128ResultBuffer(), ctx.profile().bound);
    for (std::size_t i = 0; i < values.size(); ++i) out.put(g.data[values[i]]);
    const int check = values.check();
    out.put(form == CheckForm::Printed ? g.data[check]
            : form == CheckForm::NoText ? g.checkAB[check]
                                        : g.checkC[check]);
    out.put(g.stop);
    return ctx.code128ResultBuffer();
}

// Clears the Code 128 buffer; returns whether the decoded input is empty.
bool Begin(Context& ctx, const char16_t* text, WorkText& work) {
    std::fill_n(ctx.code128ResultBuffer(), ctx.profile().bufferUnits, char16_t{0});
    DecodeInput(ctx, text, work);
    return work.length == 0;
}

const char16_t* FixedSet(Context& ctx, const char16_t* text, bool setA, bool printedCheck) {
    WorkText work;
    if (Begin(ctx, text, work)) return ctx.code128ResultBuffer();
    Values values(ctx.profile());
    values.start(setA ? kStartA : kStartB);
    for (char16_t c : work.view()) {
        const int v = setA ? SetAValue(c) : SetBValue(c);
        if (v < 0) {
            ctx.lose(kLossDropped);
        } else if (!values.add({v})) {
            ctx.lose(kLossCut);
            break;
        }
    }
    return Finish(ctx, values, printedCheck ? CheckForm::Printed : CheckForm::NoText);
}

// Set C: digits in pairs and the characters 245 to 247 as the single values 100 to 102.
// A run of digits of odd length gets a "0" in front of it.
const char16_t* SetC(Context& ctx, const char16_t* text, bool printedCheck) {
    WorkText work;
    if (Begin(ctx, text, work)) return ctx.code128ResultBuffer();
    // Filtered in place: the kept characters never outrun the reading position.
    std::size_t n = 0;
    for (std::size_t i = 0; i < work.length; ++i) {
        const char16_t c = work.text[i];
        if (IsDigit(c) || (c >= 245 && c <= 247)) work.text[n++] = c;
        else ctx.lose(kLossDropped);
    }
    const char16_t* kept = work.text;
    Values values(ctx.profile());
    values.start(kStartC);
    for (std::size_t i = 0; i < n;) {
        if (!IsDigit(kept[i])) {
            if (!values.add({kept[i] - 145})) {
                ctx.lose(kLossCut);
                break;
            }
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && IsDigit(kept[end])) ++end;
        // An odd run takes a "0" in front: its first digit then stands alone as "0d".
        bool full = false;
        std::size_t k = i;
        if ((end - i) % 2) full = !values.add({kept[k++] - u'0'});
        for (; k < end && !full; k += 2)
            full = !values.add({(kept[k] - u'0') * 10 + (kept[k + 1] - u'0')});
        if (full) {
            ctx.lose(kLossCut);
            break;
        }
        i = end;
    }
    return Finish(ctx, values, printedCheck ? CheckForm::Printed : CheckForm::NoTextSetC);
}

// Characters the automatic encoder can carry.
bool AutoKeeps(char16_t c) {
    return (c >= 1 && c <= 126) || c == kInFnc2 || c == kInFnc1 || c == kNulStandIn;
}

bool NeedsSetA(char16_t c) { return (c >= 1 && c <= 31) || c == kNulStandIn; }

}  // namespace

const Code128Glyphs& Code128GlyphScheme(const Profile& profile) {
    return profile.desktopGlyphs ? kDesktopGlyphs : kServerGlyphs;
}

const char16_t* EncodeCode128A(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, true, false);
}
const char16_t* EncodeCode128B(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, false, false);
}
const char16_t* EncodeCode128C(Context& ctx, const char16_t* text) { return SetC(ctx, text, false); }
const char16_t* EncodeCode128AWCheck(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, true, true);
}
const char16_t* EncodeCode128BWCheck(Context& ctx, const char16_t* text) {
    return FixedSet(ctx, text, false, true);
}
const char16_t* EncodeCode128CWCheck(Context& ctx, const char16_t* text) {
    return SetC(ctx, text, true);
}

const char16_t* EncodeCode128Auto(Context& ctx, const char16_t* text) {
    WorkText work;
    if (Begin(ctx, text, work)) return ctx.code128ResultBuffer();
    // Characters no set of the automatic choice carries are dropped first, so that the start
    // set is picked by the first character that is encoded.
    std::size_t n = 0;
    for (std::size_t i = 0; i < work.length; ++i) {
        if (AutoKeeps(work.text[i])) work.text[n++] = work.text[i];
        else ctx.lose(kLossDropped);
    }
    if (n == 0) return ctx.code128ResultBuffer();
    const char16_t* t = work.text;
    auto digitsAt = [&](std::size_t i, std::size_t count) {
        if (i + count > n) return false;
        for (std::size_t k = i; k < i + count; ++k)
            if (!IsDigit(t[k])) return false;
        return true;
    };

    enum Set { A, B, C } set;
    if (n > 4 && digitsAt(0, 4)) set = C;
    else if (NeedsSetA(t[0])) set = A;
    else if (t[0] == kInFnc1) set = C;
    else set = B;  // 32 to 126 and FNC2
    Values values(ctx.profile());
    values.start(set == A ? kStartA : set == B ? kStartB : kStartC);

    auto unit = [&](Set want, int switchValue, int value) {
        if (set == want) return values.add({value});
        if (!values.add({switchValue, value})) return false;
        set = want;
        return true;
    };
    for (std::size_t i = 0; i < n;) {
        const char16_t c = t[i];
        bool ok;
        std::size_t step = 1;
        if (c == kInFnc2) {
            ok = set == C ? unit(B, kCodeB, kFnc2) : values.add({kFnc2});
        } else if (c == kInFnc1) {
            ok = values.add({kFnc1});
        } else if (IsDigit(c) && ((i + 4 < n && digitsAt(i, 4)) || (set == C && digitsAt(i, 2)))) {
            ok = unit(C, kCodeC, (c - u'0') * 10 + (t[i + 1] - u'0'));
            step = 2;
        } else if (NeedsSetA(c) || (set == A && c >= 33 && c <= 95)) {
            ok = unit(A, kCodeA, SetAValue(c));
        } else {
            ok = unit(B, kCodeB, SetBValue(c));
        }
        if (!ok) {
            ctx.lose(kLossCut);
            break;
        }
        i += step;
    }
    return Finish(ctx, values, CheckForm::Printed);
}

}  // namespace linear
