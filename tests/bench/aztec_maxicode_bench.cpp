// Encode times of the Aztec and Maxicode encoders.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

void BM_AztecText(benchmark::State& state) {
    std::string data;
    while (data.size() < static_cast<std::size_t>(state.range(0))) data += "Aztec Code 24778: mixed TEXT, 12345! ";
    data.resize(static_cast<std::size_t>(state.range(0)));
    auto rec = std::make_unique<matrix::SymbolRecord>();
    for (auto _ : state) {
        rec->option1 = 1;
        benchmark::DoNotOptimize(matrix::EncodeAztec(*rec, testing_support::AsBytes(data), matrix::Call::Server(true)));
    }
}
BENCHMARK(BM_AztecText)->Arg(20)->Arg(300)->Arg(1500)->Arg(2000);

void BM_Maxicode(benchmark::State& state) {
    const std::string data = "MAXICODE mode 4 data, lower case and 123456789 \xe9\xe0";
    auto rec = std::make_unique<matrix::SymbolRecord>();
    for (auto _ : state) {
        rec->option1 = 4;
        benchmark::DoNotOptimize(matrix::EncodeMaxicode(*rec, testing_support::AsBytes(data), matrix::Call::Server(true)));
    }
}
BENCHMARK(BM_Maxicode);

}  // namespace
