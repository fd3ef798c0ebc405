// Element records: one per skinnable part, holding its picture strip, how the
// strip is cut into state cells and margins, and a few colours. Portable:
// pictures are Surfaces; the Windows skin component owns the records.
#pragma once

#include <string>
#include <utility>

#include "core/Surface.h"

namespace corvane {

// The base element: a picture strip of Frame cells cut nine ways by the four
// margins. The colour fields use -1 for "none" where the skin may leave them.
struct TDataSkinObject {
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;

  int LeftWidth = 0;
  int TopHeight = 0;
  int RightWidth = 0;
  int BottomHeight = 0;
  Surface Bitmap;
  // Non-zero: magenta pixels are left out when the element is drawn.
  int Trans = 0;
  // 1: the centre is tiled; 0: stretched (frame borders store "Stretch" here).
  int Tile = 0;
  std::string Name;
  int Frame = 0;
  int Style = 0;
  int NormalColour = -1;
  int MouseOverColour = -1;
  int PressedColour = -1;
  Colour NormalColour2 = 0;
  Colour MouseOverColour2 = 0;
  Colour PressedColour2 = 0;
};

// An element with a second picture: frame borders, tabs (border image),
// up-down glyphs, the prepared combo-button mirror and the progress bar.
struct TDataSkinBorder : TDataSkinObject {
  using TDataSkinObject::TDataSkinObject;
  Surface Bitmap2;
};

// The group-box caption background.
struct TDataSkinBoxLabel : TDataSkinObject {
  using TDataSkinObject::TDataSkinObject;
  int BackgroundLeftShift = 0;
  int BackgroundRightShift = 0;
  int BackgroundAlignment = 0;
};

// Push buttons, with the check-box and radio-button pictures beside them.
struct TDataSkinButton : TDataSkinObject {
  using TDataSkinObject::TDataSkinObject;
  Surface CheckBitmap;
  Surface RadioBitmap;
  int RadioFrame = 0;
  int CheckFrame = 0;
  // 1 when the skin gave the matching "...Colour2" key a value.
  std::uint8_t HasNormalColour2 = 0;
  std::uint8_t HasMouseOverColour2 = 0;
  std::uint8_t HasPressedColour2 = 0;
};

// What a caption button does (its Action; several values share an effect,
// and any other value is the window's own, sent as WM_SKINBUTTONACTION).
enum TCaptionAction : int {
  kActionNone = -1,
  kActionClose = 0,
  kActionMaximize = 1,
  kActionMinimize = 2,
  kActionIcon = 3,
  kActionHelp = 4,
  kActionChildMinimize = 7,
  kActionChildRestore = 8,
  kActionChildClose = 9,
  kActionIconToo = 11,
  kActionWindowMenu = 12,
  kActionMaximizeToo = 22,
  kActionMinimizeToo = 23,
  kActionChildMinimizeToo = 60,
  kActionChildRestoreToo = 61,
  kActionChildCloseToo = 62,
};

// When a caption button shows (its Visibility and Visibility1). Values from
// kShowAlwaysFirst to kShowAlwaysLast always show; from kShowAskFirst to
// kShowAskLast the window is asked; any other value never shows.
enum TCaptionVisibility : int {
  kShowNeverAsSecond = -1,
  kShowAlways = 0,
  kShowMaximised = 1,
  kShowNotMaximised = 2,
  kShowActive = 3,
  kShowInactive = 4,
  kShowNever = 5,
  kShowWithBoxes = 6,
  kShowWithoutMaximizeBox = 7,
  kShowWithBoxesToo = 8,
  kShowWithoutMinimizeBox = 9,
  kShowWithHelp = 10,
  kShowInMenuStrip = 100,
  kShowOnDialog = 200,
  kShowAlwaysFirst = 201,
  kShowAlwaysLast = 999,
  kShowAskFirst = 1000,
  kShowAskLast = 2000,
};

// A caption button (skin-defined or one of the three MDI child buttons).
struct TDataSkinSysButton : TDataSkinObject {
  using TDataSkinObject::TDataSkinObject;
  int Action = 0;
  int Align = 0;
  int XCoord = 0;
  int YCoord = 0;
  int CombineOp = 0;
  int Visibility = 0;
  int Visibility1 = 0;
};

// Caption text placement. Here the base fields mean: Bitmap = the text
// background picture, LeftWidth = text shift, TopHeight = vertical shift,
// RightWidth = right clip.
struct TDataSkinTitle : TDataSkinObject {
  using TDataSkinObject::TDataSkinObject;
  // Marks a title text colour the skin did not give.
  static constexpr Colour kNoColour = 0x1FFFFFFF;
  int TextAlignment = 0;
  int Textbackground = 0;
  int FontHeight = 0;
  int TXTBackleft = 0;
  int TXTBackRight = 0;
  Colour ActiveTextColour = kNoColour;
  Colour InactiveTextColour = kNoColour;
};

}  // namespace corvane
