// One million records each way through the batch dialog's portable work: a generated
// sequence and a text file of records separated by empty lines made into the batch text (and
// cut into the pieces the batch field takes), and a batch of generated records exported to
// TXT and XSL-FO with a linear symbology of the desktop encode road, also record by record as
// the dialog paces it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "batch.h"
#include "batch_import.h"
#include "batch_work.h"
#include "bench/desktop_road.h"

namespace {

using desktop_bench::Road;

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

void BM_ImportIntoPieces(benchmark::State& state) {
    desktop_testing::FakePlatform platform;
    const std::string bytes = TextFile();
    std::size_t pieces = 0;
    for (auto _ : state) {
        std::u16string batch;
        desktop::ImportText(platform, bytes, batch);
        desktop::BatchPieces cut(batch);
        for (pieces = 0; !cut.Done(); ++pieces) benchmark::DoNotOptimize(cut.Next().data());
        benchmark::DoNotOptimize(cut.RecordsDone());
    }
    state.counters["records"] = kRecords;
    state.counters["pieces"] = static_cast<double>(pieces);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// The batch: "KESTRIVO-" and seven digits a record.
std::u16string Batch() { return desktop_bench::GeneratedBatch(u"KESTRIVO-", u"0000001", u"1000000"); }

void BM_ExportTxt(benchmark::State& state) {
    Road road(u"Code 39");
    const std::u16string batch = Batch();
    const auto encode = road.Encoder();
    for (auto _ : state) benchmark::DoNotOptimize(desktop::TxtExportLayout(batch, encode).data());
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ExportXslFo(benchmark::State& state) {
    Road road(u"Code 39");
    const std::u16string batch = Batch();
    const auto encode = road.Encoder();
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop::XslFoExportLayout(batch, encode, u"KVCode39MHR", u"12").data());
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// The dialog's loop: one record a step, the pacer asked after each.
void BM_ExportTxtPaced(benchmark::State& state) {
    Road road(u"Code 39");
    const std::u16string batch = Batch();
    const auto encode = road.Encoder();
    for (auto _ : state) {
        desktop::WorkPacer pacer([] {
            return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now().time_since_epoch())
                                                  .count());
        });
        desktop::BatchExport work(batch);
        while (!work.Finished()) {
            work.Step(encode);
            benchmark::DoNotOptimize(pacer.SliceOver());
        }
        benchmark::DoNotOptimize(work.Finish().data());
    }
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// "Generate" with Start 000001 and End 1000000: the sequence at once.
void BM_GenerateSequence(benchmark::State& state) {
    desktop::SequenceFields fields;
    fields.start = u"000001";
    fields.end = u"1000000";
    for (auto _ : state) {
        std::u16string batch;
        desktop::GenerateSequence(fields, batch);
        benchmark::DoNotOptimize(batch.data());
    }
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// The dialog's road for the same sequence: made a step at a time with the pacer asked after
// each, then cut into the pieces the batch field takes.
void BM_GenerateIntoPieces(benchmark::State& state) {
    desktop::SequenceFields fields;
    fields.start = u"000001";
    fields.end = u"1000000";
    for (auto _ : state) {
        desktop::WorkPacer pacer([] {
            return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now().time_since_epoch())
                                                  .count());
        });
        desktop::SequenceWork work(fields);
        while (!work.Finished()) {
            work.Step();
            benchmark::DoNotOptimize(pacer.SliceOver());
        }
        const std::u16string batch = work.Finish();
        desktop::BatchPieces cut(batch);
        while (!cut.Done()) benchmark::DoNotOptimize(cut.Next().data());
        benchmark::DoNotOptimize(cut.RecordsDone());
    }
    state.counters["records"] = kRecords;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(BM_GenerateSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateIntoPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTxtPaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTxt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXslFo)->Unit(benchmark::kMillisecond);

}  // namespace
