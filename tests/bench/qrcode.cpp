// QR Code and Micro QR encode times: the largest symbols with full data and a typical URL.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "matrix.h"
#include "support/encode_texts.h"

namespace {

void Encode(benchmark::State& state, const std::string& data, int level,
            matrix::RecordEncoder fn) {
    auto rec = std::make_unique<matrix::SymbolRecord>();
    for (auto _ : state) {
        *rec = matrix::SymbolRecord{};
        rec->option1 = level;
        const int result = fn(*rec, testing_support::AsBytes(data), matrix::Call::Server(true));
        benchmark::DoNotOptimize(result);
        if (result != matrix::kSuccess) state.SkipWithError("encode failed");
    }
}

std::string Bytes(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

void BM_QrVersion40LevelL(benchmark::State& state) { Encode(state, Bytes(2953), 1, matrix::EncodeQRCode); }
void BM_QrVersion40LevelH(benchmark::State& state) { Encode(state, Bytes(1273), 4, matrix::EncodeQRCode); }
void BM_QrUrl50Bytes(benchmark::State& state) {
    Encode(state, "https://www.example.com/products/item?id=123456789", 1, matrix::EncodeQRCode);
}
// A 62-byte URL at level M (version 4).
void BM_QrUrl62LevelM(benchmark::State& state) {
    Encode(state, "https://www.example.com/catalogue/products/item?id=1234&ref=qr", 2, matrix::EncodeQRCode);
}
void BM_MicroQrM4(benchmark::State& state) { Encode(state, "12345678901234567890123456789012345", 1, matrix::EncodeMicroQRCode); }

}  // namespace

BENCHMARK(BM_QrVersion40LevelL);
BENCHMARK(BM_QrVersion40LevelH);
BENCHMARK(BM_QrUrl50Bytes);
BENCHMARK(BM_QrUrl62LevelM);
BENCHMARK(BM_MicroQrM4);
