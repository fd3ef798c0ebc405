// How fast the program gets from its embedded skin stream to drawable
// elements, and what our stream coding costs beside zlib on the same bytes.
// Target: a full load of the stored skin in at most 10 ms (median), and LZH
// decoding within about three times zlib's inflate.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/Lzh.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/SkinScaling.h"

#ifdef CORVANE_STORED_SKIN
namespace {

using namespace corvane;

const std::vector<std::uint8_t>& StoredSkin() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::ifstream f(CORVANE_STORED_SKIN, std::ios::binary);
    std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    if (b.size() < 4) {
      std::fprintf(stderr, "cannot read the stored skin %s\n", CORVANE_STORED_SKIN);
      std::exit(1);
    }
    return b;
  }();
  return bytes;
}

// Decode, index and parse the stream into skin; false when it does not load.
bool LoadStoredSkin(const std::vector<std::uint8_t>& stream, SkinDefinition& skin) {
  TSkinReader reader;
  if (!reader.Load(stream)) return false;
  std::vector<std::uint8_t> iniBytes;
  std::string name;
  if (!reader.ExtractFirstContaining(".ini", iniBytes, name)) return false;
  TQuickIni ini;
  ini.LoadFromStream(std::span<const std::uint8_t>(iniBytes));
  skin.ParseSkin(ini, PackageSkinFiles(reader));
  return true;
}

// Decode, index, parse (every picture decoded) and the derived elements:
// everything the skin component does before the first window is skinned.
void BM_StoredSkinFullLoad(benchmark::State& state) {
  const auto& stream = StoredSkin();
  for (auto _ : state) {
    SkinDefinition skin;
    if (!LoadStoredSkin(stream, skin)) state.SkipWithError("the stored skin does not load");
    benchmark::DoNotOptimize(skin.Colours);
  }
}
BENCHMARK(BM_StoredSkinFullLoad)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The skin at a DPI the program has not shown yet: every picture of the
// stored skin scaled, every metric with it (done once per DPI in use).
// Target: under 10 ms for any DPI.
void BM_StoredSkinScaledToDpi(benchmark::State& state) {
  SkinDefinition skin;
  if (!LoadStoredSkin(StoredSkin(), skin)) state.SkipWithError("the stored skin does not load");
  const int dpi = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ScaleSkin(skin, dpi));
}
BENCHMARK(BM_StoredSkinScaledToDpi)->Arg(120)->Arg(144)->Arg(168)->Arg(192)->Arg(288)->Unit(benchmark::kMillisecond);

// The same from the sets the program carries: the set drawn for the DPI (or
// the nearest larger one, 132 and 216 here) decoded and parsed, its pictures
// checked and, between sets, taken down by the filter (the dearest case:
// the larger set has more pixels to average). Made once per DPI in use.
void BM_StoredSkinAtDpiFromSets(benchmark::State& state) {
  SkinDefinition skin;
  if (!LoadStoredSkin(StoredSkin(), skin)) state.SkipWithError("the stored skin does not load");
  static const std::vector<std::vector<std::uint8_t>> streams = [] {
    std::vector<std::vector<std::uint8_t>> out;
    for (int dpi : {120, 144, 168, 192, 240, 288}) {
      std::string path = CORVANE_STORED_SKIN;
      path.replace(path.rfind("stored.skn"), 10, "stored-" + std::to_string(dpi) + ".skn");
      std::ifstream f(path, std::ios::binary);
      out.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return out;
  }();
  const int dpis[] = {120, 144, 168, 192, 240, 288};
  std::vector<ScaledSkinStream> sets;
  for (std::size_t i = 0; i < streams.size(); ++i) sets.push_back({dpis[i], streams[i]});
  const int dpi = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(SkinAtDpi(skin, dpi, sets));
}
BENCHMARK(BM_StoredSkinAtDpiFromSets)->Arg(120)->Arg(132)->Arg(144)->Arg(192)->Arg(216)->Arg(288)->Unit(benchmark::kMillisecond);

std::vector<std::uint8_t> Deflated(const std::vector<std::uint8_t>& package) {
  uLongf size = compressBound(package.size());
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, package.data(), package.size(), 9) != Z_OK) std::abort();
  out.resize(size);
  return out;
}

bool Inflate(const std::vector<std::uint8_t>& deflated, std::vector<std::uint8_t>& out) {
  uLongf size = out.size();
  return uncompress(out.data(), &size, deflated.data(), deflated.size()) == Z_OK && size == out.size();
}

void BM_StoredSkinLzhDecode(benchmark::State& state) {
  const auto& stream = StoredSkin();
  for (auto _ : state) benchmark::DoNotOptimize(DecodeSkinStream(stream));
  state.SetBytesProcessed(state.iterations() * DecodeSkinStream(stream).size());
}
BENCHMARK(BM_StoredSkinLzhDecode)->Unit(benchmark::kMicrosecond);

void BM_StoredSkinZlibInflate(benchmark::State& state) {
  const std::vector<std::uint8_t> package = DecodeSkinStream(StoredSkin());
  const std::vector<std::uint8_t> deflated = Deflated(package);
  std::vector<std::uint8_t> out(package.size());
  for (auto _ : state) {
    if (!Inflate(deflated, out)) state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * package.size());
}
BENCHMARK(BM_StoredSkinZlibInflate)->Unit(benchmark::kMicrosecond);

// Both decoders interleaved in one loop, so the ratio compares like with like
// (same cache state, same machine load); also reports both compressed sizes.
void BM_StoredSkinLzhVersusInflate(benchmark::State& state) {
  const auto& stream = StoredSkin();
  const std::vector<std::uint8_t> package = DecodeSkinStream(stream);
  const std::vector<std::uint8_t> deflated = Deflated(package);
  std::vector<std::uint8_t> out(package.size());
  using Clock = std::chrono::steady_clock;
  Clock::duration lzh{}, zlib{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    auto decoded = DecodeSkinStream(stream);
    const auto t1 = Clock::now();
    if (!Inflate(deflated, out) || decoded != out) state.SkipWithError("decoders disagree");
    const auto t2 = Clock::now();
    lzh += t1 - t0;
    zlib += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  const double lzhUs = std::chrono::duration<double, std::micro>(lzh).count() / n;
  const double zlibUs = std::chrono::duration<double, std::micro>(zlib).count() / n;
  state.counters["lzh_us"] = lzhUs;
  state.counters["inflate_us"] = zlibUs;
  state.counters["lzh_over_inflate"] = zlibUs > 0 ? lzhUs / zlibUs : 0;
  state.counters["lzh_bytes"] = static_cast<double>(stream.size());
  state.counters["deflate_bytes"] = static_cast<double>(deflated.size());
  state.counters["package_bytes"] = static_cast<double>(package.size());
}
BENCHMARK(BM_StoredSkinLzhVersusInflate)->Unit(benchmark::kMicrosecond);

}  // namespace
#endif  // CORVANE_STORED_SKIN
