#include "skin/data/BitmapUtils.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvane {

namespace {
int ClampByte(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }
}  // namespace

Colour Blend(Colour colour1, Colour colour2, int weight, const SystemColourProvider& system) {
  colour1 = ResolveColour(colour1, system);
  colour2 = ResolveColour(colour2, system);
  // Callers pass per-mille weights from 100 up; below that the value is percent.
  const long long d = weight < 100 ? 100 : 1000;
  auto mix = [&](int ch1, int ch2) {
    // A weight above the divisor would push a channel outside a byte.
    return ClampByte((ch2 * (d - weight) + static_cast<long long>(ch1) * weight + d / 2) / d);
  };
  return Rgb(mix(RedOf(colour1), RedOf(colour2)), mix(GreenOf(colour1), GreenOf(colour2)),
             mix(BlueOf(colour1), BlueOf(colour2)));
}

int ColourSaturation(Colour colour) {
  const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  const int mx = std::max({r, g, b});
  const int mn = std::min({r, g, b});
  if (mx < 160) return 200;
  const double s = static_cast<double>(mx - mn) / mx;
  // lrint rounds halves to even under the default rounding mode.
  return static_cast<int>(std::lrint(s * 255.0));
}

std::vector<Colour> BuildGradientColours(int n, Colour c1, Colour c2) {
  std::vector<Colour> out;
  if (n <= 0) return out;
  out.reserve(static_cast<std::size_t>(n));
  const int dr = RedOf(c2) - RedOf(c1);
  const int dg = GreenOf(c2) - GreenOf(c1);
  const int db = BlueOf(c2) - BlueOf(c1);
  if (n == 1) {
    out.push_back(Rgb(ClampByte(RedOf(c1) + dr / 2), ClampByte(GreenOf(c1) + dg / 2),
                      ClampByte(BlueOf(c1) + db / 2)));
    return out;
  }
  const long long d = n - 1;
  for (long long i = 0; i < n; ++i) {
    // C++ division truncates toward zero, which is what the cache key relies on.
    auto step = [&](int base, int delta) { return ClampByte(base + (d / 2 + i * delta) / d); };
    out.push_back(Rgb(step(RedOf(c1), dr), step(GreenOf(c1), dg), step(BlueOf(c1), db)));
  }
  return out;
}

const std::vector<Colour>& GradientCache::Lookup(int n, Colour c1, Colour c2) {
  for (int i = kSlots - 1; i >= 0; --i) {
    const auto& slot = m_slots[static_cast<std::size_t>(i)];
    if (n > 0 && static_cast<int>(slot.size()) == n && slot.front() == c1 && slot.back() == c2)
      return slot;
  }
  auto& slot = m_slots[static_cast<std::size_t>(m_next)];
  slot = BuildGradientColours(n, c1, c2);
  m_next = (m_next + 1) % kSlots;
  return slot;
}

GradientCache& SharedGradientCache() {
  static GradientCache cache;
  return cache;
}

void GradientFill(SurfaceView target, const Rect& rect, Colour colour1, bool vertical,
                  Colour colour2, const SystemColourProvider& system) {
  const Rect visible = rect.Intersect(target.Bounds());
  if (visible.IsEmpty() || target.IsEmpty()) return;
  const int n = vertical ? rect.Height() : rect.Width();
  if (n <= 0) return;
  const auto& colours =
      SharedGradientCache().Lookup(n, ResolveColour(colour1, system), ResolveColour(colour2, system));
  // Only the bands inside the surface are painted, like a clipped device context.
  const int first = vertical ? visible.top - rect.top : visible.left - rect.left;
  const int last = vertical ? visible.bottom - rect.top : visible.right - rect.left;
  for (int i = first; i < last; ++i) {
    const Pixel p = PixelFromColour(colours[static_cast<std::size_t>(i)]);
    if (vertical) {
      Pixel* row = target.Row(rect.top + i);
      std::fill(row + visible.left, row + visible.right, p);
    } else {
      for (int y = visible.top; y < visible.bottom; ++y) target.At(rect.left + i, y) = p;
    }
  }
}

void ReplaceMagenta(Surface& bitmap, Colour colour) {
  const Pixel replacement = PixelFromColour(colour, 0) & 0x00FFFFFFu;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      Pixel& p = bitmap.At(x, y);
      if ((p & 0x00FFFFFFu) == 0x00FF00FFu) p = (p & 0xFF000000u) | replacement;
    }
}

void MirrorBitmap(Surface& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel* row = bitmap.View().Row(y);
    std::reverse(row, row + bitmap.Width());
  }
}

void FlipBitmap(Surface& bitmap) {
  const int h = bitmap.Height();
  for (int y = 0; y < h / 2; ++y) {
    Pixel* a = bitmap.View().Row(y);
    Pixel* b = bitmap.View().Row(h - 1 - y);
    std::swap_ranges(a, a + bitmap.Width(), b);
  }
}

void RotateBitmapLeft(Surface& bitmap) {
  const int oldW = bitmap.Width(), oldH = bitmap.Height();
  Surface turned(oldH, oldW);
  for (int y = 0; y < oldW; ++y)
    for (int x = 0; x < oldH; ++x) turned.At(x, y) = bitmap.At(oldW - 1 - y, x);
  bitmap = std::move(turned);
}

void RotateBitmapRight(Surface& bitmap) {
  const int oldW = bitmap.Width(), oldH = bitmap.Height();
  Surface turned(oldH, oldW);
  for (int y = 0; y < oldW; ++y)
    for (int x = 0; x < oldH; ++x) turned.At(x, y) = bitmap.At(y, oldH - 1 - x);
  bitmap = std::move(turned);
}

}  // namespace corvane
