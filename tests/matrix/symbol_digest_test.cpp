// Every two-dimensional encoder over a fixed corpus of inputs (all sizes, levels and options
// the encoders offer), each encoder's results folded into one 64-bit digest. The digests were
// taken from the encoders as they stood before their arithmetic was made faster: a changed
// digest means some symbol changed. To find which one, set KESTRIVO_SYMBOL_DUMP to a file
// name and compare the dumps of the two builds.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

using namespace matrix;
using testing_support::AsBytes;

using Setup = std::function<void(SymbolRecord&)>;
using Encoder = std::function<int(SymbolRecord&, const std::string&)>;

class Corpus {
public:
    explicit Corpus(const char* name) : name_(name) {
        if (const char* path = std::getenv("KESTRIVO_SYMBOL_DUMP")) dump_ = std::fopen(path, "a");
    }
    ~Corpus() {
        if (dump_) std::fclose(dump_);
    }
    Corpus(const Corpus&) = delete;
    Corpus& operator=(const Corpus&) = delete;

    void Encode(const std::string& data, const Setup& setup, const Encoder& encode) {
        *rec_ = SymbolRecord{};
        setup(*rec_);
        const int result = encode(*rec_, data);
        const std::size_t textLength = strnlen(rec_->fontText, sizeof rec_->fontText);
        Fold(&result, sizeof result);
        Fold(&rec_->rows, sizeof rec_->rows);
        Fold(&rec_->width, sizeof rec_->width);
        Fold(rec_->fontText, textLength);
        ++count_;
        if (dump_) {
            const std::string line = std::string(name_) + ' ' + std::to_string(count_) + ' ' + std::to_string(result) +
                                     ' ' + std::to_string(rec_->rows) + ' ' + std::to_string(rec_->width) + '\n' +
                                     std::string(rec_->fontText, textLength) + '\n';
            std::fputs(line.c_str(), dump_);
        }
    }
    std::uint64_t digest() const { return hash_; }
    std::size_t count() const { return count_; }

private:
    void Fold(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        for (std::size_t i = 0; i < n; ++i) hash_ = (hash_ ^ b[i]) * 0x100000001B3ull;
        hash_ = (hash_ ^ 0xFF) * 0x100000001B3ull;  // separates the fields
    }

    const char* name_;
    std::FILE* dump_ = nullptr;
    std::unique_ptr<SymbolRecord> rec_ = std::make_unique<SymbolRecord>();
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
    std::size_t count_ = 0;
};

// Data of one kind: 0 digits, 1 QR alphanumerics, 2 printable text, 3 any byte, 4 a mix of
// runs of the others.
std::string Make(std::mt19937& rng, int kind, std::size_t length) {
    static const std::string kAlnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    std::string s;
    int runKind = kind;
    std::size_t runLeft = 0;
    while (s.size() < length) {
        if (kind == 4 && runLeft == 0) {
            runKind = static_cast<int>(rng() % 4);
            runLeft = 1 + rng() % 12;
        }
        if (runLeft) --runLeft;
        switch (runKind) {
            case 0: s += static_cast<char>('0' + rng() % 10); break;
            case 1: s += kAlnum[rng() % kAlnum.size()]; break;
            case 2: s += static_cast<char>(32 + rng() % 95); break;
            default: s += static_cast<char>(rng() % 256); break;
        }
    }
    return s;
}

// Lengths from 1 to `largest`, denser where the symbols are small.
std::vector<std::size_t> Lengths(std::size_t largest) {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 1; n <= largest; n = n < 12 ? n + 1 : n + n / 6) lengths.push_back(n);
    lengths.push_back(largest);
    return lengths;
}

TEST(SymbolDigest, QrCode) {
    Corpus corpus("qr");
    std::mt19937 rng(18004);
    const Encoder encode = [](SymbolRecord& r, const std::string& d) { return EncodeQRCode(r, AsBytes(d), Call::Server(true)); };
    for (int level = 1; level <= 4; ++level) {
        // Every version with little data, so every version's masks are scored.
        for (int version = 1; version <= 40; ++version)
            corpus.Encode(Make(rng, 4, 1 + rng() % 20), [&](SymbolRecord& r) { r.option1 = level; r.option2 = version; }, encode);
        for (int kind = 0; kind <= 4; ++kind)
            for (std::size_t n : Lengths(kind == 0 ? 7100 : kind == 1 ? 4300 : 2960))
                corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.option1 = level; }, encode);
    }
    corpus.Encode("https://www.example.com/products/item?id=123456789", [](SymbolRecord& r) { r.option1 = 2; }, encode);
    EXPECT_EQ(corpus.digest(), 0xFA321CA34B67B23Dull) << corpus.count() << " symbols";
}

TEST(SymbolDigest, MicroQr) {
    Corpus corpus("microqr");
    std::mt19937 rng(1);
    const Encoder encode = [](SymbolRecord& r, const std::string& d) { return EncodeMicroQRCode(r, AsBytes(d), Call::Server(true)); };
    for (int level = 1; level <= 4; ++level)
        for (int version = 0; version <= 4; ++version)
            for (int kind = 0; kind <= 4; ++kind)
                for (std::size_t n = 1; n <= 36; n += 1 + n / 8)
                    corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.option1 = level; r.option2 = version; }, encode);
    EXPECT_EQ(corpus.digest(), 0xA230644DC93E412Bull) << corpus.count() << " symbols";
}

TEST(SymbolDigest, DataMatrix) {
    Corpus corpus("datamatrix");
    std::mt19937 rng(16022);
    const Encoder encode = [](SymbolRecord& r, const std::string& d) { return EncodeDataMatrix(r, AsBytes(d), Call::Server(true)); };
    // Every size chosen with a little data, then the automatic choice in each shape.
    for (const DataMatrixSize& size : kDataMatrixSizes)
        corpus.Encode(Make(rng, 4, 1 + rng() % 4), [&](SymbolRecord& r) { r.option2 = size.option2; }, encode);
    for (int shape : {0, 100, 101})
        for (int kind = 0; kind <= 4; ++kind)
            for (std::size_t n : Lengths(kind == 0 ? 3116 : 1600))
                corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.option3 = shape; }, encode);
    for (int encodation = 1; encodation <= 6; ++encodation)
        for (std::size_t n : Lengths(700)) {
            const std::string data = Make(rng, encodation == 4 ? 1 : 2, n);
            corpus.Encode(data, [&](SymbolRecord& r) { r.option4 = encodation; }, [](SymbolRecord& r, const std::string& d) {
                return EncodeDataMatrix(r, AsBytes(d), Call::Server(false));
            });
        }
    EXPECT_EQ(corpus.digest(), 0xF1D11646AD9E045Full) << corpus.count() << " symbols";
}

TEST(SymbolDigest, Aztec) {
    Corpus corpus("aztec");
    std::mt19937 rng(24778);
    const Encoder encode = [](SymbolRecord& r, const std::string& d) { return EncodeAztec(r, AsBytes(d), Call::Server(true)); };
    for (int size = 1; size <= 36; ++size)
        corpus.Encode(Make(rng, 4, 1 + rng() % 10), [&](SymbolRecord& r) { r.option2 = size; }, encode);
    for (int level = -1; level <= 19; ++level)
        for (int kind = 0; kind <= 4; kind += 2)
            for (std::size_t n : Lengths(kind == 0 ? 3800 : 1900))
                corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.option1 = level; }, encode);
    for (int kind = 1; kind <= 3; kind += 2)
        for (std::size_t n : Lengths(1900))
            corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.option1 = 3; r.outputFlags = n % 3 ? 0 : 0x10; },
                          [](SymbolRecord& r, const std::string& d) {
                              return EncodeAztec(r, AsBytes(d), Call::Desktop());
                          });
    EXPECT_EQ(corpus.digest(), 0x05B3CFB729BEEDADull) << corpus.count() << " symbols";
}

TEST(SymbolDigest, Pdf417) {
    Corpus corpus("pdf417");
    std::mt19937 rng(15438);
    const Encoder encode = [](SymbolRecord& r, const std::string& d) { return EncodePDF417(r, AsBytes(d), Call::Server(true)); };
    for (int level = -1; level <= 8; ++level)
        for (int columns = 0; columns <= 30; columns += 3)
            for (int kind = 0; kind <= 4; ++kind)
                for (std::size_t n : Lengths(kind == 0 ? 2700 : kind == 3 ? 1100 : 1800)) {
                    if (n % 3 != static_cast<std::size_t>(level + columns + kind + 3) % 3 && n > 40) continue;
                    corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) {
                        r.symbology = n % 2 ? 20 : 56;
                        r.option1 = level;
                        r.option2 = columns;
                    }, encode);
                }
    EXPECT_EQ(corpus.digest(), 0xCDFB717DB501F426ull) << corpus.count() << " symbols";
}

TEST(SymbolDigest, MicroPdf417AndMaxicode) {
    Corpus corpus("micropdf417-maxicode");
    std::mt19937 rng(24728);
    for (int columns = 0; columns <= 4; ++columns)
        for (int kind = 0; kind <= 4; ++kind)
            for (std::size_t n : Lengths(kind == 0 ? 370 : 260))
                corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) { r.symbology = 21; r.option2 = columns; },
                              [](SymbolRecord& r, const std::string& d) {
                                  return EncodeMicroPDF417(r, AsBytes(d), Call::Server(true));
                              });
    for (int mode = 2; mode <= 6; ++mode)
        for (int kind = 0; kind <= 4; ++kind)
            for (std::size_t n : Lengths(140))
                corpus.Encode(Make(rng, kind, n), [&](SymbolRecord& r) {
                    r.option1 = mode;
                    std::strcpy(r.primaryMessage, mode == 2 ? "152382802840001" : "B1050  056999");
                }, [](SymbolRecord& r, const std::string& d) { return EncodeMaxicode(r, AsBytes(d), Call::Server(true)); });
    EXPECT_EQ(corpus.digest(), 0xE298584061B673DEull) << corpus.count() << " symbols";
}

}  // namespace
