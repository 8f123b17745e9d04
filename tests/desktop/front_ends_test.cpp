// The front-ends' option mapping proved on the symbols: error-correction levels and sizes
// measured from the matrix, columns from the width, modes from the first codeword, data
// read back; their text handling (escapes, cuts, code pages, lone surrogates).
#include <gtest/gtest.h>

#include <memory>

#include "code16k_desktop.h"
#include "support/code16k_reader.h"
#include "desktop/front_end_fixture.h"
#include "support/desktop_font_readers.h"
#include "front_ends.h"
#include "linear.h"
#include "matrix/databar_expanded_reader.h"
#include "matrix.h"
#include "support/encode_texts.h"
#include "support/font_text.h"
#include "support/reader.h"
#include "symbology_table.h"

using namespace desktop;
using namespace desktop_testing;
using namespace testing_support;

namespace {

// BCH (15,5) format word of QR Code and Micro QR, with the symbology's mask.
int FormatWord(int data, int mask) {
    int v = data << 10;
    for (int i = 14; i >= 10; --i)
        if (v & (1 << i)) v ^= 0x537 << (i - 10);
    return ((data << 10) | v) ^ mask;
}

// The 5 data bits of the format information read from `cells` (15 modules in placement
// order), or -1 when no format word matches in either bit order.
int FormatData(const std::vector<bool>& cells, int mask) {
    int msb = 0, lsb = 0;
    for (int i = 0; i < 15; ++i) {
        msb = msb << 1 | cells[static_cast<std::size_t>(i)];
        lsb |= cells[static_cast<std::size_t>(i)] << i;
    }
    for (int d = 0; d < 32; ++d)
        if (FormatWord(d, mask) == msb || FormatWord(d, mask) == lsb) return d;
    return -1;
}

// QR Code error-correction level (0 L, 1 M, 2 Q, 3 H) from the format information beside
// the top-left finder.
int QrLevel(const Matrix& m) {
    std::vector<bool> cells;
    for (int c : {0, 1, 2, 3, 4, 5, 7, 8}) cells.push_back(m[8][static_cast<std::size_t>(c)]);
    for (int r : {7, 5, 4, 3, 2, 1, 0}) cells.push_back(m[static_cast<std::size_t>(r)][8]);
    const int d = FormatData(cells, 0x5412);
    if (d < 0) return -1;
    const int bits = d >> 3;  // 01 L, 00 M, 11 Q, 10 H
    return bits == 1 ? 0 : bits == 0 ? 1 : bits == 3 ? 2 : 3;
}

// Micro QR symbol number (1 M2-L ... 7 M4-Q) from its format information.
int MicroQrSymbolNumber(const Matrix& m) {
    std::vector<bool> cells;
    for (int c = 1; c <= 8; ++c) cells.push_back(m[8][static_cast<std::size_t>(c)]);
    for (int r = 7; r >= 1; --r) cells.push_back(m[static_cast<std::size_t>(r)][8]);
    const int d = FormatData(cells, 0x4445);
    return d < 0 ? -1 : d >> 2;
}

// Rows of a stacked symbol in band text: rows that hold a dark module.
int DarkRows(const Matrix& m) {
    int n = 0;
    for (const auto& row : m)
        for (bool b : row)
            if (b) {
                ++n;
                break;
            }
    return n;
}

// The Maxicode mode: the low four bits of the first codeword (its six bits placed by the
// symbology's module grid).
int MaxicodeMode(const Matrix& cells) {
    int cw = 0;
    for (int bit = 0; bit < 6; ++bit)
        for (int r = 0; r < 33; ++r)
            for (int c = 0; c < 30; ++c)
                if (matrix::kMaxicodeGrid[r][c] == bit && cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    cw |= 1 << (5 - bit);
    return cw & 0x0F;
}

class FrontEnds : public ::testing::Test, protected SessionFixture {
protected:
    void SetUp() override { ASSERT_TRUE(ReaderAvailable()); }
};

}  // namespace

TEST_F(FrontEnds, QRCodeLevelsAndMicroQRSharingThem) {
    // The encoder takes a higher level when the data fits the same version with it, so each
    // text fills version 1 at its level: 15, 12, 9 and 6 bytes.
    const std::u16string texts[4] = {u"kestrivo-qrcode", u"kestrivo-qrc", u"kestrivo-", u"kestri"};
    std::vector<Image> images;
    for (int index = 0; index < 4; ++index) {
        options.QRCodeECLevel = index;
        const std::u16string font = Call(FrontEndQRCode, texts[index]);
        const auto m = Bands(font);
        ASSERT_TRUE(m);
        EXPECT_EQ(BandWidth(font), 21u) << "list entry " << index;
        EXPECT_EQ(QrLevel(*m), index) << "list entry " << index;
        images.push_back(RenderMatrix(*m, 3, 4));
    }
    const auto read = ReadBarcodes(images, {"QRCode", true});
    for (int index = 0; index < 4; ++index) EXPECT_EQ(read[static_cast<std::size_t>(index)].text, Narrow(texts[index]));
    // Micro QR reads the same setting: L, M, Q give M4-L, M4-M, M4-Q (texts of 14, 12 and
    // 9 bytes need them); H is refused.
    const std::u16string micro[3] = {u"microqrcode-xy", u"microqrcode-", u"microqrco"};
    for (int index = 0; index < 3; ++index) {
        options.QRCodeECLevel = index;
        const auto m = Bands(Call(FrontEndMicroQRCode, micro[index]));
        ASSERT_TRUE(m);
        EXPECT_EQ(MicroQrSymbolNumber(*m), 5 + index);
    }
    options.QRCodeECLevel = 3;
    EXPECT_EQ(Call(FrontEndMicroQRCode, u"microQRCode"), u"");
    EXPECT_EQ(platform.line(), u"Error correction level H not available");
}

TEST_F(FrontEnds, DataMatrixSizesEncodationsAndGS1) {
    std::vector<Image> images;
    for (int index = 0; index < static_cast<int>(kDataMatrixFormatEntries.size()); ++index) {
        options.DataMatrixFormat = index;
        const std::u16string font = Call(FrontEndDataMatrix, u"12");
        ASSERT_FALSE(font.empty()) << Narrow(platform.line());
        int rows = 10, columns = 10;  // "Auto" takes the smallest
        if (index > 0) {
            const std::string entry = Narrow(kDataMatrixFormatEntries[static_cast<std::size_t>(index)]);
            ASSERT_EQ(std::sscanf(entry.c_str(), "%d * %d", &rows, &columns), 2);
        }
        EXPECT_EQ(BandWidth(font), static_cast<std::size_t>(columns)) << "entry " << index;
        EXPECT_EQ(Lines(font), (rows + 3) / 4) << "entry " << index;
        images.push_back(RenderMatrix(*Bands(font), 3, 2));
    }
    for (const auto& r : ReadBarcodes(images, {"DataMatrix", true})) EXPECT_EQ(r.text, "12");

    // Encodations: 24 capitals take 16 codewords in C40 and X12 (18 x 18), 24 in ASCII (22 x 22).
    options.DataMatrixFormat = 0;
    images.clear();
    std::vector<std::size_t> widths;
    for (int index = 0; index < 7; ++index) {
        options.DataMatrixEncodation = index;
        const std::u16string font = Call(FrontEndDataMatrix, u"ABCDEFGHIJKLMNOPQRSTUVWX");
        widths.push_back(BandWidth(font));
        images.push_back(RenderMatrix(*Bands(font), 3, 2));
    }
    EXPECT_EQ(widths[1], 22u);  // ASCII
    EXPECT_EQ(widths[2], 18u);  // C40
    EXPECT_EQ(widths[4], 18u);  // X12
    EXPECT_GT(widths[3], widths[2]);  // Text shifts for every capital
    for (const auto& r : ReadBarcodes(images, {"DataMatrix", true})) EXPECT_EQ(r.text, "ABCDEFGHIJKLMNOPQRSTUVWX");

    // GS1: the flag set, bracketed data becomes a GS1 symbol; clear, the brackets are data.
    options.DataMatrixEncodation = 0;
    images.clear();
    for (int gs1 : {1, 0}) {
        options.GS1Mode = gs1;
        images.push_back(RenderMatrix(*Bands(Call(FrontEndDataMatrix, u"(01)09501101530003")), 3, 2));
    }
    const auto gs1 = ReadBarcodes(images, {"DataMatrix", true});
    EXPECT_EQ(gs1[0].symbologyId, "]d2");
    EXPECT_EQ(gs1[1].symbologyId, "]d1");
    EXPECT_EQ(gs1[1].text, "(01)09501101530003");
}

TEST_F(FrontEnds, AztecSizeListNamesTheSizeItGives) {
    std::vector<Image> images;
    for (int index = 1; index < static_cast<int>(kAztecPreferredFormatEntries.size()); ++index) {
        options.AztecPreferredFormat = index;
        const std::u16string font = Call(FrontEndAztec, u"Kestrivo");
        ASSERT_FALSE(font.empty()) << index << ": " << Narrow(platform.line());
        const std::string entry = Narrow(kAztecPreferredFormatEntries[static_cast<std::size_t>(index)]);
        EXPECT_EQ(BandWidth(font), static_cast<std::size_t>(std::stoi(entry))) << entry;
        EXPECT_EQ(font.find(u'\r'), std::u16string::npos);  // LF line ends
        images.push_back(RenderMatrix(*Bands(font), 3, 4));
    }
    for (const auto& r : ReadBarcodes(images, {"Aztec", true})) EXPECT_EQ(r.text, "Kestrivo");
    EXPECT_EQ(AztecSizeForEntry(0), 0);
    EXPECT_EQ(AztecSizeForEntry(1), 1);
    EXPECT_EQ(AztecSizeForEntry(2), 5);
    EXPECT_EQ(AztecSizeForEntry(7), 4);
    EXPECT_EQ(AztecSizeForEntry(36), 36);
    EXPECT_EQ(AztecSizeForEntry(37), 0);
}

TEST_F(FrontEnds, AztecLevelsGrowTheSymbol) {
    options.AztecPreferredFormat = 0;
    std::size_t previous = 0;
    std::vector<std::size_t> widths;
    for (int index = 0; index < 19; ++index) {
        options.AztecECLevel = index;
        const std::u16string font = Call(FrontEndAztec, u"Kestrivo Aztec Barcode solution.");
        ASSERT_FALSE(font.empty()) << Narrow(platform.line());
        EXPECT_GE(BandWidth(font), previous) << "entry " << index;
        previous = BandWidth(font);
        widths.push_back(previous);
    }
    EXPECT_LT(widths.front(), widths.back());
    // A setting outside the list counts as the default entry, "23%".
    options.AztecECLevel = 4;
    const std::u16string standard = Call(FrontEndAztec, u"Kestrivo Aztec Barcode solution.");
    for (int outside : {-1, 19, 25}) {
        options.AztecECLevel = outside;
        EXPECT_EQ(Call(FrontEndAztec, u"Kestrivo Aztec Barcode solution."), standard) << outside;
        EXPECT_EQ(platform.line(), u"");
    }
}

TEST_F(FrontEnds, PDF417LevelsColumnsAndTruncation) {
    // With one column every codeword is a row: the rows between levels tell the check
    // codewords apart (2^(level+1) each), and "Auto" is the automatic level, 2 for short data.
    options.PDF417FixedColumns = 1;
    std::vector<int> rows;
    for (int index = 0; index <= 5; ++index) {
        options.PDF417SecurityLevel = index;
        const auto m = Bands(Call(FrontEndPDF417, u"Kestrivo"));
        ASSERT_TRUE(m) << Narrow(platform.line());
        rows.push_back(DarkRows(*m));
    }
    for (int level = 2; level <= 5; ++level)
        EXPECT_EQ(rows[static_cast<std::size_t>(level)] - rows[1], (2 << level) - 4) << level;
    EXPECT_EQ(rows[0], rows[2]) << "Auto is level 2 here, not level 0";
    // Columns and the truncated form, measured by the width.
    std::vector<Image> images;
    options.PDF417SecurityLevel = 0;
    for (int truncated : {0, 1}) {
        options.PDF417Truncate = truncated;
        for (int columns : {1, 4, 9, 30}) {
            options.PDF417FixedColumns = columns;
            const std::u16string font = Call(FrontEndPDF417, u"Kestrivo PDF417 Barcode Print Solution");
            ASSERT_FALSE(font.empty()) << Narrow(platform.line());
            EXPECT_EQ(BandWidth(font), static_cast<std::size_t>(17 * columns + (truncated ? 35 : 69)));
            if (!truncated) {
                const auto m = Bands(font);
                std::vector<Modules> r(m->begin(), m->end());
                images.push_back(RenderRows(r, std::vector<int>(r.size(), 6), 2, 4));
            }
        }
    }
    for (const auto& r : ReadBarcodes(images, {"PDF417", true})) EXPECT_EQ(r.text, "Kestrivo PDF417 Barcode Print Solution");
    EXPECT_EQ(PDF417LevelForEntry(0), -1);
    EXPECT_EQ(PDF417LevelForEntry(8), 8);
}

TEST_F(FrontEnds, MaxicodeModesFromTheList) {
    std::vector<Image> images;
    for (int index = 2; index <= 4; ++index) {
        options.MaxicodeMode = index;
        const std::u16string font = Call(FrontEndMaxicode, u"Kestrivo Maxicode");
        const auto cells = MaxicodeCells(font);
        ASSERT_TRUE(cells) << Narrow(platform.line());
        EXPECT_EQ(MaxicodeMode(*cells), index + 2);
        // Drawn as the font draws the text: the finder is the text's own.
        const Image image = RenderMaxicodeText(font);
        EXPECT_EQ(MaxicodeFinderProblem(image), "") << "mode " << index + 2;
        if (index < 4) images.push_back(image);
    }
    for (const auto& r : ReadBarcodes(images, {"MaxiCode", true})) EXPECT_EQ(r.text, "Kestrivo Maxicode");
    // Modes 2 and 3 take a structured primary message that this text is not.
    for (int index = 0; index <= 1; ++index) {
        options.MaxicodeMode = index;
        EXPECT_EQ(Call(FrontEndMaxicode, u"Kestrivo Maxicode"), u"");
        EXPECT_NE(platform.line(), u"");
    }
}

TEST_F(FrontEnds, DatabarLengthsAndMessages) {
    EXPECT_EQ(Call(FrontEndDatabar, u"123"), Call(FrontEndDatabar, u"1230000000000"));
    EXPECT_EQ(Call(FrontEndDatabar, u"200123456789012"), Call(FrontEndDatabar, u"2001234567890"));
    platform.messages.clear();
    EXPECT_EQ(Call(FrontEndDatabar, u"20012345A7890"), u"");
    EXPECT_EQ(platform.line(), u"Invalid characters in data");
    // Escapes are decoded before the cut.
    EXPECT_EQ(Call(FrontEndDatabarLimited, u"&#48;031234567890"), Call(FrontEndDatabarLimited, u"0031234567890"));
}

// DataBar Expanded takes the whole text: data well past 74 characters that fits the symbol
// reads back whole from its bars, and data that does not fit gets the encoder's message.
TEST_F(FrontEnds, DatabarExpandedTakesTheWholeText) {
    const std::u16string fits =
        u"(01)90012345678908(17)261231(11)250101(10)4711(21)88483702(240)12345(30)12(400)1";
    ASSERT_GT(fits.size(), 74u);
    platform.messages.clear();
    const std::u16string font = Call(FrontEndDatabarExpanded, fits);
    ASSERT_FALSE(font.empty()) << Narrow(platform.line());
    const auto read = databar_reader::ReadOneRow(Narrow(font));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.text, Narrow(fits));

    const std::u16string tooLong = fits + u"(91)ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    EXPECT_EQ(Call(FrontEndDatabarExpanded, tooLong), u"");
    EXPECT_NE(platform.line(), u"");
}

TEST_F(FrontEnds, IntelligentMailRoutingFilledWithZeros) {
    const std::u16string twenty = u"01234567094987654321";
    EXPECT_EQ(Call(FrontEndIntelligentMail, twenty), Call(FrontEndIntelligentMail, twenty + u"00000"));
    EXPECT_EQ(Call(FrontEndIntelligentMail, twenty + u"012345678912345"),
              Call(FrontEndIntelligentMail, twenty + u"01234567891"));
}

TEST_F(FrontEnds, RoyalMailCMDMNeedsTheCheckedCharacters) {
    const std::u16string sample = BuildSymbologyTable()[31].szSampleData;
    // Fewer than 30 characters after escapes: no symbol, no message.
    EXPECT_EQ(Call(FrontEndRoyalMailCMDM, sample.substr(0, 29)), u"");
    EXPECT_EQ(Call(FrontEndRoyalMailCMDM, u""), u"");
    std::u16string escaped;
    for (int i = 0; i < 29; ++i) escaped += u"&#65;";
    EXPECT_EQ(Call(FrontEndRoyalMailCMDM, escaped), u"");
    EXPECT_TRUE(platform.messages.empty());
    // 30 characters are enough; the 199-character sample encodes.
    EXPECT_NE(Call(FrontEndRoyalMailCMDM, sample.substr(0, 30)), u"");
    EXPECT_NE(Call(FrontEndRoyalMailCMDM, sample), u"");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrontEnds, Code16KAndMicroPDF417DecodeEscapes) {
    EXPECT_EQ(Call(FrontEndMicroPDF417, u"&#75;estrivo"), Call(FrontEndMicroPDF417, u"Kestrivo"));
    EXPECT_EQ(Call(FrontEndCode16K, u"&#75;estrivo"), Call(FrontEndCode16K, u"Kestrivo"));
    EXPECT_EQ(Call(FrontEndCode16K, u""), u"");
    EXPECT_EQ(Call(FrontEndCode16K, u"&#"), u"");  // nothing left after the escape
}

TEST_F(FrontEnds, Code16KGlyphsSurviveAnyThreadCodePage) {
    // The thread code page is double-byte, in which bytes from 0x80 on start characters:
    // the Code 16K text is still widened byte for byte.
    platform.thread = FakePage::DoubleByte;
    const std::u16string text = u"\u00C4\u00D6\u00DC\u00DF\u00E9 Kestrivo";
    const std::u16string font = Call(FrontEndCode16K, text);
    std::string why;
    const auto read = ReadCode16k(font, Code16kGlyphs::Desktop, &why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->data, Narrow(text));
    // Too long, with the message.
    EXPECT_EQ(Call(FrontEndCode16K, std::u16string(158, u'1')), u"");
    EXPECT_EQ(platform.line(), u"Input too long");
}

TEST_F(FrontEnds, ConversionsThatFailOrCannotRepresent) {
    // A lone surrogate (pasted text) goes to UTF-8 as U+FFFD.
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    const auto m = Bands(Call(FrontEndQRCode, lone));
    ASSERT_TRUE(m);
    const auto read = ReadBarcodes({RenderMatrix(*m, 3, 4)}, {"QRCode", true});
    EXPECT_EQ(read[0].text, "a\xEF\xBF\xBD" "b");
    // A conversion that fails hands the encoder no data, never a partial text.
    platform.failConversions = true;
    platform.messages.clear();
    EXPECT_EQ(Call(FrontEndAztec, u"Kestrivo"), u"");
    EXPECT_EQ(Call(FrontEndPharmaOne, u"52"), u"");
    platform.failConversions = false;
    platform.queryBias = -1;  // an adapter that answers its size query short
    EXPECT_EQ(Call(FrontEndPDF417, u"Kestrivo"), u"");
    platform.queryBias = 0;
    // A double-byte system page: the text is sized by query, not cut at a character count.
    platform.system = FakePage::DoubleByte;
    const std::u16string font = Call(FrontEndPDF417, u"\u4e00\u4e01 Kestrivo");
    ASSERT_FALSE(font.empty()) << Narrow(platform.line());
    const auto pdf = Bands(font);
    std::vector<Modules> r(pdf->begin(), pdf->end());
    const auto back = ReadBarcodes({RenderRows(r, std::vector<int>(r.size(), 6), 2, 4)}, {"PDF417", true});
    EXPECT_EQ(back[0].bytes, std::string("\x81\x00\x81\x01 Kestrivo", 13));
}

TEST_F(FrontEnds, EncodeSelectedChoosesTheRoutineAndClearsTheLine) {
    const auto table = BuildSymbologyTable();
    const SymbologyAction& i25 = *FindSymbology(table, u"Interleaved 2 of 5");
    options.AddChecksum = 1;
    EXPECT_EQ(EncodeSelected(session, i25, u"1234567"), std::u16string(linear::EncodeI25Check(ctx, u"1234567")));
    options.AddChecksum = 0;
    EXPECT_EQ(EncodeSelected(session, i25, u"1234567"), std::u16string(linear::EncodeI25(ctx, u"1234567")));
    const SymbologyAction& databar = *FindSymbology(table, u"Databar");
    EXPECT_EQ(EncodeSelected(session, databar, u"12A"), u"");
    EXPECT_EQ(platform.line(), u"Invalid characters in data");
    EXPECT_NE(EncodeSelected(session, databar, u"123"), u"");
    EXPECT_EQ(platform.line(), u"");
    // A row without a routine for the box's state gives nothing.
    SymbologyAction none = i25;
    none.pfnEncode = {nullptr, nullptr, nullptr};
    EXPECT_EQ(EncodeSelected(session, none, u"1"), u"");
    // Input longer than the program's buffer is cut, not overrun.
    const SymbologyAction& code128 = *FindSymbology(table, u"Code128B");
    EXPECT_NE(EncodeSelected(session, code128, std::u16string(20000, u'x')), u"");
}
