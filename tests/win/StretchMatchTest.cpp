// The core's stretch against the window system's colour-on-colour StretchBlt.
// The skin composes some surfaces in the core and blits others with GDI side
// by side, so both must pick the very same source pixel for every target
// pixel; a single shifted column shows as a seam.
#include "core/Surface.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "pictures/WinSurface.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {
namespace {

constexpr int kMaxLength = 70;
// Room around the rectangles so offsets and untouched borders are compared too.
constexpr int kPad = 5;
constexpr int kSide = kMaxLength + 2 * kPad;
// Red and green carry the source column and row plus one, so no source pixel
// has red 0 and this marker can only come from a pixel nobody wrote.
constexpr Pixel kUntouched = 0xFF0000EE;
constexpr Pixel kColourMask = 0x00FFFFFF;

Pixel SourcePixel(int x, int y) {
  return 0xFF000000u | (Pixel(x + 1) << 16) | (Pixel(y + 1) << 8) | 0x5Au;
}

std::string Describe(const Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

std::string DescribePixel(Pixel p) {
  if ((p & kColourMask) == (kUntouched & kColourMask)) return "untouched";
  return "source " + std::to_string(int((p >> 16) & 0xFF) - 1) + "," +
         std::to_string(int((p >> 8) & 0xFF) - 1);
}

class StretchMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(source.Valid());
    ASSERT_TRUE(gdi.Valid());
    const SurfaceView view = source.View();
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) view.At(x, y) = SourcePixel(x, y);
  }

  // Stretches srcRect onto dstRect both ways and returns the first difference
  // anywhere on the destination, or an empty string when the two agree.
  std::string Compare(const Rect& dstRect, const Rect& srcRect) {
    gdi.View().Fill(kUntouched);
    core.View().Fill(kUntouched);
    if (SetStretchBltMode(gdi.Dc(), COLORONCOLOR) == 0) return "SetStretchBltMode failed";
    if (!StretchBlt(gdi.Dc(), dstRect.left, dstRect.top, dstRect.Width(), dstRect.Height(),
                    source.Dc(), srcRect.left, srcRect.top, srcRect.Width(), srcRect.Height(),
                    SRCCOPY))
      return "StretchBlt failed for " + Describe(srcRect) + " -> " + Describe(dstRect);
    // GDI may batch; the pixels are only ours to read after a flush.
    GdiFlush();
    StretchCopy(core.View(), dstRect, source.View(), srcRect);
    const std::string difference = FirstDifference();
    return difference.empty() ? difference
                              : Describe(srcRect) + " -> " + Describe(dstRect) + " at " + difference;
  }

  // Where the two destinations first differ in colour, or empty.
  std::string FirstDifference() const {
    const SurfaceView g = gdi.View();
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const Pixel want = g.At(x, y) & kColourMask;
        const Pixel got = core.At(x, y) & kColourMask;
        if (want != got)
          return std::to_string(x) + "," + std::to_string(y) + ": window system " +
                 DescribePixel(want) + ", core " + DescribePixel(got);
      }
    return {};
  }

  // Runs every case and fails once, listing the first few differences.
  void ExpectAllMatch(const std::vector<std::pair<Rect, Rect>>& cases) {
    std::vector<std::string> failures;
    for (const auto& [dst, src] : cases) {
      std::string failure = Compare(dst, src);
      if (!failure.empty()) failures.push_back(std::move(failure));
    }
    std::string report;
    for (std::size_t i = 0; i < failures.size() && i < 12; ++i) report += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << cases.size()
                                  << " stretches differ:\n" << report;
  }

  OffscreenSurface source{kSide, kSide};
  OffscreenSurface gdi{kSide, kSide};
  Surface core{kSide, kSide};
};

TEST_F(StretchMatch, EveryWidthShrunkOrGrownToEveryOther) {
  std::vector<std::pair<Rect, Rect>> cases;
  for (int sw = 1; sw <= kMaxLength; ++sw)
    for (int dw = 1; dw <= kMaxLength; ++dw)
      cases.push_back({Rect::FromSize(kPad, kPad, dw, 3), Rect::FromSize(kPad, kPad, sw, 3)});
  ExpectAllMatch(cases);
}

TEST_F(StretchMatch, EveryHeightShrunkOrGrownToEveryOther) {
  std::vector<std::pair<Rect, Rect>> cases;
  for (int sh = 1; sh <= kMaxLength; ++sh)
    for (int dh = 1; dh <= kMaxLength; ++dh)
      cases.push_back({Rect::FromSize(kPad, kPad, 2, dh), Rect::FromSize(kPad, kPad, 2, sh)});
  ExpectAllMatch(cases);
}

TEST_F(StretchMatch, BothAxesAtOddRatiosAndOffsets) {
  // Skin cells sit anywhere in a strip and land anywhere on a canvas, so the
  // rectangles start away from the origin on both sides.
  const int lengths[] = {1, 2, 3, 5, 7, 11, 16, 23, 33, 47, 64, 69, 70};
  std::vector<std::pair<Rect, Rect>> cases;
  int shift = 0;
  for (int sw : lengths)
    for (int sh : lengths)
      for (int dw : lengths)
        for (int dh : lengths) {
          shift = (shift + 1) % kPad;
          cases.push_back({Rect::FromSize(kPad - shift, shift, dw, dh),
                           Rect::FromSize(shift, kPad - shift, sw, sh)});
        }
  ExpectAllMatch(cases);
}

TEST_F(StretchMatch, ClippedDestinationKeepsTheMapping) {
  // A stretched element hanging over the canvas edge must show the same
  // pixels as the unclipped one does where it is visible.
  std::vector<std::pair<Rect, Rect>> cases;
  const int lengths[] = {3, 7, 13, 29, 50, 70};
  for (int sw : lengths)
    for (int dw : lengths)
      for (int overhang : {1, 2, 6}) {
        cases.push_back({Rect::FromSize(-overhang, -overhang, dw + kPad, dw),
                         Rect::FromSize(kPad, kPad, sw, sw)});
        cases.push_back({Rect::FromSize(kSide - dw + overhang, kSide - dw + overhang, dw, dw),
                         Rect::FromSize(kPad, kPad, sw, sw)});
      }
  ExpectAllMatch(cases);
}

TEST_F(StretchMatch, ComparisonNoticesOneWrongPixel) {
  // Every test above passes only if no difference is found, so the
  // comparison itself must see a single wrong pixel and name it.
  const Rect rect = Rect::FromSize(kPad, kPad, 9, 4);
  ASSERT_EQ(Compare(rect, rect), "");
  // Unscaled, the window system copies the coded grid as it is.
  EXPECT_EQ(gdi.View().At(kPad + 3, kPad + 1) & kColourMask,
            SourcePixel(kPad + 3, kPad + 1) & kColourMask);
  EXPECT_EQ(gdi.View().At(kPad - 1, kPad) & kColourMask, kUntouched & kColourMask);
  core.At(kPad + 3, kPad + 1) = SourcePixel(kPad + 4, kPad + 1);
  EXPECT_EQ(FirstDifference(), "8,6: window system source 8,6, core source 9,6");
  core.At(kPad + 3, kPad + 1) = SourcePixel(kPad + 3, kPad + 1);
  core.At(0, kSide - 1) = SourcePixel(0, 0);
  EXPECT_EQ(FirstDifference(), "0,79: window system untouched, core source 0,0");
}

}  // namespace
}  // namespace corvane
