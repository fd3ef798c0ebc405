// The store re-validates its parsed file on every operation instead of
// parsing again; the menu build (list sections, read Link of each of 1000
// links) must cost at most three parses of the same file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "launcher/IniDocument.h"
#include "launcher/LinkStore.h"

namespace corvane {
namespace {

std::string ThousandLinkStoreText() {
  std::string text = "[GRAPHIC]\r\nFile=C:\\Pictures\\launcher.png\r\nLeft=1210\r\nTop=38\r\n";
  for (int i = 0; i < 1000; ++i) {
    std::string n = std::to_string(i);
    text += "\r\n[Program " + n + "]\r\nLink=C:\\Program Files\\Vendor " + n + "\\Tool" + n +
            "\\tool" + n + ".exe\r\nParam=/open \"C:\\Users\\me\\Documents\\file" + n +
            ".txt\"\r\n";
    if (i % 4 == 0) text += "RunWith=Program " + std::to_string(i + 1) + ",\"My Notes\"\r\n";
  }
  return text;
}

// The file the store benchmarks read, written once per run.
const std::string& StorePath() {
  static const std::string path = [] {
    auto file = std::filesystem::temp_directory_path() / "corvane-bench-1000-links.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << ThousandLinkStoreText();
    return file.string();
  }();
  return path;
}

size_t MenuBuildPass(LinkStore& store) {
  std::vector<std::string> sections;
  store.ReadSections(sections);
  size_t total = 0;
  for (const std::string& name : MenuLinkNames(sections))
    total += store.ReadString(name, "Link", "").size();
  return total;
}

void BM_ParseThousandLinks(benchmark::State& state) {
  const std::string text = ThousandLinkStoreText();
  for (auto _ : state) {
    IniDocument doc = IniDocument::Parse(text);
    benchmark::DoNotOptimize(doc);
  }
}
BENCHMARK(BM_ParseThousandLinks);

// A freshly opened store: one file read and parse, then 1001 cheap checks.
void BM_MenuBuildFreshStore(benchmark::State& state) {
  for (auto _ : state) {
    LinkStore store;
    store.Open(StorePath());
    benchmark::DoNotOptimize(MenuBuildPass(store));
  }
}
BENCHMARK(BM_MenuBuildFreshStore);

// An open store whose file has not changed: only the checks and lookups.
void BM_MenuBuildOpenStore(benchmark::State& state) {
  LinkStore store;
  store.Open(StorePath());
  for (auto _ : state) benchmark::DoNotOptimize(MenuBuildPass(store));
}
BENCHMARK(BM_MenuBuildOpenStore);

// Both measured side by side; "ratio" is the fresh-store pass over one parse.
void BM_MenuBuildToParseRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const std::string text = ThousandLinkStoreText();
  Clock::duration parse{}, pass{};
  for (auto _ : state) {
    auto t0 = Clock::now();
    IniDocument doc = IniDocument::Parse(text);
    benchmark::DoNotOptimize(doc);
    auto t1 = Clock::now();
    LinkStore store;
    store.Open(StorePath());
    benchmark::DoNotOptimize(MenuBuildPass(store));
    auto t2 = Clock::now();
    parse += t1 - t0;
    pass += t2 - t1;
  }
  double ratio = static_cast<double>(pass.count()) / static_cast<double>(parse.count());
  state.counters["ratio"] = ratio;
  state.counters["goal"] = 3.0;
  std::printf("menu build over 1000 links / one parse = %.2f (goal <= 3)\n", ratio);
}
BENCHMARK(BM_MenuBuildToParseRatio);

}  // namespace
}  // namespace corvane
