#include "code16k_desktop.h"

#include <string>
#include <vector>

#include "code16k.h"

namespace desktop {

namespace {

// Block types of the bytes.
enum Type { kShiftA = 90, kShiftB = 92, kAorB = 96, kAnySet = 97 };

constexpr int kShift = 98, kCodeC = 99, kCodeB = 100, kCodeA = 101;
constexpr std::size_t kMaxBytes = 157;

Type TypeOf(std::uint8_t b) {
    if (b >= '0' && b <= '9') return kAnySet;
    if (b < 32) return kShiftA;
    if (b < 96) return kAorB;
    if (b < 128) return kShiftB;
    if (b < 160) return kShiftA;
    if (b < 224) return kAorB;
    return kShiftB;
}

int Fnc4(char set) { return set == 'A' ? 101 : 100; }

int Latch(char set) { return set == 'A' ? kCodeA : set == 'B' ? kCodeB : kCodeC; }

int ValueIn(char set, std::uint8_t b) {
    if (set == 'A') {
        if (b >= 32 && b < 96) return b - 32;
        if (b < 32) return b + 64;
        if (b < 160) return b - 64;
        return b - 160;
    }
    return b < 128 ? b - 32 : b - 160;
}

// Extended marks: 'f' a byte of 128 or more written with one FNC4, 'F' a byte of a run
// written in extended mode, 'n' a space inside such a run (one FNC4 makes it plain), ' '.
// A run is a stretch of bytes of 128 or more, single spaces between them allowed; it is
// written in extended mode when it holds 5 such bytes, or 3 when it ends the data.
// `runEnd` marks a run's last byte, after which extended mode is left.
void MarkExtended(const std::uint8_t* d, std::size_t n, std::string& ext, std::vector<bool>& runEnd) {
    ext.assign(n, ' ');
    runEnd.assign(n, false);
    for (std::size_t i = 0; i < n;) {
        if (d[i] < 128) {
            ++i;
            continue;
        }
        std::size_t j = i, high = 0, last = i;
        for (;;) {
            while (j < n && d[j] >= 128) last = j++, ++high;
            if (j + 1 < n && d[j] == ' ' && d[j + 1] >= 128) ++j;
            else break;
        }
        const bool latched = high >= 5 || (high >= 3 && last + 1 == n);
        for (std::size_t k = i; k <= last; ++k)
            ext[k] = d[k] >= 128 ? (latched ? 'F' : 'f') : (latched ? 'n' : ' ');
        if (latched) runEnd[last] = true;
        i = last + 1;
    }
}

// The code set of every byte: 'A', 'B', 'C', or 'a', 'b' for a one-byte shift.
std::string ChooseSets(const std::uint8_t* d, std::size_t n, const std::string& ext) {
    struct Block {
        std::size_t start, length;
        Type type;
    };
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < n; ++i) {
        const Type t = TypeOf(d[i]);
        if (!blocks.empty() && blocks.back().type == t) ++blocks.back().length;
        else blocks.push_back({i, 1, t});
    }
    std::string set(n, 'B');
    char current = 0;  // the latched set; 0 before the first block
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const Block& blk = blocks[b];
        const Type next = b + 1 < blocks.size() ? blocks[b + 1].type : kAnySet;
        auto assign = [&](std::size_t from, char s) {
            for (std::size_t k = from; k < blk.start + blk.length; ++k) set[k] = s;
        };
        if (blk.type == kAnySet && blk.length >= 4) {
            std::size_t from = blk.start;
            if (blk.length % 2) {  // an odd run leaves its first digit to the set before it
                set[from++] = current == 'A' ? 'A' : 'B';
                if (current == 0) current = 'B';
            }
            assign(from, 'C');
            current = 'C';
        } else if (blk.type == kAnySet || blk.type == kAorB) {
            const char s = current == 'A' || current == 'B' ? current : next == kShiftA ? 'A' : 'B';
            assign(blk.start, s);
            current = s;
        } else {
            const char own = blk.type == kShiftA ? 'A' : 'B';
            const bool extended = ext[blk.start] != ' ';
            if (current == 0 || current == 'C' || current == own || blk.length > 1 || extended) {
                assign(blk.start, own);
                current = own;
            } else {
                set[blk.start] = static_cast<char>(own + ('a' - 'A'));
            }
        }
    }
    return set;
}

// The symbol character values of the data in the chosen sets, with the first character's
// place (value 0) in front.
std::vector<int> SymbolValues(const std::uint8_t* data, std::size_t length, const std::string& set,
                              const std::string& ext, const std::vector<bool>& runEnd, char start) {
    std::vector<int> values{0};
    char current = start;
    for (std::size_t i = 0; i < length; ++i) {
        const char s = set[i];
        if (s >= 'A' && s <= 'C' && s != current) {
            values.push_back(Latch(s));
            current = s;
        }
        if (s == 'C') {
            values.push_back((data[i] - '0') * 10 + (data[i + 1] - '0'));
            ++i;
            continue;
        }
        if (ext[i] == 'F' && (i == 0 || ext[i - 1] == ' ' || runEnd[i - 1])) {
            values.push_back(Fnc4(current));
            values.push_back(Fnc4(current));
        }
        if (ext[i] == 'f' || ext[i] == 'n') values.push_back(Fnc4(current));
        char written = current;
        if (s == 'a' || s == 'b') {
            values.push_back(kShift);
            written = static_cast<char>(s - ('a' - 'A'));
        }
        values.push_back(ValueIn(written, data[i]));
        if (runEnd[i] && i + 1 < length) {
            values.push_back(Fnc4(current));
            values.push_back(Fnc4(current));
        }
    }
    return values;
}

// The start mode; modes 5 and 6 stand for one or two leading set B characters before set C,
// whose latch they take out of the values.
int StartMode(char start, std::vector<int>& values) {
    int mode = start == 'A' ? 0 : start == 'C' ? 2 : 1;
    if (start == 'B') {
        if (values.size() >= 3 && values[1] != kShift && values[2] == kCodeC) {
            mode = 5;
            values.erase(values.begin() + 2);
        } else if (values.size() >= 4 && values[1] != kShift && values[2] != kShift &&
                   values[3] == kCodeC) {
            mode = 6;
            values.erase(values.begin() + 3);
        }
    }
    return mode;
}

}  // namespace

int EncodeCode16KRecord(matrix::SymbolRecord& rec, std::span<const std::uint8_t> bytes,
                        const matrix::Call& call) {
    const std::uint8_t* data = bytes.data();
    const std::size_t length = bytes.size();
    if (length > kMaxBytes) return matrix::Fail(rec, matrix::kDataTooLong, "Input too long");
    std::string ext;
    std::vector<bool> runEnd;
    MarkExtended(data, length, ext, runEnd);
    const std::string set = ChooseSets(data, length, ext);
    const char start = length ? set[0] : 'B';
    std::vector<int> values = SymbolValues(data, length, set, ext, runEnd, start);
    const int mode = StartMode(start, values);
    if (values.size() - 1 > static_cast<std::size_t>(matrix::code16k::kMaxDataValues))
        return matrix::Fail(rec, matrix::kDataTooLong, "Input too long");

    const int rows = matrix::code16k::Finish(values, mode);
    std::size_t k = 0;
    matrix::code16k::WriteRows(
        rows, [&](int i) { return matrix::code16k::ValueGlyph(values[static_cast<std::size_t>(i)]); },
        call.CrLf(true), [&](char16_t c) { rec.fontText[k++] = static_cast<char>(c); });
    rec.fontText[k] = 0;
    rec.rows = rows;
    rec.width = 70;
    for (int r = 0; r < rows; ++r) rec.rowHeights[r] = 10;
    return matrix::kSuccess;
}

}  // namespace desktop
