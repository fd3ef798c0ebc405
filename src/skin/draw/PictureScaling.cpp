#include "skin/draw/PictureScaling.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/DpiScale.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {

// The source pixels under one output pixel along one axis, with how much
// of the output pixel each covers (in units where the whole is `length`).
struct Tap {
  int source = 0;
  int weight = 0;
};

// For each of `scaled` output positions along an axis of `length` source
// pixels: the source pixels it covers. Output pixel o covers the source span
// [o * length / scaled, (o + 1) * length / scaled); everything is counted in
// units of 1 / scaled source pixels, so the weights are whole numbers and
// the taps of one output pixel always sum to `length`.
std::vector<std::vector<Tap>> AxisTaps(int length, int scaled) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(scaled));
  for (int o = 0; o < scaled; ++o) {
    const long long from = static_cast<long long>(o) * length, to = from + length;
    for (int s = static_cast<int>(from / scaled); s < length && static_cast<long long>(s) * scaled < to; ++s) {
      const long long lo = std::max<long long>(from, static_cast<long long>(s) * scaled);
      const long long hi = std::min<long long>(to, static_cast<long long>(s + 1) * scaled);
      if (hi > lo) taps[static_cast<std::size_t>(o)].push_back({s, static_cast<int>(hi - lo)});
    }
  }
  return taps;
}

void ReplicateCell(const SurfaceView& from, const SurfaceView& to, int factor) {
  for (int y = 0; y < to.height; ++y) {
    const Pixel* row = from.Row(y / factor);
    Pixel* out = to.Row(y);
    for (int x = 0; x < to.width; ++x) out[x] = row[x / factor];
  }
}

void AverageCell(const SurfaceView& from, const SurfaceView& to, bool keyed, Colour key) {
  const auto xs = AxisTaps(from.width, to.width);
  const auto ys = AxisTaps(from.height, to.height);
  const long long whole = static_cast<long long>(from.width) * from.height;
  const Pixel keyPixel = PixelFromColour(key);
  for (int oy = 0; oy < to.height; ++oy)
    for (int ox = 0; ox < to.width; ++ox) {
      long long keyWeight = 0;
      long long sum[4] = {0, 0, 0, 0};
      for (const Tap& ty : ys[static_cast<std::size_t>(oy)])
        for (const Tap& tx : xs[static_cast<std::size_t>(ox)]) {
          const Pixel p = from.At(tx.source, ty.source);
          const long long w = static_cast<long long>(tx.weight) * ty.weight;
          if (keyed && SameColour(p, key)) {
            keyWeight += w;
            continue;
          }
          for (int c = 0; c < 4; ++c) sum[c] += w * ((p >> (8 * c)) & 0xFF);
        }
      const long long colourWeight = whole - keyWeight;
      if (keyed && (keyWeight * 2 > whole || colourWeight <= 0)) {
        to.At(ox, oy) = keyPixel;
        continue;
      }
      Pixel out = 0;
      for (int c = 0; c < 4; ++c)
        out |= static_cast<Pixel>((sum[c] + colourWeight / 2) / colourWeight) << (8 * c);
      to.At(ox, oy) = out;
    }
}

}  // namespace

namespace {

// One cell's span along an axis, in the source and in the scaled picture.
struct CellSpan {
  int from = 0, length = 0, scaledFrom = 0, scaledLength = 0;
};

// An axis of `length` pixels at fromDpi cut into `cells` equal cells (the
// last takes the remainder), each scaled on its own from its designed
// length (exact for fromDpi >= 96) to toDpi.
std::vector<CellSpan> AxisCells(int length, int cells, int fromDpi, int toDpi) {
  cells = std::clamp(cells, 1, length);
  const int cellLength = length / cells;
  std::vector<CellSpan> spans;
  int scaledFrom = 0;
  for (int i = 0; i < cells; ++i) {
    const int from = i * cellLength;
    const int size = i == cells - 1 ? length - from : cellLength;
    const int scaled = std::max(1, ScaleToDpi(UnscaleFromDpi(size, fromDpi), toDpi));
    spans.push_back({from, size, scaledFrom, scaled});
    scaledFrom += scaled;
  }
  return spans;
}

}  // namespace

Surface ScalePicture(const SurfaceView& picture, int cells, int dpi, bool keyed, Colour key, int stackedCells) {
  return ScalePictureBetween(picture, cells, kDesignDpi, dpi, keyed, key, stackedCells);
}

Surface ScalePictureBetween(const SurfaceView& picture, int cells, int fromDpi, int toDpi, bool keyed, Colour key,
                            int stackedCells) {
  if (picture.IsEmpty()) return {};
  const std::vector<CellSpan> across = AxisCells(picture.width, cells, fromDpi, toDpi);
  const std::vector<CellSpan> down = AxisCells(picture.height, stackedCells, fromDpi, toDpi);
  Surface scaled(across.back().scaledFrom + across.back().scaledLength,
                 down.back().scaledFrom + down.back().scaledLength);
  const bool replicate = fromDpi == kDesignDpi && IsWholeDpiFactor(toDpi);
  for (const CellSpan& row : down)
    for (const CellSpan& column : across) {
      const SurfaceView from = picture.Sub(Rect::FromSize(column.from, row.from, column.length, row.length));
      const SurfaceView to = scaled.View().Sub(
          Rect::FromSize(column.scaledFrom, row.scaledFrom, column.scaledLength, row.scaledLength));
      if (replicate) ReplicateCell(from, to, toDpi / kDesignDpi);
      else AverageCell(from, to, keyed, key);
    }
  return scaled;
}

Size ScaledPictureSize(Size picture, int cells, int dpi, int stackedCells) {
  if (picture.width < 1 || picture.height < 1) return {};
  const std::vector<CellSpan> across = AxisCells(picture.width, cells, kDesignDpi, dpi);
  const std::vector<CellSpan> down = AxisCells(picture.height, stackedCells, kDesignDpi, dpi);
  return {across.back().scaledFrom + across.back().scaledLength, down.back().scaledFrom + down.back().scaledLength};
}

Margins ScaleMargins(const Margins& designed, int dpi) {
  return {ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi), ScaleToDpi(designed.right, dpi),
          ScaleToDpi(designed.bottom, dpi)};
}

}  // namespace corvane
