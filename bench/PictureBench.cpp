// Picture decoding: a legitimately large picture that is a small file, and
// how quickly a tiny file claiming a huge picture is refused.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/Bmp.h"
#include "pictures/Png.h"

namespace {

std::vector<std::uint8_t> Fixture(const std::string& name) {
  std::ifstream in(std::string(CORVANE_FIXTURES) + "/pictures/large/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 4096 x 4096 of one colour, 2 KB on disk, 64 MiB decoded.
void BM_DecodeOneColour4096Png(benchmark::State& state) {
  const auto file = Fixture("one-colour-4096.png");
  for (auto _ : state) {
    corvane::Surface s = corvane::DecodePng(file);
    benchmark::DoNotOptimize(s.At(4095, 4095));
  }
  state.SetBytesProcessed(state.iterations() * 4096LL * 4096 * 4);
}
BENCHMARK(BM_DecodeOneColour4096Png)->Unit(benchmark::kMillisecond);

// The largest picture allowed: an 8K screen, 4 KB on disk, 133 MB decoded.
void BM_DecodeOneColour8kPng(benchmark::State& state) {
  const auto file = Fixture("one-colour-8k.png");
  for (auto _ : state) {
    corvane::Surface s = corvane::DecodePng(file);
    benchmark::DoNotOptimize(s.At(0, 0));
  }
}
BENCHMARK(BM_DecodeOneColour8kPng)->Unit(benchmark::kMillisecond);

// A 99-byte PNG and a 72-byte RLE bitmap claiming 5000 x 5000: refused
// before any canvas exists.
void BM_RefuseClaim(benchmark::State& state,
                    corvane::Surface (*decode)(std::span<const std::uint8_t>), const char* name) {
  const auto file = Fixture(name);
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(decode(file));
    } catch (const corvane::PictureFormatError&) {
    }
  }
}
BENCHMARK_CAPTURE(BM_RefuseClaim, png, &corvane::DecodePng, "claims-5000.png")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefuseClaim, rle8, &corvane::DecodeBmp, "claims-5000-rle8.bmp")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
