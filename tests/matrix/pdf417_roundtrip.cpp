// PDF417 and truncated PDF417 read back by the independent decoder.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "pdf417.h"
#include "support/band_text.h"
#include "support/barcode_image.h"
#include "support/encode_texts.h"
#include "support/reader.h"
#include "support/tables.h"

namespace {

using namespace matrix;
using namespace testing_support;

struct Case {
    std::string name;
    std::string data;
    int level = -1;
    int columns = 0;
    bool truncated = false;
    int corrupt = 0;  // codewords replaced by others before reading
};

// Element widths of every codeword in the three clusters, read from the standard's table.
std::vector<std::vector<std::string>> ClusterWidths() {
    std::vector<std::vector<std::string>> t(3, std::vector<std::string>(929));
    std::ifstream f = testing_support::OpenTable("pdf417-symbol-characters.txt");
    std::string line;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        int cw;
        in >> cw >> t[0][cw] >> t[1][cw] >> t[2][cw];
    }
    return t;
}

// Replaces `count` data codewords, spread over the symbol, by other codewords of the row's
// cluster.
void Corrupt(Matrix& m, int columns, int count) {
    static const auto widths = ClusterWidths();
    const int rows = static_cast<int>(m.size());
    for (int i = 0; i < count; ++i) {
        const int slot = (i * 7919) % (rows * columns);
        const int r = slot / columns, c = slot % columns;
        Modules mod;
        AppendWidths(mod, widths[r % 3][(r * 31 + c * 17 + 5) % 929]);
        const int x0 = 34 + 17 * c;
        bool same = true;
        for (int x = 0; x < 17; ++x) same = same && m[r][x0 + x] == mod[x];
        if (same) AppendWidths(mod = {}, widths[r % 3][(r * 31 + c * 17 + 6) % 929]);
        for (int x = 0; x < 17; ++x) m[r][x0 + x] = mod[x];
    }
}

class Pdf417RoundTrip : public ::testing::Test {
protected:
    std::vector<Case> cases;
    std::vector<Image> images;

    void Add(Case c) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->symbology = c.truncated ? 56 : 20;
        rec->option1 = c.level;
        rec->option2 = c.columns;
        const int result = EncodePDF417(*rec, AsBytes(c.data), Call::Server(true));
        ASSERT_EQ(result, kSuccess) << c.name << ": " << rec->errorText;
        if (c.columns > 0) {
            ASSERT_EQ(rec->option2, c.columns) << c.name;
        }
        ASSERT_EQ(rec->width, 17 * rec->option2 + (c.truncated ? 35 : 69)) << c.name;
        auto m = BandTextToMatrix(rec->fontText, rec->rows);
        ASSERT_TRUE(m.has_value()) << c.name;
        if (c.corrupt) Corrupt(*m, rec->option2, c.corrupt);
        std::vector<Modules> rows(m->begin(), m->end());
        images.push_back(RenderRows(rows, std::vector<int>(rows.size(), 6), 2, 4));
        cases.push_back(std::move(c));
    }

    void ReadAll() {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
        const auto results = ReadBarcodes(images, {"PDF417", true});
        ASSERT_EQ(results.size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            EXPECT_TRUE(results[i].found) << cases[i].name;
            EXPECT_EQ(results[i].bytes, cases[i].data) << cases[i].name;
        }
    }
};

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

std::string Printable() {
    std::string s;
    for (int b = 32; b < 127; ++b) s += static_cast<char>(b);
    return s + "\t\r\n";
}

TEST_F(Pdf417RoundTrip, LevelsColumnsCompactionsAndLimits) {
    // Every security level; columns 1 to 30 in both forms.
    for (int level = 0; level <= 8; ++level)
        Add({"level " + std::to_string(level), "Security " + std::to_string(level) + " 0123456789", level});
    for (int columns = 1; columns <= 30; ++columns) {
        Add({"columns " + std::to_string(columns), "Column test ABCdef 12345678901234", 1, columns});
        Add({"truncated " + std::to_string(columns), "Truncated " + std::to_string(columns), 1, columns, true});
    }
    // Compactions, alone and mixed, at the lowest levels, so that every codeword counts.
    const std::string mixes[] = {
        Printable(),
        "abcDEFghi jkl,MNO.pqr:st;UV@wx#YZ",
        "lower then UPPER then lower again ~ punct | { } and a Z",
        "AbCdEfGhIjKlMnOpQrStUvWxYz",
        "12345678",
        std::string(200, '7') + "123",
        "abc1234567def",
        "abc12345678def",
        "abc\xE9" "def",
        "abc\xE9" "b",
        "\x80\x81\x82\x83\x84\x85",
        "\x80\x81\x82\x83\x84\x85\x86",
        "data 0123 \x01\x02 12345678901234567890 \xFE\xFF mixed",
        "1\xC0" "2",
        std::string("\0\0\0", 3) + "0",
    };
    for (int level = 0; level <= 1; ++level)
        for (const auto& s : mixes) Add({"mix " + s.substr(0, 12), s, level});
    // Bytes 0 to 255, whole and in pieces of every length from 1 to 13.
    const std::string all = AllBytes();
    Add({"bytes 0-255", all, 0});
    Add({"bytes 0-255 truncated", all, 0, 12, true});
    for (std::size_t len = 1; len <= 13; ++len) Add({"byte run " + std::to_string(len), all.substr(128, len), 0});
    std::mt19937 rng(7);
    for (int i = 0; i < 20; ++i) {
        std::string s;
        const int len = 1 + static_cast<int>(rng() % 150);
        for (int j = 0; j < len; ++j) {
            const int kind = static_cast<int>(rng() % 3);
            s += static_cast<char>(kind == 0 ? '0' + rng() % 10 : kind == 1 ? 32 + rng() % 95 : rng() % 256);
        }
        // The reader cannot place every truncated level-0 symbol: those get one more level.
        const int level = static_cast<int>(rng() % 2), columns = static_cast<int>(rng() % 31);
        const bool truncated = rng() % 2 == 0;
        Add({"random " + std::to_string(i), s, truncated ? level + 1 : level, columns, truncated});
    }
    // The longest data that fits, for bytes, text and digits, at the lowest and a middle level.
    for (char kind : {'b', 't', 'n'}) {
        for (int level : {0, 5}) {
            std::string s;
            auto rec = std::make_unique<SymbolRecord>();
            for (;;) {
                std::string longer = s + (kind == 'b' ? '\xB5' : kind == 't' ? 'x' : '9');
                *rec = {};
                rec->option1 = level;
                if (EncodePDF417(*rec, AsBytes(longer), Call::Server(true)) != kSuccess)
                    break;
                s = longer;
            }
            EXPECT_STREQ(rec->errorText, "Data too long");
            Add({std::string("limit ") + kind + std::to_string(level), s, level});
        }
    }
    // Correctable damage: at level L the decoder corrects (2^(L+1) - 2) / 2 codewords.
    for (int level = 1; level <= 4; ++level)
        Add({"corrupt " + std::to_string(level), "Damaged symbol " + std::string(60, 'q') + " 0123456789012345",
             level, 6, false, ((2 << level) - 2) / 2});
    ReadAll();
}

}  // namespace
