#include "skin/forms/MenuItemLayout.h"

#include <algorithm>

#include "skin/draw/ElementDrawing.h"

namespace corvane {

int SkinnedPopupItemWidth(int defaultWidth, int itemLeftWidth, bool menuHasImages, int dpi) {
  return defaultWidth + std::max(itemLeftWidth, 0) + ScaleToDpi(menuHasImages ? 12 : 35, dpi);
}

int SkinnedMainMenuItemWidth(int defaultWidth, int itemLeftWidth, bool menuHasImages, int dpi) {
  return defaultWidth + std::max(itemLeftWidth, 0) + ScaleToDpi(menuHasImages ? 10 : 35, dpi);
}

MenuItemContentLayout LayoutMenuItemContent(const MenuItemContentInput& in) {
  const Rect& r = in.item;
  const int g = in.checked ? std::max(in.glyphSize, ScaleToDpi(16, in.dpi)) : in.glyphSize;
  const int edge = ScaleToDpi(1, in.dpi);
  const int gap = ScaleToDpi(3, in.dpi);
  MenuItemContentLayout out;
  if (in.rightToLeft) {
    int right = r.right - edge - in.leftWidth;
    out.glyphBox = {right - g, r.top + edge, right, r.top + edge + g};
    out.captionBox = {r.left + edge, r.top, out.glyphBox.left - gap, r.bottom};
  } else {
    int left = r.left + edge + in.leftWidth;
    out.glyphBox = Rect::FromSize(left, r.top + edge, g, g);
    out.captionBox = {out.glyphBox.right + gap, r.top, r.right - edge, r.bottom};
  }
  if (in.separator) out.glyphBox = Rect::FromSize(out.glyphBox.left, out.glyphBox.top, 0, 0);
  return out;
}

Rect MenuShortcutBox(const Rect& item, const Rect& caption, bool rightToLeft, int dpi) {
  const int end = ScaleToDpi(11, dpi);
  if (rightToLeft) return {item.left + end, item.top, caption.left, item.bottom};
  return {caption.right, item.top, item.right - end, item.bottom};
}

int MenuCaptionTop(const Rect& item, int measuredHeight) {
  return item.top + (item.Height() - measuredHeight) / 2;
}

Colour MenuCaptionColour(const MenuColours& c, bool enabled, bool selected) {
  Colour text;
  if (enabled) text = selected ? c.hilightText : c.menuText;
  else text = c.buttonShadow == c.menuText ? c.grayText : c.buttonShadow;
  const Colour background = selected ? c.hilight : c.menu;
  if (text != background) return text;
  const int light = RedOf(background) * 299 + GreenOf(background) * 587 + BlueOf(background) * 114;
  return light >= 128 * 1000 ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
}

void DrawMenuSeparator(SurfaceView canvas, const Rect& target, const Surface& picture, int frames, int leftWidth,
                       int rightWidth) {
  if (target.IsEmpty() || picture.IsEmpty()) return;
  Rect cell = CellRect({picture.Width(), picture.Height()}, frames, 2, false);
  // A low item takes the picture's bottom rows: that is where the line is.
  const int rows = std::min(cell.Height(), target.Height());
  cell.top = cell.bottom - rows;
  Surface strip(target.Width(), target.Height(), PixelFromColour(kColourKey));
  ApplyPlan(strip.View(), picture.View(),
            PlanStretchedStrip({target.Width(), target.Height()}, cell, {leftWidth, 0, rightWidth, 0}));
  StretchCopyKeyed(canvas, target, strip.View(), strip.View().Bounds(), kColourKey);
}

Surface ComposeMenuItemPicture(const MenuItemPictureSource& source, int width, int height, MenuItemPictureKind kind) {
  Surface out(width, height, PixelFromColour(kColourKey));
  if (!source.picture || source.picture->IsEmpty() || out.IsEmpty()) return out;
  const Rect all{0, 0, width, height};
  const Margins& m = source.margins;
  if (kind == MenuItemPictureKind::Separator)
    DrawMenuSeparator(out.View(), all, *source.picture, source.frames, m.left, m.right);
  else
    DrawElement(out.View(), all, *source.picture, false, source.tile, source.transparent, source.frames,
                kind == MenuItemPictureKind::Hot ? 4 : 1, m);
  return out;
}

const Surface& MenuItemPictures::Get(unsigned generation, const MenuItemPictureSource& source, int width, int height,
                                     MenuItemPictureKind kind) {
  return *Share(generation, source, width, height, kind);
}

std::shared_ptr<const Surface> MenuItemPictures::Share(unsigned generation, const MenuItemPictureSource& source,
                                                       int width, int height, MenuItemPictureKind kind) {
  if (generation != m_generation) {
    m_pictures.clear();
    m_pixels = 0;
    m_generation = generation;
  }
  for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it) {
    if (it->width != width || it->height != height || it->kind != kind) continue;
    m_pictures.splice(m_pictures.begin(), m_pictures, it);
    return m_pictures.front().picture;
  }
  auto picture = std::make_shared<const Surface>(ComposeMenuItemPicture(source, width, height, kind));
  m_pictures.push_front({width, height, kind, picture});
  m_pixels += static_cast<std::size_t>(picture->Width()) * static_cast<std::size_t>(picture->Height());
  ++m_composed;
  while (m_pictures.size() > 1 && (m_pictures.size() > kLimit || m_pixels > kPixelLimit)) {
    const Surface& last = *m_pictures.back().picture;
    m_pixels -= static_cast<std::size_t>(last.Width()) * static_cast<std::size_t>(last.Height());
    m_pictures.pop_back();
  }
  return picture;
}

}  // namespace corvane
