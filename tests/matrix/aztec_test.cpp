#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

using namespace matrix;
using testing_support::AsBytes;

namespace {

int Encode(SymbolRecord& rec, const std::string& data, bool crlf = false, Build build = Build::Server) {
    return EncodeAztec(rec, AsBytes(data), build == Build::Desktop ? Call::Desktop() : Call::Server(crlf));
}

TEST(Aztec, ShortTextGivesCompact15) {
    auto rec = std::make_unique<SymbolRecord>();
    ASSERT_EQ(Encode(*rec, "AZTEC"), kSuccess);
    EXPECT_EQ(rec->rows, 15);
    EXPECT_EQ(rec->width, 15);
    const std::string text = rec->fontText;
    EXPECT_EQ(text.size(), 4u * 16u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // The last line holds rows 12 to 14 in its upper three bits.
    for (std::size_t i = 48; i < 63; ++i) EXPECT_EQ((std::stoi(text.substr(i, 1), nullptr, 16) & 1), 0);
    auto crlf = std::make_unique<SymbolRecord>();
    ASSERT_EQ(Encode(*crlf, "AZTEC", true), kSuccess);
    EXPECT_EQ(std::string(crlf->fontText).size(), 4u * 17u);
}

TEST(Aztec, OptionsAndResults) {
    auto rec = std::make_unique<SymbolRecord>();
    EXPECT_EQ(Encode(*rec, ""), kEmptyData);
    EXPECT_STREQ(rec->errorText, "");
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 25;
    EXPECT_EQ(Encode(*rec, "ABC"), kWarning);
    EXPECT_STREQ(rec->errorText, "Invalid error correction level - using default instead");
    EXPECT_EQ(rec->option1, -1);
    EXPECT_NE(rec->fontText[0], 0);
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 5;  // a valid level of its own: no warning
    EXPECT_EQ(Encode(*rec, "ABC"), kSuccess);
    rec = std::make_unique<SymbolRecord>();
    rec->option2 = 37;
    EXPECT_EQ(Encode(*rec, "ABC"), kInvalidOption);
    EXPECT_STREQ(rec->errorText, "Invalid Aztec Code size");
    EXPECT_EQ(rec->fontText[0], 0);
    rec = std::make_unique<SymbolRecord>();
    rec->option2 = 5;
    EXPECT_EQ(Encode(*rec, "ABC"), kSuccess);
    EXPECT_EQ(rec->rows, 19);
    rec = std::make_unique<SymbolRecord>();
    rec->outputFlags = 0x10;
    rec->inputMode = kGs1Mode;
    EXPECT_EQ(Encode(*rec, "ABC"), kInvalidOption);
    EXPECT_STREQ(rec->errorText, "Cannot encode in GS1 and Reader Initialization mode simultaneously.");
    rec = std::make_unique<SymbolRecord>();
    rec->inputMode = kUtf8Mode;
    EXPECT_EQ(Encode(*rec, "\xe2\x82\xac"), kInvalidData);
}

TEST(Aztec, DesktopLevelNumbering) {
    // Desktop 0 is 5 %, 18 is 90 %: the same data needs a larger symbol at 18.
    auto low = std::make_unique<SymbolRecord>();
    auto high = std::make_unique<SymbolRecord>();
    const std::string data(60, 'A');
    EXPECT_EQ(Encode(*low, data, true, Build::Desktop), kSuccess);
    high->option1 = 18;
    EXPECT_EQ(Encode(*high, data, false, Build::Desktop), kSuccess);
    EXPECT_LT(low->rows, high->rows);
    EXPECT_EQ(std::strchr(low->fontText, '\r'), nullptr);  // the desktop ends lines with LF
    auto bad = std::make_unique<SymbolRecord>();
    bad->option1 = 19;
    EXPECT_EQ(Encode(*bad, data, false, Build::Desktop), kWarning);
    auto server19 = std::make_unique<SymbolRecord>();
    server19->option1 = 19;
    EXPECT_EQ(Encode(*server19, data), kSuccess);
    EXPECT_EQ(server19->rows, high->rows);
}

TEST(Aztec, CapacityLimits) {
    // Compact sizes carry at most 64 data codewords: 4 compact layers at 5 % would take 72.
    auto rec = std::make_unique<SymbolRecord>();
    rec->option1 = 1;
    ASSERT_EQ(Encode(*rec, std::string(120, 'A')), kSuccess);  // 600 bits: more than 64 bytes
    EXPECT_GT(rec->rows, 27);
    rec = std::make_unique<SymbolRecord>();
    rec->option2 = 4;
    EXPECT_EQ(Encode(*rec, std::string(120, 'A')), kDataTooLong);
    EXPECT_STREQ(rec->errorText, "Data too long for selected size");
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 19;
    EXPECT_EQ(Encode(*rec, std::string(2000, '\xff')), kDataTooLong);
    EXPECT_STREQ(rec->errorText, "Data too long for selected ECC level");
    rec = std::make_unique<SymbolRecord>();
    rec->option1 = 1;
    EXPECT_EQ(Encode(*rec, std::string(2078, '\xff')), kSuccess);
    EXPECT_EQ(Encode(*rec, std::string(2079, '\xff')), kDataTooLong);
    EXPECT_STREQ(rec->errorText, "Data too long to process.");
    rec = std::make_unique<SymbolRecord>();
    rec->outputFlags = 0x10;
    rec->option2 = 30;
    EXPECT_EQ(Encode(*rec, "ABC"), kDataTooLong);
    EXPECT_STREQ(rec->errorText, "Data too long for reader initialization symbol");
}

TEST(AztecText, BinaryShiftLengths) {
    std::vector<std::uint8_t> bits;
    const std::u16string nul(1, u'\0');
    ASSERT_EQ(AztecEncodeText(nul.data(), 1, bits), kSuccess);
    EXPECT_EQ(bits.size(), 5u + 5u + 8u);  // B/S, length 1, the byte
    bits.clear();
    const std::u16string run(32, u'\x80');
    ASSERT_EQ(AztecEncodeText(run.data(), run.size(), bits), kSuccess);
    EXPECT_EQ(bits.size(), 5u + 16u + 32u * 8u);
    bits.clear();
    const std::u16string pairs = u"\r\n. , : ";
    ASSERT_EQ(AztecEncodeText(pairs.data(), pairs.size(), bits), kSuccess);
    EXPECT_EQ(bits.size(), 10u + 4u * 5u);  // M/L P/L, then four single punctuation codes
}

TEST(AztecMap, GridAndLayers) {
    EXPECT_EQ(AztecSkipGrid(0), 0);
    EXPECT_EQ(AztecSkipGrid(11), 12);
    EXPECT_EQ(AztecSkipGrid(70), 74);
    EXPECT_EQ(AztecSkipGrid(71), 76);
    EXPECT_EQ(AztecSkipGrid(141), 150);
    const int* map = AztecFullMap();
    std::vector<int> seen(19968, 0);
    for (int i = 0; i < kAztecFullSide * kAztecFullSide; ++i)
        if (map[i] >= kAztecDataBit && map[i] < kAztecModeBit) ++seen[static_cast<std::size_t>(map[i] - kAztecDataBit)];
    for (int n : seen) ASSERT_EQ(n, 1);
    // Reference grid: the row 16 above the centre alternates, dark on the centre's parity.
    EXPECT_EQ(map[59 * kAztecFullSide + 75], 1);
    EXPECT_EQ(map[59 * kAztecFullSide + 74], 0);
}

}  // namespace
