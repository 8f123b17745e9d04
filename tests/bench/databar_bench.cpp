// GS1 DataBar: the 13-digit forms and the largest Expanded and Expanded Stacked symbols.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "matrix.h"

namespace {

using Encoder = int (*)(matrix::SymbolRecord&, const std::uint8_t*, std::size_t, matrix::Build);

void Run(benchmark::State& state, Encoder encode, int symbology, int pairs, const std::string& data) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    for (auto _ : state) {
        *rec = {};
        rec->symbology = symbology;
        rec->option2 = pairs;
        benchmark::DoNotOptimize(
            encode(*rec, reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), matrix::Build::Server));
    }
    if (rec->fontText[0] == 0) state.SkipWithError("not encoded");
}

int Limited(matrix::SymbolRecord& rec, const std::uint8_t* data, std::size_t length, matrix::Build) {
    return matrix::EncodeDatabarLimited(rec, data, length);
}

const matrix::SymbologyNumbers& N() { return matrix::Numbers(matrix::Build::Server); }

void BM_DatabarOmnidirectional(benchmark::State& state) {
    Run(state, matrix::EncodeDatabar, N().databarOmni, 0, "9999999999999");
}
BENCHMARK(BM_DatabarOmnidirectional);

void BM_DatabarStackedOmnidirectional(benchmark::State& state) {
    Run(state, matrix::EncodeDatabar, N().databarStackedOmni, 0, "9999999999999");
}
BENCHMARK(BM_DatabarStackedOmnidirectional);

void BM_DatabarLimited(benchmark::State& state) {
    Run(state, Limited, N().databarLimited, 0, "1999999999999");
}
BENCHMARK(BM_DatabarLimited);

// 252 bits, 22 symbol characters: the widest one-row symbol.
const std::string kLargest = "(01)90012345678908(10)ABCDEFGHIJKLMNOPQRST(21)ABCDE1";

void BM_DatabarExpandedLargest(benchmark::State& state) {
    Run(state, matrix::EncodeDatabarExpanded, N().databarExpanded, 0, kLargest);
}
BENCHMARK(BM_DatabarExpandedLargest);

void BM_DatabarExpandedStackedLargest(benchmark::State& state) {
    Run(state, matrix::EncodeDatabarExpanded, N().databarExpandedStacked, static_cast<int>(state.range(0)), kLargest);
}
BENCHMARK(BM_DatabarExpandedStackedLargest)->Arg(1)->Arg(2)->Arg(10);

// A compressed method: GTIN, weight and date in 34 digits.
void BM_DatabarExpandedCompressed(benchmark::State& state) {
    Run(state, matrix::EncodeDatabarExpanded, N().databarExpanded, 0, "(01)90012345678908(3103)012345(11)991231");
}
BENCHMARK(BM_DatabarExpandedCompressed);

}  // namespace
