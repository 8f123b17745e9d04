#include "code16k.h"

#include "workspace.h"

namespace matrix {

namespace {

enum Set : char { kSetA = 'A', kSetB = 'B', kSetC = 'C' };

// Symbol character values of the function characters.
constexpr int kShift = 98, kCodeC = 99, kFnc1 = 102;
int CodeA() { return 101; }  // in sets B and C
int CodeB() { return 100; }  // in sets A and C
int Fnc4(Set s) { return s == kSetA ? 101 : 100; }

// Glyph of a value written through the set A or the set B table.
char16_t GlyphA(int v) {
    if (v < 64) return static_cast<char16_t>(32 + v);
    if (v == 64) return 220;
    if (v < 96) return static_cast<char16_t>(v - 64);
    return static_cast<char16_t>(226 + v - 96);
}
char16_t GlyphB(int v) { return code16k::ValueGlyph(v); }

// Start and stop values of rows 1 to 16.
constexpr int kStartValue[16] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};
constexpr int kStopValue[16] = {0, 1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7, 0, 1, 2, 3};

// Input units: an ASCII character 0..127, kUnitFnc1, or kExtended + (c - 128) for a
// character 128..255 that FNC4 carries.
constexpr int kUnitFnc1 = 1000;
constexpr int kExtended = 256;

bool IsDigit(int u) { return u >= '0' && u <= '9'; }
int Base(int u) { return u >= kExtended && u < kUnitFnc1 ? u - kExtended : u; }
bool InA(int c) { return c < 96; }
bool InB(int c) { return c >= 32 && c < 128; }
bool OnlyA(int u) { return u < 32; }
bool OnlyB(int u) { return u >= 96 && u < 128; }
int ValueIn(Set s, int c) { return s == kSetA && c < 32 ? c + 64 : c - 32; }

constexpr int kMaxData = 77;

struct Symbols {
    int value[96];
    Set set[96];
    int count = 0;
    void put(int v, Set s) {
        value[count] = v;
        set[count++] = s;
    }
};

}  // namespace

namespace code16k {

int Finish(std::vector<int>& values, int mode) {
    while (values.size() < 8 || values.size() % 5 != 3) values.push_back(kPad);
    const int rows = static_cast<int>(values.size() + 2) / 5;
    values[0] = 7 * (rows - 2) + mode;
    long first = 0, second = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        first += values[i] * static_cast<long>(i + 2);
        second += values[i] * static_cast<long>(i + 1);
    }
    first %= 107;
    second = (second + first * static_cast<long>(values.size() + 1)) % 107;
    values.push_back(static_cast<int>(first));
    values.push_back(static_cast<int>(second));
    return rows;
}

char16_t ValueGlyph(int v) {
    if (v == 0) return 224;
    if (v < 96) return static_cast<char16_t>(32 + v);
    return static_cast<char16_t>(226 + v - 96);
}

char16_t RowStartGlyph(int row) { return static_cast<char16_t>(0xED + kStartValue[row]); }
char16_t RowStopGlyph(int row) { return static_cast<char16_t>(0xF5 + kStopValue[row]); }

}  // namespace code16k

namespace {

// The input characters as units; characters beyond 255 have no Code 16K form and are
// dropped. Returns the unit count.
int InputUnits(std::u16string_view text, int* units) {
    int n = 0;
    for (char16_t c : text) {
        if (c == kCode16kFnc1) units[n++] = kUnitFnc1;
        else if (c == kCode16kNul) units[n++] = 0;
        else if (c < 128) units[n++] = c;
        else if (c < 256) units[n++] = kExtended + (c - 128);
    }
    return n;
}

// The symbol characters of the units: the start mode with the characters it takes, then the
// data in code sets A, B and C.
class Encodation {
public:
    Encodation(const int* units, int n) : units_(units), n_(n) {}

    // The start mode (0 to 6) and the characters it takes; the mode character is a place
    // holder that Finish sets.
    int StartMode() {
        int mode = 1;
        sym.put(0, kSetB);
        if (units_[0] == kUnitFnc1) {
            pos_ = 1;
            if (n_ > 2 && IsDigit(units_[1]) && IsDigit(units_[2])) mode = 4, set_ = kSetC;
            else mode = 3;
        } else if (DigitsFrom(0) == n_ && n_ > 1) {
            if (n_ % 2 == 0) {
                mode = 2, set_ = kSetC;
            } else {
                mode = 5, set_ = kSetC;
                TakeInB(1);
            }
        } else if (OnlyB(units_[0]) && n_ > 1 && DigitsFrom(1) == n_ - 1) {
            const int rest = n_ - 1;
            if (rest % 2 == 0) {
                mode = 5, set_ = kSetC;
                TakeInB(1);
            } else if (rest - 1 >= 4) {
                mode = 6, set_ = kSetC;
                TakeInB(2);
            }
        } else if (OnlyA(units_[0]) && !(n_ > 1 && OnlyB(Base(units_[1])) && units_[1] < kExtended)) {
            mode = 0, set_ = kSetA;
        }
        return mode;
    }

    // The data, whole characters only, cut after 77 symbol characters.
    void Data() {
        while (pos_ < n_) {
            const int before = sym.count;
            if (set_ == kSetC) StepC();
            else StepAB();
            if (sym.count - 1 > kMaxData) {
                sym.count = before;
                break;
            }
        }
    }

    Symbols sym;

private:
    int DigitsFrom(int from) const {
        int d = 0;
        while (from + d < n_ && IsDigit(units_[from + d])) ++d;
        return d;
    }
    // The first `count` units in set B, taken by the start modes 5 and 6.
    void TakeInB(int count) {
        for (; pos_ < count; ++pos_) sym.put(ValueIn(kSetB, units_[pos_]), kSetB);
    }

    // Set C: digit pairs and FNC1; anything else switches to set A or B.
    void StepC() {
        const int u = units_[pos_];
        if (pos_ + 1 < n_ && IsDigit(u) && IsDigit(units_[pos_ + 1])) {
            sym.put((u - '0') * 10 + (units_[pos_ + 1] - '0'), kSetC);
            pos_ += 2;
        } else if (u == kUnitFnc1) {
            sym.put(kFnc1, kSetC);
            ++pos_;
        } else {
            const Set target = u != kUnitFnc1 && OnlyA(Base(u)) ? kSetA : kSetB;
            sym.put(target == kSetA ? CodeA() : CodeB(), kSetC);
            set_ = target;
        }
    }

    // Sets A and B: four digits or more go to set C (an odd count after one more character
    // here); a character of the other set is shifted when alone, else latched.
    void StepAB() {
        const int u = units_[pos_];
        const int c = Base(u);
        const bool extended = u >= kExtended && u < kUnitFnc1;
        if (const int d = DigitsFrom(pos_); d >= 4) {
            if (d % 2) {
                sym.put(ValueIn(set_, u), set_);
                ++pos_;
            }
            sym.put(kCodeC, set_);
            set_ = kSetC;
            return;
        }
        if (u == kUnitFnc1) {
            sym.put(kFnc1, set_);
            ++pos_;
            return;
        }
        const Set other = set_ == kSetA ? kSetB : kSetA;
        if (set_ == kSetA ? InA(c) : InB(c)) {
            if (extended) sym.put(Fnc4(set_), set_);
            sym.put(ValueIn(set_, c), set_);
            ++pos_;
            return;
        }
        const int next = pos_ + 1 < n_ ? units_[pos_ + 1] : -1;
        const int nb = Base(next);
        const bool nextOther = next >= 0 && next != kUnitFnc1 && (set_ == kSetA ? !InA(nb) : !InB(nb));
        if (extended || nextOther) {
            sym.put(set_ == kSetA ? CodeB() : CodeA(), set_);
            set_ = other;
        } else {
            sym.put(kShift, set_);
            sym.put(ValueIn(other, c), other);
            ++pos_;
        }
    }

    const int* units_;
    int n_;
    int pos_ = 0;
    Set set_ = kSetB;
};

}  // namespace

const char16_t* EncodeCode16K(encoding::Context& ctx, const char16_t* text, const Call& call) {
    const bool crlf = call.CrLf(true);
    encoding::WorkText work;
    encoding::DecodeInput(ctx, text, work);
    int* const units = SharedWorkspace().code16k.units;
    const int n = InputUnits(work.view(), units);
    char16_t buf[encoding::kMaxUnits];
    encoding::Output out(buf, ctx.profile().bound);
    if (n == 0) return encoding::Publish(ctx, ctx.resultBuffer(), out.view());

    Encodation enc(units, n);
    const int mode = enc.StartMode();
    enc.Data();
    const Symbols& sym = enc.sym;

    // Pads to a whole number of rows (at least two) with the two check characters; the
    // pads and checks are written through the set B table.
    std::vector<int> values(sym.value, sym.value + sym.count);
    const int rows = code16k::Finish(values, mode);
    code16k::WriteRows(
        rows,
        [&](int i) {
            const int v = values[static_cast<std::size_t>(i)];
            return i < sym.count && sym.set[i] == kSetA ? GlyphA(v) : GlyphB(v);
        },
        crlf, [&](char16_t c) { out.put(c); });
    return encoding::Publish(ctx, ctx.resultBuffer(), out.view());
}

}  // namespace matrix
