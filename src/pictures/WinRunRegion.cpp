#include "pictures/WinRunRegion.h"

#include "pictures/OpaqueRuns.h"

namespace corvane {

UniqueRegion RegionFromRuns(const std::vector<Rect>& runs) {
  return BalancedFold<UniqueRegion>(
      runs.size(),
      [&runs](std::size_t i) {
        const Rect& r = runs[i];
        return UniqueRegion(CreateRectRgn(r.left, r.top, r.right, r.bottom));
      },
      [](UniqueRegion a, UniqueRegion b) {
        if (!a) return b;
        if (!b) return a;
        CombineRgn(a.Get(), a.Get(), b.Get(), RGN_OR);
        return a;
      });
}

}  // namespace corvane
