#include "skin/controls/ControlLooks.h"

#include <algorithm>

namespace corvane {

int PushButtonCell(unsigned mouse, bool focused, bool isDefault, bool enabled) {
  if (!enabled) return 3;
  if (mouse & kMousePressed) return 2;
  if (mouse & kMouseHot) return 4;
  if (focused || isDefault) return 5;
  return 1;
}

int MenuButtonCell(unsigned mouse, bool focused, bool enabled) {
  if (!enabled) return 3;
  if (mouse & kMousePressed) return 2;
  if ((mouse & kMouseHot) || focused) return 4;
  return 1;
}

int SpeedButtonCell(unsigned mouse, bool down, bool enabled, bool flat) {
  bool pressed = (mouse & kMousePressed) || down;
  bool hot = (mouse & kMouseHot) != 0;
  if (flat && !pressed && !hot) return 0;
  if (pressed) return 2;
  if (!enabled) return 3;
  if (hot) return 4;
  return 1;
}

int CheckBoxCell(const CheckFacts& f, int frames) {
  int index = f.stateChecked ? 2 : 1;
  bool indeterminate = f.stateIndeterminate;
  const std::string& state = f.stateProperty;
  if (!state.empty()) {
    if (state.find("uncheck") != std::string::npos) {
      index = 1;
    } else if (state.find("check") != std::string::npos) {
      index = 2;
    } else if (state.find("gray") != std::string::npos) {
      index = 4;
      indeterminate = true;
    }
  } else if (f.checkedProperty >= 0) {
    // An unchecked box shows the unchecked cell, not the disabled one.
    index = f.checkedProperty == 1 ? 2 : 1;
  }
  if (f.dataField && f.storedCheck > 0) {
    index = f.storedCheck == 3 ? 4 : f.storedCheck;
    indeterminate = f.storedCheck == 3;
  }
  if (f.dataBinding) index = 1;
  if (f.disabled) index += 2;
  if (indeterminate) index = 4;
  if (frames == 12) {
    if (indeterminate) return f.disabled ? 12 : 9;
    if (index == 2) return 5;
    if (index == 3) return 4;
    if (index == 4) return 8;
  }
  return std::clamp(index, 1, std::max(frames, 1));
}

int RadioButtonCell(bool checked, bool disabled, int frames) {
  int index = (checked ? 2 : 1) + (disabled ? 2 : 0);
  if (frames == 8) {
    if (index == 2) return 5;
    if (index == 3) return 4;
    if (index == 4) return 8;
  }
  return std::clamp(index, 1, std::max(frames, 1));
}

std::wstring ButtonCaptionLines(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'|' && i + 1 < text.size() && text[i + 1] == L'|') {
      out += L"\r\n";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

GlyphPlacement PlaceGlyph(Size client, Size glyph, Size text, GlyphLayout layout, int margin,
                          int spacing, bool centred) {
  bool horizontal = layout == GlyphLayout::Left || layout == GlyphLayout::Right;
  // Along the layout axis and across it.
  int c = horizontal ? client.width : client.height;
  int g = horizontal ? glyph.width : glyph.height;
  int t = horizontal ? text.width : text.height;
  int crossC = horizontal ? client.height : client.width;
  int crossG = horizontal ? glyph.height : glyph.width;
  int crossT = horizontal ? text.height : text.width;
  bool hasText = text.width > 0 && text.height > 0;
  bool hasGlyph = glyph.width > 0 && glyph.height > 0;
  if (!hasText || !hasGlyph) spacing = 0;
  if (margin == -1 || centred) {
    if (spacing == -1)
      margin = spacing = (c - (g + t)) / 3;
    else
      margin = (c - (g + spacing + t) + 1) / 2;
  } else if (spacing == -1) {
    spacing = ((c - (margin + g)) - t) / 2;
  }
  int glyphAt = 0, textAt = 0;
  GlyphPlacement p;
  switch (layout) {
    case GlyphLayout::Left:
      glyphAt = margin;
      textAt = glyphAt + g + spacing;
      break;
    case GlyphLayout::Right:
      glyphAt = c - margin - g;
      textAt = glyphAt - spacing - t;
      p.textAlign = 2;  // DT_RIGHT
      break;
    case GlyphLayout::Top:
      glyphAt = margin;
      textAt = glyphAt + g + spacing;
      p.textAlign = 1;  // DT_CENTER
      break;
    case GlyphLayout::Bottom:
      glyphAt = c - margin - g;
      textAt = glyphAt - spacing - t;
      p.textAlign = 1;
      break;
  }
  int glyphCross = (crossC - crossG + 1) / 2;
  int textCross = (crossC - crossT + 1) / 2;
  p.glyph = horizontal ? Point{glyphAt, glyphCross} : Point{glyphCross, glyphAt};
  p.text = horizontal ? Point{textAt, textCross} : Point{textCross, textAt};
  return p;
}

int GlyphPart(bool pressed, bool enabled, bool down, int numGlyphs) {
  int part = pressed ? 3 : !enabled ? 2 : down ? 4 : 1;
  return part > std::max(numGlyphs, 1) ? 1 : part;
}

Rect FocusAroundText(const Rect& area, Size text, unsigned flags) {
  Rect t = Rect::FromSize(area.left, area.top, text.width, text.height);
  if (flags & 1u)
    t = t.Offset((area.Width() - text.width) / 2, (area.Height() - text.height) / 2 - 1);
  else if (flags & 2u)
    t = t.Offset(area.Width() - text.width, 0);
  Rect grown{t.left - 2, t.top - 1, t.right + 2, t.bottom + 1};
  return grown.Intersect(area);
}

GroupBoxLayout LayoutGroupBox(const Rect& r, int lineHeight, bool rightToLeft) {
  int y = lineHeight / 2;
  GroupBoxLayout out;
  out.frame = {1, y, r.right - 1, r.bottom - 1};
  out.caption = rightToLeft ? Rect{r.left, r.top, r.right - 8, r.bottom}
                            : Rect{r.left + 8, r.top, r.right, r.bottom};
  return out;
}

int StatusPanelCell(PanelBevel bevel) {
  switch (bevel) {
    case PanelBevel::Raised:
      return 2;
    case PanelBevel::None:
      return 3;
    case PanelBevel::Lowered:
      break;
  }
  return 1;
}

std::vector<Rect> StatusPanelRects(std::vector<Rect> panels, int barRight) {
  if (!panels.empty()) panels.back().right = std::max(barRight, panels.back().left);
  return panels;
}

Rect HeaderHotRect(const Rect& item) {
  return {item.left + 3, item.top, item.right - 3, item.bottom};
}

int HeaderItemAt(const std::vector<Rect>& items, Point p) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].Contains(p)) return static_cast<int>(i);
  return -1;
}

ItemPlacement PlaceItemContent(Size item, Size text, Size image, ItemAlign align) {
  int x = 3;
  if (align == ItemAlign::Centre)
    x = (item.width - text.width - image.width) / 2;
  else if (align == ItemAlign::Right)
    x = std::max(item.width - text.width - image.width - 2, 1);
  ItemPlacement placement;
  placement.image = {x, (item.height - image.height) / 2};
  int top = (item.height - text.height) / 2;
  placement.text = Rect{x + image.width, top, item.width, top + text.height}.Intersect(
      {0, 0, item.width, item.height});
  return placement;
}

}  // namespace corvane
