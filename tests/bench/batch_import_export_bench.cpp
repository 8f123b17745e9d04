// One million records each way through the batch dialog's portable work: a text file of
// records separated by empty lines imported into the batch text, and a batch of generated
// records exported to TXT and XSL-FO with a linear symbology of the desktop encode road.
#include <benchmark/benchmark.h>

#include <string>

#include "batch.h"
#include "desktop/fake_platform.h"
#include "session.h"
#include "settings.h"
#include "symbology_table.h"

namespace {

constexpr int kRecords = 1000000;

// "KESTRIVO-" and seven digits a line, an empty line after each: 20 bytes a record.
std::string TextFile() {
    std::string bytes;
    bytes.reserve(kRecords * 20u);
    char line[32];
    for (int i = 0; i < kRecords; ++i) {
        std::snprintf(line, sizeof line, "KESTRIVO-%07d\r\n\r\n", i);
        bytes += line;
    }
    return bytes;
}

std::u16string Batch() {
    desktop::SequenceFields fields;
    fields.prefix = u"KESTRIVO-";
    fields.start = u"0000001";
    fields.end = u"1000000";
    std::u16string batch;
    desktop::GenerateSequence(fields, batch);
    return batch;
}

void BM_ImportText(benchmark::State& state) {
    desktop_testing::FakePlatform platform;
    const std::string bytes = TextFile();
    for (auto _ : state) {
        std::u16string batch;
        desktop::ImportText(platform, bytes, batch);
        benchmark::DoNotOptimize(batch.data());
    }
    state.counters["records"] = kRecords;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

struct Road {
    linear::Context linear{linear::kDesktop};
    desktop::OptionSettings options;
    desktop_testing::FakePlatform platform;
    desktop::Session session{linear, options, platform};
    std::vector<desktop::SymbologyAction> table = desktop::BuildSymbologyTable();
    const desktop::SymbologyAction* row = desktop::FindSymbology(table, u"Code 39");
    desktop::RecordEncoder Encoder() {
        return [this](std::u16string_view record) { return desktop::EncodeSelected(session, *row, record); };
    }
};

void BM_ExportTxt(benchmark::State& state) {
    Road road;
    const std::u16string batch = Batch();
    const auto encode = road.Encoder();
    for (auto _ : state) benchmark::DoNotOptimize(desktop::TxtExportLayout(batch, encode).data());
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ExportXslFo(benchmark::State& state) {
    Road road;
    const std::u16string batch = Batch();
    const auto encode = road.Encoder();
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop::XslFoExportLayout(batch, encode, u"KVCode39MHR", u"12").data());
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTxt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXslFo)->Unit(benchmark::kMillisecond);

}  // namespace
