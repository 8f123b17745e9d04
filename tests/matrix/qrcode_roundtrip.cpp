// QR Code and Micro QR band text read back by independent decoders: zxing-cpp for both,
// zbarimg for QR Code.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/encode_texts.h"
#include "support/reader.h"

using namespace matrix;
using namespace testing_support;

namespace {

struct Encoded {
    int result = 0;
    Matrix matrix;
    std::string text;
};

Encoded EncodeData(RecordEncoder fn, const std::string& data, int option1, int option2, bool crlf = true) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = option1;
    rec->option2 = option2;
    Encoded e;
    e.result = fn(*rec, AsBytes(data), Call::Server(crlf));
    e.text = rec->fontText;
    if (e.result == kSuccess) {
        auto m = BandTextToMatrix(e.text, rec->rows);
        if (m) e.matrix = *m;
    }
    return e;
}

// The 15 format bits of a QR Code symbol, read from the copy beside the top-left finder
// (row 8, column 0 holds the highest bit), unmasked.
int QrFormat(const Matrix& m) {
    int word = 0;
    for (int c : {0, 1, 2, 3, 4, 5, 7, 8}) word = word * 2 + m[8][static_cast<std::size_t>(c)];
    for (int r : {7, 5, 4, 3, 2, 1, 0}) word = word * 2 + m[static_cast<std::size_t>(r)][8];
    return word ^ 0x5412;
}
// The second copy: column 8 from the bottom up (bits 14..8), then row 8 from column size - 8.
int QrFormatCopy2(const Matrix& m) {
    const int n = static_cast<int>(m.size());
    int word = 0;
    for (int r = n - 1; r >= n - 7; --r) word = word * 2 + m[static_cast<std::size_t>(r)][8];
    for (int c = n - 8; c < n; ++c) word = word * 2 + m[8][static_cast<std::size_t>(c)];
    return word ^ 0x5412;
}
int QrLevel(const Matrix& m) {  // 1 L .. 4 H
    static const int kByBits[4] = {2, 1, 4, 3};
    return kByBits[QrFormat(m) >> 13];
}
int MicroFormat(const Matrix& m) {
    int word = 0;
    for (int c = 1; c <= 8; ++c) word = word * 2 + m[8][static_cast<std::size_t>(c)];
    for (int r = 7; r >= 1; --r) word = word * 2 + m[static_cast<std::size_t>(r)][8];
    return word ^ 0x4445;
}

std::string RandomText(std::mt19937& rng, int kind, std::size_t length) {
    static const std::string alpha = qr::kAlphanumeric;
    std::string s;
    for (std::size_t i = 0; i < length; ++i) {
        switch (kind) {
            case 0: s += static_cast<char>('0' + rng() % 10); break;
            case 1: s += alpha[rng() % alpha.size()]; break;
            case 2: s += static_cast<char>(rng() % 256); break;
            default: {  // mixed runs of digits, capitals and lower case
                const int run = 1 + static_cast<int>(rng() % 12), k = static_cast<int>(rng() % 3);
                for (int j = 0; j < run && s.size() < length; ++j)
                    s += k == 0 ? static_cast<char>('0' + rng() % 10) : k == 1 ? alpha[rng() % alpha.size()] : static_cast<char>('a' + rng() % 26);
                i = s.size() - 1;
            }
        }
    }
    s.resize(length);
    return s;
}

struct Case {
    std::string data;
    Encoded enc;
};

void ReadAll(const std::vector<Case>& cases, const char* format, bool pure, int quiet) {
    std::vector<Image> images;
    for (const Case& c : cases) images.push_back(RenderMatrix(c.enc.matrix, 3, quiet));
    const auto results = ReadBarcodes(images, {format, pure});
    int failures = 0;
    for (std::size_t i = 0; i < cases.size() && failures < 10; ++i) {
        if (!results[i].found || results[i].bytes != cases[i].data) {
            ++failures;
            ADD_FAILURE() << "size " << cases[i].enc.matrix.size() << " data length " << cases[i].data.size()
                          << (results[i].found ? " misread" : " not read");
        }
    }
}

class QrRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    }
};

TEST_F(QrRoundTrip, EveryVersionAtEveryLevel) {
    std::mt19937 rng(7);
    std::vector<Case> cases;
    std::set<std::pair<int, int>> seen;
    for (int version = 1; version <= 40; ++version) {
        for (int level = 1; level <= 4; ++level) {
            const int kind = (version + level) % 4;
            const std::string pool = RandomText(rng, kind, 7200);
            // The longest prefix of the pool that still lands on this version: by the
            // worst-case bit count for one-mode data, by search for mixed data.
            const int bits = 8 * qr::DataCodewords(version, level - 1);
            std::size_t lo = 0;
            if (kind == 0) {
                lo = static_cast<std::size_t>((bits - 18) / 10 * 3);
                if ((bits - 18) % 10 >= 7) lo += 2;
                else if ((bits - 18) % 10 >= 4) lo += 1;
            } else if (kind == 1) {
                lo = static_cast<std::size_t>((bits - 17) / 11 * 2 + ((bits - 17) % 11 >= 6 ? 1 : 0));
            } else if (kind == 2) {
                lo = static_cast<std::size_t>((bits - 20) / 8);
            } else {
                std::size_t hi = static_cast<std::size_t>(bits / 4);
                while (lo < hi) {
                    const std::size_t mid = (lo + hi + 1) / 2;
                    const Encoded e = EncodeData(EncodeQRCode, pool.substr(0, mid), level, 0);
                    if (e.result == kSuccess && static_cast<int>(e.matrix.size()) <= 17 + 4 * version) lo = mid;
                    else hi = mid - 1;
                }
            }
            Case c{pool.substr(0, lo), EncodeData(EncodeQRCode, pool.substr(0, lo), level, 0, version % 2 == 0)};
            ASSERT_EQ(c.enc.result, kSuccess);
            if (static_cast<int>(c.enc.matrix.size()) != 17 + 4 * version) continue;
            EXPECT_EQ(QrFormat(c.enc.matrix), QrFormatCopy2(c.enc.matrix)) << version;
            seen.insert({version, QrLevel(c.enc.matrix)});
            cases.push_back(std::move(c));
        }
    }
    // Pairs that mixed data missed: lower-case letters filling the version at the level.
    for (int version = 1; version <= 40; ++version)
        for (int level = 1; level <= 4; ++level)
            if (!seen.count({version, level})) {
                std::string data;
                for (int i = 0; i < (8 * qr::DataCodewords(version, level - 1) - 20) / 8; ++i)
                    data += static_cast<char>('a' + i % 26);
                Case c{data, EncodeData(EncodeQRCode, data, level, 0)};
                seen.insert({version, QrLevel(c.enc.matrix)});
                cases.push_back(std::move(c));
            }
    EXPECT_EQ(seen.size(), 160u);
    ReadAll(cases, "QRCode", true, 4);
}

TEST_F(QrRoundTrip, ThousandsOfGeneratedInputs) {
    std::mt19937 rng(2024);
    std::vector<Case> cases;
    for (int i = 0; i < 2000; ++i) {
        const int kind = i % 5;
        std::size_t length = rng() % 60;
        if (i % 50 == 0) length = rng() % 1500;
        std::string data;
        if (kind == 4) {  // UTF-8 text
            static const char* pieces[] = {"é", "ß", "€", "日本", "Grüße ", "abc", "123", "Ωmega", "😀"};
            while (data.size() < length) data += pieces[rng() % 9];
        } else {
            data = RandomText(rng, kind, length);
        }
        Case c{data, EncodeData(EncodeQRCode, data, static_cast<int>(rng() % 6) - 1, static_cast<int>(rng() % 12) == 0 ? static_cast<int>(rng() % 41) : 0)};
        ASSERT_EQ(c.enc.result, kSuccess);
        cases.push_back(std::move(c));
    }
    ReadAll(cases, "QRCode", true, 4);
}

TEST_F(QrRoundTrip, ZbarReadsQrCode) {
    REQUIRE_READER(ZbarAvailable(), "zbarimg");
    namespace fs = std::filesystem;
    std::mt19937 rng(99);
    const fs::path dir(MakeTempFolder());
    std::vector<std::string> expected;
    for (int i = 0; i < 120; ++i) {
        const int version = 1 + i % 40;
        const std::string data = RandomText(rng, i % 4 == 2 ? 1 : i % 4, 1 + rng() % 40);
        const Encoded e = EncodeData(EncodeQRCode, data, 1 + i % 4, version);
        ASSERT_EQ(e.result, kSuccess);
        const Image img = RenderMatrix(e.matrix, 3, 4);
        std::ofstream f(dir / (std::to_string(i) + ".pgm"), std::ios::binary);
        f << "P5\n" << img.width << " " << img.height << "\n255\n";
        f.write(reinterpret_cast<const char*>(img.pixels.data()), static_cast<std::streamsize>(img.pixels.size()));
        expected.push_back(data);
    }
    // One zbarimg run per image (its output does not say which file a symbol came from).
    std::string cmd = "cd " + dir.string() + " && for i in $(seq 0 119); do zbarimg -q --raw -Sbinary $i.pgm > $i.out 2>/dev/null; done";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (int i = 0; i < 120; ++i) {
        std::ifstream in(dir / (std::to_string(i) + ".out"), std::ios::binary);
        std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!got.empty() && got.back() == '\n') got.pop_back();
        EXPECT_EQ(got, expected[static_cast<std::size_t>(i)]) << i;
    }
    fs::remove_all(dir);
}

TEST_F(QrRoundTrip, OptimisedModesLongerThanTheEstimate) {
    // Mixed data whose optimised modes cost more bits than the worst-case estimate that
    // chose the version: a larger version is taken and nothing is cut off.
    std::vector<Case> cases;
    for (const char* data : {"BZZZBYYFFX01470381219DBXXEBEFYAYEXAYXC9617888568bbhesxAAXACBXYCADFXZFYEAYEZYDABZXBCY96394884332XYFBDF836068iCDZFXECAE3722368dwBDCYBFAXAEBDBEAACY",
                             "DXYCFYEDZ701989dg25323896543029766YFYYCDDEEDavXEDABDAC0399188tlqimzjdylaXZYAZFEFYFFEYAZYAAEBfuqFAFCEABBAEE71881291198028xxrZAXZECCCEXE"}) {
        Case c{data, EncodeData(EncodeQRCode, data, 4, 0)};
        ASSERT_EQ(c.enc.result, kSuccess);
        cases.push_back(std::move(c));
    }
    ReadAll(cases, "QRCode", true, 4);
}

class MicroQrRoundTrip : public QrRoundTrip {};

TEST_F(MicroQrRoundTrip, EveryVersionLevelAndMask) {
    std::mt19937 rng(5);
    std::vector<Case> cases;
    std::set<int> seen;  // symbol number x 4 + mask
    for (int i = 0; i < 3000; ++i) {
        const int kind = i % 4;
        const std::string data = RandomText(rng, kind, rng() % (kind == 0 ? 36 : kind == 2 ? 16 : 22));
        Case c{data, EncodeData(EncodeMicroQRCode, data, static_cast<int>(rng() % 4), static_cast<int>(rng() % 5), i % 2 == 0)};
        if (c.enc.result != kSuccess) continue;
        const int format = MicroFormat(c.enc.matrix);
        seen.insert(format >> 10);
        cases.push_back(std::move(c));
    }
    EXPECT_EQ(seen.size(), 32u);
    ReadAll(cases, "MircoQRCode", true, 2);
}

}  // namespace
