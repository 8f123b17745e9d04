// Maxicode symbols drawn on their hexagonal grid and read back by the independent decoder,
// with exactly the correctable number of codewords corrupted in every error-correction block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "matrix.h"
#include "support/encode_texts.h"
#include "support/font_text.h"
#include "support/reader.h"
#include "support/tables.h"

using namespace matrix;
using namespace testing_support;

namespace {

// The placement as published, read from the shared table (independent of the compiled copy).
std::vector<std::vector<int>> PublishedGrid() {
    std::ifstream in = OpenTable("maxicode-module-grid.txt");
    std::vector<std::vector<int>> grid;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        std::vector<int> r;
        int v;
        while (row >> v) r.push_back(v);
        grid.push_back(r);
    }
    return grid;
}

// The symbol's cells with the given cells inverted.
Image RenderHexagons(const SymbolRecord& rec, const std::vector<std::pair<int, int>>& flips) {
    Matrix cells(33, std::vector<bool>(30));
    for (int r = 0; r < 33; ++r)
        for (int c = 0; c < 30; ++c) cells[r][c] = IsModuleSet(rec, r, c) != 0;
    for (const auto& f : flips) cells[f.first][f.second] = !cells[f.first][f.second];
    return RenderMaxicode(cells);
}

// One bit of each of the codewords the decoder can just correct: 5 of the primary block and
// half the check words of each secondary block.
std::vector<std::pair<int, int>> Corruption(int mode) {
    const auto grid = PublishedGrid();
    std::vector<int> words;
    for (int i = 0; i < 5; ++i) words.push_back(i);
    const int perHalf = mode == 5 ? 14 : 10;
    for (int i = 0; i < 2 * perHalf; ++i) words.push_back(20 + i);
    std::vector<std::pair<int, int>> flips;
    for (int r = 0; r < 33; ++r)
        for (int c = 0; c < 30; ++c)
            for (int w : words)
                if (grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == 6 * w) flips.push_back({r, c});
    return flips;
}

struct Case {
    std::string name;
    std::string data;
    int mode;
};

TEST(MaxicodeRoundTrip, ModesAndCodeSets) {
    REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    std::string setE;
    for (int b = 0; b <= 31; ++b)
        if (b != 13 && b != 28 && b != 29 && b != 30) setE += static_cast<char>(b);
    const std::vector<Case> cases = {
        {"set A", "MAXICODE SET A 0123 #$%&'()*+-./:", 4},
        {"set B", "lower case {}~\x7f;<=>?[\\]^_ ,./:@!| text", 4},
        {"set C", "\xc0\xc1\xda\xdb\xdf\xaa\xac\xb1\xb5\xb9\xbc\xbe\x80\x89 \xc5", 6},
        {"set D", "\xe0\xe1\xfa\xfb\xff\xa1\xa8\xab\xaf\xb0\xb4\xb7\xb8\xbb\xbf\x8a\x94", 5},
        {"set E", setE + "\x9f\xa0\xa2\xa7\xa9\xad\xae\xb6\x95\x9e", 4},
        {"numeric runs", "123456789012345678 AB 987654321", 4},
        {"separators and CR", "A\x1d" "B\x1e" "c\x1c" "d\r\x01\r\x02\x1d\rZ\r", 5},
        {"shifts and latches", "Aa BBB cC ccDDDdd e\xe9\xc9\xe9\xe9\xe9\xe9 \x01 x\xc1\xc1\xc1\xc1\xc1 Y", 6},
        {"spaces in every set", "a b A B \xe0 \xe0 \xc0 \xc0 \x01 \x01 ", 4},
        {"long", std::string(93 - 1, 'A'), 4},
        {"long eec", std::string(77 - 1, 'z') , 5},
        {"empty", "", 4},
    };
    std::vector<Image> images;
    for (const auto& c : cases) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->symbology = 26;
        rec->option1 = c.mode;
        ASSERT_EQ(EncodeMaxicode(*rec, AsBytes(c.data), Call::Server(true)), kSuccess)
            << c.name << ": " << rec->errorText;
        images.push_back(RenderHexagons(*rec, Corruption(c.mode)));
    }
    const auto results = ReadBarcodes(images, {"MaxiCode", true});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(results[i].found) << cases[i].name;
        // ISO/IEC 16023 gives CR as value 0 of set A; this reader hands that value back as LF.
        std::string expected = cases[i].data;
        if (cases[i].name == "separators and CR") expected.back() = '\n';
        EXPECT_EQ(results[i].bytes, expected) << cases[i].name;
    }
}

TEST(MaxicodeRoundTrip, StructuredCarrierMessage) {
    REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    // Mode 2 (numeric postcode) and mode 3 (alphanumeric postcode), chosen automatically.
    const char* primaries[] = {"152382802840001", "B1050    826012"};
    const char* expected[] = {"152382802\x1d" "840\x1d" "001\x1d" "DATA", "B1050 \x1d" "826\x1d" "012\x1d" "DATA"};
    std::vector<Image> images;
    for (const char* p : primaries) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = -1;
        std::strcpy(rec->primaryMessage, p);
        ASSERT_EQ(EncodeMaxicode(*rec, AsBytes("DATA"), Call::Server(true)), kSuccess);
        images.push_back(RenderHexagons(*rec, Corruption(2)));
    }
    const auto results = ReadBarcodes(images, {"MaxiCode", true});
    for (std::size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i].text, expected[i]) << primaries[i];
}

// The encoder's font text drawn in the hexagon font as it stands, in every mode: the finder's
// three rings are where ISO/IEC 16023 has them, and the symbol reads back.
TEST(MaxicodeRoundTrip, FontTextDrawsTheFinderAndReads) {
    REQUIRE_READER(ReaderAvailable(), "the zxing-cpp reader");
    struct FontCase {
        const char* primary;
        std::string data;
        int mode;
        std::string expected;
    };
    const std::vector<FontCase> cases = {
        {"152382802840001", "Parcel 1 of 2", 2, "152382802\x1d" "840\x1d" "001\x1d" "Parcel 1 of 2"},
        {"B1050    826012", "Sorted by post code", 3, "B1050 \x1d" "826\x1d" "012\x1d" "Sorted by post code"},
        {"", "Kestrivo Maxicode 0123456789", 4, ""},
        {"", "ENHANCED ERROR CORRECTION", 5, ""},
        {"", "reader programming", 6, ""},
        {"", "", 4, ""},
    };
    std::vector<Image> images;
    for (const auto& c : cases) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = c.mode;
        std::strcpy(rec->primaryMessage, c.primary);
        ASSERT_EQ(EncodeMaxicode(*rec, AsBytes(c.data), Call::Server(true)), kSuccess) << c.mode << ": " << rec->errorText;
        images.push_back(RenderMaxicodeText(Widen(rec->fontText)));
        EXPECT_EQ(MaxicodeFinderProblem(images.back()), "") << "mode " << c.mode;
    }
    const auto results = ReadBarcodes(images, {"MaxiCode", true});
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(results[i].found) << "mode " << cases[i].mode;
        EXPECT_EQ(results[i].text, cases[i].expected.empty() ? cases[i].data : cases[i].expected) << "mode " << cases[i].mode;
    }
}

}  // namespace
