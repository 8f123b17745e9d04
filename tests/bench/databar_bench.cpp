// GS1 DataBar: the 13-digit forms and the largest Expanded and Expanded Stacked symbols.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

using matrix::Symbol;

void Run(benchmark::State& state, Symbol kind, int pairs, const std::string& data) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    const auto bytes = testing_support::AsBytes(data);
    for (auto _ : state) {
        *rec = {};
        rec->option2 = pairs;
        benchmark::DoNotOptimize(matrix::EncodeSymbol(kind, *rec, bytes, matrix::Call::Server(false)));
    }
    if (rec->fontText[0] == 0) state.SkipWithError("not encoded");
}

void BM_DatabarOmnidirectional(benchmark::State& state) {
    Run(state, Symbol::DatabarOmni, 0, "9999999999999");
}
BENCHMARK(BM_DatabarOmnidirectional);

void BM_DatabarStackedOmnidirectional(benchmark::State& state) {
    Run(state, Symbol::DatabarStackedOmni, 0, "9999999999999");
}
BENCHMARK(BM_DatabarStackedOmnidirectional);

void BM_DatabarLimited(benchmark::State& state) {
    Run(state, Symbol::DatabarLimited, 0, "1999999999999");
}
BENCHMARK(BM_DatabarLimited);

// 252 bits, 22 symbol characters: the widest one-row symbol.
const std::string kLargest = "(01)90012345678908(10)ABCDEFGHIJKLMNOPQRST(21)ABCDE1";

void BM_DatabarExpandedLargest(benchmark::State& state) {
    Run(state, Symbol::DatabarExpanded, 0, kLargest);
}
BENCHMARK(BM_DatabarExpandedLargest);

void BM_DatabarExpandedStackedLargest(benchmark::State& state) {
    Run(state, Symbol::DatabarExpandedStacked, static_cast<int>(state.range(0)), kLargest);
}
BENCHMARK(BM_DatabarExpandedStackedLargest)->Arg(1)->Arg(2)->Arg(10);

// A compressed method: GTIN, weight and date in 34 digits.
void BM_DatabarExpandedCompressed(benchmark::State& state) {
    Run(state, Symbol::DatabarExpanded, 0, "(01)90012345678908(3103)012345(11)991231");
}
BENCHMARK(BM_DatabarExpandedCompressed);

}  // namespace
