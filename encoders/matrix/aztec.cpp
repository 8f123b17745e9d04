#include "aztec.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "reed_solomon.h"
#include "workspace.h"

namespace matrix {

namespace {

enum Mode { kUpper, kLower, kMixed, kPunct, kDigit, kBinary };
constexpr unsigned Bit(Mode m) { return 1u << m; }

// Share of the codewords each level reserves for error correction, per cent.
constexpr int kLevelPercent[19] = {5, 10, 15, 20, 23, 25, 30, 35, 40, 45,
                                   50, 55, 60, 65, 70, 75, 80, 85, 90};

AztecMaps& Maps() { return SharedWorkspace().aztec; }

// Lays out one kind of symbol at its largest size into `map` (side x side).
void LayOut(int* map, int side, bool compact, int layers) {
    const int center = side / 2;
    auto cell = [&](int row, int col) -> int& { return map[row * side + col]; };
    std::fill(map, map + side * side, 0);
    const int base = (compact ? 11 : 14) + 4 * layers;
    auto place = [&](int b) { return compact ? b : AztecSkipGrid(b); };
    if (!compact) {
        for (int line = center % 16; line < side; line += 16)
            for (int k = 0; k < side; ++k) {
                const int v = (k - center) % 2 == 0 ? 1 : 0;
                cell(line, k) = v;
                cell(k, line) = v;
            }
    }
    const int ring = compact ? 5 : 7;
    for (int dy = -ring + 1; dy < ring; ++dy)
        for (int dx = -ring + 1; dx < ring; ++dx)
            cell(center + dy, center + dx) = std::max(std::abs(dx), std::abs(dy)) % 2 == 0 ? 1 : 0;
    for (int dy = -ring; dy <= ring; ++dy)
        for (int dx = -ring; dx <= ring; ++dx)
            if (std::max(std::abs(dx), std::abs(dy)) == ring) cell(center + dy, center + dx) = 0;
    const int c = center, s = ring;
    cell(c - s, c - s) = 1;
    cell(c - s, c - s + 1) = 1;
    cell(c - s + 1, c - s) = 1;
    cell(c - s, c + s) = 1;
    cell(c - s + 1, c + s) = 1;
    cell(c + s - 1, c + s) = 1;
    const int perSide = compact ? 7 : 10;
    for (int i = 0; i < perSide; ++i) {
        const int offset = compact ? c - 3 + i : c - 5 + i + i / 5;
        cell(c - s, offset) = kAztecModeBit + i;
        cell(offset, c + s) = kAztecModeBit + perSide + i;
        cell(c + s, offset) = kAztecModeBit + 3 * perSide - 1 - i;
        cell(offset, c - s) = kAztecModeBit + 4 * perSide - 1 - i;
    }
    // Data layers, two modules wide; bit numbers count from the innermost layer outward, the
    // last bit of each layer in the top row's left corner of its ring.
    int inner = 0;
    for (int fromCore = 0; fromCore < layers; ++fromCore) {
        const int i = layers - 1 - fromCore;
        const int rowSize = (layers - i) * 4 + (compact ? 9 : 12);
        const int low = 2 * i, high = base - 1 - low;
        const int layerBits = 8 * rowSize;
        auto set = [&](int local, int row, int col) {
            cell(place(row), place(col)) = kAztecDataBit + inner + (layerBits - 1 - local);
        };
        for (int j = 0; j < rowSize; ++j)
            for (int k = 0; k < 2; ++k) {
                set(2 * j + k, low + j, low + k);
                set(2 * rowSize + 2 * j + k, high - k, low + j);
                set(4 * rowSize + 2 * j + k, high - j, high - k);
                set(6 * rowSize + 2 * j + k, low + k, high - j);
            }
        inner += layerBits;
    }
}

struct Size {
    bool compact;
    int layers;
    int side;
    int wordBits;
    int totalWords;
    int totalBits;
};

Size SizeOf(bool compact, int layers) {
    Size s{compact, layers, 0, 0, 0, 0};
    const int base = (compact ? 11 : 14) + 4 * layers;
    s.side = compact ? base : base + 1 + 2 * ((base / 2 - 1) / 15);
    s.wordBits = layers <= 2 ? 6 : (layers <= 8 ? 8 : (layers <= 22 ? 10 : 12));
    s.totalBits = ((compact ? 88 : 112) + 16 * layers) * layers;
    s.totalWords = s.totalBits / s.wordBits;
    return s;
}

// Data codewords a size holds at a level (a compact mode message counts at most 64).
int DataWords(const Size& s, int percent) {
    const int check = (s.totalWords * percent + 99) / 100;
    const int words = s.totalWords - check;
    return s.compact ? std::min(words, 64) : words;
}

std::vector<std::uint32_t> Stuff(const std::vector<std::uint8_t>& bits, int w) {
    std::vector<std::uint32_t> words;
    const std::uint32_t mask = (1u << w) - 2;
    const std::size_t n = bits.size();
    for (std::size_t i = 0; i < n; i += static_cast<std::size_t>(w)) {
        std::uint32_t word = 0;
        for (int j = 0; j < w; ++j)
            if (i + static_cast<std::size_t>(j) >= n || bits[i + static_cast<std::size_t>(j)])
                word |= 1u << (w - 1 - j);
        if ((word & mask) == mask) {
            words.push_back(word & mask);
            --i;
        } else if ((word & mask) == 0) {
            words.push_back(word | 1);
            --i;
        } else {
            words.push_back(word);
        }
    }
    return words;
}

int FieldOf(int w) { return w == 6 ? 0x43 : (w == 8 ? 0x12D : (w == 10 ? 0x409 : 0x1069)); }

void Append(std::vector<std::uint8_t>& bits, unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) bits.push_back(static_cast<std::uint8_t>((value >> i) & 1));
}

// Appends bits (one 0/1 byte a bit) to a vector, which grows in large steps and is cut to the
// bits written when the sink goes out of scope.
class BitSink {
public:
    explicit BitSink(std::vector<std::uint8_t>& bits) : bits_(bits), length_(bits.size()) {}
    ~BitSink() { bits_.resize(length_); }
    BitSink(const BitSink&) = delete;
    BitSink& operator=(const BitSink&) = delete;

    void put(unsigned value, int count) {
        const std::size_t end = length_ + static_cast<std::size_t>(count);
        if (end > bits_.size()) bits_.resize(std::max(2 * bits_.size(), end + 256));
        std::uint8_t* out = bits_.data() + length_;
        for (int i = count - 1; i >= 0; --i) *out++ = static_cast<std::uint8_t>((value >> i) & 1);
        length_ = end;
    }

private:
    std::vector<std::uint8_t>& bits_;
    std::size_t length_;
};

// Codes of the ASCII characters in the mixed and the punctuation mode, 0 for none.
struct ModeCodes {
    std::uint8_t mixed[128] = {}, punct[128] = {};
    constexpr ModeCodes() {
        const char* mixedChars = "@\\^_`|~";
        const char* punctChars = "!\"#$%&'()*+,-./:;<=>?[]{}";
        for (int i = 0; mixedChars[i]; ++i) mixed[static_cast<int>(mixedChars[i])] = static_cast<std::uint8_t>(i + 20);
        for (int i = 0; punctChars[i]; ++i) punct[static_cast<int>(punctChars[i])] = static_cast<std::uint8_t>(i + 6);
    }
};
constexpr ModeCodes kModeCodes;

}  // namespace

int AztecSkipGrid(int coordinate) {
    static const int kThresholds[] = {11, 27, 43, 59, 75, 91, 107, 123, 139};
    for (int t : kThresholds)
        if (coordinate >= t) ++coordinate;
    return coordinate;
}

void AztecBuildMap() {
    LayOut(Maps().full, kAztecFullSide, false, 32);
    Maps().fullBuilt = true;
}

const int* AztecFullMap() {
    if (!Maps().fullBuilt) AztecBuildMap();
    return Maps().full;
}

const int* AztecCompactMap() {
    std::vector<int>& map = Maps().compact;
    if (map.empty()) {
        map.resize(kAztecCompactSide * kAztecCompactSide);
        LayOut(map.data(), kAztecCompactSide, true, 4);
    }
    return map.data();
}

namespace {

// A character (or a pair that punctuation takes as one value): the modes that carry it and
// its code in each, and its byte for binary shift.
struct Item {
    std::uint8_t set;
    std::uint8_t code[5];
    std::uint8_t byte;
};

// The codes of a character below 128 in the standard's character tables.
void AddCodes(unsigned ch, Item& it) {
    auto add = [&](Mode m, int code) {
        it.set = static_cast<std::uint8_t>(it.set | Bit(m));
        it.code[m] = static_cast<std::uint8_t>(code);
    };
    if (ch >= 'A' && ch <= 'Z') add(kUpper, static_cast<int>(ch - 'A' + 2));
    if (ch >= 'a' && ch <= 'z') add(kLower, static_cast<int>(ch - 'a' + 2));
    if (ch >= '0' && ch <= '9') add(kDigit, static_cast<int>(ch - '0' + 2));
    if (ch == ' ') {
        add(kUpper, 1);
        add(kLower, 1);
        add(kMixed, 1);
        add(kDigit, 1);
    }
    if (ch >= 1 && ch <= 13) add(kMixed, static_cast<int>(ch + 1));
    if (ch >= 27 && ch <= 31) add(kMixed, static_cast<int>(ch - 12));
    if (ch == 127) add(kMixed, 27);
    if (kModeCodes.mixed[ch]) add(kMixed, kModeCodes.mixed[ch]);
    if (ch == '\r') add(kPunct, 1);
    if (kModeCodes.punct[ch]) add(kPunct, kModeCodes.punct[ch]);
    if (ch == ',') add(kDigit, 12);
    if (ch == '.') add(kDigit, 13);
}

// Every character with its modes; CR LF, ". ", ", " and ": " as one
// punctuation value each.
std::vector<Item> CharacterModes(const char16_t* chars, std::size_t count) {
    std::vector<Item> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned ch = chars[i];
        const unsigned next = i + 1 < count ? chars[i + 1] : 0;
        Item it{0, {0, 0, 0, 0, 0}, static_cast<std::uint8_t>(ch & 0xFF)};
        int pair = 0;
        if (ch == '\r' && next == '\n') pair = 2;
        else if (ch == '.' && next == ' ') pair = 3;
        else if (ch == ',' && next == ' ') pair = 4;
        else if (ch == ':' && next == ' ') pair = 5;
        if (pair) {
            it.set = static_cast<std::uint8_t>(Bit(kPunct));
            it.code[kPunct] = static_cast<std::uint8_t>(pair);
            ++i;
        } else if (ch < 128) {
            AddCodes(ch, it);
        }
        if (!it.set) it.set = static_cast<std::uint8_t>(Bit(kBinary));
        items.push_back(it);
    }
    return items;
}

struct Block {
    std::size_t start, length;
    unsigned set;
    bool shortBlock;
};

// Blocks of equal mode sets, each resolved to one mode; neighbours of one mode
// joined; short blocks (shifted rather than latched) marked.
std::vector<Block> ModeBlocks(const std::vector<Item>& items) {
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!blocks.empty() && blocks.back().set == items[i].set) ++blocks.back().length;
        else blocks.push_back({i, 1, items[i].set, false});
    }
    auto firstOf = [](unsigned set, const Mode* order) {
        for (int k = 0; k < 6; ++k)
            if (set & Bit(order[k])) return Bit(order[k]);
        return set;
    };
    static const Mode kOuter[] = {kUpper, kLower, kMixed, kPunct, kDigit, kBinary};
    static const Mode kInner[] = {kPunct, kMixed, kLower, kUpper, kDigit, kBinary};
    const std::size_t nb = blocks.size();
    if (nb) {
        blocks[0].set = firstOf(blocks[0].set, kOuter);
        for (std::size_t b = 1; b < nb; ++b)
            if (blocks[b].set & blocks[b - 1].set) blocks[b].set &= blocks[b - 1].set;
        blocks[nb - 1].set = firstOf(blocks[nb - 1].set, kOuter);
        for (std::size_t b = nb - 1; b-- > 1;)
            if (blocks[b].set & blocks[b + 1].set) blocks[b].set &= blocks[b + 1].set;
        for (auto& block : blocks) block.set = firstOf(block.set, kInner);
    }
    std::vector<Block> joined;
    for (const auto& block : blocks) {
        if (!joined.empty() && joined.back().set == block.set) joined.back().length += block.length;
        else joined.push_back(block);
    }
    for (std::size_t b = 0; b < joined.size(); ++b) {
        Block& block = joined[b];
        block.shortBlock = block.length < 3 && block.set != Bit(kBinary) &&
                           !(b == 0 && block.set == Bit(kUpper));
    }
    return joined;
}

// The bit string, block by block, with the latches and shifts between modes.
class TextWriter {
public:
    TextWriter(std::vector<std::uint8_t>& bits, const std::vector<Item>& items) : sink_(bits), items_(items) {}

    int Write(const Block& block) {
        Mode target = kUpper;
        for (int m = 0; m < 6; ++m)
            if (block.set == Bit(static_cast<Mode>(m))) target = static_cast<Mode>(m);
        if (target == kBinary) return BinaryShift(block);
        const bool shiftUpper = block.shortBlock && target == kUpper && (mode_ == kLower || mode_ == kDigit);
        const bool shiftPunct = block.shortBlock && target == kPunct && mode_ != kPunct;
        if (!shiftUpper && !shiftPunct) Latch(target);
        for (std::size_t i = 0; i < block.length; ++i) {
            if (shiftUpper) Put(mode_ == kDigit ? 15 : 28);
            if (shiftPunct) Put(0);
            const int code = items_[block.start + i].code[target];
            sink_.put(static_cast<unsigned>(code), target == kDigit ? 4 : 5);
        }
        return kSuccess;
    }

private:
    void Put(int code) { sink_.put(static_cast<unsigned>(code), mode_ == kDigit ? 4 : 5); }

    void Latch(Mode to) {
        if (mode_ == to) return;
        if (mode_ == kDigit || mode_ == kPunct) {
            Put(mode_ == kDigit ? 14 : 31);
            mode_ = kUpper;
            if (to == kUpper) return;
        }
        switch (to) {
        case kUpper:
            if (mode_ == kLower) { Put(29); mode_ = kMixed; }
            Put(29);
            break;
        case kLower: Put(28); break;
        case kMixed: Put(29); break;
        case kPunct:
            if (mode_ != kMixed) { Put(29); mode_ = kMixed; }
            Put(30);
            break;
        case kDigit:
            if (mode_ == kMixed) { Put(29); mode_ = kUpper; }
            Put(30);
            break;
        default: break;
        }
        mode_ = to;
    }

    int BinaryShift(const Block& block) {
        if (block.length > 2078) return kDataTooLong;
        if (mode_ == kPunct || mode_ == kDigit) Latch(kUpper);
        Put(31);
        if (block.length <= 31) {
            sink_.put(static_cast<unsigned>(block.length), 5);
        } else {
            sink_.put(0, 5);
            sink_.put(static_cast<unsigned>(block.length - 31), 11);
        }
        for (std::size_t i = 0; i < block.length; ++i)
            sink_.put(static_cast<unsigned>(items_[block.start + i].byte), 8);
        return kSuccess;
    }

    BitSink sink_;
    const std::vector<Item>& items_;
    Mode mode_ = kUpper;
};

}  // namespace

int AztecEncodeText(const char16_t* chars, std::size_t count, std::vector<std::uint8_t>& bits) {
    const std::vector<Item> items = CharacterModes(chars, count);
    TextWriter writer(bits, items);
    for (const Block& block : ModeBlocks(items))
        if (const int r = writer.Write(block)) return r;
    return kSuccess;
}

namespace {

// The percentage of check codewords of the requested level; a level out of range
// warns and takes the default.
int LevelPercent(SymbolRecord& rec, Build build, int& result) {
    int level;
    if (build == Build::Desktop) {
        level = rec.option1 >= 0 && rec.option1 <= 18 ? rec.option1 + 1 : 0;
    } else {
        level = rec.option1 >= -1 && rec.option1 <= 19 ? rec.option1 : 0;
        if (level == -1) level = 5;
    }
    if (level == 0 && !(build == Build::Server && rec.option1 == 0)) {
        SetError(rec, "Invalid error correction level - using default instead");
        rec.option1 = -1;
        result = kWarning;
    }
    if (level == 0) level = 5;
    return kLevelPercent[level - 1];
}

// Automatic size: the fewest full-range layers, then the compact sizes from
// the largest down, whose capacity exceeds the bits; until the stuffed codewords fit.
bool ChooseSize(const std::vector<std::uint8_t>& bits, int percent, bool readerInit, Size& size,
                std::vector<std::uint32_t>& words) {
    std::size_t need = bits.size();
    for (;;) {
        bool found = false;
        for (int l = 1; l <= 32 && !found; ++l) {
            const Size s = SizeOf(false, l);
            if (static_cast<std::size_t>(DataWords(s, percent) * s.wordBits) > need) {
                size = s;
                found = true;
            }
        }
        for (int l = readerInit ? 1 : 4; l >= 1; --l) {
            const Size s = SizeOf(true, l);
            if (static_cast<std::size_t>(DataWords(s, percent) * s.wordBits) > need) {
                size = s;
                found = true;
            }
        }
        if (!found) return false;
        words = Stuff(bits, size.wordBits);
        const std::size_t stuffed = words.size() * static_cast<std::size_t>(size.wordBits);
        if (static_cast<int>(words.size()) <= DataWords(size, percent)) return true;
        need = std::max(need + 1, stuffed);
    }
}

// The size and the stuffed data codewords; 0 or a failure.
int SizeAndCodewords(SymbolRecord& rec, const std::vector<std::uint8_t>& bits, int percent, bool readerInit,
                     Size& size, std::vector<std::uint32_t>& words) {
    int sizeOption = rec.option2;
    if (sizeOption < 0 || sizeOption > 36) return Fail(rec, kInvalidOption, "Invalid Aztec Code size");
    if (readerInit && sizeOption >= 2 && sizeOption <= 4) sizeOption = 5;
    if (sizeOption == 0) {
        if (!ChooseSize(bits, percent, readerInit, size, words))
            return Fail(rec, kDataTooLong, "Data too long for selected ECC level");
    } else {
        size = sizeOption <= 4 ? SizeOf(true, sizeOption) : SizeOf(false, sizeOption - 4);
        words = Stuff(bits, size.wordBits);
        const int room = size.compact ? std::min(size.totalWords - 3, 64) : size.totalWords - 3;
        if (static_cast<int>(words.size()) > room)
            return Fail(rec, kDataTooLong, "Data too long for selected size");
    }
    if (readerInit && size.layers > 22)
        return Fail(rec, kDataTooLong, "Data too long for reader initialization symbol");
    return 0;
}

// Check codewords after the data codewords; the stream starts with the bits that do
// not make up a whole codeword.
std::vector<std::uint8_t> AddCheckWords(const Size& size, const std::vector<std::uint32_t>& words) {
    const int checkWords = size.totalWords - static_cast<int>(words.size());
    std::vector<std::uint32_t> check(static_cast<std::size_t>(checkWords));
    RsInitField(FieldOf(size.wordBits));
    RsInitCode(checkWords, 1);
    RsEncodeLong(words.size(), words.data(), check.data());
    RsFree();
    std::vector<std::uint8_t> stream;
    {
        BitSink sink(stream);  // cuts the stream to its bits when it goes
        sink.put(0, size.totalBits % size.wordBits);
        for (auto w : words) sink.put(w, size.wordBits);
        for (int i = checkWords - 1; i >= 0; --i) sink.put(check[static_cast<std::size_t>(i)], size.wordBits);
    }
    return stream;
}

// The mode message, layers and data codewords with check nibbles over GF(16).
std::vector<std::uint8_t> ModeMessage(const Size& size, int dataWords, bool readerInit) {
    std::vector<std::uint8_t> mode;
    const int nibbles = size.compact ? 2 : 4, modeCheck = size.compact ? 5 : 6;
    if (size.compact) {
        Append(mode, static_cast<unsigned>(size.layers - 1), 2);
        Append(mode, static_cast<unsigned>((dataWords - 1) | (readerInit ? 0x20 : 0)), 6);
    } else {
        Append(mode, static_cast<unsigned>(size.layers - 1), 5);
        Append(mode, static_cast<unsigned>((dataWords - 1) | (readerInit ? 0x400 : 0)), 11);
    }
    std::uint8_t modeData[4] = {}, modeChecks[6] = {};
    for (int i = 0; i < nibbles; ++i)
        modeData[i] = static_cast<std::uint8_t>(mode[4 * i] * 8 + mode[4 * i + 1] * 4 + mode[4 * i + 2] * 2 + mode[4 * i + 3]);
    RsInitField(0x13);
    RsInitCode(modeCheck, 1);
    RsEncode(static_cast<std::size_t>(nibbles), modeData, modeChecks);
    RsFree();
    for (int i = modeCheck - 1; i >= 0; --i) Append(mode, modeChecks[i], 4);
    return mode;
}

// Every cell of the symbol's square from the position map.
void Draw(SymbolRecord& rec, const Size& size, const std::vector<std::uint8_t>& stream,
          const std::vector<std::uint8_t>& mode) {
    const int mapSide = size.compact ? kAztecCompactSide : kAztecFullSide;
    const int* map = size.compact ? AztecCompactMap() : AztecFullMap();
    const int offset = (mapSide - size.side) / 2;
    std::memset(rec.modules, 0, sizeof rec.modules);
    for (int r = 0; r < size.side; ++r)
        for (int c = 0; c < size.side; ++c) {
            const int v = map[(r + offset) * mapSide + c + offset];
            bool dark;
            if (v >= kAztecModeBit) dark = mode[static_cast<std::size_t>(v - kAztecModeBit)] != 0;
            else if (v >= kAztecDataBit) dark = stream[static_cast<std::size_t>(size.totalBits - 1 - (v - kAztecDataBit))] != 0;
            else dark = v == 1;
            rec.modules[r][c] = dark ? 1 : 0;
        }
    rec.rows = rec.width = size.side;
    for (int r = 0; r < size.side; ++r) rec.rowHeights[r] = 1;
}

}  // namespace

int EncodeAztec(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    if (!data || length < 1) return kEmptyData;
    const bool readerInit = (rec.outputFlags & 0x10) != 0;
    if (readerInit && rec.inputMode == kGs1Mode)
        return Fail(rec, kInvalidOption, "Cannot encode in GS1 and Reader Initialization mode simultaneously.");
    std::vector<std::uint8_t> bytes;
    if (const int r = InputBytes(rec, data, length, bytes)) return r;
    // The bytes are the characters as they stand: no code page lies between them.
    std::vector<char16_t> chars(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> bits;
    if (AztecEncodeText(chars.data(), chars.size(), bits))
        return Fail(rec, kDataTooLong, "Data too long to process.");

    int result = kSuccess;
    const int percent = LevelPercent(rec, call.build(), result);
    Size size{};
    std::vector<std::uint32_t> words;
    if (const int r = SizeAndCodewords(rec, bits, percent, readerInit, size, words)) return r;
    Draw(rec, size, AddCheckWords(size, words), ModeMessage(size, static_cast<int>(words.size()), readerInit));
    return FinishBandText(rec, call.CrLf(false), ModuleForm::Byte, result);
}

}  // namespace matrix
