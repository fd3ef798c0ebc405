#include "pictures/PictureResize.h"

#include <algorithm>
#include <cmath>

#include "core/DpiScale.h"
#include "pictures/PictureFormat.h"

namespace corvane {

namespace {

// Where an output pixel's centre falls in the source, in 1/256 source
// pixels, measured from the first source pixel's centre.
int SourcePosition(int out, int outLength, int sourceLength) {
  const long long numerator = (2LL * out + 1) * sourceLength * 256;
  return static_cast<int>(numerator / (2LL * outLength)) - 128;
}

// The four source pixels around an output pixel's centre, with weights
// summing to 65536, and the one nearest to it.
struct Taps {
  struct Tap {
    int x, y, weight;
  } tap[4];
  int nearestX, nearestY;
};

// Calls pixel(taps) for every output pixel of a width x height picture
// (each at least 1) sampled from `picture`, which must not be empty.
template <typename PixelOf>
Surface Resample(const SurfaceView& picture, int width, int height, PixelOf pixel) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  Surface out(width, height);
  if (picture.IsEmpty()) return out;
  for (int y = 0; y < height; ++y) {
    const int sy = std::clamp(SourcePosition(y, height, picture.height), 0, (picture.height - 1) * 256);
    const int y0 = sy / 256, y1 = std::min(y0 + 1, picture.height - 1), fy = sy % 256;
    for (int x = 0; x < width; ++x) {
      const int sx = std::clamp(SourcePosition(x, width, picture.width), 0, (picture.width - 1) * 256);
      const int x0 = sx / 256, x1 = std::min(x0 + 1, picture.width - 1), fx = sx % 256;
      const Taps taps{{{x0, y0, (256 - fx) * (256 - fy)},
                       {x1, y0, fx * (256 - fy)},
                       {x0, y1, (256 - fx) * fy},
                       {x1, y1, fx * fy}},
                      fx < 128 ? x0 : x1,
                      fy < 128 ? y0 : y1};
      out.At(x, y) = pixel(taps);
    }
  }
  return out;
}

// The weighted mean of the taps `use` accepts, per channel, rounded; the
// taps must carry some weight.
template <typename Use>
Pixel Mean(const SurfaceView& picture, const Taps& taps, Use use) {
  long long sum[4] = {0, 0, 0, 0};
  long long total = 0;
  for (const auto& t : taps.tap) {
    const Pixel p = picture.At(t.x, t.y);
    if (t.weight == 0 || !use(p)) continue;
    total += t.weight;
    for (int c = 0; c < 4; ++c) sum[c] += static_cast<long long>(t.weight) * ((p >> (8 * c)) & 0xFF);
  }
  Pixel result = 0;
  for (int c = 0; c < 4; ++c) result |= static_cast<Pixel>((sum[c] + total / 2) / total) << (8 * c);
  return result;
}

}  // namespace

Surface ResizeKeyed(const SurfaceView& picture, int width, int height, std::uint32_t keyRgb) {
  auto isKey = [keyRgb](Pixel p) { return (p & 0x00FFFFFFu) == (keyRgb & 0x00FFFFFFu); };
  const Pixel keyPixel = 0xFF000000u | (keyRgb & 0x00FFFFFFu);
  return Resample(picture, width, height, [&](const Taps& taps) {
    if (isKey(picture.At(taps.nearestX, taps.nearestY))) return keyPixel;
    Pixel result = Mean(picture, taps, [&](Pixel p) { return !isKey(p); });
    // Blending must not land on the key by chance.
    if (isKey(result)) result ^= 1;
    return result;
  });
}

Surface ResizePremultiplied(const SurfaceView& picture, int width, int height) {
  return Resample(picture, width, height,
                  [&](const Taps& taps) { return Mean(picture, taps, [](Pixel) { return true; }); });
}

Size ShownSize(Size picture, int dpi) {
  const Size shown = ScaleToDpi(picture, dpi);
  const bool fits = shown.width <= kMaxPictureDimension && shown.height <= kMaxPictureDimension &&
                    static_cast<long long>(shown.width) * shown.height <= kMaxPicturePixels;
  return fits ? shown : picture;
}

}  // namespace corvane
