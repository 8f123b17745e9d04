#include "datamatrix.h"

#include <algorithm>

#include "gs1_verify.h"
#include "reed_solomon.h"
#include "workspace.h"

namespace matrix {

// ISO/IEC 16022 table 7 and ISO/IEC 21471 (extended rectangles).
const DataMatrixSize kDataMatrixSizes[kDmSizeCount] = {
    {1, 10, 10, 10, 10, 3, 3, 5, false},        {2, 12, 12, 12, 12, 5, 5, 7, false},
    {25, 8, 18, 8, 18, 5, 5, 7, false},         {3, 14, 14, 14, 14, 8, 8, 10, false},
    {26, 8, 32, 8, 16, 10, 10, 11, false},      {4, 16, 16, 16, 16, 12, 12, 12, false},
    {27, 12, 26, 12, 26, 16, 16, 14, false},    {5, 18, 18, 18, 18, 18, 18, 14, false},
    {31, 8, 48, 8, 24, 18, 18, 15, true},       {6, 20, 20, 20, 20, 22, 22, 18, false},
    {28, 12, 36, 12, 18, 22, 22, 18, false},    {32, 8, 64, 8, 16, 24, 24, 18, true},
    {7, 22, 22, 22, 22, 30, 30, 20, false},     {29, 16, 36, 16, 18, 32, 32, 24, false},
    {8, 24, 24, 24, 24, 36, 36, 24, false},     {33, 12, 64, 12, 16, 43, 43, 27, true},
    {9, 26, 26, 26, 26, 44, 44, 28, false},     {30, 16, 48, 16, 24, 49, 49, 28, false},
    {35, 24, 32, 24, 16, 49, 49, 28, true},     {39, 26, 32, 26, 16, 52, 52, 32, true},
    {36, 24, 36, 24, 18, 55, 55, 33, true},     {10, 32, 32, 16, 16, 62, 62, 36, false},
    {34, 16, 64, 16, 16, 62, 62, 36, true},     {40, 26, 40, 26, 20, 70, 70, 38, true},
    {37, 24, 48, 24, 24, 80, 80, 41, true},     {11, 36, 36, 18, 18, 86, 86, 42, false},
    {41, 26, 48, 26, 24, 90, 90, 42, true},     {38, 24, 64, 24, 16, 108, 108, 46, true},
    {12, 40, 40, 20, 20, 114, 114, 48, false},  {42, 26, 64, 26, 16, 118, 118, 50, true},
    {13, 44, 44, 22, 22, 144, 144, 56, false},  {14, 48, 48, 24, 24, 174, 174, 68, false},
    {15, 52, 52, 26, 26, 204, 102, 42, false},  {16, 64, 64, 16, 16, 280, 140, 56, false},
    {17, 72, 72, 18, 18, 368, 92, 36, false},   {18, 80, 80, 20, 20, 456, 114, 48, false},
    {19, 88, 88, 22, 22, 576, 144, 56, false},  {20, 96, 96, 24, 24, 696, 174, 68, false},
    {21, 104, 104, 26, 26, 816, 136, 56, false}, {22, 120, 120, 20, 20, 1050, 175, 68, false},
    {23, 132, 132, 22, 22, 1304, 163, 62, false}, {24, 144, 144, 24, 24, 1558, 156, 62, false},
};

namespace {

constexpr std::uint8_t kPad = 129, kLatchC40 = 230, kLatchBase256 = 231, kFnc1 = 232,
                       kReaderProgramming = 234, kUpperShift = 235, kMacro05 = 236,
                       kLatchX12 = 238, kLatchText = 239, kLatchEdifact = 240, kUnlatch = 254;
constexpr int kEdifactUnlatch = 31;

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
bool IsUpper(std::uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(std::uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsX12(std::uint8_t c) {
    return c == 13 || c == '*' || c == '>' || c == ' ' || IsDigit(c) || IsUpper(c);
}
bool IsEdifact(std::uint8_t c) { return c >= 32 && c <= 94; }

// Whether `scheme` can take the byte at all; the look-ahead counts only the cost.
bool Carries(int scheme, std::uint8_t c, bool gs1) {
    const bool fnc1 = gs1 && c == kFnc1Mark;
    switch (scheme) {
        case kDmX12: return IsX12(c);
        case kDmEdifact: return IsEdifact(c);
        case kDmBase256: return !fnc1;
        default: return true;
    }
}

void PushAscii(std::vector<std::uint8_t>& cw, std::uint8_t c, bool gs1) {
    if (gs1 && c == kFnc1Mark) {
        cw.push_back(kFnc1);
    } else if (c >= 128) {
        cw.push_back(kUpperShift);
        cw.push_back(static_cast<std::uint8_t>(c - 127));
    } else {
        cw.push_back(static_cast<std::uint8_t>(c + 1));
    }
}

// The C40 (text = false) or Text values of one byte.
void TextValues(std::uint8_t c, bool text, bool gs1, std::vector<int>& v) {
    if (gs1 && c == kFnc1Mark) {
        v.insert(v.end(), {1, 27});
        return;
    }
    if (c >= 128) {
        v.insert(v.end(), {1, 30});
        c = static_cast<std::uint8_t>(c - 128);
    }
    if (c == ' ') v.push_back(3);
    else if (IsDigit(c)) v.push_back(c - '0' + 4);
    else if (!text && IsUpper(c)) v.push_back(c - 'A' + 14);
    else if (text && IsLower(c)) v.push_back(c - 'a' + 14);
    else if (c < 32) v.insert(v.end(), {0, c});
    else if (c <= 47) v.insert(v.end(), {1, c - 33});
    else if (c >= 58 && c <= 64) v.insert(v.end(), {1, c - 58 + 15});
    else if (c >= 91 && c <= 95) v.insert(v.end(), {1, c - 91 + 22});
    else if (!text) v.insert(v.end(), {2, c - 96});
    else if (c == 96) v.insert(v.end(), {2, 0});
    else if (IsUpper(c)) v.insert(v.end(), {2, c - 'A' + 1});
    else v.insert(v.end(), {2, c - 123 + 27});
}

int X12Value(std::uint8_t c) {
    if (c == 13) return 0;
    if (c == '*') return 1;
    if (c == '>') return 2;
    if (c == ' ') return 3;
    if (IsDigit(c)) return c - '0' + 4;
    return c - 'A' + 14;
}

void PackThree(std::vector<std::uint8_t>& cw, int a, int b, int c) {
    const int v = 1600 * a + 40 * b + c + 1;
    cw.push_back(static_cast<std::uint8_t>(v >> 8));
    cw.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

// Packs EDIFACT values, six bits each, into as many codewords as they need (the last one
// filled with zero bits).
void PackEdifact(std::vector<std::uint8_t>& cw, const std::vector<int>& values) {
    std::uint32_t bits = 0;
    int count = 0;
    for (int v : values) {
        bits = (bits << 6) | static_cast<std::uint32_t>(v & 0x3F);
        count += 6;
    }
    const int bytes = (count + 7) / 8;
    bits <<= bytes * 8 - count;
    for (int i = bytes - 1; i >= 0; --i) cw.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

// Look-ahead counts in twelfths of a codeword, so that thirds and quarters stay exact.
constexpr int kUnit = 12;
int Ceil(int v) { return (v + kUnit - 1) / kUnit * kUnit; }

// The look-ahead counts of the encodations ASCII, C40, Text, X12, EDIFACT and Base 256.
struct LookAheadCounts {
    enum { A, C, T, X, E, B };
    int n[6];

    // Before the first character: the current encodation costs nothing, ASCII one codeword
    // to return to, and the others one more to latch into.
    explicit LookAheadCounts(int current) {
        if (current == kDmAscii) {
            n[A] = 0, n[C] = n[T] = n[X] = n[E] = kUnit, n[B] = 15;
        } else {
            n[A] = kUnit, n[C] = n[T] = n[X] = n[E] = 2 * kUnit, n[B] = 27;
            n[current - 1] = 0;
        }
    }

    // Adds the cost of one character in each encodation.
    void Add(std::uint8_t c, bool gs1) {
        const bool high = c >= 128;
        if (IsDigit(c)) n[A] += 6;
        else n[A] = Ceil(n[A]) + (high ? 24 : 12);
        const bool c40Basic = c == ' ' || IsDigit(c) || IsUpper(c);
        n[C] += c40Basic ? 8 : high ? 32 : 16;
        const bool textBasic = c == ' ' || IsDigit(c) || IsLower(c);
        n[T] += textBasic ? 8 : high ? 32 : 16;
        n[X] += IsX12(c) ? 8 : high ? 52 : 40;
        n[E] += IsEdifact(c) ? 9 : high ? 51 : 39;
        n[B] += kUnit;
        if (gs1 && c == kFnc1Mark) {
            n[B] += 4 * kUnit;
            n[E] += 6 * kUnit;
        }
    }

    // Whether every other count exceeds count s by more than the margin (by at least it).
    bool OthersExceed(int s, int margin, bool atLeast) const {
        for (int k = 0; k < 6; ++k) {
            if (k == s) continue;
            if (atLeast ? n[k] < n[s] + margin : n[k] <= n[s] + margin) return false;
        }
        return true;
    }

    // After a character: the encodation the counts already decide, or 0 to count on. C40
    // and X12 at equal counts go to X12 when one of its terminators comes (from `next` on)
    // before any byte it cannot carry.
    int DecideEarly(const std::uint8_t* data, std::size_t length, std::size_t next) const {
        int choice = 0;
        if (n[A] > n[C] + kUnit && n[T] > n[C] + kUnit && n[E] > n[C] + kUnit &&
            n[B] > n[C] + kUnit && n[X] >= n[C]) {
            choice = kDmC40;
            if (n[X] == n[C]) {
                for (std::size_t k = next; k < length; ++k) {
                    const std::uint8_t d = data[k];
                    if (d == 13 || d == '*' || d == '>') {
                        choice = kDmX12;
                        break;
                    }
                    if (!IsX12(d)) break;
                }
            }
        }
        if (OthersExceed(X, kUnit, false)) choice = kDmX12;
        if (OthersExceed(T, kUnit, false)) choice = kDmText;
        if (OthersExceed(E, kUnit, false)) choice = kDmEdifact;
        if (n[A] >= n[B] + kUnit ||
            (n[C] > n[B] + kUnit && n[T] > n[B] + kUnit && n[X] > n[B] + kUnit && n[E] > n[B] + kUnit))
            choice = kDmBase256;
        if (OthersExceed(A, kUnit, true)) choice = kDmAscii;
        return choice;
    }

    // At the end of the data: the encodation of the fewest whole codewords, ASCII on a tie
    // with it, else the first of C40, X12, Text, EDIFACT and Base 256 among equals.
    int DecideAtEnd() {
        for (int& v : n) v = Ceil(v);
        int best = kDmC40, min = n[C];
        if (n[X] < min) best = kDmX12, min = n[X];
        if (n[T] < min) best = kDmText, min = n[T];
        if (n[E] < min) best = kDmEdifact, min = n[E];
        if (n[B] < min) best = kDmBase256, min = n[B];
        if (n[A] <= min) best = kDmAscii;
        return best;
    }
};

}  // namespace

int DataMatrixLookAhead(const std::uint8_t* data, std::size_t length, std::size_t position,
                        int current, bool gs1, int encodation) {
    if (encodation >= 1 && encodation <= 6) return encodation;
    LookAheadCounts counts(current);
    for (std::size_t j = position; j < length; ++j) {
        counts.Add(data[j], gs1);
        if (j - position + 1 < 5) continue;
        if (const int choice = counts.DecideEarly(data, length, j + 1)) return choice;
    }
    return counts.DecideAtEnd();
}

namespace {

// The data's preamble: UTF-8 to Latin-1, or GS1 verification with FNC1 first; the reader
// programming codeword; the Macro 05 or 06 header in place of its envelope. Leaves the data to
// encode in e.data and e.length; returns kSuccess or a failure.
int DataMatrixPreamble(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
                       DmEncodation& e, std::vector<std::uint8_t>& work) {
    e = DmEncodation{};
    e.gs1 = rec.inputMode == kGs1Mode;
    auto& cw = e.codewords;
    if (rec.inputMode == kUtf8Mode) {
        work.assign(length + 1, 0);
        std::size_t n = length;
        if (const int r = Utf8ToLatin1(rec, data, work.data(), n)) return r;
        data = work.data();
        length = n;
    } else if (e.gs1) {
        std::vector<std::uint8_t> text(data, data + length);
        text.push_back(0);
        work.assign(2 * length + 2, 0);
        if (const int r = VerifyGS1Data(rec, text.data(), length, work.data())) return r;
        data = work.data();
        length = ByteStrLen(reinterpret_cast<const char*>(work.data()));
        cw.push_back(kFnc1);
    }
    if (rec.outputFlags & 0x10) {
        if (e.gs1)
            return Fail(rec, kInvalidOption,
                        "Cannot encode in GS1 mode and Reader Initialization at the same time");
        cw.push_back(kReaderProgramming);
    }
    if (cw.empty() && length > 8 && data[0] == '[' && data[1] == ')' && data[2] == '>' &&
        data[3] == 0x1E && data[4] == '0' && (data[5] == '5' || data[5] == '6') && data[6] == 0x1D &&
        data[length - 2] == 0x1E && data[length - 1] == 0x04) {
        cw.push_back(static_cast<std::uint8_t>(kMacro05 + (data[5] - '5')));
        data += 7;
        length -= 9;
    }
    e.data = data;
    e.length = length;
    e.base256.assign(cw.size(), false);
    return kSuccess;
}

// The encodation proper: one step of the scheme in force per turn, each either taking data
// or leaving its scheme.
class DmEncoder {
public:
    DmEncoder(DmEncodation& e, int encodation) : e_(e), cw_(e.codewords), encodation_(encodation) {}

    int Run(SymbolRecord& rec) {
        while (i_ < e_.length) {
            if (cw_.size() > static_cast<std::size_t>(kDmMaxDataCodewords) + 2)
                return Fail(rec, kDataTooLong, "Data too long to fit in symbol");
            const std::uint8_t c = e_.data[i_];
            switch (e_.scheme) {
                case kDmAscii: AsciiStep(c); break;
                case kDmC40:
                case kDmText: TextStep(c); break;
                case kDmX12: X12Step(c); break;
                case kDmEdifact: EdifactStep(c); break;
                case kDmBase256: Base256Step(c); break;
            }
            e_.base256.resize(cw_.size(), false);
        }
        if (e_.scheme == kDmBase256) CloseBase256();
        e_.base256.resize(cw_.size(), false);
        if (cw_.size() > static_cast<std::size_t>(kDmMaxDataCodewords))
            return Fail(rec, kDataTooLong, "Data too long to fit in symbol");
        return kSuccess;
    }

private:
    int LookAhead(int current) const {
        return DataMatrixLookAhead(e_.data, e_.length, i_, current, e_.gs1, encodation_);
    }
    // Leaving a scheme right where it was latched would loop; the scheme keeps the byte.
    bool MayLeave() const { return i_ != latchedAt_; }

    void Latch(int to) {
        static const std::uint8_t latches[] = {0, 0, kLatchC40, kLatchText, kLatchX12, kLatchEdifact,
                                               kLatchBase256};
        cw_.push_back(latches[to]);
        e_.scheme = to;
        latchedAt_ = i_;
        e_.pending.clear();
        e_.pendingPositions.clear();
        e_.segmentStart = cw_.size();
        e_.segmentChars.clear();
        base256Start_ = cw_.size();
    }

    // A Base 256 field gets its length in front of it when it ends.
    void CloseBase256() {
        const std::size_t n = cw_.size() - base256Start_;
        std::vector<std::uint8_t> field;
        if (n < 250) field = {static_cast<std::uint8_t>(n)};
        else field = {static_cast<std::uint8_t>(249 + n / 250), static_cast<std::uint8_t>(n % 250)};
        cw_.insert(cw_.begin() + static_cast<long>(base256Start_), field.begin(), field.end());
        e_.base256.resize(cw_.size(), false);
        std::fill(e_.base256.begin() + static_cast<long>(base256Start_), e_.base256.end(), true);
        e_.scheme = kDmAscii;
    }

    void UnlatchEdifact() {
        std::vector<int> values = e_.pending;
        values.push_back(kEdifactUnlatch);
        const std::size_t start = cw_.size();
        PackEdifact(cw_, values);
        if (cw_.size() - start < 3) e_.shortEdifactGroup = static_cast<long>(start);
        e_.pending.clear();
        e_.pendingPositions.clear();
        e_.scheme = kDmAscii;
    }

    // ASCII: digit pairs in one codeword, else a latch when the look-ahead asks for one.
    void AsciiStep(std::uint8_t c) {
        const std::uint8_t* data = e_.data;
        if (i_ + 1 < e_.length && IsDigit(c) && IsDigit(data[i_ + 1])) {
            cw_.push_back(static_cast<std::uint8_t>(130 + (c - '0') * 10 + (data[i_ + 1] - '0')));
            i_ += 2;
            return;
        }
        const int s = LookAhead(kDmAscii);
        if (s != kDmAscii && Carries(s, c, e_.gs1)) {
            Latch(s);
            return;
        }
        PushAscii(cw_, c, e_.gs1);
        ++i_;
    }

    // C40 and Text: values packed three to two codewords.
    void TextStep(std::uint8_t c) {
        if (e_.pending.empty() && MayLeave() && LookAhead(e_.scheme) != e_.scheme) {
            cw_.push_back(kUnlatch);
            e_.scheme = kDmAscii;
            return;
        }
        std::vector<int> values;
        TextValues(c, e_.scheme == kDmText, e_.gs1, values);
        e_.segmentChars.emplace_back(i_, static_cast<int>(values.size()));
        for (int v : values) {
            e_.pending.push_back(v);
            if (e_.pending.size() == 3) {
                PackThree(cw_, e_.pending[0], e_.pending[1], e_.pending[2]);
                e_.pending.clear();
            }
        }
        ++i_;
    }

    void X12Step(std::uint8_t c) {
        const bool leave = !IsX12(c) || (e_.pending.empty() && MayLeave() && LookAhead(kDmX12) != kDmX12);
        if (leave) {
            // Values not yet packed go out as ASCII after the unlatch.
            cw_.push_back(kUnlatch);
            for (std::size_t p : e_.pendingPositions) PushAscii(cw_, e_.data[p], e_.gs1);
            e_.pending.clear();
            e_.pendingPositions.clear();
            e_.scheme = kDmAscii;
            return;
        }
        e_.pending.push_back(X12Value(c));
        e_.pendingPositions.push_back(i_);
        if (e_.pending.size() == 3) {
            PackThree(cw_, e_.pending[0], e_.pending[1], e_.pending[2]);
            e_.pending.clear();
            e_.pendingPositions.clear();
        }
        ++i_;
    }

    void EdifactStep(std::uint8_t c) {
        bool leave = !IsEdifact(c);
        if (!leave && e_.pending.size() == 3 && MayLeave()) leave = LookAhead(kDmEdifact) != kDmEdifact;
        if (leave) {
            UnlatchEdifact();
            return;
        }
        e_.pending.push_back(c >= 64 ? c - 64 : c);
        e_.pendingPositions.push_back(i_);
        if (e_.pending.size() == 4) {
            PackEdifact(cw_, e_.pending);
            e_.pending.clear();
            e_.pendingPositions.clear();
        }
        ++i_;
    }

    void Base256Step(std::uint8_t c) {
        if (!Carries(kDmBase256, c, e_.gs1) || (MayLeave() && LookAhead(kDmBase256) != kDmBase256)) {
            CloseBase256();
            return;
        }
        cw_.push_back(c);
        ++i_;
    }

    DmEncodation& e_;
    std::vector<std::uint8_t>& cw_;
    int encodation_;
    std::size_t i_ = 0;
    std::size_t latchedAt_ = static_cast<std::size_t>(-1);  // data position of the last latch
    std::size_t base256Start_ = 0;
};

}  // namespace

int DataMatrixEncodeData(SymbolRecord& rec, const std::uint8_t* data, std::size_t length,
                         int encodation, DmEncodation& e, std::vector<std::uint8_t>& work) {
    if (encodation < 0 || encodation > 6) encodation = 0;
    if (const int r = DataMatrixPreamble(rec, data, length, e, work)) return r;
    return DmEncoder(e, encodation).Run(rec);
}

namespace {

// Closes a C40 or Text segment at the end of the data.
void CloseTextSegment(const DmEncodation& e, int capacity, std::vector<std::uint8_t>& out) {
    const auto left = [&]() { return capacity - static_cast<int>(out.size()); };
    const std::size_t p = e.pending.size();
    if (p == 0) {
        if (left() >= 2) out.push_back(kUnlatch);
    } else if (p == 2) {
        // The last character is complete: a shift value 0 fills the triple.
        PackThree(out, e.pending[0], e.pending[1], 0);
        if (left() >= 2) out.push_back(kUnlatch);
    } else if (e.segmentChars.back().second == 1) {
        // One basic character: ASCII, after an unlatch unless it is the last codeword.
        if (left() >= 2) out.push_back(kUnlatch);
        PushAscii(out, e.data[e.segmentChars.back().first], e.gs1);
    } else {
        // The last character's values straddle the last triple: go back to the last
        // character boundary at a triple boundary and write the rest as ASCII.
        int total = 0;
        for (const auto& ch : e.segmentChars) total += ch.second;
        std::size_t k = e.segmentChars.size();
        int values = total;
        while (k > 0 && values % 3 != 0) values -= e.segmentChars[--k].second;
        out.resize(e.segmentStart + static_cast<std::size_t>(values / 3) * 2);
        out.push_back(kUnlatch);
        for (; k < e.segmentChars.size(); ++k) PushAscii(out, e.data[e.segmentChars[k].first], e.gs1);
    }
}

}  // namespace

bool DataMatrixFinishData(const DmEncodation& e, int capacity, std::vector<std::uint8_t>& out) {
    out = e.codewords;
    if (out.size() > static_cast<std::size_t>(capacity)) return false;
    const auto left = [&]() { return capacity - static_cast<int>(out.size()); };
    const std::size_t p = e.pending.size();
    switch (e.scheme) {
        case kDmC40:
        case kDmText:
            CloseTextSegment(e, capacity, out);
            break;
        case kDmX12:
            if (p == 0) {
                if (left() >= 2) out.push_back(kUnlatch);
            } else {
                // A reader reads two or more codewords left in X12 as a triple: unlatch first
                // unless a single character ends the symbol.
                if (!(p == 1 && left() == 1)) out.push_back(kUnlatch);
                for (std::size_t pos : e.pendingPositions) PushAscii(out, e.data[pos], e.gs1);
            }
            break;
        case kDmEdifact:
            if (left() >= 3) {
                std::vector<int> values = e.pending;
                values.push_back(kEdifactUnlatch);
                PackEdifact(out, values);
            } else {
                // Fewer than three codewords left are read as ASCII without an unlatch.
                for (std::size_t pos : e.pendingPositions) PushAscii(out, e.data[pos], e.gs1);
            }
            break;
        default:
            break;
    }
    if (out.size() > static_cast<std::size_t>(capacity)) return false;
    if (e.shortEdifactGroup >= 0 && capacity - e.shortEdifactGroup < 3) return false;
    for (std::size_t k = 0; k < e.base256.size() && k < out.size(); ++k) {
        if (!e.base256[k]) continue;
        const int position = static_cast<int>(k) + 1;
        out[k] = static_cast<std::uint8_t>((out[k] + (149 * position) % 255 + 1) % 256);
    }
    return true;
}

void DataMatrixAddEcc(const DataMatrixSize& size, std::vector<std::uint8_t>& cw) {
    const int capacity = size.dataCodewords;
    // Padding.
    if (static_cast<int>(cw.size()) < capacity) cw.push_back(kPad);
    while (static_cast<int>(cw.size()) < capacity) {
        const int position = static_cast<int>(cw.size()) + 1;
        int v = 129 + (149 * position) % 253 + 1;
        if (v > 254) v -= 254;
        cw.push_back(static_cast<std::uint8_t>(v));
    }
    const int blocks = (capacity + 2) / size.blockData;
    const int n = size.blockCheck;
    cw.resize(static_cast<std::size_t>(capacity + blocks * n));
    RsInitField(0x12D);
    RsInitCode(n, 1);
    std::vector<std::uint8_t> block, check(static_cast<std::size_t>(n));
    for (int b = 0; b < blocks; ++b) {
        block.clear();
        for (int k = b; k < capacity; k += blocks) block.push_back(cw[static_cast<std::size_t>(k)]);
        RsEncode(block.size(), block.data(), check.data());
        // In 144 x 144 the check codewords of blocks 0 to 7 take the places of blocks 2 to 9.
        const int slot = size.rows == 144 ? (b + 2) % blocks : b;
        for (int k = 0; k < n; ++k)
            cw[static_cast<std::size_t>(capacity + slot + k * blocks)] = check[static_cast<std::size_t>(n - 1 - k)];
    }
    RsFree();
}

namespace {

// The ECC 200 placement of ISO/IEC 16022 annex F. A cell holds codeword (from 1) x 8 + bit
// (0 the most significant); 1 marks the dark cells of the corner fill; 0 is empty.
class Placement {
public:
    Placement(int rows, int columns) : nrow_(rows), ncol_(columns), cells_(static_cast<std::size_t>(rows * columns), 0) {}

    std::vector<int> Run() {
        int chr = 1, row = 4, col = 0;
        do {
            if (row == nrow_ && col == 0) Corner(1, chr++);
            if (row == nrow_ - 2 && col == 0 && ncol_ % 4) Corner(2, chr++);
            if (row == nrow_ - 2 && col == 0 && ncol_ % 8 == 4) Corner(3, chr++);
            if (row == nrow_ + 4 && col == 2 && !(ncol_ % 8)) Corner(4, chr++);
            do {
                if (row < nrow_ && col >= 0 && !At(row, col)) Utah(row, col, chr++);
                row -= 2;
                col += 2;
            } while (row >= 0 && col < ncol_);
            row += 1;
            col += 3;
            do {
                if (row >= 0 && col < ncol_ && !At(row, col)) Utah(row, col, chr++);
                row += 2;
                col -= 2;
            } while (row < nrow_ && col >= 0);
            row += 3;
            col += 1;
        } while (row < nrow_ || col < ncol_);
        if (!At(nrow_ - 1, ncol_ - 1)) {
            At(nrow_ - 1, ncol_ - 1) = 1;
            At(nrow_ - 2, ncol_ - 2) = 1;
        }
        return cells_;
    }

private:
    int& At(int r, int c) { return cells_[static_cast<std::size_t>(r * ncol_ + c)]; }
    void Module(int row, int col, int chr, int bit) {
        if (row < 0) {
            row += nrow_;
            col += 4 - ((nrow_ + 4) % 8);
        }
        if (col < 0) {
            col += ncol_;
            row += 4 - ((ncol_ + 4) % 8);
        }
        // Some extended rectangles wrap past the bottom as well.
        if (row >= nrow_) row -= nrow_;
        At(row, col) = chr * 8 + bit - 1;
    }
    // The eight modules of a codeword, bit 1 (the most significant) first.
    struct Offset {
        int row, col;
    };
    // The standard shape, relative to the module of bit 8.
    static constexpr Offset kUtah[8] = {{-2, -2}, {-2, -1}, {-1, -2}, {-1, -1},
                                        {-1, 0},  {0, -2},  {0, -1},  {0, 0}};
    // The four corner cases, in symbol coordinates; a negative row or column counts from the
    // bottom or right edge (-1 the last).
    static constexpr Offset kCorners[4][8] = {
        {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
        {{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}},
        {{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
        {{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}},
    };

    void Utah(int row, int col, int chr) {
        for (int bit = 0; bit < 8; ++bit) Module(row + kUtah[bit].row, col + kUtah[bit].col, chr, bit + 1);
    }
    // Corner n (1 to 4).
    void Corner(int n, int chr) {
        for (int bit = 0; bit < 8; ++bit) {
            const Offset o = kCorners[n - 1][bit];
            Module(o.row < 0 ? nrow_ + o.row : o.row, o.col < 0 ? ncol_ + o.col : o.col, chr, bit + 1);
        }
    }

    int nrow_, ncol_;
    std::vector<int> cells_;
};

}  // namespace

namespace {

// The modules of a symbol size, row-major: 0 light, 1 dark, 2 + n bit n of the codeword
// stream (codeword n / 8, the most significant bit first).
using Layout = std::vector<std::uint16_t>;

Layout BuildLayout(const DataMatrixSize& size) {
    const int vRegions = size.rows / size.regionRows, hRegions = size.columns / size.regionColumns;
    const int areaRows = size.regionRows - 2, areaColumns = size.regionColumns - 2;
    const int ncol = hRegions * areaColumns;
    const std::vector<int> cells = Placement(vRegions * areaRows, ncol).Run();
    Layout layout(static_cast<std::size_t>(size.rows * size.columns), 0);
    // Region by region: the finder and alignment patterns (solid bottom row and left column,
    // alternating top row and right column), the data area inside them.
    for (int vr = 0; vr < vRegions; ++vr) {
        for (int hr = 0; hr < hRegions; ++hr) {
            const int top = vr * size.regionRows, left = hr * size.regionColumns;
            std::uint16_t* region = layout.data() + static_cast<std::size_t>(top * size.columns + left);
            for (int lr = 0; lr < size.regionRows; ++lr) {
                std::uint16_t* row = region + static_cast<std::size_t>(lr * size.columns);
                const bool bottom = lr == size.regionRows - 1;
                for (int lc = 0; lc < size.regionColumns; ++lc) {
                    bool dark = false;
                    if (bottom || lc == 0) dark = true;
                    else if (lr == 0) dark = (lc & 1) == 0;
                    else if (lc == size.regionColumns - 1) dark = (lr & 1) == 1;
                    row[lc] = dark ? 1 : 0;
                }
            }
            const int* area = cells.data() + static_cast<std::size_t>(vr * areaRows * ncol + hr * areaColumns);
            for (int y = 0; y < areaRows; ++y) {
                const int* from = area + static_cast<std::size_t>(y * ncol);
                std::uint16_t* to = region + static_cast<std::size_t>((y + 1) * size.columns + 1);
                for (int x = 0; x < areaColumns; ++x) {
                    const int cell = from[x];  // codeword (from 1) x 8 + bit, or 1 for the corner fill
                    to[x] = static_cast<std::uint16_t>(cell >= 8 ? cell - 8 + 2 : cell);
                }
            }
        }
    }
    return layout;
}

// The layouts of the table's sizes live in the workspace, each built on first use; a size
// from elsewhere gets its layout built into `scratch`.
const Layout& LayoutOf(const DataMatrixSize& size, Layout& scratch) {
    const std::ptrdiff_t k = &size - kDataMatrixSizes;
    if (k < 0 || k >= kDmSizeCount) return scratch = BuildLayout(size);
    Layout& layout = SharedWorkspace().dataMatrix.bySize[k];
    if (layout.empty()) layout = BuildLayout(size);
    return layout;
}

// Calls put(row, column, dark) for every module of the symbol, row by row.
template <typename Put>
void Place(const DataMatrixSize& size, const std::vector<std::uint8_t>& cw, Put put) {
    Layout scratch;
    const std::uint16_t* cell = LayoutOf(size, scratch).data();
    for (int r = 0; r < size.rows; ++r)
        for (int c = 0; c < size.columns; ++c, ++cell) {
            const int v = *cell;
            const int bit = v - 2;
            put(r, c, v < 2 ? v : (cw[static_cast<std::size_t>(bit >> 3)] >> (7 - (bit & 7))) & 1);
        }
}

}  // namespace

std::vector<std::vector<std::uint8_t>> DataMatrixPlace(const DataMatrixSize& size,
                                                       const std::vector<std::uint8_t>& cw) {
    std::vector<std::vector<std::uint8_t>> m(static_cast<std::size_t>(size.rows),
                                             std::vector<std::uint8_t>(static_cast<std::size_t>(size.columns), 0));
    Place(size, cw, [&](int r, int c, int dark) {
        m[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(dark);
    });
    return m;
}

int EncodeDataMatrix(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    const int encodation = rec.option4;
    rec.fontText[0] = 0;
    DmEncodation enc;
    std::vector<std::uint8_t> work;
    if (const int r = DataMatrixEncodeData(rec, data, length, encodation, enc, work)) return r;
    if (enc.codewords.empty())
        return Fail(rec, kDataTooLong, "Data too long to fit in symbol");

    auto allowed = [&](const DataMatrixSize& s) {
        if (rec.option3 == 100) return s.rows == s.columns;
        if (rec.option3 == 101) return true;
        return !s.extended;
    };
    std::vector<std::uint8_t> cw;
    int chosen = -1;
    for (int k = 0; k < kDmSizeCount; ++k)
        if (kDataMatrixSizes[k].option2 == rec.option2) chosen = k;
    int result = kSuccess;
    int row = -1;
    if (chosen >= 0 && DataMatrixFinishData(enc, kDataMatrixSizes[chosen].dataCodewords, cw)) {
        row = chosen;
    } else {
        for (int k = 0; k < kDmSizeCount && row < 0; ++k)
            if (allowed(kDataMatrixSizes[k]) && DataMatrixFinishData(enc, kDataMatrixSizes[k].dataCodewords, cw))
                row = k;
        if (row < 0) return Fail(rec, kDataTooLong, "Data too long to fit in symbol");
        if (chosen >= 0) {
            SetError(rec, "Data does not fit in selected symbol size");
            result = kWarning;
        }
    }
    const DataMatrixSize& size = kDataMatrixSizes[row];
    DataMatrixAddEcc(size, cw);
    Place(size, cw, [&](int r, int c, int dark) { rec.modules[r][c] = static_cast<std::uint8_t>(dark); });
    for (int r = 0; r < size.rows; ++r) rec.rowHeights[r] = 1;
    rec.rows = size.rows;
    rec.width = size.columns;
    return FinishBandText(rec, call.CrLf(true), ModuleForm::Byte, result);
}

}  // namespace matrix
