// Encode speed of the Intelligent Mail encoder (each encode builds its object and tables)
// and of a long Interleaved 2 of 5 text.
#include <benchmark/benchmark.h>

#include <string>

#include "intelligent_mail.h"
#include "linear.h"

namespace {

void BM_IntelligentMail(benchmark::State& state) {
    for (auto _ : state) {
        matrix::IntelligentMailEncoder im;
        benchmark::DoNotOptimize(im.Encode(u"01234567094987654321", u"01234567891"));
    }
}
BENCHMARK(BM_IntelligentMail);

void BM_I25Check2000Digits(benchmark::State& state) {
    linear::Context ctx(linear::kServer);
    const std::u16string digits(2000, u'7');
    for (auto _ : state) benchmark::DoNotOptimize(linear::EncodeI25Check(ctx, digits.c_str()));
}
BENCHMARK(BM_I25Check2000Digits);

}  // namespace
