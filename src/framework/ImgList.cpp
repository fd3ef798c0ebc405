#include "framework/ImgList.h"

#include <algorithm>
#include <stdexcept>

#include "pictures/WinSurface.h"

namespace corvane {

namespace {

// Reads what a 32-bit DIB section shows after GDI drew into it.
std::vector<Pixel> PixelsOf(const OffscreenSurface& surface) {
  GdiFlush();
  const SurfaceView v = surface.View();
  std::vector<Pixel> pixels;
  pixels.reserve(static_cast<std::size_t>(v.width) * v.height);
  for (int y = 0; y < v.height; ++y) pixels.insert(pixels.end(), v.Row(y), v.Row(y) + v.width);
  return pixels;
}

std::uint8_t Channel(Pixel p, int shift) { return static_cast<std::uint8_t>((p >> shift) & 0xFF); }

// Grey of the same brightness, alpha kept.
Pixel Greyed(Pixel p) {
  const unsigned grey = (Channel(p, 16) * 77u + Channel(p, 8) * 150u + Channel(p, 0) * 29u) >> 8;
  return (p & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

}  // namespace

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), m_width(width), m_height(height) {}

SurfaceView TImageList::Images() const {
  return {const_cast<Pixel*>(m_pixels.data()), m_width, m_height * m_count, m_width};
}

void TImageList::Changed() {
  m_blendable.Reset();
  m_list.Reset();
}

int TImageList::Append(const std::vector<Pixel>& images, int count) {
  if (count <= 0) return -1;
  m_pixels.insert(m_pixels.end(), images.begin(), images.end());
  const int first = m_count;
  m_count += count;
  Changed();
  return first;
}

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  // Drawn once over black and once over white: over black the result is
  // the icon's colour already scaled by its coverage, and the difference to
  // white is how much of the background shows. That holds for icons with
  // an alpha channel and for masked ones alike.
  // The icon's own image of the list's size where it has one (from its
  // resource), rather than its large one scaled down.
  UniqueIcon fitted(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, m_width, m_height, LR_COPYFROMRESOURCE)));
  if (fitted) icon = fitted.Get();
  OffscreenSurface onBlack(m_width, m_height), onWhite(m_width, m_height);
  if (!onBlack.Valid() || !onWhite.Valid()) return -1;
  onBlack.View().Fill(0xFF000000u);
  onWhite.View().Fill(0xFFFFFFFFu);
  if (!DrawIconEx(onBlack.Dc(), 0, 0, icon, m_width, m_height, 0, nullptr, DI_NORMAL) ||
      !DrawIconEx(onWhite.Dc(), 0, 0, icon, m_width, m_height, 0, nullptr, DI_NORMAL))
    return -1;
  std::vector<Pixel> black = PixelsOf(onBlack);
  const std::vector<Pixel> white = PixelsOf(onWhite);
  for (std::size_t i = 0; i < black.size(); ++i) {
    const Pixel b = black[i], w = white[i];
    int shown = 0;
    for (int shift : {16, 8, 0}) shown = std::max(shown, Channel(w, shift) - Channel(b, shift));
    const unsigned alpha = static_cast<unsigned>(255 - std::clamp(shown, 0, 255));
    Pixel straight = 0;
    if (alpha > 0) {
      for (int shift : {16, 8, 0}) {
        const unsigned c = std::min<unsigned>(255u, (Channel(b, shift) * 255u + alpha / 2) / alpha);
        straight |= c << shift;
      }
      straight |= alpha << 24;
    }
    black[i] = straight;
  }
  return Append(black, 1);
}

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColour) {
  if (!bitmap) return -1;
  const Surface strip = SurfaceFromBitmap(bitmap);
  const int count = strip.Width() / m_width;
  if (count <= 0 || strip.Height() <= 0) return -1;
  std::vector<Pixel> images(static_cast<std::size_t>(count) * m_width * m_height, 0);
  const Colour mask = static_cast<Colour>(maskColour & 0x00FFFFFF);
  for (int n = 0; n < count; ++n)
    for (int y = 0; y < std::min(m_height, strip.Height()); ++y)
      for (int x = 0; x < m_width; ++x) {
        const Pixel p = strip.At(n * m_width + x, y);
        images[(static_cast<std::size_t>(n) * m_height + y) * m_width + x] =
            SameColour(p, mask) ? 0 : (p | 0xFF000000u);
      }
  return Append(images, count);
}

void TImageList::SetSize(int width, int height) {
  if (width == m_width && height == m_height) return;
  m_width = width;
  m_height = height;
  Clear();
}

void TImageList::Clear() {
  m_pixels.clear();
  m_count = 0;
  Changed();
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= m_count) return;
  UniqueBitmap greyed;
  HBITMAP source = nullptr;
  int top = index * m_height;
  if (enabled) {
    if (!m_blendable) m_blendable = CreateDibSection(Images(), true);
    source = m_blendable.Get();
  } else {
    std::vector<Pixel> grey(m_pixels.begin() + static_cast<std::ptrdiff_t>(top) * m_width,
                            m_pixels.begin() + static_cast<std::ptrdiff_t>(top + m_height) * m_width);
    std::transform(grey.begin(), grey.end(), grey.begin(), Greyed);
    greyed = CreateDibSection({grey.data(), m_width, m_height, m_width}, true);
    source = greyed.Get();
    top = 0;
  }
  if (!source) return;
  MemoryDC memory(CreateCompatibleDC(dc));
  if (!memory) return;
  SelectGuard select(memory.Get(), source);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, m_width, m_height, memory.Get(), 0, top, m_width, m_height, blend);
}

HIMAGELIST TImageList::Handle() const {
  if (m_list) return m_list.Get();
  m_list.Reset(ImageList_Create(m_width, m_height, ILC_COLOR32 | ILC_MASK, std::max(m_count, 4), 4));
  if (!m_list) throw std::runtime_error("Cannot create image list");
  // The list takes its images side by side.
  if (m_count > 0) {
    Surface row(m_width * m_count, m_height);
    for (int n = 0; n < m_count; ++n)
      for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
          row.At(n * m_width + x, y) = m_pixels[(static_cast<std::size_t>(n) * m_height + y) * m_width + x];
    UniqueBitmap strip = CreateDibSection(row.View(), false);
    if (strip) ImageList_Add(m_list.Get(), strip.Get(), nullptr);
  }
  return m_list.Get();
}

}  // namespace corvane
