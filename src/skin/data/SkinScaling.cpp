#include "skin/data/SkinScaling.h"

#include <algorithm>
#include <tuple>

#include "core/DpiScale.h"
#include "skin/draw/PictureScaling.h"

namespace corvane {

namespace {

int Cells(int frames) { return std::max(frames, 1); }

Surface Scaled(const Surface& picture, int cells, int dpi, int stackedCells = 1) {
  if (picture.IsEmpty()) return {};
  // Keyed always: a transparent pixel must stay exactly the key wherever
  // a picture has one, or regions cut from it would fray.
  return ScalePicture(picture.View(), cells, dpi, true, kColourKey, stackedCells);
}

// What every element has: its picture and its nine-slice margins.
void ScaleBase(TDataSkinObject& e, int dpi, int stackedCells = 1) {
  e.Bitmap = stackedCells > 1 ? Scaled(e.Bitmap, 1, dpi, stackedCells) : Scaled(e.Bitmap, Cells(e.Frame), dpi);
  e.LeftWidth = ScaleToDpi(e.LeftWidth, dpi);
  e.TopHeight = ScaleToDpi(e.TopHeight, dpi);
  e.RightWidth = ScaleToDpi(e.RightWidth, dpi);
  e.BottomHeight = ScaleToDpi(e.BottomHeight, dpi);
}

void ScaleElement(TDataSkinObject& e, int dpi) { ScaleBase(e, dpi); }

void ScaleElement(TDataSkinBorder& e, int dpi, int secondCells) {
  ScaleBase(e, dpi);
  e.Bitmap2 = Scaled(e.Bitmap2, secondCells, dpi);
}

void ScaleElement(TDataSkinBoxLabel& e, int dpi) {
  ScaleBase(e, dpi);
  e.BackgroundLeftShift = ScaleToDpi(e.BackgroundLeftShift, dpi);
  e.BackgroundRightShift = ScaleToDpi(e.BackgroundRightShift, dpi);
}

template <typename Record, typename... Extra>
std::unique_ptr<Record> ScaledCopy(const std::unique_ptr<Record>& from, int dpi, Extra... extra) {
  if (!from) return nullptr;
  auto copy = std::make_unique<Record>(*from);
  ScaleElement(*copy, dpi, extra...);
  return copy;
}

}  // namespace

std::unique_ptr<SkinDefinition> ScaleSkin(const SkinDefinition& skin, int dpi) {
  auto out = std::make_unique<SkinDefinition>(skin.System());
  SkinDefinition& s = *out;
  s.SkinName = skin.SkinName;
  s.SkinEmpty = skin.SkinEmpty;
  s.Colours = skin.Colours;
  s.ColourDefined = skin.ColourDefined;
  s.ColourSections = skin.ColourSections;
  s.CustomColors = skin.CustomColors;

  s.Buttons = skin.Buttons;
  ScaleBase(s.Buttons, dpi);
  s.Buttons.CheckBitmap = Scaled(skin.Buttons.CheckBitmap, Cells(skin.Buttons.CheckFrame), dpi);
  s.Buttons.RadioBitmap = Scaled(skin.Buttons.RadioBitmap, Cells(skin.Buttons.RadioFrame), dpi);

  // Caption text: the margins hold its shift, vertical shift and right clip.
  s.Title = skin.Title;
  ScaleBase(s.Title, dpi);
  s.Title.FontHeight = ScaleToDpi(skin.Title.FontHeight, dpi);
  s.Title.TXTBackleft = ScaleToDpi(skin.Title.TXTBackleft, dpi);
  s.Title.TXTBackRight = ScaleToDpi(skin.Title.TXTBackRight, dpi);

  // Side borders hold their active and inactive cells side by side; the
  // caption and bottom borders hold theirs one above the other.
  for (auto [from, to, stacked] : {std::tuple{&skin.BorderLeft, &s.BorderLeft, false},
                                   std::tuple{&skin.BorderRight, &s.BorderRight, false},
                                   std::tuple{&skin.BorderTop, &s.BorderTop, true},
                                   std::tuple{&skin.BorderBottom, &s.BorderBottom, true}}) {
    *to = *from;
    ScaleBase(*to, dpi, stacked ? Cells(from->Frame) : 1);
    to->Bitmap2 = Scaled(from->Bitmap2, Cells(from->Frame), dpi, 1);
  }

  for (const auto& button : skin.CaptionButtons) {
    auto copy = std::make_unique<TDataSkinSysButton>(*button);
    ScaleBase(*copy, dpi);
    copy->XCoord = ScaleToDpi(button->XCoord, dpi);
    copy->YCoord = ScaleToDpi(button->YCoord, dpi);
    s.CaptionButtons.push_back(std::move(copy));
  }

  s.Progress = ScaledCopy(skin.Progress, dpi, 1);
  s.ProgressChunk = ScaledCopy(skin.ProgressChunk, dpi);
  s.MenuBar = ScaledCopy(skin.MenuBar, dpi);
  s.GroupBoxEdge = ScaledCopy(skin.GroupBoxEdge, dpi);
  s.GroupBox = ScaledCopy(skin.GroupBox, dpi);
  // The tab's second picture is the page behind the tabs, one cell.
  s.Tabs = ScaledCopy(skin.Tabs, dpi, 1);
  s.StatusBarEdges = ScaledCopy(skin.StatusBarEdges, dpi);
  s.TabPane = ScaledCopy(skin.TabPane, dpi);
  s.ToolBars = ScaledCopy(skin.ToolBars, dpi);
  // The combo button's second picture is its mirror: the same cells.
  s.ComboButton = ScaledCopy(skin.ComboButton, dpi, skin.ComboButton ? Cells(skin.ComboButton->Frame) : 1);
  s.SunkEdge = ScaledCopy(skin.SunkEdge, dpi);
  s.ExtraImages = ScaledCopy(skin.ExtraImages, dpi);
  s.Headerbar = ScaledCopy(skin.Headerbar, dpi);
  s.MenuItem = ScaledCopy(skin.MenuItem, dpi);
  s.MenuBackground = ScaledCopy(skin.MenuBackground, dpi);
  s.Scrollbar = ScaledCopy(skin.Scrollbar, dpi);
  s.HorzScroll = ScaledCopy(skin.HorzScroll, dpi);
  s.VertScroll = ScaledCopy(skin.VertScroll, dpi);
  s.HorzScrollThumb = ScaledCopy(skin.HorzScrollThumb, dpi);
  s.VertScrollThumb = ScaledCopy(skin.VertScrollThumb, dpi);
  s.TrackThumbHorz = ScaledCopy(skin.TrackThumbHorz, dpi);
  s.TrackThumbVert = ScaledCopy(skin.TrackThumbVert, dpi);
  s.TrackThumbLeft = ScaledCopy(skin.TrackThumbLeft, dpi);
  s.TrackThumbRight = ScaledCopy(skin.TrackThumbRight, dpi);
  s.TrackThumbUp = ScaledCopy(skin.TrackThumbUp, dpi);
  s.TrackThumbDown = ScaledCopy(skin.TrackThumbDown, dpi);
  // Up-down glyphs: eight, one over each button cell.
  s.UpDownHorz = ScaledCopy(skin.UpDownHorz, dpi, 8);
  s.UpDownVert = ScaledCopy(skin.UpDownVert, dpi, 8);
  s.Track = ScaledCopy(skin.Track, dpi);
  s.TrackVert = ScaledCopy(skin.TrackVert, dpi);
  s.ComboxArrow = ScaledCopy(skin.ComboxArrow, dpi);
  s.Toolbar = ScaledCopy(skin.Toolbar, dpi);
  return out;
}

}  // namespace corvane
