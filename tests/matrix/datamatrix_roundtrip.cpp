// Data Matrix symbols: band text parsed back into modules, rendered and read by zxing-cpp.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/band_text.h"
#include "support/reader.h"
#include "support/encode_texts.h"

using namespace matrix;
using namespace testing_support;

namespace {

struct DmCase {
    std::string data;
    int encodation = 0;
    int option2 = 0;
    int option3 = 0;
    int inputMode = kDataMode;
    bool crlf = true;
    bool desktop = false;
    std::string expected;  // what the reader must return (defaults to data)
    std::string expectedId = "]d1";
    int expectRows = 0, expectColumns = 0;  // 0: any
    int expectResult = kSuccess;
};

struct Encoded {
    int result;
    int rows, width;
    std::string fontText, message;
};

Encoded EncodeCase(const DmCase& c) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = 1;
    rec->option2 = c.option2;
    rec->option3 = c.option3;
    rec->inputMode = c.inputMode;
    rec->option4 = c.encodation;
    const int r = EncodeDataMatrix(*rec, AsBytes(c.data), c.desktop ? Call::Desktop() : Call::Server(c.crlf));
    return {r, rec->rows, rec->width, rec->fontText, rec->errorText};
}

std::string Printable(const std::string& s) {
    std::string out;
    for (unsigned char ch : s) {
        if (ch >= 32 && ch < 127) out += static_cast<char>(ch);
        else out += "\\x" + std::string(1, "0123456789ABCDEF"[ch >> 4]) + "0123456789ABCDEF"[ch & 15];
    }
    return out;
}

// The three extended rectangles 24 x 32, 26 x 32 and 24 x 36 are not known to the reader.
bool ReaderKnows(int rows, int columns) {
    return !((rows == 24 || rows == 26) && (columns == 32 || columns == 36));
}
bool ReaderKnows(const DataMatrixSize& s) { return ReaderKnows(s.rows, s.columns); }

void RoundTrip(const std::vector<DmCase>& all) {
    std::vector<DmCase> cases;
    for (const DmCase& c : all) {
        const Encoded e = EncodeCase(c);
        if (ReaderKnows(e.rows, e.width)) cases.push_back(c);
        else EXPECT_EQ(e.result, c.expectResult);
    }
    std::vector<Image> images;
    std::vector<Encoded> encoded;
    for (const DmCase& c : cases) {
        Encoded e = EncodeCase(c);
        EXPECT_EQ(e.result, c.expectResult) << Printable(c.data) << " " << e.message;
        if (c.expectRows) {
            EXPECT_EQ(e.rows, c.expectRows) << Printable(c.data);
            EXPECT_EQ(e.width, c.expectColumns) << Printable(c.data);
        }
        EXPECT_EQ(e.fontText.find('\r') != std::string::npos, c.crlf || c.desktop);
        auto m = BandTextToMatrix(e.fontText, e.rows);
        if (!m) {
            ADD_FAILURE() << "bad band text for " << Printable(c.data);
            m = Matrix(1, std::vector<bool>(1, false));
        }
        for (auto& row : *m) row.resize(static_cast<std::size_t>(e.width));
        images.push_back(RenderMatrix(*m, 3, 2));
        encoded.push_back(e);
    }
    const auto results = ReadBarcodes(images, {"DataMatrix", true});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const DmCase& c = cases[i];
        const std::string& want = c.expected.empty() ? c.data : c.expected;
        EXPECT_TRUE(results[i].found) << "not read: " << Printable(c.data) << " enc " << c.encodation
                                      << " size " << encoded[i].rows << "x" << encoded[i].width;
        EXPECT_EQ(Printable(results[i].bytes), Printable(want))
            << "enc " << c.encodation << " size " << encoded[i].rows << "x" << encoded[i].width;
        if (!c.expectedId.empty()) {
            EXPECT_EQ(results[i].symbologyId, c.expectedId) << Printable(c.data);
        }
    }
}

class DataMatrixRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    }
};

TEST_F(DataMatrixRoundTrip, EverySizeAtItsCapacity) {
    std::vector<DmCase> cases;
    for (const DataMatrixSize& s : kDataMatrixSizes) {
        // Digits fill two to a codeword; a trailing odd digit takes one more.
        for (int spare = 0; spare < 2; ++spare) {
            DmCase c;
            c.data = std::string(static_cast<std::size_t>(2 * s.dataCodewords - spare), '7');
            c.option2 = s.option2;
            c.expectRows = s.rows;
            c.expectColumns = s.columns;
            c.crlf = spare == 0;
            c.desktop = spare == 1 && s.rows % 2 == 0;
            if (s.extended) c.expectedId.clear();  // the reader gives these their own modifier
            if (!ReaderKnows(s)) {
                const Encoded e = EncodeCase(c);
                EXPECT_EQ(e.result, kSuccess);
                EXPECT_EQ(e.rows, s.rows);
                EXPECT_EQ(e.width, s.columns);
                continue;
            }
            cases.push_back(c);
        }
        // The next digit pair no longer fits: a larger size with a warning.
        DmCase over;
        over.data = std::string(static_cast<std::size_t>(2 * s.dataCodewords + 2), '1');
        over.option2 = s.option2;
        over.option3 = 101;
        over.expectResult = s.dataCodewords == kDmMaxDataCodewords ? kDataTooLong : kWarning;
        if (over.expectResult == kWarning) {
            const Encoded e = EncodeCase(over);
            EXPECT_EQ(e.result, kWarning);
            EXPECT_EQ(e.message, "Data does not fit in selected symbol size");
            EXPECT_FALSE(e.rows == s.rows && e.width == s.columns);
        } else {
            const Encoded e = EncodeCase(over);
            EXPECT_EQ(e.result, kDataTooLong);
            EXPECT_EQ(e.message, "Data too long to fit in symbol");
            EXPECT_EQ(e.fontText, "");
        }
    }
    RoundTrip(cases);
}

std::string Alphabet(int kind) {
    std::string a;
    switch (kind) {
        case 0: a = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "; break;
        case 1: a = "abcdefghijklmnopqrstuvwxyz0123456789 "; break;
        case 2: a = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 *>\r"; break;
        case 3: for (int c = 32; c <= 94; ++c) a += static_cast<char>(c); break;
        case 4: for (int c = 1; c < 128; ++c) a += static_cast<char>(c); break;
        case 5: for (int c = 0; c < 256; ++c) a += static_cast<char>(c); break;
        default: a = "AB12ab!*\x80\xE9\xFF~\r"; break;
    }
    return a;
}

std::string Random(std::mt19937& rng, const std::string& alphabet, std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

TEST_F(DataMatrixRoundTrip, EveryEncodationOverGeneratedData) {
    std::mt19937 rng(20261208);
    std::vector<DmCase> cases;
    for (int enc = 0; enc <= 6; ++enc) {
        for (int kind = 0; kind <= 6; ++kind) {
            // Lengths 1 to 40 one by one cross every end-of-data case at every capacity edge.
            for (std::size_t len = 1; len <= 40; ++len) {
                DmCase c;
                c.data = Random(rng, Alphabet(kind), len);
                c.encodation = enc;
                c.option3 = len % 3 == 0 ? 101 : len % 3 == 1 ? 100 : 0;
                c.crlf = len % 2 == 0;
                c.desktop = len % 5 == 0;
                if (c.option3 == 101) c.expectedId.clear();
                cases.push_back(c);
            }
            DmCase longer;
            longer.data = Random(rng, Alphabet(kind), 200 + rng() % 400);
            longer.encodation = enc;
            cases.push_back(longer);
        }
    }
    RoundTrip(cases);
}

TEST_F(DataMatrixRoundTrip, ReviewedEndOfDataCases) {
    std::vector<DmCase> cases;
    auto add = [&](std::string data, int enc, int size, int rows, int cols) {
        DmCase c;
        c.data = std::move(data);
        c.encodation = enc;
        c.option2 = size;
        c.expectRows = rows;
        c.expectColumns = cols;
        cases.push_back(c);
    };
    add("ABCDE", kDmEdifact, 3, 14, 14);
    add("ABCDE", kDmX12, 2, 0, 0);
    add("ABCDEF", kDmX12, 0, 0, 0);
    add("AB\x80", kDmC40, 0, 0, 0);
    add("ABC\xE9", kDmC40, 0, 0, 0);
    add("ab\xFF", kDmText, 0, 0, 0);
    add("AB!", kDmC40, 0, 0, 0);
    add("ABCD", kDmEdifact, 0, 0, 0);
    add("abcDEF", kDmX12, 0, 0, 0);   // lower case leaves X12 rather than turning into CR
    add("ab~de\x01", kDmEdifact, 0, 0, 0);
    add(std::string("A\0B", 3), kDmBase256, 0, 0, 0);
    for (DmCase& c : cases) c.expectResult = c.option2 == 2 ? kWarning : kSuccess;
    for (DmCase& c : cases) if (c.option2 == 2) c.expectRows = 0;
    RoundTrip(cases);
}

TEST_F(DataMatrixRoundTrip, AllByteValues) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    std::vector<DmCase> cases;
    for (int enc = 0; enc <= 6; ++enc) {
        DmCase c;
        c.data = all;
        c.encodation = enc;
        cases.push_back(c);
        DmCase rev = c;
        rev.data.assign(all.rbegin(), all.rend());
        rev.desktop = true;
        cases.push_back(rev);
    }
    RoundTrip(cases);
}

TEST_F(DataMatrixRoundTrip, Gs1Data) {
    std::mt19937 rng(7);
    const char* variable[] = {"10", "21", "22", "240", "400", "90", "91"};
    std::vector<DmCase> cases;
    for (int n = 0; n < 120; ++n) {
        std::string in, reduced;
        const int fields = 1 + static_cast<int>(rng() % 4);
        bool lastVariable = false;
        for (int f = 0; f < fields; ++f) {
            if (lastVariable) reduced += '\x1D';
            if (rng() % 2) {
                in += "(01)";
                const std::string digits = Random(rng, "0123456789", 14);
                in += digits;
                reduced += "01" + digits;
                lastVariable = false;
            } else {
                const std::string ai = variable[rng() % 7];
                const std::string value = Random(rng, n % 3 ? Alphabet(0) : Alphabet(1), 1 + rng() % 20);
                in += "(" + ai + ")" + value;
                reduced += ai + value;
                lastVariable = true;
            }
        }
        DmCase c;
        c.data = in;
        c.expected = reduced;
        c.inputMode = kGs1Mode;
        c.encodation = static_cast<int>(n % 7);
        c.expectedId = "]d2";
        cases.push_back(c);
    }
    RoundTrip(cases);
}

TEST_F(DataMatrixRoundTrip, MacroHeaderAndLatin1Input) {
    std::vector<DmCase> cases;
    DmCase macro;
    macro.data = "[)>\x1E" "05\x1D" "ABC123\x1E\x04";
    cases.push_back(macro);
    DmCase utf8;
    utf8.data = "caf\xC3\xA9 \xC2\xA0!";
    utf8.expected = "caf\xE9 \xA0!";
    utf8.inputMode = kUtf8Mode;
    cases.push_back(utf8);
    RoundTrip(cases);
}

}  // namespace
