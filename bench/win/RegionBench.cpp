// Times building a window region from the opaque runs of a 1024 x 1024
// picture two ways in the same run: one balanced tree of unions (what the
// picture control does) and one union per run. Prints both times, the
// speed-up and whether the two regions are equal. Exit code 1 if they differ.
#include "core/Geometry.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "pictures/OpaqueRuns.h"
#include "pictures/WinRunRegion.h"
#include "core/Surface.h"

using namespace corvane;

namespace {

// Runs of 3 opaque pixels every 10, shifted per row so no two neighbouring
// rows share a band: about 103 runs per row, 105 000 in all.
Surface MakePicture() {
  Surface s(1024, 1024, 0xFFFFFFFF);
  for (int y = 0; y < 1024; ++y)
    for (int x = (y * 3) % 10; x < 1024; x += 10)
      for (int k = 0; k < 3 && x + k < 1024; ++k) s.At(x + k, y) = 0xFF203040;
  // The bottom-left pixel is the key: keep it white.
  s.At(0, 1023) = 0xFFFFFFFF;
  return s;
}

UniqueRegion OneUnionPerRun(const std::vector<Rect>& runs) {
  UniqueRegion result;
  for (const Rect& r : runs) {
    UniqueRegion next(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (!result) {
      result = std::move(next);
      continue;
    }
    CombineRgn(result.Get(), result.Get(), next.Get(), RGN_OR);
  }
  return result;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
  Surface picture = MakePicture();
  std::vector<Rect> runs = OpaqueRuns(picture.View(), DefaultTransparentRgb(picture.View()));
  std::printf("picture 1024 x 1024, %zu runs\n", runs.size());

  auto t0 = std::chrono::steady_clock::now();
  UniqueRegion tree = RegionFromRuns(runs);
  auto t1 = std::chrono::steady_clock::now();
  UniqueRegion naive = OneUnionPerRun(runs);
  auto t2 = std::chrono::steady_clock::now();

  double treeSeconds = Seconds(t1 - t0), naiveSeconds = Seconds(t2 - t1);
  bool equal = tree && naive && EqualRgn(tree.Get(), naive.Get());
  std::printf("balanced tree: %.3f s\none union per run: %.3f s\nspeed-up: %.1f x\nregions equal: %s\n",
              treeSeconds, naiveSeconds, treeSeconds > 0 ? naiveSeconds / treeSeconds : 0.0,
              equal ? "yes" : "NO");
  return equal ? 0 : 1;
}
