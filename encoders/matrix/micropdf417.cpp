#include "micropdf417.h"

#include <cstring>

#include "pdf417.h"
#include "pdf417_tables.h"
#include "workspace.h"

namespace matrix {

namespace {

// (largest data codeword count, variant) in the order the automatic size takes them.
constexpr int kAutoSizes[28][2] = {
    {4, 1},   {6, 14},  {7, 2},   {8, 7},   {10, 3},  {12, 25}, {13, 8},  {14, 16}, {16, 5},  {18, 17},
    {19, 9},  {20, 6},  {24, 10}, {29, 11}, {30, 28}, {33, 12}, {34, 19}, {37, 13}, {39, 29}, {46, 20},
    {54, 30}, {58, 21}, {70, 22}, {72, 31}, {82, 23}, {90, 32}, {108, 33}, {126, 34}};

// Variant for a column request: each row lists (largest count, variant), the last entry
// taking any larger count.
int VariantFor(int columns, int m) {
    static const int kLimits[4][12][2] = {
        {{4, 1}, {7, 2}, {10, 3}, {12, 4}, {16, 5}, {999, 6}},
        {{8, 7}, {13, 8}, {19, 9}, {24, 10}, {29, 11}, {33, 12}, {999, 13}},
        {{6, 14}, {10, 15}, {14, 16}, {18, 17}, {24, 18}, {34, 19}, {46, 20}, {58, 21}, {70, 22}, {999, 23}},
        {{8, 24}, {12, 25}, {18, 26}, {24, 27}, {30, 28}, {39, 29}, {54, 30}, {72, 31}, {90, 32}, {108, 33},
         {999, 34}},
    };
    if (columns >= 1 && columns <= 4) {
        for (const auto& e : kLimits[columns - 1])
            if (m <= e[0]) return e[1];
    }
    for (const auto& e : kAutoSizes)
        if (m <= e[0]) return e[1];
    return 34;
}

// Writes runs alternating dark and light; `dark` tells the colour of the next run.
struct RowWriter {
    SymbolRecord& rec;
    int row;
    int column = 0;
    bool dark = true;
    void run(int width) {
        for (int i = 0; i < width; ++i, ++column)
            if (dark) SetModuleByte(rec, row, column);
        dark = !dark;
    }
    void pattern10(std::uint16_t p) {
        for (int i = 9; i >= 0; --i, ++column)
            if ((p >> i) & 1) SetModuleByte(rec, row, column);
        // Six runs, so the alternation is back where it began.
    }
    void codeword(std::uint32_t p) {
        run(1);
        for (int i = 15; i >= 1; --i, ++column)
            if ((p >> i) & 1) SetModuleByte(rec, row, column);
        run(1);
    }
};

}  // namespace

int EncodeMicroPDF417(SymbolRecord& rec, std::span<const std::uint8_t> input, const Call& call) {
    const std::uint8_t* data = input.data();
    const std::size_t length = input.size();
    int* cw = SharedWorkspace().pdf417.microCodewords;
    rec.fontText[0] = 0;
    const int m = Pdf417DataCodewords(data, length, (rec.outputFlags & 0x10) != 0, cw);
    if (m < 0 || m >= 127) return Fail(rec, kDataTooLong, "Data too long");
    int result = kSuccess;
    if (rec.option2 > 4) {
        SetError(rec, "invalid width");
        rec.option2 = 0;
        result = kWarning;
    }
    if ((rec.option2 == 1 && m > 20) || (rec.option2 == 2 && m > 37) || (rec.option2 == 3 && m > 82)) {
        SetError(rec, "size too small for data");
        rec.option2 = 0;
        result = kWarning;
    }
    const MicroVariant& v = kMicroVariants[VariantFor(rec.option2, m) - 1];
    rec.option2 = v.columns;
    const int dataCount = v.columns * v.rows - v.checkCodewords;
    int count = m;
    while (count < dataCount) cw[count++] = 900;
    Pdf417ErrorCorrection(cw, count, v.checkCodewords, cw + count);

    std::memset(rec.modules, 0, sizeof rec.modules);
    int cluster = v.startCluster / 3;
    int left = v.leftStart, centre = v.centreStart, right = v.rightStart;
    for (int r = 0; r < v.rows; ++r) {
        RowWriter w{rec, r};
        w.pattern10(kMicroSidePatterns[left - 1]);
        for (int c = 0; c < v.columns; ++c) {
            w.codeword(kPdf417Patterns[cluster][cw[r * v.columns + c]]);
            if ((v.columns == 3 && c == 0) || (v.columns == 4 && c == 1))
                w.pattern10(kMicroCentrePatterns[centre - 1]);
        }
        w.pattern10(kMicroSidePatterns[right - 1]);
        w.run(1);
        rec.rowHeights[r] = 2;
        rec.width = w.column;
        cluster = (cluster + 1) % 3;
        left = left % 52 + 1;
        centre = centre % 52 + 1;
        right = right % 52 + 1;
    }
    rec.rows = v.rows;
    return FinishBandText(rec, call.CrLf(true), ModuleForm::Byte, result);
}

}  // namespace matrix
