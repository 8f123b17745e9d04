// QR Code and Micro QR: tables, mode choice, version and level choice, failures and output.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/band_text.h"
#include "support/encode_texts.h"

using namespace matrix;
using namespace testing_support;

namespace {

struct Outcome {
    int result;
    int rows;
    std::string text;
    std::string error;
    Matrix matrix;
};

Outcome Encode(RecordEncoder fn, const std::string& data, int option1 = 0, int option2 = 0,
               bool crlf = true) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = option1;
    rec->option2 = option2;
    const int result = fn(*rec, AsBytes(data), Call::Server(crlf));
    Outcome o{result, rec->rows, rec->fontText, rec->errorText, {}};
    if (result == kSuccess) {
        EXPECT_EQ(rec->width, rec->rows);
        for (int r = 0; r < rec->rows; ++r) EXPECT_EQ(rec->rowHeights[r], 1);
        if (auto m = BandTextToMatrix(o.text, rec->rows)) o.matrix = *m;
    }
    return o;
}

Outcome Qr(const std::string& data, int option1 = 0, int option2 = 0, bool crlf = true) {
    return Encode(EncodeQRCode, data, option1, option2, crlf);
}
Outcome Micro(const std::string& data, int option1 = 0, int option2 = 0, bool crlf = true) {
    return Encode(EncodeMicroQRCode, data, option1, option2, crlf);
}

// Format bits read from the symbols as ISO/IEC 18004 places them, unmasked.
int QrFormat(const Matrix& m) {
    int word = 0;
    for (int c : {0, 1, 2, 3, 4, 5, 7, 8}) word = word * 2 + m[8][static_cast<std::size_t>(c)];
    for (int r : {7, 5, 4, 3, 2, 1, 0}) word = word * 2 + m[static_cast<std::size_t>(r)][8];
    return word ^ 0x5412;
}
char QrLevel(const Matrix& m) { return "MLHQ"[QrFormat(m) >> 13]; }
int MicroSymbolNumber(const Matrix& m) {
    int word = 0;
    for (int c = 1; c <= 8; ++c) word = word * 2 + m[8][static_cast<std::size_t>(c)];
    for (int r = 7; r >= 1; --r) word = word * 2 + m[static_cast<std::size_t>(r)][8];
    return (word ^ 0x4445) >> 12;
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(QrTables, CapacitiesAndBlocksAgreeWithTheGeometry) {
    EXPECT_EQ(qr::TotalCodewords(1), 26);
    EXPECT_EQ(qr::TotalCodewords(40), 3706);
    EXPECT_EQ(qr::DataCodewords(40, 0), 2956);
    EXPECT_EQ(qr::DataCodewords(40, 1), 2334);
    EXPECT_EQ(qr::DataCodewords(40, 2), 1666);
    EXPECT_EQ(qr::DataCodewords(40, 3), 1276);
    for (int v = 1; v <= 40; ++v) {
        for (int level = 0; level < 4; ++level) {
            const int t = qr::TotalCodewords(v), d = qr::DataCodewords(v, level), b = qr::Blocks(v, level);
            EXPECT_EQ((t - d) % b, 0) << v << " " << level;
            EXPECT_GE((t - d) / b, 7) << v << " " << level;
            EXPECT_LE((t - d) / b, 30) << v << " " << level;
            if (level > 0) {
                EXPECT_LT(d, qr::DataCodewords(v, level - 1));
            }
            if (v > 1) {
                EXPECT_GT(d, qr::DataCodewords(v - 1, level));
            }
        }
    }
}

TEST(QrTables, AlignmentPositionsOfTheStandard) {
    EXPECT_TRUE(qr::AlignmentPositions(1).empty());
    EXPECT_EQ(qr::AlignmentPositions(2), (std::vector<int>{6, 18}));
    EXPECT_EQ(qr::AlignmentPositions(7), (std::vector<int>{6, 22, 38}));
    EXPECT_EQ(qr::AlignmentPositions(15), (std::vector<int>{6, 26, 48, 70}));
    EXPECT_EQ(qr::AlignmentPositions(32), (std::vector<int>{6, 34, 60, 86, 112, 138}));
    EXPECT_EQ(qr::AlignmentPositions(36), (std::vector<int>{6, 24, 50, 76, 102, 128, 154}));
    EXPECT_EQ(qr::AlignmentPositions(40), (std::vector<int>{6, 30, 58, 86, 114, 142, 170}));
}

TEST(QrTables, FormatAndVersionWords) {
    // ISO/IEC 18004 examples: level M, mask 5 (data 00101) and version 7.
    EXPECT_EQ(qr::FormatWord(0, 5), 0x40CEu);
    EXPECT_EQ(qr::FormatWord(1, 0), 0x77C4u);
    EXPECT_EQ(qr::VersionWord(7), 0x07C94u);
    EXPECT_EQ(qr::VersionWord(40), 0x28C69u);
    EXPECT_EQ(microqr::FormatWord(0, 0), 0x4445u);
}

TEST(QrEncoder, EmptyDataGivesVersionOneAtLevelH) {
    const Outcome o = Qr("");
    ASSERT_EQ(o.result, kSuccess);
    EXPECT_EQ(o.rows, 21);
    EXPECT_EQ(QrLevel(o.matrix), 'H');
    EXPECT_EQ(o.text.size(), 6u * 23);
}

TEST(QrEncoder, LevelIsAMinimumAndRaisedWhereTheVersionHasRoom) {
    const std::string data = "HELLO";
    EXPECT_EQ(Qr(data, 1).text, Qr(data, 4).text);
    for (int option1 : {0, 5, -1}) EXPECT_EQ(Qr(Repeat('a', 100), option1).text, Qr(Repeat('a', 100), 1).text);
    const Outcome l = Qr(Repeat('a', 100), 1);
    EXPECT_EQ(l.rows, 4 * 5 + 17);
    EXPECT_EQ(QrLevel(l.matrix), 'L');
}

TEST(QrEncoder, RequestedVersion) {
    const std::string v2 = Repeat('a', 20);  // 20 bytes need version 2 at L
    EXPECT_EQ(Qr(v2).rows, 25);
    EXPECT_EQ(Qr(v2, 0, 5).rows, 37);
    EXPECT_EQ(Qr(v2, 0, 1).rows, 25);
    EXPECT_EQ(Qr(v2, 0, 41).rows, 25);
    EXPECT_EQ(Qr(v2, 0, 40).rows, 177);
}

TEST(QrEncoder, LargestSymbolsComeOutWhole) {
    const Outcome full = Qr(Repeat('a', 2953), 1);
    ASSERT_EQ(full.result, kSuccess);
    EXPECT_EQ(full.rows, 177);
    ASSERT_EQ(full.matrix.size(), 177u);
    EXPECT_EQ(full.text.size(), 45u * 179);
    // The bottom-right alignment pattern's centre and the last finder rows are in place.
    EXPECT_TRUE(full.matrix[170][170]);
    EXPECT_FALSE(full.matrix[169][170]);
    for (int c = 0; c < 7; ++c) EXPECT_TRUE(full.matrix[176][static_cast<std::size_t>(c)]);
    const Outcome lf = Qr(Repeat('a', 2953), 1, 0, false);
    EXPECT_EQ(lf.text.size(), 45u * 178);
    EXPECT_EQ(lf.text.find('\r'), std::string::npos);
    for (std::size_t p = 0; p < lf.text.size(); p += 178) EXPECT_EQ(lf.text[p + 177], '\n');
}

TEST(QrEncoder, DataTooLong) {
    const Outcome o = Qr(Repeat('a', 2954), 1);
    EXPECT_EQ(o.result, kDataTooLong);
    EXPECT_EQ(o.error, "Data too long for selected ECC level");
    EXPECT_EQ(o.text, "");
    EXPECT_EQ(Qr(Repeat('a', 1274), 4).result, kDataTooLong);
    EXPECT_EQ(Qr(Repeat('a', 1273), 4).result, kSuccess);
    EXPECT_EQ(Qr(Repeat('1', 7089), 1).result, kSuccess);
    EXPECT_EQ(Qr(Repeat('1', 7090), 1).result, kDataTooLong);
}

TEST(MicroQrEncoder, CapacityLimits) {
    EXPECT_EQ(Micro(Repeat('1', 35)).rows, 17);
    const Outcome long36 = Micro(Repeat('1', 36));
    EXPECT_EQ(long36.result, kDataTooLong);
    EXPECT_EQ(long36.error, "Input data too long");
    EXPECT_EQ(long36.text, "");
    EXPECT_EQ(Micro(Repeat('a', 15)).rows, 17);
    EXPECT_EQ(Micro(Repeat('a', 16)).error, "Input data too long");
    const Outcome over = Micro(Repeat('A', 22));  // 8 + 121 bits
    EXPECT_EQ(over.result, kDataTooLong);
    EXPECT_EQ(over.error, "data too long");
    const Outcome overM = Micro(Repeat('a', 14), 2);  // 8 + 112 bits > 112 at M
    EXPECT_EQ(overM.error, "data too long");
    EXPECT_EQ(Micro(Repeat('1', 22), 3).error, "data too long");  // 9 + 74 bits > 80 at Q
}

TEST(MicroQrEncoder, VersionsAndLevels) {
    const Outcome m1 = Micro("12345");
    ASSERT_EQ(m1.result, kSuccess);
    EXPECT_EQ(m1.rows, 11);
    EXPECT_EQ(MicroSymbolNumber(m1.matrix), 0);
    EXPECT_EQ(Micro("123456").rows, 13);  // 3 + 20 bits is over M1's 20
    const Outcome ab12 = Micro("AB12");
    EXPECT_EQ(ab12.rows, 13);
    EXPECT_EQ(MicroSymbolNumber(ab12.matrix), 2);  // M2-M
    const Outcome q = Micro("123456789012", 3);
    EXPECT_EQ(q.rows, 17);
    EXPECT_EQ(MicroSymbolNumber(q.matrix), 7);  // M4-Q
    const Outcome h = Micro("1", 4);
    EXPECT_EQ(h.result, kInvalidOption);
    EXPECT_EQ(h.error, "Error correction level H not available");
    EXPECT_EQ(Micro("1", 0, 4).rows, 17);
    EXPECT_EQ(Micro("abc", 0, 1).rows, 15);  // needs M3; option2 1 ignored
    EXPECT_EQ(Micro("1", 5).rows, 11);       // level 5 is L
    const Outcome m2 = Micro("ABCDE");
    EXPECT_EQ(m2.rows, 13);
    EXPECT_EQ(m2.text.size(), 4u * 15);
    EXPECT_EQ(Micro("ABCDE", 0, 0, false).text.size(), 4u * 14);
}

}  // namespace
