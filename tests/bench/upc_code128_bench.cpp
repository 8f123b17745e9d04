// Encode speed of the UPC/EAN, Code 128 and GS1-128 encoders, server build.
#include <benchmark/benchmark.h>

#include <string>

#include "linear.h"

namespace {

void Run(benchmark::State& state, linear::EncodeFn fn, const std::u16string& text) {
    linear::Context ctx(linear::kServer);
    for (auto _ : state) benchmark::DoNotOptimize(fn(ctx, text.c_str()));
}

void BM_EAN13WithAddOn(benchmark::State& s) { Run(s, linear::EncodeEAN13, u"590123412345|52495"); }
void BM_Code128AutoMixed(benchmark::State& s) {
    std::u16string t;
    while (t.size() < 1000) t += u"Part 12345678 ab\x01";
    Run(s, linear::EncodeCode128Auto, t);
}
void BM_GS1128(benchmark::State& s) {
    Run(s, linear::EncodeGS1128, u"(01)12345678901231(10)ABC123(17)261231(21)XYZ0001");
}

BENCHMARK(BM_EAN13WithAddOn);
BENCHMARK(BM_Code128AutoMixed);
BENCHMARK(BM_GS1128);

}  // namespace
