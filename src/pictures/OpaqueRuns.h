// The opaque runs of a picture: per row, each maximal stretch of pixels
// whose colour differs from the transparent colour. They make the shape of
// a window that shows only its picture. Portable: no system headers.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/Geometry.h"
#include "core/Surface.h"
#include "pictures/PictureAlpha.h"

namespace corvane {

// The colour that counts as see-through when none was set: the bottom-left
// pixel's red, green and blue (0x00RRGGBB as stored in a Pixel); black for
// an empty surface.
std::uint32_t DefaultTransparentRgb(const SurfaceView& pixels);

// One rectangle per maximal run of pixels whose low 24 bits differ from
// transparentRgb: left, y, right (exclusive), y + 1. Rows top to bottom,
// runs left to right; a run reaching the row's end ends at the width.
std::vector<Rect> OpaqueRuns(const SurfaceView& pixels, std::uint32_t transparentRgb);

// The same runs for a picture with alpha: its visible pixels (IsVisible),
// whatever their colour. The window's shape and its hit mask.
std::vector<Rect> VisibleRuns(const SurfaceView& pixels);

// One rectangle per maximal run of pixels `inside` accepts, rows top to
// bottom, runs left to right.
template <typename Inside>
std::vector<Rect> RunsWhere(const SurfaceView& pixels, Inside inside) {
  std::vector<Rect> runs;
  if (pixels.IsEmpty()) return runs;
  for (int y = 0; y < pixels.height; ++y) {
    const Pixel* row = pixels.Row(y);
    int x = 0;
    while (x < pixels.width) {
      while (x < pixels.width && !inside(row[x])) ++x;
      if (x == pixels.width) break;
      const int start = x;
      while (x < pixels.width && inside(row[x])) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  return runs;
}

// Combines leaves in order into one value by merging neighbours pairwise, as
// a balanced binary tree, while holding at most about log2(n) partial results
// at once (regions are scarce handles). merge(a, b) must return a combined
// with b, a coming first. Returns T{} for no leaves.
template <typename T, typename MakeLeaf, typename Merge>
T BalancedFold(std::size_t count, MakeLeaf makeLeaf, Merge merge) {
  // A binary counter of partial results: entry k covers 2^k leaves.
  std::vector<std::pair<T, unsigned>> stack;
  for (std::size_t i = 0; i < count; ++i) {
    T value = makeLeaf(i);
    unsigned level = 0;
    while (!stack.empty() && stack.back().second == level) {
      value = merge(std::move(stack.back().first), std::move(value));
      stack.pop_back();
      ++level;
    }
    stack.emplace_back(std::move(value), level);
  }
  if (stack.empty()) return T{};
  T result = std::move(stack.back().first);
  stack.pop_back();
  while (!stack.empty()) {
    result = merge(std::move(stack.back().first), std::move(result));
    stack.pop_back();
  }
  return result;
}

}  // namespace corvane
