// Every row of the symbology table encodes its own sample text through its routines, as the
// program does when the row is chosen, and the symbol reads back to the sample.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "cmdm.h"
#include "support/code16k_reader.h"
#include "desktop/front_end_fixture.h"
#include "support/desktop_font_readers.h"
#include "matrix/databar_font.h"
#include "semi.h"
#include "support/encode_texts.h"
#include "support/font_text.h"
#include "support/linear_fonts.h"
#include "support/numeric_fonts.h"
#include "support/reader.h"
#include "support/upc_code128_fonts.h"
#include "symbology_table.h"

using namespace desktop;
using namespace desktop_testing;
using namespace testing_support;

namespace {

// A symbol for the reader: its image, the format, and what it must read as.
struct Pending {
    int row;
    Image image;
    std::string format;
    bool pure;
    std::function<void(const ReadResult&)> check;
};

std::string Pairs39(const std::string& got) {
    std::string decoded;
    for (std::size_t k = 0; k < got.size(); ++k) {
        bool matched = false;
        if (k + 1 < got.size() && std::string("$%/+").find(got[k]) != std::string::npos) {
            for (int a = 0; a < 128 && !matched; ++a) {
                if (Code39FullAsciiPair(static_cast<unsigned char>(a)) == got.substr(k, 2)) {
                    decoded += static_cast<char>(a);
                    ++k;
                    matched = true;
                }
            }
        }
        if (!matched) decoded += got[k];
    }
    return decoded;
}

Image Linear(const std::optional<Modules>& m) { return RenderLinear(m.value_or(Modules{}), 2, 40, 12); }

Image Matrix2D(std::u16string_view font, int scale = 3) {
    return RenderMatrix(Bands(font).value_or(Matrix{}), scale, 4);
}

Image Stacked(std::u16string_view font) {
    const auto m = Bands(font).value_or(Matrix{});
    std::vector<Modules> rows(m.begin(), m.end());
    return RenderRows(rows, std::vector<int>(rows.size(), 6), 2, 4);
}

Image DatabarImage(const std::optional<databar_font::Rows>& rows) {
    if (!rows) return {};
    std::vector<int> px;
    for (int h : rows->heights) px.push_back(h * 2);
    return RenderRows(rows->rows, px, 2, 12);
}

}  // namespace

TEST(RowSamples, EveryRowEncodesItsSampleAndReadsBack) {
    ASSERT_TRUE(ReaderAvailable());
    const auto table = BuildSymbologyTable();
    SessionFixture f;
    std::vector<Pending> pending;
    std::map<int, std::u16string> fonts;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int row = static_cast<int>(i + 1);
        const SymbologyAction& r = table[i];
        // The row becomes current: its boxes set the flags, then the sample is encoded.
        f.options.HumanReadable = 1;
        ApplyChecksumMode(r.nAttr1, f.options.AddChecksum);
        ApplyHumanReadableMode(r.nAttr3, f.options.HumanReadable);
        f.platform.messages.clear();
        const std::u16string font = EncodeSelected(f.session, r, r.szSampleData);
        fonts[row] = font;
        EXPECT_FALSE(font.empty()) << row << " " << Narrow(r.szDisplayName) << ": " << Narrow(f.platform.line());
        EXPECT_EQ(f.platform.line(), u"") << row;
        const std::string sample = Narrow(r.szSampleData);
        auto expect = [&, row](std::string format, Image image, bool pure, std::function<void(const ReadResult&)> check) {
            pending.push_back({row, std::move(image), std::move(format), pure, std::move(check)});
        };
        auto equals = [row](std::string want) {
            return [row, want](const ReadResult& got) { EXPECT_EQ(got.text, want) << "row " << row; };
        };
        auto startsWith = [row](std::string want) {
            return [row, want](const ReadResult& got) {
                EXPECT_EQ(got.text.substr(0, want.size()), want) << "row " << row;
            };
        };
        switch (row) {
            case 1: expect("Code39", Linear(Code39FontToModules(font)), false, equals("KESTRIVO")); break;
            case 37: expect("Code39", Linear(Code39FontToModules(font)), false, equals(sample)); break;
            case 2: expect("Code39", Linear(Code39ExtFontToModules(font)), false,
                           [row, sample](const ReadResult& g) { EXPECT_EQ(Pairs39(g.text), sample) << row; });
                    break;
            case 3: expect("Code39", Linear(Code39FontToModules(font)), false,
                           equals(sample + static_cast<char>(linear::Mod10Check(r.szSampleData)))); break;
            case 4: expect("Code93", Linear(Code93FontToModules(font)), false, equals(sample)); break;
            // UPC/EAN: the reader returns the symbol's digits, not the add-on after "|".
            case 5:
                EXPECT_EQ(sample, "03288667318|51899");
                expect("UPCA", Linear(UpcEanFontToModules(font)), false, startsWith("03288667318"));
                break;
            case 6:
                EXPECT_EQ(sample, "71245|29");
                expect("UPCE", Linear(UpcEanFontToModules(font)), false, startsWith("0"));
                break;
            case 7:
                EXPECT_EQ(sample, "123456789012|51299");
                expect("EAN13", Linear(UpcEanFontToModules(font)), false, startsWith("123456789012"));
                break;
            case 8:
                EXPECT_EQ(sample, "1234567|29");
                expect("EAN8", Linear(UpcEanFontToModules(font)), false, startsWith("1234567"));
                break;
            case 9:
                EXPECT_EQ(sample, "123456789|54999");
                expect("EAN13", Linear(UpcEanFontToModules(font)), false, startsWith("978123456789"));
                break;
            case 10: case 12: expect("Code128", Linear(Code128FontToModules(font, true)), false, equals(sample)); break;
            case 14: expect("Code128", Linear(Code128FontToModules(font, true)), false, equals("0" + sample)); break;
            case 11: case 13: case 15: expect("Code128", Linear(AsianFontToModules(font)), false, equals(sample)); break;
            case 16: expect("Code128", Linear(Code128FontToModules(font, true)), false,
                            [row](const ReadResult& g) {
                                std::string t;
                                for (char c : g.text) if (c != '(' && c != ')') t += c;
                                EXPECT_EQ(t, "00350123451234567894") << row;
                                EXPECT_EQ(g.symbologyId, "]C1") << row;
                            });
                     break;
            case 17: expect("Code128", Linear(Code128FontToModules(font, true)), false, startsWith("91011234567890000000")); break;
            case 18: expect("Codabar", Linear(CodabarFontToModules(font)), false,
                            [row](const ReadResult& g) { EXPECT_NE(g.text.find("123-456"), std::string::npos) << row; });
                     break;
            case 21: expect("ITF", Linear(I25FontToModules(font)), false, equals(sample)); break;
            case 22: expect("ITF", Linear(I25FontToModules(font)), false, startsWith(sample)); break;
            case 23: EXPECT_EQ(ReadCode25(Code25FontToModules(font).value_or(Modules{})), sample); break;
            case 24: EXPECT_EQ(ReadCode11(Code11FontToModules(font).value_or(Modules{})), sample); break;
            case 25: EXPECT_EQ(ReadMsi(MsiFontToModules(font).value_or(Modules{})), sample); break;
            case 26: case 27: EXPECT_EQ(ReadPostnet(PostnetFontToBars(font).value_or(Bars{})), sample) << row; break;
            case 31: EXPECT_EQ(ReadRoyalMail(RoyalMailFontToBars(font).value_or(Bars{})), sample); break;
            case 30:
                EXPECT_EQ(sample, "0123456709498765432101234567891");
                EXPECT_EQ(font.size(), 65u);
                EXPECT_EQ(font.find_first_not_of(u"TADF"), std::u16string::npos);
                break;
            case 32: {
                std::u16string data = r.szSampleData;
                data.insert(data.begin() + 30, matrix::cmdmCheckChar(data.data() + 10, 20));
                expect("DataMatrix", Matrix2D(font), true, equals(Narrow(data)));
                break;
            }
            case 33: expect("DataMatrix", Matrix2D(font), true, equals(sample)); break;
            case 34: case 35: {
                const std::u16string semi(linear::EncodeSemiM12(f.ctx, r.szSampleData.c_str()));
                expect(row == 34 ? "DataMatrix" : "QRCode", Matrix2D(font), true, equals(Narrow(semi)));
                break;
            }
            case 36: EXPECT_EQ(ReadBc412(font).value_or(u"?"), u"KESTRIV0"); break;
            case 39: expect("PDF417", Stacked(font), true, equals(sample)); break;
            case 40: expect("QRCode", Matrix2D(font), true, equals(sample)); break;
            case 41: expect("MircoQRCode", Matrix2D(font), true, equals(sample)); break;
            case 42: expect("Aztec", Matrix2D(font), true, equals(sample)); break;
            case 45: {
                std::string why;
                const auto read = ReadCode16k(font, Code16kGlyphs::Desktop, &why);
                ASSERT_TRUE(read) << why;
                EXPECT_EQ(read->data, sample);
                break;
            }
            case 46: case 47:
                expect("DataBar",
                       DatabarImage(databar_font::Rows{{databar_font::ElementsToModules(Narrow(font), 'a').value_or(Modules{})}, {33}}),
                       false, startsWith(sample));
                break;
            case 49: expect("DataBar", DatabarImage(databar_font::StackedToRows(Narrow(font))), true, startsWith(sample));
                break;
            case 50: expect("DataBar", DatabarImage(databar_font::LinesToRows(Narrow(font), 33)), true, startsWith(sample));
                break;
            case 51:
                expect("DataBarExpanded",
                       DatabarImage(databar_font::Rows{{databar_font::ElementsToModules(Narrow(font), 'A').value_or(Modules{})}, {34}}),
                       false, equals(sample));
                break;
            case 52:
                expect("DataBarExpanded", DatabarImage(databar_font::LinesToRows(Narrow(font), 34)), true,
                       equals("(01)98898765432106(3202)012345(15)991231"));
                break;
            case 53: {
                const auto cells = MaxicodeCells(font);
                EXPECT_TRUE(cells);
                if (cells) expect("MaxiCode", RenderMaxicodeText(font), true, equals(sample));
                break;
            }
            default: break;  // 19, 20, 28, 29, 38, 43, 44, 48: no reader here
        }
    }
    for (const Pending& p : pending) ASSERT_GT(p.image.width, 0) << "row " << p.row << " could not be drawn: " << Show(fonts[p.row]);
    std::map<std::string, std::vector<std::size_t>> byFormat;
    for (std::size_t k = 0; k < pending.size(); ++k) byFormat[pending[k].format + (pending[k].pure ? "1" : "0")].push_back(k);
    for (const auto& [key, indices] : byFormat) {
        std::vector<Image> batch;
        for (std::size_t k : indices) batch.push_back(pending[k].image);
        const auto results = ReadBarcodes(batch, {pending[indices[0]].format, pending[indices[0]].pure});
        for (std::size_t j = 0; j < indices.size(); ++j) {
            const Pending& p = pending[indices[j]];
            EXPECT_TRUE(results[j].found) << "row " << p.row << " not read";
            if (results[j].found) p.check(results[j]);
            else std::cerr << "row " << p.row << "\n";
        }
    }
}
