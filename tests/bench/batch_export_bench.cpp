// The batch export of 10,000 records of a matrix symbology through the desktop program's
// encode road: the whole export (encoding and layout), the encoding alone, and the layout
// alone with the font texts encoded beforehand.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "batch.h"
#include "bench/desktop_road.h"

namespace {

using desktop_bench::Road;

constexpr int kRecords = 10000;

// The batch: "KESTRIVO-" and six digits a record.
std::u16string Sequence() { return desktop_bench::GeneratedBatch(u"KESTRIVO-", u"000001", u"010000"); }

enum class Layout { Txt, XslFo };

std::string Export(Layout layout, const std::u16string& batch, const desktop::RecordEncoder& encode) {
    return layout == Layout::Txt ? desktop::TxtExportLayout(batch, encode)
                                 : desktop::XslFoExportLayout(batch, encode, u"KVDataMatrix", u"12");
}

void BM_ExportWhole(benchmark::State& state, std::u16string name, Layout layout) {
    Road road(name);
    const std::u16string batch = Sequence();
    const auto encode = road.Encoder();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = Export(layout, batch, encode);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["records"] = kRecords;
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_EncodeOnly(benchmark::State& state, std::u16string name) {
    Road road(name);
    const std::u16string batch = Sequence();
    const auto records = desktop::BatchRecords(batch);
    const auto encode = road.Encoder();
    for (auto _ : state)
        for (std::u16string_view record : records) benchmark::DoNotOptimize(encode(record).size());
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_LayoutOnly(benchmark::State& state, std::u16string name, Layout layout) {
    Road road(name);
    const std::u16string batch = Sequence();
    std::map<std::u16string_view, std::u16string> fonts;
    const auto encode = road.Encoder();
    for (std::u16string_view record : desktop::BatchRecords(batch)) fonts[record] = encode(record);
    const desktop::RecordEncoder lookup = [&](std::u16string_view record) { return fonts.at(record); };
    for (auto _ : state) benchmark::DoNotOptimize(Export(layout, batch, lookup).data());
    state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK_CAPTURE(BM_ExportWhole, DataMatrix_Txt, u"Data Matrix", Layout::Txt)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportWhole, DataMatrix_XslFo, u"Data Matrix", Layout::XslFo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeOnly, DataMatrix, u"Data Matrix")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LayoutOnly, DataMatrix_Txt, u"Data Matrix", Layout::Txt)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LayoutOnly, DataMatrix_XslFo, u"Data Matrix", Layout::XslFo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportWhole, QRCode_XslFo, u"QR Code", Layout::XslFo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeOnly, QRCode, u"QR Code")->Unit(benchmark::kMillisecond);

}  // namespace
