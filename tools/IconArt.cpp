// Draws Corvane's icon: a deep-blue rounded tile with a white launch arrow
// rising to the upper right and an amber spark at its tip. Shapes are signed
// distance tests, supersampled 8 x 8 per pixel, so every size is drawn from
// the same geometry rather than scaled from another size.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <vector>

#include "IcoWriter.h"
#include "core/Surface.h"

namespace {

using corvane::Pixel;
using corvane::Surface;

struct Rgba {
  double r, g, b, a;
};

// Geometry works in a unit square (0..1), y down.
double RoundedBoxDistance(double x, double y, double inset, double radius) {
  double cx = std::abs(x - 0.5) - (0.5 - inset - radius);
  double cy = std::abs(y - 0.5) - (0.5 - inset - radius);
  double ox = std::max(cx, 0.0), oy = std::max(cy, 0.0);
  return std::hypot(ox, oy) + std::min(std::max(cx, cy), 0.0) - radius;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool InTriangle(double px, double py, const double (&t)[6]) {
  auto side = [&](int i, int j) {
    return (t[j] - t[i]) * (py - t[i + 1]) - (t[j + 1] - t[i + 1]) * (px - t[i]);
  };
  double a = side(0, 2), b = side(2, 4), c = side(4, 0);
  return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
}

// The colour of one sample point, or transparent outside the tile.
Rgba Sample(double x, double y) {
  const double tile = RoundedBoxDistance(x, y, 0.03, 0.2);
  if (tile > 0) return {0, 0, 0, 0};
  // The arrow: a shaft from the lower left towards the upper right, and a head.
  static const double head[6] = {0.80, 0.20, 0.44, 0.27, 0.73, 0.56};
  if (InTriangle(x, y, head) || SegmentDistance(x, y, 0.25, 0.75, 0.66, 0.34) < 0.075) {
    const bool spark = std::hypot(x - 0.74, y - 0.26) < 0.1;
    return spark ? Rgba{255, 200, 72, 255} : Rgba{250, 251, 255, 255};
  }
  // A thin lighter rim just inside the edge gives the tile its bevel.
  if (tile > -0.045) return {40, 54, 116, 255};
  const double t = std::clamp(y, 0.0, 1.0);
  return {94 - 40 * t, 128 - 58 * t, 206 - 66 * t, 255};
}

Surface DrawIcon(int size) {
  constexpr int kSamples = 8;
  Surface s(size, size);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Rgba c = Sample((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      // Stored premultiplied-free: colour averaged over covered samples.
      Pixel out = 0;
      if (a > 0) {
        auto channel = [&](double v) { return static_cast<Pixel>(std::lround(v / a)); };
        const Pixel alpha = static_cast<Pixel>(std::lround(a / (kSamples * kSamples)));
        out = (alpha << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
      }
      s.At(px, py) = out;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: corvane_icon_art <output.ico>\n");
    return 2;
  }
  try {
    // 32, 16 and 48 first as always; then the sizes scaled displays ask
    // for (small icons at 125/150/200 %, the launcher at 125/200/300 %), so
    // the system never enlarges a smaller picture.
    corvane::tools::WriteIcoFile(argv[1], {DrawIcon(32), DrawIcon(16), DrawIcon(48), DrawIcon(20), DrawIcon(24),
                                           DrawIcon(40), DrawIcon(64), DrawIcon(96)});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane_icon_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
