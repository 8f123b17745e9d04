#include "pdf417.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "pdf417_tables.h"
#include "workspace.h"

namespace matrix {

namespace {

// Text sub-modes as bits of a byte's set.
constexpr int kUpper = 1, kLower = 2, kMixed = 4, kPunct = 8;

struct TextChar {
    std::uint8_t sets;
    std::uint8_t value;
};

// The sub-modes holding each byte and its value there (ISO/IEC 15438 text compaction).
struct TextTable {
    TextChar entry[128] = {};
    constexpr TextTable() {
        for (int c = 'A'; c <= 'Z'; ++c) entry[c] = {kUpper, static_cast<std::uint8_t>(c - 'A')};
        for (int c = 'a'; c <= 'z'; ++c) entry[c] = {kLower, static_cast<std::uint8_t>(c - 'a')};
        for (int c = '0'; c <= '9'; ++c) entry[c] = {kMixed, static_cast<std::uint8_t>(c - '0')};
        entry[0x20] = {kUpper | kLower | kMixed, 26};
        const char* mixed = "&\r\t,:#-.$/+%*=^";
        for (int i = 0; mixed[i]; ++i)
            entry[static_cast<int>(mixed[i])] = {kMixed, static_cast<std::uint8_t>(10 + i)};
        const char* punct = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
        for (int i = 0; punct[i]; ++i) {
            TextChar& e = entry[static_cast<int>(punct[i])];
            e = {static_cast<std::uint8_t>(e.sets | kPunct), static_cast<std::uint8_t>(i)};
        }
    }
};
constexpr TextTable kText;

int ByteMode(std::uint8_t b) {
    if (b >= '0' && b <= '9') return kNumericMode;
    if (b == '\t' || b == '\n' || b == '\r' || (b >= 32 && b <= 126)) return kTextMode;
    return kByteMode;
}

using Block = Pdf417Block;

void JoinBlocks() {
    Pdf417Work& work = SharedWorkspace().pdf417;
    Block* const blocks = work.blocks;
    int& blockCount = work.blockCount;
    int out = 0;
    for (int i = 0; i < blockCount; ++i) {
        if (out > 0 && blocks[out - 1].mode == blocks[i].mode)
            blocks[out - 1].length += blocks[i].length;
        else
            blocks[out++] = blocks[i];
    }
    blockCount = out;
}

void ChooseBlockModes() {
    Pdf417Work& work = SharedWorkspace().pdf417;
    Block* const blocks = work.blocks;
    int& blockCount = work.blockCount;
    for (int i = 0; i < blockCount; ++i) {
        Block& b = blocks[i];
        if (b.mode != kNumericMode) continue;
        const bool first = i == 0, last = i == blockCount - 1;
        if (first && last) continue;
        const int prev = first ? 0 : blocks[i - 1].mode;
        const int next = last ? 0 : blocks[i + 1].mode;
        if (first) {
            if (next == kTextMode && b.length < 8) b.mode = kTextMode;
            else if (next == kByteMode && b.length == 1) b.mode = kByteMode;
        } else if (last) {
            if (prev == kTextMode && b.length < 7) b.mode = kTextMode;
            else if (prev == kByteMode && b.length == 1) b.mode = kByteMode;
        } else if (prev == kByteMode && next == kByteMode && b.length < 4) {
            b.mode = kByteMode;
        } else if (prev == kByteMode && next == kTextMode && b.length < 4) {
            b.mode = kTextMode;
        } else if (prev == kTextMode && next == kByteMode && b.length < 5) {
            b.mode = kTextMode;
        } else if (prev == kTextMode && next == kTextMode && b.length < 8) {
            b.mode = kTextMode;
        }
    }
    JoinBlocks();
    for (int i = 1; i < blockCount; ++i) {
        Block& b = blocks[i];
        if (b.mode != kTextMode) continue;
        const bool prevByte = blocks[i - 1].mode == kByteMode;
        if (i == blockCount - 1) {
            if (prevByte && b.length == 1) b.mode = kByteMode;
            continue;
        }
        const bool nextByte = blocks[i + 1].mode == kByteMode;
        if (prevByte && nextByte && b.length < 5) b.mode = kByteMode;
        else if (prevByte != nextByte && b.length < 3) b.mode = kByteMode;
    }
    JoinBlocks();
}

// Bounded codeword output: an overflow is remembered and the codewords dropped.
struct Codewords {
    int* cw;
    int count = 0;
    bool overflow = false;
    void put(int v) {
        if (count >= static_cast<int>(kPdf417MaxCodewords)) {
            overflow = true;
            return;
        }
        cw[count++] = v;
    }
};

void TextCompaction(const std::uint8_t* s, int length, Codewords& out) {
    // A byte costs at most three values: a two-value latch and its own.
    int* values = SharedWorkspace().pdf417.textValues;
    int n = 0;
    int mode = kUpper;
    auto put = [&](int v) { values[n++] = v; };
    for (int i = 0; i < length; ++i) {
        const TextChar& t = kText.entry[s[i]];
        if (t.sets & mode) {
            put(t.value);
            continue;
        }
        const bool lastOrAlone = i == length - 1 || (kText.entry[s[i + 1]].sets & t.sets) == 0;
        if (lastOrAlone && mode == kLower && (t.sets & kUpper)) {
            put(27);
            put(t.value);
            continue;
        }
        if (lastOrAlone && mode != kPunct && (t.sets & kPunct)) {
            put(29);
            put(t.value);
            continue;
        }
        int sets = t.sets;
        if (i + 1 < length && (sets & kText.entry[s[i + 1]].sets)) sets &= kText.entry[s[i + 1]].sets;
        const int target = (sets & kUpper) ? kUpper : (sets & kLower) ? kLower : (sets & kMixed) ? kMixed : kPunct;
        switch (mode * 16 + target) {
            case kUpper * 16 + kLower: put(27); break;
            case kUpper * 16 + kMixed: put(28); break;
            case kUpper * 16 + kPunct: put(28); put(25); break;
            case kLower * 16 + kUpper: put(28); put(28); break;
            case kLower * 16 + kMixed: put(28); break;
            case kLower * 16 + kPunct: put(28); put(25); break;
            case kMixed * 16 + kUpper: put(28); break;
            case kMixed * 16 + kLower: put(27); break;
            case kMixed * 16 + kPunct: put(25); break;
            case kPunct * 16 + kUpper: put(29); break;
            case kPunct * 16 + kLower: put(29); put(27); break;
            case kPunct * 16 + kMixed: put(29); put(28); break;
            default: break;
        }
        mode = target;
        put(t.value);
    }
    if (n % 2) put(29);
    out.put(kTextMode);
    for (int i = 0; i < n; i += 2) out.put(30 * values[i] + values[i + 1]);
}

// `afterText`: the codeword before is in text compaction (or the symbol starts), where the
// one-byte shift 913 is defined; after numeric compaction a single byte takes the latch 901.
void ByteCompaction(const std::uint8_t* s, int length, bool afterText, Codewords& out) {
    if (length == 1 && afterText) {
        out.put(913);
        out.put(s[0]);
        return;
    }
    out.put(length % 6 == 0 ? 924 : kByteMode);
    int i = 0;
    for (; i + 6 <= length; i += 6) {
        std::uint64_t v = 0;
        for (int j = 0; j < 6; ++j) v = (v << 8) | s[i + j];
        int group[5];
        for (int j = 4; j >= 0; --j) {
            group[j] = static_cast<int>(v % 900);
            v /= 900;
        }
        for (int g : group) out.put(g);
    }
    for (; i < length; ++i) out.put(s[i]);
}

void NumericCompaction(const std::uint8_t* s, int length, Codewords& out) {
    out.put(kNumericMode);
    for (int start = 0; start < length; start += 44) {
        const int len = length - start < 44 ? length - start : 44;
        int digits[45];
        digits[0] = 1;
        for (int j = 0; j < len; ++j) digits[j + 1] = s[start + j] - '0';
        int n = len + 1;
        int group[16];
        int g = 0;
        // Repeated division of the decimal number by 900.
        while (n > 0) {
            int rem = 0, q = 0;
            for (int j = 0; j < n; ++j) {
                const int cur = rem * 10 + digits[j];
                const int d = cur / 900;
                rem = cur % 900;
                if (q > 0 || d > 0) digits[q++] = d;
            }
            group[g++] = rem;
            n = q;
        }
        while (g > 0) out.put(group[--g]);
    }
}

// GF(929) by logarithms to the base 3, a generator of its multiplicative group (order 928).
// A product is power[log a + log b] with no modulo: the power table runs through the group
// twice and then holds zeros, which kZeroLog, the logarithm given to 0, reaches from any
// logarithm of a non-zero element.
constexpr int kOrder = 928;
constexpr int kZeroLog = 2 * kOrder - 1;
struct Gf929 {
    std::uint16_t log[929] = {};
    std::uint16_t power[3 * kOrder - 1] = {};
    constexpr Gf929() {
        int p = 1;
        for (int i = 0; i < kOrder; ++i) {
            power[i] = power[i + kOrder] = static_cast<std::uint16_t>(p);
            log[p] = static_cast<std::uint16_t>(i);
            p = p * 3 % 929;
        }
        log[0] = kZeroLog;
    }
};
constexpr Gf929 kGf929;

// Coefficients of the monic generator polynomial with roots 3^1 .. 3^k over GF(929),
// lowest power first (k + 1 values into g).
void Generator(int k, int* g) {
    for (int i = 0; i <= k; ++i) g[i] = 0;
    g[0] = 1;
    int root = 1;
    for (int j = 1; j <= k; ++j) {
        root = root * 3 % 929;
        for (int i = j; i >= 1; --i) g[i] = (g[i - 1] + 929 - g[i] * root % 929) % 929;
        g[0] = (929 - g[0] * root % 929) % 929;
    }
}

// The logarithms of the generator's coefficients x^0 .. x^(k-1), kept in the workspace from
// the first use of k on.
const std::uint16_t* GeneratorLogs(int k) {
    std::vector<std::uint16_t>& logs = SharedWorkspace().pdf417.generatorLogs[k];
    if (logs.empty()) {
        int g[513];
        Generator(k, g);
        logs.resize(static_cast<std::size_t>(k));
        for (int j = 0; j < k; ++j) logs[static_cast<std::size_t>(j)] = kGf929.log[g[j]];
    }
    return logs.data();
}

// Sets the dark modules of `pattern` (its highest of `modules` bits first) from `column` on,
// in bit form: module c in bit c % 7 of byte c / 7.
void PutPattern(SymbolRecord& rec, int row, int& column, std::uint32_t pattern, int modules) {
    std::uint8_t* byte = &rec.modules[row][column / 7];
    int bit = column % 7;
    for (int i = modules - 1; i >= 0; --i) {
        *byte |= static_cast<std::uint8_t>(((pattern >> i) & 1) << bit);
        if (++bit == 7) {
            bit = 0;
            ++byte;
        }
    }
    column += modules;
}

}  // namespace

int Pdf417DataCodewords(const std::uint8_t* data, std::size_t length, bool readerInit,
                        int* codewords) {
    if (length > kPdf417MaxData) return -1;
    // The block list of the workspace, shared by PDF417 and MicroPDF417.
    Pdf417Work& work = SharedWorkspace().pdf417;
    Block* const blocks = work.blocks;
    int& blockCount = work.blockCount;
    blockCount = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const int mode = ByteMode(data[i]);
        if (blockCount > 0 && blocks[blockCount - 1].mode == mode)
            ++blocks[blockCount - 1].length;
        else
            blocks[blockCount++] = {mode, 1};
    }
    ChooseBlockModes();
    Codewords out{codewords};
    if (readerInit) out.put(921);
    const std::uint8_t* p = data;
    for (int i = 0; i < blockCount; ++i) {
        const int len = blocks[i].length;
        if (blocks[i].mode == kTextMode) TextCompaction(p, len, out);
        else if (blocks[i].mode == kByteMode) ByteCompaction(p, len, i == 0 || blocks[i - 1].mode == kTextMode, out);
        else NumericCompaction(p, len, out);
        p += len;
    }
    return out.overflow ? -1 : out.count;
}

void Pdf417ErrorCorrection(const int* codewords, int count, int k, int* check) {
    const std::uint16_t* c = GeneratorLogs(k);
    int e[512] = {};
    for (int i = 0; i < count; ++i) {
        const int t = (codewords[i] + e[k - 1]) % 929;
        if (t == 0) {
            for (int j = k - 1; j >= 1; --j) e[j] = e[j - 1];
            e[0] = 0;
            continue;
        }
        // e[j] = e[j - 1] - t c[j] (mod 929), the logarithm of t taken once for the row.
        const std::uint16_t* times = kGf929.power + kGf929.log[t];
        for (int j = k - 1; j >= 1; --j) {
            const int v = e[j - 1] - times[c[j]];
            e[j] = v < 0 ? v + 929 : v;
        }
        e[0] = times[c[0]] == 0 ? 0 : 929 - times[c[0]];
    }
    for (int j = 0; j < k; ++j) {
        const int v = e[k - 1 - j];
        check[j] = v == 0 ? 0 : 929 - v;
    }
}

int BuildPDF417(SymbolRecord& rec, const std::uint8_t* data, std::size_t length, bool crlf) {
    int* cw = SharedWorkspace().pdf417.codewords;
    // The length descriptor goes into cw[0]; the data follows.
    const int m = Pdf417DataCodewords(data, length, (rec.outputFlags & 0x10) != 0, cw + 1);
    if (m < 0 || m > 928) return 2;
    int level = rec.option1;
    if (level < 0) level = m <= 40 ? 2 : m <= 160 ? 3 : m <= 320 ? 4 : m <= 863 ? 5 : 6;
    const int k = 2 << level;
    const int n = m + 1 + k;  // descriptor, data and check codewords
    if (n > 928) return 2;
    int columns = rec.option2 > 30 ? 30 : rec.option2;
    if (columns <= 0) columns = static_cast<int>(0.5 + std::sqrt((m + k) / 3.0));
    if (columns < 1) columns = 1;
    if ((n + columns - 1) / columns > 90 && columns < 30) ++columns;
    int rows = (n + columns - 1) / columns;
    if (rows < 3) rows = 3;
    if (rows > 90) return 4;
    const int total = rows * columns;
    if (total > 928) return 2;
    int count = 1 + m;
    while (count < total - k) cw[count++] = 900;
    cw[0] = count;  // at most 928 - k, so always a codeword
    Pdf417ErrorCorrection(cw, count, k, cw + count);
    rec.option1 = level;
    rec.option2 = columns;

    const bool truncated = rec.symbology == kPdf417TruncatedNumber;
    const int width = truncated ? 17 * columns + 35 : 17 * columns + 69;
    std::memset(rec.modules, 0, sizeof rec.modules);
    const int c1 = (rows - 1) / 3, c2 = 3 * level + (rows - 1) % 3, c3 = columns - 1;
    for (int i = 0; i < rows; ++i) {
        const int b = 30 * (i / 3);
        int left, right;
        switch (i % 3) {
            case 0: left = b + c1; right = b + c3; break;
            case 1: left = b + c2; right = b + c1; break;
            default: left = b + c3; right = b + c2; break;
        }
        const std::uint32_t* patterns = kPdf417Patterns[i % 3];
        int col = 0;
        PutPattern(rec, i, col, 0x1FEA8, 17);  // start 11111111010101000
        PutPattern(rec, i, col, patterns[left], 17);
        for (int j = 0; j < columns; ++j) PutPattern(rec, i, col, patterns[cw[i * columns + j]], 17);
        if (truncated) {
            PutPattern(rec, i, col, 1, 1);
        } else {
            PutPattern(rec, i, col, patterns[right], 17);
            PutPattern(rec, i, col, 0x3FA29, 18);  // stop 111111101000101001
        }
        rec.rowHeights[i] = 3;
    }
    rec.rows = rows;
    rec.width = width;
    return WriteBandText(rec, crlf, ModuleForm::Bit) ? 0 : 5;
}

int EncodePDF417(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    int result = kSuccess;
    rec.fontText[0] = 0;
    if (rec.option1 < -1 || rec.option1 > 8) {
        SetError(rec, "Invalid security level");
        rec.option1 = -1;
        result = kWarning;
    }
    if (rec.option2 < 0 || rec.option2 > 30) {
        SetError(rec, "invalid column number");
        rec.option2 = 0;
        result = kWarning;
    }
    switch (BuildPDF417(rec, data, length, call.CrLf(true))) {
        case 0: return result;
        case 4: return Fail(rec, kDataTooLong, "invalid fixed column");
        case 5: return Fail(rec, kDataTooLong, kBandTextTooLong);
        default: return Fail(rec, kDataTooLong, "Data too long");
    }
}

}  // namespace matrix
