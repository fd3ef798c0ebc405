// Skin stream decoding beside zlib's inflate of the same bytes: the decoder
// runs once per program start, and should stay within a small factor of the
// field's usual decompressor.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include "skin/data/Lzh.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// About the size and texture of a skin package: 24-bit artwork with flat
// faces, gradients, bevels and a little dither, so it compresses about 6:1.
const Bytes& PackageLikeData() {
  static const Bytes data = [] {
    Bytes out;
    std::mt19937 rng(2026);
    const int width = 320;
    while (out.size() < 229500) {
      const int row = static_cast<int>(out.size() / (width * 3));
      for (int x = 0; x < width && out.size() < 229500; ++x) {
        std::uint8_t b = 0xEC, g = 0xE2, r = 0xE3;
        if ((row % 24) < 2 || x % 80 < 2) b = 0xA6, g = 0x5B, r = 0x40;
        else if (row % 48 > 30) b = static_cast<std::uint8_t>(0x90 + x / 4), g = static_cast<std::uint8_t>(0x80 + row % 48), r = 0x60;
        if (x % 80 > 60 && rng() % 4 == 0) b = static_cast<std::uint8_t>(b ^ (rng() & 7));
        out.push_back(b);
        out.push_back(g);
        out.push_back(r);
      }
    }
    return out;
  }();
  return data;
}

const Bytes& LzhCoded() {
  static const Bytes coded = corvane::LzhEncode(PackageLikeData());
  return coded;
}

const Bytes& ZlibCoded() {
  static const Bytes coded = [] {
    const Bytes& data = PackageLikeData();
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK)
      throw std::runtime_error("zlib compress failed");
    out.resize(size);
    return out;
  }();
  return coded;
}

Bytes Inflate(const Bytes& coded, std::size_t size) {
  Bytes out(size);
  uLongf outSize = static_cast<uLongf>(size);
  if (uncompress(out.data(), &outSize, coded.data(), static_cast<uLong>(coded.size())) != Z_OK || outSize != size)
    throw std::runtime_error("zlib uncompress failed");
  return out;
}

void BM_LzhDecodePackage(benchmark::State& state) {
  const Bytes& coded = LzhCoded();
  const std::size_t size = PackageLikeData().size();
  for (auto _ : state) benchmark::DoNotOptimize(corvane::LzhDecode(coded, size));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["compressed"] = static_cast<double>(coded.size());
}
BENCHMARK(BM_LzhDecodePackage)->Unit(benchmark::kMicrosecond);

void BM_ZlibInflatePackage(benchmark::State& state) {
  const Bytes& coded = ZlibCoded();
  const std::size_t size = PackageLikeData().size();
  for (auto _ : state) benchmark::DoNotOptimize(Inflate(coded, size));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["compressed"] = static_cast<double>(coded.size());
}
BENCHMARK(BM_ZlibInflatePackage)->Unit(benchmark::kMicrosecond);

// Both decoders in the same iteration, so the ratio compares like with like.
void BM_LzhDecodeOverInflate(benchmark::State& state) {
  const Bytes& lzh = LzhCoded();
  const Bytes& zlib = ZlibCoded();
  const std::size_t size = PackageLikeData().size();
  if (corvane::LzhDecode(lzh, size) != PackageLikeData() || Inflate(zlib, size) != PackageLikeData()) {
    state.SkipWithError("a decoder does not reproduce the data");
    return;
  }
  double lzhSeconds = 0;
  double zlibSeconds = 0;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(corvane::LzhDecode(lzh, size));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(Inflate(zlib, size));
    const auto t2 = Clock::now();
    lzhSeconds += std::chrono::duration<double>(t1 - t0).count();
    zlibSeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["lzh_us"] = 1e6 * lzhSeconds / n;
  state.counters["inflate_us"] = 1e6 * zlibSeconds / n;
  state.counters["lzh_over_inflate"] = zlibSeconds > 0 ? lzhSeconds / zlibSeconds : 0;
}
BENCHMARK(BM_LzhDecodeOverInflate)->Unit(benchmark::kMicrosecond);

void BM_LzhEncodePackage(benchmark::State& state) {
  const Bytes& data = PackageLikeData();
  std::size_t coded = 0;
  for (auto _ : state) {
    Bytes out = corvane::LzhEncode(data);
    coded = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.counters["ratio"] = static_cast<double>(data.size()) / static_cast<double>(coded);
}
BENCHMARK(BM_LzhEncodePackage)->Unit(benchmark::kMillisecond);

}  // namespace
