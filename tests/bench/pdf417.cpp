// PDF417: the largest symbol and a 1,000-byte text.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

void Run(benchmark::State& state, const std::string& data, int level, int columns) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    for (auto _ : state) {
        *rec = {};
        rec->symbology = 20;
        rec->option1 = level;
        rec->option2 = columns;
        benchmark::DoNotOptimize(
            matrix::EncodePDF417(*rec, testing_support::AsBytes(data), matrix::Call::Server(true)));
    }
    if (rec->fontText[0] == 0) state.SkipWithError("not encoded");
}

// 1,000 bytes fill 834 data codewords; with level 5 (64) and 30 columns that is 900 codewords
// in 30 rows, the widest symbol.
void BM_Pdf417Largest(benchmark::State& state) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>(128 + i % 128);
    Run(state, data, 5, 30);
}
BENCHMARK(BM_Pdf417Largest);

// The most check codewords: level 8 (512) after 480 bytes (401 data codewords).
void BM_Pdf417Level8(benchmark::State& state) {
    std::string data;
    for (int i = 0; i < 480; ++i) data += static_cast<char>(128 + i % 128);
    Run(state, data, 8, 0);
}
BENCHMARK(BM_Pdf417Level8);

void BM_Pdf417Text1000(benchmark::State& state) {
    std::string data;
    const char* words = "The quick brown fox, 1234 jumps over the lazy dog; ";
    while (data.size() < 1000) data += words;
    data.resize(1000);
    Run(state, data, -1, 0);
}
BENCHMARK(BM_Pdf417Text1000);

}  // namespace
