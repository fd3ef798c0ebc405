#include "skin/forms/FrameGeometry.h"

#include <algorithm>

#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {

int FramesOf(const TDataSkinObject& e) { return std::max(1, e.Frame); }

Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

void AddRuns(std::vector<Rect>& out, const TDataSkinBorder& border, const Rect& part,
             bool stackedCells) {
  if (part.IsEmpty()) return;
  if (!border.Trans) {
    out.push_back(part);
    return;
  }
  Surface picture = ComposeBorder(border, {part.Width(), part.Height()}, stackedCells, 1);
  std::vector<Rect> runs = RegionFromBitmap(picture.View(), part.left, part.top, 1, 1, 1, kColourKey);
  out.insert(out.end(), runs.begin(), runs.end());
}

}  // namespace

bool IsMessageBoxClass(std::string_view className) {
  return className == "#32770" || className == "TMessageForm";
}

FrameClass ClassifyFrame(const FrameFacts& f) {
  FrameClass c;
  c.isChild = (f.style & style::kWsChild) != 0;
  c.rightToLeft = (f.exStyle & style::kWsExLeftScrollBar) != 0;
  if ((f.style & style::kWsSysMenu) || f.hasSystemMenu) c.buttons |= kFrameSystemMenu;
  if (f.style & style::kWsMinimizeBox) c.buttons |= kFrameMinimize;
  if (f.style & style::kWsMaximizeBox) c.buttons |= kFrameMaximize;
  if (f.exStyle & style::kWsExContextHelp) c.buttons |= kFrameHelp;

  if ((f.style & style::kWsCaption) != style::kWsCaption)
    c.border = BorderKind::None;
  else if (f.style & style::kWsThickFrame)
    c.border = BorderKind::Sizeable;
  else if (f.style & style::kWsModalFrame)
    c.border = BorderKind::Dialog;
  if (f.exStyle & style::kWsExDlgModalFrame) c.border = BorderKind::Dialog;
  if (IsMessageBoxClass(f.className)) {
    c.border = BorderKind::Dialog;
    c.isMessageBox = true;
  }

  bool mdiChild = (f.exStyle & style::kWsExMdiChild) != 0;
  if (f.systemVersion50 && ((f.exStyle & style::kWsExAppWindow) || (!f.hasOwner && !mdiChild)))
    c.buttons |= kFrameKeepSysMenuBit;
  return c;
}

FrameMetrics LoadFrameMetrics(const SkinDefinition& skin, BorderKind border) {
  if (border == BorderKind::None) return {};
  return {skin.BorderLeft.Bitmap.Width() / FramesOf(skin.BorderLeft),
          skin.BorderTop.Bitmap.Height() / FramesOf(skin.BorderTop),
          skin.BorderRight.Bitmap.Width() / FramesOf(skin.BorderRight),
          skin.BorderBottom.Bitmap.Height() / FramesOf(skin.BorderBottom)};
}

bool SkinHasFrame(const SkinDefinition& skin) {
  return skin.BorderTop.Bitmap.Height() / FramesOf(skin.BorderTop) > 0 && skin.BorderTop.Bitmap.Width() > 0;
}

Rect SkinnedClientRect(const Rect& w, const FrameMetrics& m, int menuHeight) {
  Rect c{w.left + m.left, w.top + m.top + menuHeight, w.right - m.right, w.bottom - m.bottom};
  // A window smaller than its frame gets an empty client area at the frame's
  // inner edge, never a rectangle turned inside out.
  c.right = std::max(c.right, c.left);
  c.bottom = std::max(c.bottom, c.top);
  return c;
}

Rect ClampToWorkArea(const Rect& client, const Rect& work) {
  Rect c = client.Intersect(work);
  return c.IsEmpty() ? client : c;
}

Point WindowPointFromClient(Point p, const FrameMetrics& m, int menuHeight) {
  return {p.x + m.left, p.y + m.top + menuHeight};
}

int SkinHitTest(int systemAnswer, Point p, int frameTop, int menuHeight) {
  if (systemAnswer != kHtNowhere && systemAnswer != kHtCaption) return systemAnswer;
  int answer = systemAnswer;
  if (p.y > 3) answer = kHtCaption;
  if (p.y > frameTop && menuHeight > 0) answer = kHtMenu;
  return answer;
}

Size SkinnedWindowSize(Size client, const FrameMetrics& m, int menuHeight) {
  return {client.width + m.left + m.right, client.height + m.top + m.bottom + menuHeight};
}

Size UnskinnedWindowSize(Size window, Size systemFrame, const FrameMetrics& m) {
  return {window.width + systemFrame.width - m.left - m.right,
          window.height + systemFrame.height - m.top - m.bottom};
}

int MessageBoxChildShift(int currentWidth, int neededWidth) {
  return currentWidth < neededWidth ? (neededWidth - currentWidth) / 2 : 0;
}

WindowShowState ShowStateFromShowCmd(unsigned showCmd) {
  switch (showCmd) {
    case 2: case 6: case 7: return WindowShowState::Minimised;
    case 3: return WindowShowState::Maximised;
    default: return WindowShowState::Normal;
  }
}

WindowShowState ShowStateFromSizeKind(unsigned kind, WindowShowState unchanged) {
  switch (kind) {
    case 0: return WindowShowState::Normal;
    case 1: return WindowShowState::Minimised;
    case 2: return WindowShowState::Maximised;
    default: return unchanged;
  }
}

FrameParts LayoutFrameParts(Size w, const FrameMetrics& m, int menuHeight, bool minimised) {
  FrameParts p;
  p.left = {0, 0, m.left, w.height};
  p.right = {w.width - m.right, 0, w.width, w.height};
  p.bottom = {m.left, w.height - m.bottom, w.width - m.right, w.height};
  p.caption = minimised ? Rect{0, 0, w.width, m.top} : Rect{m.left, 0, w.width - m.right, m.top};
  p.menuBar = {m.left, m.top, w.width - m.right, m.top + menuHeight};
  return p;
}

int BorderCell(bool active, int frames) { return active || frames <= 1 ? 1 : 2; }

Surface ComposeBorder(const TDataSkinBorder& b, Size part, bool stackedCells, int cell) {
  return BuildElementBitmap(Rect{0, 0, part.width, part.height}, b.Bitmap, MarginsOf(b),
                            stackedCells, b.Tile != 1, FramesOf(b), cell);
}

bool AnyBorderTransparent(const SkinDefinition& s) {
  return s.BorderLeft.Trans || s.BorderRight.Trans || s.BorderTop.Trans || s.BorderBottom.Trans;
}

std::vector<Rect> FrameRegionRects(const SkinDefinition& skin, Size w, const FrameMetrics& m,
                                   BorderKind border) {
  std::vector<Rect> out;
  if (!AnyBorderTransparent(skin) || w.width <= 0 || w.height <= 0) return out;
  Rect client{m.left, m.top, w.width - m.right, w.height - m.bottom};
  if (!client.IsEmpty()) out.push_back(client);
  if (border == BorderKind::None) return out;
  FrameParts p = LayoutFrameParts(w, m, 0, false);
  Rect top{m.left, 0, w.width - m.right, m.top};
  if (w.height > 1) {
    AddRuns(out, skin.BorderLeft, p.left, false);
    AddRuns(out, skin.BorderRight, p.right, false);
  } else {
    if (!p.left.IsEmpty()) out.push_back(p.left);
    if (!p.right.IsEmpty()) out.push_back(p.right);
  }
  if (m.bottom < 2) {
    if (!p.bottom.IsEmpty()) out.push_back(p.bottom);
  } else {
    AddRuns(out, skin.BorderBottom, p.bottom, true);
  }
  if (m.top > 1) AddRuns(out, skin.BorderTop, top, true);
  else if (!top.IsEmpty()) out.push_back(top);
  // A window smaller than its skin's borders (a caption taller than the
  // window) keeps only the parts of its region inside it.
  const Rect bounds{0, 0, w.width, w.height};
  for (Rect& r : out) r = r.Intersect(bounds);
  std::erase_if(out, [](const Rect& r) { return r.IsEmpty(); });
  return out;
}

int ToolbarButtonCell(unsigned state) {
  if (state & 0x01) return 2;
  if (state & (0x10 | 0x40)) return 4;
  if (!(state & (0x02 | 0x04)) && (state & 0x20)) return 1;
  return 0;
}

CaptionTextLayout LayoutCaptionText(const CaptionTextInput& in) {
  const Rect& c = in.caption;
  Rect t{c.left, c.top, c.left + in.text.width, c.top + in.text.height};
  t.right += in.backLeft + in.backRight;
  int a = t.right;
  int s = 0;
  if (!in.rightToLeft) {
    switch (in.alignment) {
      case 0: s = in.textShift; break;
      case 1: s = (c.right - a) / 2; break;
      case 2: s = c.right - in.textRightClip - a; break;
      default: s = 0;
    }
  } else {
    switch (in.alignment) {
      case 0: s = c.right - in.rightButtonsWidth - a; break;
      case 1: s = (c.right - in.rightButtonsWidth - a) / 2; break;
      case 2: s = in.textShift; break;
      default: s = 0;
    }
  }
  int v = (c.Height() - t.Height()) / 2 + in.textShiftVert / 2;
  t = t.Offset(s, v);
  if (in.rightToLeft && s < 1) t.left = in.textShift;
  if (in.rightToLeft) {
    t = t.Offset(10, 0);
  } else if (in.popup) {
    int limit = c.right - in.rightButtonsWidth - 5;
    if (in.rightButtonsWidth > 5 && limit < t.right) t.right = limit;
  } else {
    int limit = c.right - in.textRightClip;
    if (limit < t.right) t.right = limit;
  }
  // Dialog frames show no icon, so the text takes its place.
  if (in.border == BorderKind::Dialog && in.alignment == 0) t.left -= 16;
  CaptionTextLayout out;
  out.textRect = t;
  out.drawRect = {t.left + in.backLeft, t.top, t.right - in.backRight, t.bottom};
  return out;
}

}  // namespace corvane
