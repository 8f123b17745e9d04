#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "matrix.h"
#include "support/encode_texts.h"
#include "support/tables.h"

using namespace matrix;
using testing_support::AsBytes;

namespace {

int Encode(SymbolRecord& rec, const std::string& data) {
    return EncodeMaxicode(rec, AsBytes(data), Call::Server(true));
}

TEST(Maxicode, ModesAndMessages) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = -1;
    ASSERT_EQ(Encode(*rec, "ABC"), kSuccess);
    EXPECT_EQ(rec->rows, 33);
    EXPECT_EQ(rec->width, 30);
    // Mode 4: codeword 0 is 4, in the modules of bits 0 to 5 of the stream.
    int mode = 0;
    for (int r = 0; r < 33; ++r)
        for (int c = 0; c < 30; ++c)
            if (kMaxicodeGrid[r][c] >= 0 && kMaxicodeGrid[r][c] < 6 && IsModuleSet(*rec, r, c))
                mode |= 1 << (5 - kMaxicodeGrid[r][c]);
    EXPECT_EQ(mode, 4);
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 2;
    EXPECT_EQ(Encode(*rec, "ABC"), kInvalidUtf8);
    EXPECT_STREQ(rec->errorText, "Invalid Primary String");
    EXPECT_EQ(rec->fontText[0], 0);
    for (int bad : {0, 1, 7}) {
        rec = std::make_unique<SymbolRecord>();
        rec->option1 = bad;
        EXPECT_EQ(Encode(*rec, "ABC"), kInvalidOption);
        EXPECT_STREQ(rec->errorText, "Maxicode Mode invalid");
    }
    for (int m : {4, 5, 6}) {
        rec = std::make_unique<SymbolRecord>();
        rec->option1 = m;
        EXPECT_EQ(Encode(*rec, std::string(139, 'A')), kDataTooLong);
        EXPECT_STREQ(rec->errorText, "Input data too long");
        rec = std::make_unique<SymbolRecord>();
        rec->option1 = m;
        EXPECT_EQ(Encode(*rec, std::string(m == 5 ? 110 : 138, '1')), kSuccess);  // nine digits take six codewords
        rec = std::make_unique<SymbolRecord>();
        rec->option1 = m;
        EXPECT_EQ(Encode(*rec, std::string(m == 5 ? 78 : 94, 'A')), kDataTooLong);
    }
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 3;
    std::strcpy(rec->primaryMessage, "B1050  840001");  // too short
    EXPECT_EQ(Encode(*rec, "ABC"), kInvalidUtf8);
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = -1;
    std::strcpy(rec->primaryMessage, "152382802840001");
    EXPECT_EQ(Encode(*rec, "ABC"), kSuccess);
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = -1;
    std::strcpy(rec->primaryMessage, "B1050    826001");
    EXPECT_EQ(Encode(*rec, "ABC"), kSuccess);
}

TEST(Maxicode, FontTextLayout) {
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = 4;
    ASSERT_EQ(Encode(*rec, "Font text of eleven lines"), kSuccess);
    std::istringstream in(rec->fontText);
    std::string line;
    int lines = 0;
    const std::string text = rec->fontText;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    while (std::getline(in, line)) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        if (lines % 2) {
            EXPECT_EQ(line[0], '[');
        }
        // Every cell gives one code character '0' to 'O'; '~' and '[' only mark, and the
        // bands around the finder carry one finder marker each ('!' in band 3 to '%' in band 7).
        int cells = 0, markers = 0;
        for (char ch : line) {
            if (ch >= '0' && ch <= 'O') {
                ++cells;
            } else if (ch >= '!' && ch <= '%') {
                ++markers;
                EXPECT_EQ(ch, '!' + lines - 3) << "line " << lines;
            } else {
                EXPECT_TRUE(ch == '~' || ch == '[') << ch;
            }
        }
        EXPECT_EQ(cells, 15);
        EXPECT_EQ(markers, lines >= 3 && lines <= 7 ? 1 : 0) << "line " << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 11);
    // The first cell of the first line is the top-left 2 x 3 modules by the even-band rule.
    auto m = [&](int r, int c) { return IsModuleSet(*rec, r, c); };
    const char first = static_cast<char>('0' + 16 * m(2, 0) + 8 * m(2, 1) + 4 * m(1, 0) + 2 * m(0, 0) + m(0, 1));
    EXPECT_EQ(text[0], first);
    EXPECT_EQ(text[1] == '~', m(1, 1) == 1);
}

// The compiled placement is the published one, and the modules that carry no codeword bit
// are as its legend says: -1 always light, -2 always dark, whatever the data.
TEST(Maxicode, CompiledGridEqualsPublishedTable) {
    std::ifstream in = testing_support::OpenTable("maxicode-module-grid.txt");
    std::string line;
    int r = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        for (int c = 0; c < 30; ++c) {
            int v = 0;
            row >> v;
            ASSERT_EQ(kMaxicodeGrid[r][c], v) << r << "," << c;
        }
        ++r;
    }
    EXPECT_EQ(r, 33);
    for (const std::string& data : {std::string("1"), std::string("ABC"), std::string(120, '9'), std::string(60, 'z')}) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = 4;
        ASSERT_EQ(Encode(*rec, data), kSuccess);
        int light = 0, dark = 0;
        for (int row = 0; row < 33; ++row)
            for (int c = 0; c < 30; ++c) {
                if (kMaxicodeGrid[row][c] == -1) {
                    ++light;
                    EXPECT_EQ(IsModuleSet(*rec, row, c), 0) << row << "," << c;
                } else if (kMaxicodeGrid[row][c] == -2) {
                    ++dark;
                    EXPECT_NE(IsModuleSet(*rec, row, c), 0) << row << "," << c;
                }
            }
        EXPECT_EQ(light, 7);
        EXPECT_EQ(dark, 13);
    }
}

// The finder markers stand at the start of cell 7 (columns 14 and 15) of bands 3 to 7, a
// cell that holds modules of the finder area, and carry no module: with them taken out, the
// text is the cells of the modules written by the plain-cell rule, for every cell, so every
// module keeps its place and every code character its value.
TEST(Maxicode, FinderMarkersCarryNoModule) {
    struct Case {
        const char* primary;
        std::string data;
        int mode;
    };
    const Case cases[] = {{"152382802840001", "Parcel", 2}, {"B1050    826012", "Sorted", 3}, {"", "ABC 123456789", 4},
                          {"", std::string(70, 'z'), 5},    {"", "\x01\xe9 reader", 6},      {"", "", 4}};
    for (const Case& c : cases) {
        auto rec = std::make_unique<SymbolRecord>();
        rec->option1 = c.mode;
        std::strcpy(rec->primaryMessage, c.primary);
        ASSERT_EQ(Encode(*rec, c.data), kSuccess) << c.mode;
        auto m = [&](int r, int col) { return IsModuleSet(*rec, r, col); };
        std::string plain, stripped;
        std::vector<std::pair<int, int>> expectedMarkers, markers;  // (band, cell)
        for (int band = 0; band < 11; ++band) {
            for (int cell = 0; cell < 15; ++cell) {
                const int r = 3 * band, col = 2 * cell;
                bool finderArea = false;
                for (int dr = 0; dr < 3; ++dr)
                    for (int dc = 0; dc < 2; ++dc) finderArea = finderArea || kMaxicodeGrid[r + dr][col + dc] == -3;
                if (band >= 3 && band <= 7 && cell == 7) {
                    EXPECT_TRUE(finderArea) << band;
                    expectedMarkers.push_back({band, cell});
                }
                if (band % 2 == 0) {
                    plain += static_cast<char>('0' + 16 * m(r + 2, col) + 8 * m(r + 2, col + 1) + 4 * m(r + 1, col) +
                                               2 * m(r, col) + m(r, col + 1));
                    if (m(r + 1, col + 1)) plain += '~';
                } else {
                    if (cell == 0) plain += '[';
                    if (m(r + 1, col)) plain += '~';
                    plain += static_cast<char>('0' + 16 * m(r + 2, col) + 8 * m(r + 2, col + 1) + 4 * m(r + 1, col + 1) +
                                               2 * m(r, col) + m(r, col + 1));
                }
            }
            plain += "\r\n";
        }
        // Where the markers stand: count the code characters before each.
        int band = 0, cell = 0;
        for (const char* p = rec->fontText; *p; ++p) {
            if (*p >= '!' && *p <= '%') {
                markers.push_back({band, cell});
                EXPECT_EQ(*p, '!' + band - 3);
                continue;
            }
            stripped += *p;
            if (*p >= '0' && *p <= 'O') ++cell;
            if (*p == '\n') ++band, cell = 0;
        }
        EXPECT_EQ(stripped, plain) << "mode " << c.mode;
        EXPECT_EQ(markers, expectedMarkers) << "mode " << c.mode;
    }
}

}  // namespace
