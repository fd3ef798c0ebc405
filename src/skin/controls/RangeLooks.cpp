#include "skin/controls/RangeLooks.h"

#include <algorithm>
#include <cstdint>

namespace corvane {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero, without
// overflow for any int inputs; c must not be 0.
int MulDivRounded(int a, int b, int c) {
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  bool negative = (product < 0) != (divisor < 0);
  std::int64_t magnitude = product < 0 ? -product : product;
  std::int64_t d = divisor < 0 ? -divisor : divisor;
  std::int64_t q = (magnitude + d / 2) / d;
  return static_cast<int>(negative ? -q : q);
}

}  // namespace

int ScaledFill(int length, int position, int low, int high) {
  if (length <= 0 || high <= low) return 0;
  // Widened first: the range of a 32-bit control may span more than an int.
  std::int64_t span = static_cast<std::int64_t>(high) - low;
  std::int64_t done = std::clamp<std::int64_t>(static_cast<std::int64_t>(position) - low, 0, span);
  if (span > 0x7FFFFFFF) {
    span >>= 1;
    done >>= 1;
  }
  return std::clamp(MulDivRounded(length, static_cast<int>(done), static_cast<int>(span)), 0,
                    length);
}

Size LyingSize(Size window, bool vertical) {
  return vertical ? Size{window.height, window.width} : window;
}

Rect ProgressFillRect(Size lying, int position, int low, int high, bool chunkStyle) {
  if (!chunkStyle) {
    int fill = ScaledFill(lying.width, position, low, high);
    return fill > 0 ? Rect{0, 0, fill, lying.height} : Rect{};
  }
  Rect inside{2, 2, lying.width - 2, lying.height - 2};
  if (inside.IsEmpty()) return {};
  int fill = ScaledFill(inside.Width(), position, low, high);
  return fill > 0 ? Rect{inside.left, inside.top, inside.left + fill, inside.bottom} : Rect{};
}

std::vector<ChunkTile> ProgressChunkTiles(const Rect& fill, int barHeight, Size chunk,
                                          int leftWidth) {
  std::vector<ChunkTile> tiles;
  if (fill.IsEmpty() || chunk.width <= 0 || chunk.height <= 0) return tiles;
  int top = (barHeight - chunk.height) / 2;
  for (int x = std::max(leftWidth, 0) + 2; x < fill.right; x += chunk.width) {
    Rect whole = Rect::FromSize(x, top, chunk.width, chunk.height);
    Rect shown = whole.Intersect(fill);
    if (!shown.IsEmpty()) tiles.push_back({shown, shown.Offset(-whole.left, -whole.top)});
  }
  return tiles;
}

UpDownHalves SplitUpDown(const Rect& r, bool horizontal) {
  if (horizontal) {
    int middle = r.left + r.Width() / 2;
    return {{r.left, r.top, middle, r.bottom}, {middle, r.top, r.right, r.bottom}};
  }
  int middle = r.top + r.Height() / 2;
  return {{r.left, r.top, r.right, middle}, {r.left, middle, r.right, r.bottom}};
}

int UpDownHalfState(bool enabled, bool pressedHere, bool cursorInHalf) {
  if (!enabled) return 3;
  return pressedHere && cursorInHalf ? 2 : 1;
}

int UpDownCell(int state, int half) {
  return state + 4 * (half == 0 ? 0 : 1);
}

Rect InsideEditRect(const Rect& own, const Rect& editWindow) {
  constexpr int kBorder = 3;
  Rect r = own;
  r.top = std::max(r.top, editWindow.top + kBorder);
  r.bottom = std::min(r.bottom, editWindow.bottom - kBorder);
  r.right = std::min(r.right, editWindow.right - kBorder);
  return r.IsEmpty() ? Rect{} : r;
}

std::vector<Rect> ArrowBars(const Rect& half, ArrowDirection direction) {
  // Three bars of 1, 3 and 5 pixels: small enough for the 8-pixel halves of
  // a squeezed up-down, still a clear triangle.
  constexpr int kRows = 3;
  std::vector<Rect> bars;
  if (half.IsEmpty()) return bars;
  int cx = half.left + half.Width() / 2, cy = half.top + half.Height() / 2;
  for (int i = 0; i < kRows; ++i) {
    switch (direction) {
      case ArrowDirection::Up:
        bars.push_back({cx - i, cy - 1 + i, cx + i + 1, cy + i});
        break;
      case ArrowDirection::Down:
        bars.push_back({cx - i, cy + 1 - i, cx + i + 1, cy + 2 - i});
        break;
      case ArrowDirection::Left:
        bars.push_back({cx - 1 + i, cy - i, cx + i, cy + i + 1});
        break;
      case ArrowDirection::Right:
        bars.push_back({cx + 1 - i, cy - i, cx + 2 - i, cy + i + 1});
        break;
    }
  }
  for (Rect& bar : bars) bar = bar.Intersect(half);
  bars.erase(std::remove_if(bars.begin(), bars.end(), [](const Rect& b) { return b.IsEmpty(); }),
             bars.end());
  return bars;
}

std::vector<SlicePiece> TrackChannelPlan(const Rect& channel, Size image, Margins margins,
                                         bool vertical) {
  std::vector<SlicePiece> plan;
  if (channel.IsEmpty() || image.width <= 0 || image.height <= 0) return plan;
  auto piece = [&](Rect source, Rect target) {
    if (!source.IsEmpty() && !target.IsEmpty())
      plan.push_back({SlicePiece::Kind::Stretch, source, target});
  };
  if (vertical) {
    int left = channel.left + std::max(channel.Width() - image.width, 0) / 2;
    int right = left + image.width;
    int head = std::max(margins.top, 0), foot = std::max(margins.bottom, 0);
    if (head + foot >= channel.Height() || head + foot >= image.height) head = foot = 0;
    piece({0, 0, image.width, head}, {left, channel.top, right, channel.top + head});
    piece({0, head, image.width, image.height - foot},
          {left, channel.top + head, right, channel.bottom - foot});
    piece({0, image.height - foot, image.width, image.height},
          {left, channel.bottom - foot, right, channel.bottom});
    return plan;
  }
  int top = channel.top + std::max(channel.Height() - image.height, 0) / 2;
  int bottom = top + image.height;
  int head = std::max(margins.left, 0), foot = std::max(margins.right, 0);
  if (head + foot >= channel.Width() || head + foot >= image.width) head = foot = 0;
  piece({0, 0, head, image.height}, {channel.left, top, channel.left + head, bottom});
  piece({head, 0, image.width - foot, image.height},
        {channel.left + head, top, channel.right - foot, bottom});
  piece({image.width - foot, 0, image.width, image.height},
        {channel.right - foot, top, channel.right, bottom});
  return plan;
}

Rect PlanBounds(const std::vector<SlicePiece>& plan) {
  if (plan.empty()) return {};
  Rect r = plan.front().target;
  for (const SlicePiece& p : plan) {
    r.left = std::min(r.left, p.target.left);
    r.top = std::min(r.top, p.target.top);
    r.right = std::max(r.right, p.target.right);
    r.bottom = std::max(r.bottom, p.target.bottom);
  }
  return r;
}

std::vector<Rect> MediaButtonRects(Size bar, unsigned visibleMask, int count) {
  std::vector<Rect> buttons(static_cast<std::size_t>(std::max(count, 0)));
  int visible = 0;
  for (int i = 0; i < count; ++i)
    if (visibleMask & (1u << i)) ++visible;
  if (visible == 0 || bar.width <= 0 || bar.height <= 0) return buttons;
  int width = bar.width / visible, shown = 0;
  for (int i = 0; i < count; ++i) {
    if (!(visibleMask & (1u << i))) continue;
    int left = shown * width;
    ++shown;
    int right = shown == visible ? bar.width : left + width;
    buttons[static_cast<std::size_t>(i)] = {left, 0, right, bar.height};
  }
  return buttons;
}

int MediaButtonAt(const std::vector<Rect>& buttons, int x) {
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (!buttons[i].IsEmpty() && x >= buttons[i].left && x < buttons[i].right)
      return static_cast<int>(i);
  return -1;
}

}  // namespace corvane
