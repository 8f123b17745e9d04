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

const char16_t* EncodeCode16K(encoding::Context& ctx, const char16_t* text, const Call& call) {
    const bool crlf = call.CrLf(true);
    encoding::WorkText work;
    encoding::DecodeInput(ctx, text, work);
    int* const units = SharedWorkspace().code16k.units;
    int n = 0;
    for (char16_t c : work.view()) {
        if (c == kCode16kFnc1) units[n++] = kUnitFnc1;
        else if (c == kCode16kNul) units[n++] = 0;
        else if (c < 128) units[n++] = c;
        else if (c < 256) units[n++] = kExtended + (c - 128);
        // Characters beyond 255 have no Code 16K form and are dropped.
    }
    char16_t buf[encoding::kMaxUnits];
    encoding::Output out(buf, ctx.profile().bound);
    if (n == 0) return encoding::Publish(ctx, ctx.resultBuffer(), out.view());

    // Start mode and the characters it takes.
    auto digitsFrom = [&](int from) {
        int d = 0;
        while (from + d < n && IsDigit(units[from + d])) ++d;
        return d;
    };
    int mode = 1, pos = 0;
    Set set = kSetB;
    Symbols sym;
    sym.put(0, kSetB);  // the mode character, set below
    if (units[0] == kUnitFnc1) {
        pos = 1;
        if (n > 2 && IsDigit(units[1]) && IsDigit(units[2])) mode = 4, set = kSetC;
        else mode = 3;
    } else if (digitsFrom(0) == n && n > 1) {
        if (n % 2 == 0) {
            mode = 2, set = kSetC;
        } else {
            mode = 5, set = kSetC;
            sym.put(ValueIn(kSetB, units[0]), kSetB);
            pos = 1;
        }
    } else if (OnlyB(units[0]) && n > 1 && digitsFrom(1) == n - 1) {
        const int rest = n - 1;
        if (rest % 2 == 0) {
            mode = 5, set = kSetC;
            sym.put(ValueIn(kSetB, units[0]), kSetB);
            pos = 1;
        } else if (rest - 1 >= 4) {
            mode = 6, set = kSetC;
            sym.put(ValueIn(kSetB, units[0]), kSetB);
            sym.put(ValueIn(kSetB, units[1]), kSetB);
            pos = 2;
        }
    } else if (OnlyA(units[0]) && !(n > 1 && OnlyB(Base(units[1])) && units[1] < kExtended)) {
        mode = 0, set = kSetA;
    }

    // The data, whole characters only, cut after 77 symbol characters.
    while (pos < n) {
        const int before = sym.count;
        const int u = units[pos];
        const int c = Base(u);
        const bool extended = u >= kExtended && u < kUnitFnc1;
        if (set == kSetC) {
            if (pos + 1 < n && IsDigit(u) && IsDigit(units[pos + 1])) {
                sym.put((u - '0') * 10 + (units[pos + 1] - '0'), kSetC);
                pos += 2;
            } else if (u == kUnitFnc1) {
                sym.put(kFnc1, kSetC);
                ++pos;
            } else {
                const Set target = u != kUnitFnc1 && OnlyA(c) ? kSetA : kSetB;
                sym.put(target == kSetA ? CodeA() : CodeB(), kSetC);
                set = target;
            }
        } else if (const int d = digitsFrom(pos); d >= 4) {
            if (d % 2) {
                sym.put(ValueIn(set, u), set);
                ++pos;
            }
            sym.put(kCodeC, set);
            set = kSetC;
        } else if (u == kUnitFnc1) {
            sym.put(kFnc1, set);
            ++pos;
        } else {
            const bool here = set == kSetA ? InA(c) : InB(c);
            const Set other = set == kSetA ? kSetB : kSetA;
            if (here) {
                if (extended) sym.put(Fnc4(set), set);
                sym.put(ValueIn(set, c), set);
                ++pos;
            } else {
                const int next = pos + 1 < n ? units[pos + 1] : -1;
                const int nb = Base(next);
                const bool nextOther = next >= 0 && next != kUnitFnc1 && (set == kSetA ? !InA(nb) : !InB(nb));
                if (extended || nextOther) {
                    sym.put(set == kSetA ? CodeB() : CodeA(), set);
                    set = other;
                } else {
                    sym.put(kShift, set);
                    sym.put(ValueIn(other, c), other);
                    ++pos;
                }
            }
        }
        if (sym.count - 1 > kMaxData) {
            sym.count = before;
            break;
        }
    }

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
