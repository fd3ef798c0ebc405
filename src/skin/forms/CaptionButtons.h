// Caption buttons of a skinned frame: which of the skin's buttons a window
// shows (and whether they are enabled), where each goes in the caption and
// which picture cell it is painted with. Portable pure rules; the form skin
// paints and drives them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/Geometry.h"
#include "skin/data/SkinElements.h"
#include "skin/forms/FrameGeometry.h"

namespace corvane {

// What the visibility rules ask of the window.
struct CaptionWindowFacts {
  bool maximised = false;
  bool active = true;
  std::uint8_t frameButtons = 0;
  BorderKind border = BorderKind::Single;
  bool isMessageBox = false;
  // An MDI frame whose active child is maximised, with a skinned menu bar.
  bool mdiChildMaximisedInMenuBar = false;
  // Answers a skin-defined visibility query (values 1000 to 2000); none
  // means hidden.
  std::function<int(int visibility, int action)> askWindow;
};

struct CaptionButtonState {
  bool visible = false;
  bool enabled = true;
  friend bool operator==(const CaptionButtonState&, const CaptionButtonState&) = default;
};
CaptionButtonState EvaluateCaptionButton(const TDataSkinSysButton& button, const CaptionWindowFacts& window);

// The button's rectangle in window coordinates (one cell of its picture).
struct CaptionButtonPlace {
  Size window;
  Rect textRect;
  FrameMetrics frame;
  int menuHeight = 0;
  int menuBarLeftWidth = 0;
};
Rect LayoutCaptionButton(const TDataSkinSysButton& button, const CaptionButtonPlace& place);

// The cell a button is painted with in the caption picture: the first, or
// the fourth for an inactive window or a disabled button when it has one.
int CaptionButtonCell(const TDataSkinSysButton& button, bool windowActive, bool enabled);

// The icon button, which shows the window's icon instead of a picture.
constexpr bool IsIconButton(int action) { return action == 3 || action == 11; }

// Room the right-aligned buttons take: the largest XCoord of the visible
// Align 1 buttons with a picture.
int RightButtonsWidth(const std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons,
                      const CaptionWindowFacts& window);

}  // namespace corvane
