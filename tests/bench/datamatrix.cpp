// Data Matrix: the largest symbol and a 1,000-byte automatic encodation.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

void BM_DataMatrix144(benchmark::State& state) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    const std::string data(3000, '7');  // 1,500 digit pairs: 144 x 144
    for (auto _ : state) {
        const int r = matrix::EncodeDataMatrix(*rec, testing_support::AsBytes(data),
                                               matrix::Call::Server(true));
        benchmark::DoNotOptimize(r);
        if (rec->rows != 144) state.SkipWithError("not 144 x 144");
    }
}
BENCHMARK(BM_DataMatrix144);

void BM_DataMatrixAuto1000(benchmark::State& state) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    std::mt19937 rng(1);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 abcdefghijklmnopqrstuvwxyz.,-*>\r\x81\xE9";
    std::string data(1000, ' ');
    for (char& c : data) c = alphabet[rng() % alphabet.size()];
    for (auto _ : state) {
        const int r = matrix::EncodeDataMatrix(*rec, testing_support::AsBytes(data),
                                               matrix::Call::Server(true));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DataMatrixAuto1000);

}  // namespace
