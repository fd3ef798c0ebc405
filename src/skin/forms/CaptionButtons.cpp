#include "skin/forms/CaptionButtons.h"

#include <algorithm>

namespace corvane {

namespace {

bool HasBox(const CaptionWindowFacts& w, std::uint8_t bits) { return (w.frameButtons & bits) != 0; }

// One condition of the visibility table; asVisibility1 picks the second
// column where the two differ.
bool Condition(int value, bool asVisibility1, const TDataSkinSysButton& b, const CaptionWindowFacts& w,
               bool firstResult) {
  const bool maxOrMin = HasBox(w, kFrameMaximize | kFrameMinimize);
  const bool sysMenu = HasBox(w, kFrameSystemMenu);
  switch (value) {
    case kShowAlways: return true;
    case kShowMaximised: return w.maximised;
    case kShowNotMaximised: return !w.maximised;
    case kShowActive: return w.active;
    case kShowInactive: return !w.active;
    case kShowNever: return false;
    case kShowWithBoxes: case kShowWithBoxesToo: return asVisibility1 ? maxOrMin : maxOrMin && sysMenu;
    case kShowWithoutMaximizeBox: return !HasBox(w, kFrameMaximize);
    case kShowWithoutMinimizeBox: return !HasBox(w, kFrameMinimize);
    case kShowWithHelp:
      return asVisibility1 ? HasBox(w, kFrameHelp) : HasBox(w, kFrameHelp) && !maxOrMin;
    case kShowInMenuStrip: return asVisibility1 ? firstResult : w.mdiChildMaximisedInMenuBar;
    case kShowOnDialog: return w.border == BorderKind::Dialog && !w.isMessageBox;
    case kShowNeverAsSecond: return false;
    default: break;
  }
  if (value >= kShowAlwaysFirst && value <= kShowAlwaysLast) return true;
  if (value >= kShowAskFirst && value <= kShowAskLast)
    return asVisibility1 || (w.askWindow && w.askWindow(value, b.Action) > 0);
  return false;
}

}  // namespace

CaptionButtonState EvaluateCaptionButton(const TDataSkinSysButton& b, const CaptionWindowFacts& w) {
  CaptionButtonState s;
  bool first = Condition(b.Visibility, false, b, w, false);
  s.visible = first && Condition(b.Visibility1, true, b, w, first);
  const bool sysMenu = HasBox(w, kFrameSystemMenu);
  switch (b.Action) {
    case kActionClose: if (!sysMenu) s.visible = false; break;
    case kActionMaximize: s.enabled = HasBox(w, kFrameMaximize) && sysMenu; break;
    case kActionMinimize: s.enabled = HasBox(w, kFrameMinimize) && sysMenu; break;
    case kActionIcon: case kActionIconToo: case kActionWindowMenu:
      if (w.border == BorderKind::Dialog) s.visible = false;
      break;
    default: break;
  }
  return s;
}

Size CaptionButtonCellSize(const TDataSkinSysButton& b, int iconSize) {
  if (b.Bitmap.IsEmpty()) return IsIconButton(b.Action) ? Size{iconSize, iconSize} : Size{};
  return {b.Bitmap.Width() / std::max(1, b.Frame), b.Bitmap.Height()};
}

Rect LayoutCaptionButton(const TDataSkinSysButton& b, const CaptionButtonPlace& p) {
  Size cell = CaptionButtonCellSize(b, p.iconSize);
  Point at{0, 0};
  switch (b.Align) {
    case 0: at = {b.XCoord, b.YCoord}; break;
    case 1: at = {p.window.width - b.XCoord, b.YCoord}; break;
    case 2: case 8: at = {p.textRect.left - cell.width - b.XCoord, b.YCoord}; break;
    case 3: case 9: at = {p.textRect.right + b.XCoord, b.YCoord}; break;
    case 100:
      at = {p.window.width - b.XCoord - p.frame.right - p.menuBarLeftWidth,
            p.frame.top + (p.menuHeight - cell.height) / 2};
      break;
    default: break;
  }
  return Rect::FromSize(at.x, at.y, cell.width, cell.height);
}

int CaptionButtonCell(const TDataSkinSysButton& b, bool windowActive, bool enabled) {
  return b.Frame >= 4 && (!windowActive || !enabled) ? 4 : 1;
}

int CaptionButtonStateCell(const TDataSkinSysButton& b, int state, bool enabled) {
  const int frames = std::max(1, b.Frame);
  if (!enabled) return frames > 3 ? 4 : 1;
  if (b.Visibility == kShowInMenuStrip && state == kNcHot) return 4;
  // A picture with fewer cells than states shows its first.
  return state >= 1 && state <= frames ? state : 1;
}

TWinSysButton* FindCaptionButton(const CaptionButtonList& buttons, Point p) {
  for (const auto& b : buttons)
    if (b->Visible && b->Element->Action >= 0 && b->Bounds.Contains(p)) return b.get();
  return nullptr;
}

const char* CaptionHintText(int action) {
  switch (action) {
    case kActionClose: case kActionChildClose: case kActionChildCloseToo: return "Close";
    case kActionMaximize: case kActionMaximizeToo: return "Maximize";
    case kActionMinimize: case kActionChildMinimize: case kActionMinimizeToo: case kActionChildMinimizeToo:
      return "Minimize";
    case kActionChildRestore: case kActionChildRestoreToo: return "Restore";
    default: return "";
  }
}

SkinSystemMenuEntry SystemMenuEntryFor(unsigned command, unsigned systemState, WindowShowState window,
                                       std::uint8_t frameButtons, BorderKind border) {
  // Grayed (1) and disabled (2) items alike cannot be chosen.
  constexpr unsigned kGrayedOrDisabled = 3, kChecked = 8;
  SkinSystemMenuEntry e;
  e.checked = (systemState & kChecked) != 0;
  const bool maximised = window == WindowShowState::Maximised;
  switch (command) {
    case syscmd::kSize: e.enabled = !maximised && border == BorderKind::Sizeable; break;
    case syscmd::kMove: e.enabled = !maximised; break;
    case syscmd::kMinimize:
      e.imageIndex = 2;
      e.enabled = window != WindowShowState::Minimised && (frameButtons & kFrameMinimize);
      break;
    case syscmd::kMaximize:
      e.imageIndex = 1;
      e.enabled = !maximised && (frameButtons & kFrameMaximize);
      break;
    case syscmd::kRestore: e.imageIndex = 0; e.enabled = window != WindowShowState::Normal; break;
    case syscmd::kClose: e.imageIndex = 3; [[fallthrough]];
    default: e.enabled = (systemState & kGrayedOrDisabled) == 0; break;
  }
  return e;
}

int RightButtonsWidth(const std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons,
                      const CaptionWindowFacts& window) {
  int widest = 0;
  for (const auto& b : buttons)
    if (b && b->Align == 1 && !b->Bitmap.IsEmpty() && EvaluateCaptionButton(*b, window).visible)
      widest = std::max(widest, b->XCoord);
  return widest;
}

}  // namespace corvane
