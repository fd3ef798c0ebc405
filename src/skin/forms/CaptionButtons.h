// Caption buttons of a skinned frame: which of the skin's buttons a window
// shows (and whether they are enabled), where each goes in the caption and
// which picture cell it is painted with. Portable pure rules; the form skin
// paints and drives them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Geometry.h"
#include "skin/data/SkinElements.h"
#include "skin/forms/FrameGeometry.h"
#include "skin/forms/NcObjects.h"

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
  // The small-icon size, the icon button's cell without a picture.
  int iconSize = 16;
};
Rect LayoutCaptionButton(const TDataSkinSysButton& button, const CaptionButtonPlace& place);
// One cell of the button's picture; the icon button without a picture of its
// own takes the small-icon size.
Size CaptionButtonCellSize(const TDataSkinSysButton& button, int iconSize);

// The cell a button is painted with in the caption picture: the first, or
// the fourth for an inactive window or a disabled button when it has one.
int CaptionButtonCell(const TDataSkinSysButton& button, bool windowActive, bool enabled);

// The cell a button is repainted with for its state: hot, pressed or normal;
// a disabled one the fourth (or the first without it); a button of the menu
// strip shows hot with the fourth.
int CaptionButtonStateCell(const TDataSkinSysButton& button, int state, bool enabled);

// The icon button, which shows the window's icon instead of a picture.
constexpr bool IsIconButton(int action) { return action == kActionIcon || action == kActionIconToo; }
// Every action that opens the window menu.
constexpr bool IsWindowMenuButton(int action) { return IsIconButton(action) || action == kActionWindowMenu; }

// One caption button of a skinned window: the skin's element it shows (not
// owned) and its place and state in the window.
class TWinSysButton : public TNCObject {
 public:
  // Paints a button straight into the window; the form skin does it.
  class Painter : public TNCHost {
   public:
    virtual void PaintCaptionButton(TWinSysButton& button) = 0;
  };
  TWinSysButton(Painter* form, const TDataSkinSysButton* element) : TNCObject(form), Element(element) {}
  const TDataSkinSysButton* Element;
  void Paint() override { static_cast<Painter*>(Form)->PaintCaptionButton(*this); }
};
using CaptionButtonList = std::vector<std::unique_ptr<TWinSysButton>>;

// The caption button under a window point: the first visible one with an
// action whose rectangle holds it.
TWinSysButton* FindCaptionButton(const CaptionButtonList& buttons, Point windowPoint);

// The hint a caption button shows ("Close", "Maximize", "Minimize",
// "Restore"), empty for buttons without one.
const char* CaptionHintText(int action);

// Room the right-aligned buttons take: the largest XCoord of the visible
// Align 1 buttons with a picture.
int RightButtonsWidth(const std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons,
                      const CaptionWindowFacts& window);

// System commands of the window menu (the window system's values).
namespace syscmd {
constexpr unsigned kSize = 0xF000;
constexpr unsigned kMove = 0xF010;
constexpr unsigned kMinimize = 0xF020;
constexpr unsigned kMaximize = 0xF030;
constexpr unsigned kClose = 0xF060;
constexpr unsigned kRestore = 0xF120;
constexpr unsigned kContextHelp = 0xF180;
}  // namespace syscmd

// One item of the skin's window menu, copied from the system's: its glyph
// in MenuGlyphs (-1 none), whether it can be chosen and carries a check.
struct SkinSystemMenuEntry {
  int imageIndex = -1;
  bool enabled = true;
  bool checked = false;
  friend bool operator==(const SkinSystemMenuEntry&, const SkinSystemMenuEntry&) = default;
};
// The system menu's own state bits are stale until the system prepares the
// menu, so the window commands follow the window's state, boxes and frame
// (only a sizeable frame offers Size); other items keep the state the
// system menu holds.
SkinSystemMenuEntry SystemMenuEntryFor(unsigned command, unsigned systemState, WindowShowState window,
                                       std::uint8_t frameButtons, BorderKind border = BorderKind::Sizeable);

}  // namespace corvane
