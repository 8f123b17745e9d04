// MicroPDF417 read back by a test-side reader written from ISO/IEC 24728: row address
// patterns and clusters back to codewords, the mod-929 check verified, the codewords back
// to the data.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>

#include "micropdf417.h"
#include "pdf417_codewords.h"
#include "support/band_text.h"
#include "support/encode_texts.h"

namespace {

using namespace matrix;
using testing_support::AsBytes;
using namespace pdf417_reading;

std::unique_ptr<SymbolRecord> Encode(const std::string& data, int columns, int& result) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->symbology = 21;
    rec->option2 = columns;
    result = EncodeMicroPDF417(*rec, AsBytes(data), Call::Server(true));
    return rec;
}

struct MicroTables {
    std::map<std::string, int> side, centre;  // widths -> pattern number
    struct Variant { int columns, rows, k; };
    std::vector<Variant> variants;
    std::vector<std::map<std::string, int>> clusters;
};

const MicroTables& Tables() {
    static const MicroTables t = [] {
        MicroTables t;
        t.clusters = ClusterLookup();
        std::ifstream f = testing_support::OpenTable("micropdf417-tables.txt");
        std::string line, section;
        while (std::getline(f, line)) {
            if (line.empty() || line[0] == '#') continue;
            if (line[0] == '[') { section = line; continue; }
            std::istringstream in(line);
            int n;
            in >> n;
            if (section == "[variants]") {
                MicroTables::Variant v;
                in >> v.columns >> v.rows >> v.k;
                t.variants.push_back(v);
            } else {
                std::string w;
                in >> w;
                (section == "[centre patterns]" ? t.centre : t.side)[w] = n;
            }
        }
        return t;
    }();
    return t;
}

struct Reading {
    Reading() = default;
    Reading(std::string e) : error(std::move(e)) {}
    std::string error;
    std::string data;
    int variant = 0;
};

// Reads a symbol from its band text.
Reading Read(const SymbolRecord& rec) {
    const auto& t = Tables();
    Reading r;
    auto m = testing_support::BandTextToMatrix(rec.fontText, rec.rows);
    if (!m) return Reading("band text");
    const int widths[] = {0, 38, 55, 82, 99};
    int columns = 0;
    for (int c = 1; c <= 4; ++c) if (rec.width == widths[c]) columns = c;
    if (!columns) return Reading("width");
    for (std::size_t v = 0; v < t.variants.size(); ++v)
        if (t.variants[v].columns == columns && t.variants[v].rows == rec.rows) r.variant = static_cast<int>(v) + 1;
    if (!r.variant) return Reading("no variant of this size");
    std::vector<int> cw;
    int prevLeft = 0, prevRight = 0, prevCentre = 0;
    for (int y = 0; y < rec.rows; ++y) {
        const auto& row = (*m)[y];
        int x = 0;
        auto rap = [&](const std::map<std::string, int>& table) {
            const auto it = table.find(Widths(row, x, 10));
            x += 10;
            return it == table.end() ? 0 : it->second;
        };
        const int left = rap(t.side);
        if (!left) return Reading("left row address pattern, row " + std::to_string(y));
        const int cluster = (left - 1) % 3;
        int centre = 0;
        for (int c = 0; c < columns; ++c) {
            const auto it = t.clusters[cluster].find(Widths(row, x, 17));
            if (it == t.clusters[cluster].end()) return Reading("codeword, row " + std::to_string(y));
            cw.push_back(it->second);
            x += 17;
            if ((columns == 3 && c == 0) || (columns == 4 && c == 1)) {
                centre = rap(t.centre);
                if (!centre) return Reading("centre pattern, row " + std::to_string(y));
            }
        }
        const int right = rap(t.side);
        if (!right || !row[x] || x + 1 != rec.width) return Reading("right edge, row " + std::to_string(y));
        if (y > 0 && (left != prevLeft % 52 + 1 || right != prevRight % 52 + 1 ||
                      (centre && centre != prevCentre % 52 + 1)))
            return Reading("row address sequence, row " + std::to_string(y));
        prevLeft = left, prevRight = right, prevCentre = centre;
    }
    const int k = t.variants[r.variant - 1].k;
    if (!ChecksVerify(cw, k)) return Reading("check codewords");
    cw.resize(cw.size() - k);
    if (!DecodeCodewords(cw, r.data)) return Reading("data codewords");
    return r;
}

TEST(MicroPdf417, EveryVariantReadsBack) {
    std::mt19937 rng(11);
    std::set<int> seen;
    const char* kinds[] = {"text", "digits", "bytes", "mixed"};
    for (int columns = 0; columns <= 4; ++columns) {
        for (int kind = 0; kind < 4; ++kind) {
            for (int len = 1; len <= 260; len += 1 + len / 8) {
                std::string s;
                for (int j = 0; j < len; ++j) {
                    const int pick = kind == 3 ? static_cast<int>(rng() % 3) : kind;
                    s += static_cast<char>(pick == 0 ? 32 + rng() % 95 : pick == 1 ? '0' + rng() % 10 : rng() % 256);
                }
                int result;
                auto rec = Encode(s, columns, result);
                if (result == kDataTooLong) continue;
                ASSERT_TRUE(result == kSuccess || result == kWarning) << rec->errorText;
                const Reading r = Read(*rec);
                ASSERT_EQ(r.error, "") << kinds[kind] << " " << len << " columns " << columns;
                EXPECT_EQ(r.data, s) << kinds[kind] << " " << len;
                EXPECT_EQ(rec->option2, Tables().variants[r.variant - 1].columns);
                seen.insert(r.variant);
            }
        }
    }
    EXPECT_EQ(seen.size(), 34u);
}

TEST(MicroPdf417, SizesWarningsAndLimits) {
    int result;
    // One text pair: 1 column, 11 rows, 38 modules.
    auto rec = Encode("AB", 0, result);
    EXPECT_EQ(result, kSuccess);
    EXPECT_EQ(rec->rows, 11);
    EXPECT_EQ(rec->width, 38);
    EXPECT_EQ(rec->option2, 1);
    EXPECT_EQ(rec->rowHeights[10], 2);
    // m = 5 (latch and four pairs): 3 columns, 6 rows; with one column asked, 14 rows.
    rec = Encode("ABCDEFGH", 0, result);
    EXPECT_EQ(rec->option2, 3);
    EXPECT_EQ(rec->rows, 6);
    rec = Encode("ABCDEFGH", 1, result);
    EXPECT_EQ(rec->rows, 14);
    EXPECT_EQ(rec->width, 38);
    // A column request out of range or too small warns and takes the automatic size.
    rec = Encode("ABCDEFGH", 5, result);
    EXPECT_EQ(result, kWarning);
    EXPECT_STREQ(rec->errorText, "invalid width");
    EXPECT_EQ(rec->option2, 3);
    rec = Encode(std::string(40, 'A'), 1, result);  // 21 codewords
    EXPECT_EQ(result, kWarning);
    EXPECT_STREQ(rec->errorText, "size too small for data");
    EXPECT_NE(rec->fontText[0], 0);
    // 126 codewords fit 4 columns by 44 rows; 127 are too long.
    rec = Encode(std::string(250, 'A'), 0, result);  // 1 + 125
    EXPECT_EQ(result, kSuccess);
    EXPECT_EQ(rec->rows, 44);
    EXPECT_EQ(rec->width, 99);
    rec = Encode(std::string(252, 'A'), 0, result);
    EXPECT_EQ(result, kDataTooLong);
    EXPECT_STREQ(rec->errorText, "Data too long");
    EXPECT_EQ(rec->fontText[0], 0);
    // LF line ends hold no CR; one band per four rows.
    rec = std::make_unique<SymbolRecord>();
    EXPECT_EQ(EncodeMicroPDF417(*rec, AsBytes("AB"), Call::Server(false)), kSuccess);
    const std::string text = rec->fontText;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.size(), 3u * 39);
    EXPECT_EQ((Encode(std::string(3000, '1'), 0, result), result), kDataTooLong);
}

}  // namespace
