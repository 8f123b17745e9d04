// The desktop program's encode road from a change of the data field to the font text ready
// for painting (the one encode entry, as the main window calls it), for the largest symbol
// of every two-dimensional and stacked row: the longest run of digits each row accepts, or
// the row's sample where a row takes data of a fixed shape only.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/desktop_road.h"

namespace {

// Whether `text` encodes with `row` without a message into some font text.
bool Encodes(desktop_bench::Road& road, const desktop::SymbologyAction& row, const std::u16string& text) {
    road.platform.messages.clear();
    const std::u16string out = desktop::EncodeSelected(road.state.session, row, text);
    for (const auto& m : road.platform.messages)
        if (!m.empty()) return false;
    return !out.empty();
}

std::u16string Digits(std::size_t n) {
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'0' + (i * 7 + 3) % 10);
    return s;
}

void BM_DesktopLargestSymbol(benchmark::State& state, const std::u16string& name) {
    desktop_bench::Road road(name);
    const desktop::SymbologyAction* row = road.state.pCurrentAction;
    if (!row) {
        state.SkipWithError("no such row");
        return;
    }
    // The longest digit run the row takes (the largest symbol it makes of it).
    // A row that takes only data of a fixed shape (the DataBar rows) runs with its sample.
    std::size_t good = 0, bad = desktop::kInputUnits;
    std::u16string text = row->szSampleData;
    if (Encodes(road, *row, Digits(1))) {
        good = 1;
        while (bad - good > 1) {
            const std::size_t mid = (good + bad) / 2;
            (Encodes(road, *row, Digits(mid)) ? good : bad) = mid;
        }
        text = Digits(good);
    } else if (!Encodes(road, *row, text)) {
        state.SkipWithError("the row refuses its own sample");
        return;
    }
    std::size_t units = 0;
    for (auto _ : state) {
        const std::u16string out = desktop::EncodeSelected(road.state.session, *row, text);
        units = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["input_units"] = static_cast<double>(text.size());
    state.counters["font_text_units"] = static_cast<double>(units);
}

}  // namespace

BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, CMDM, u"Royal Mail CMDM");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, DataMatrix, u"Data Matrix");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, DataMatrixSEMI, u"Data Matrix (SEMI)");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, QRCodeSEMI, u"QRCode (SEMI)");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, PDF417, u"PDF417");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, MicroPDF417, u"Micro PDF417");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, QRCode, u"QR Code");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, MicroQRCode, u"Micro QRCode");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, Aztec, u"Aztec");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, Code16K, u"Code16K");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, Maxicode, u"Maxicode");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, DatabarStackedOmni, u"Databar Stacked Omni");
BENCHMARK_CAPTURE(BM_DesktopLargestSymbol, DatabarExpandedStacked, u"Databar Expanded Stacked");
