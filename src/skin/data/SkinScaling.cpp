#include "skin/data/SkinScaling.h"

#include <algorithm>
#include <exception>
#include <tuple>

#include "core/DpiScale.h"
#include "skin/data/SkinLoad.h"
#include "skin/draw/PictureScaling.h"

namespace corvane {

namespace {

int Cells(int frames) { return std::max(frames, 1); }

// Scales one skin's pictures and metrics to a DPI, taking each picture from
// the drawn skin instead when it has one of the right shape.
class Scaler {
 public:
  Scaler(int dpi, DrawnSkin drawn) : m_dpi(dpi), m_drawn(drawn.skin ? drawn : DrawnSkin{}) {}

  // The drawn skin's counterpart of an element, or null.
  template <typename Record>
  const Record* Drawn(std::unique_ptr<Record> SkinDefinition::*slot) const {
    return m_drawn.skin ? (m_drawn.skin->*slot).get() : nullptr;
  }
  const SkinDefinition* DrawnSkinOrNull() const { return m_drawn.skin; }

  // Keyed always: a transparent pixel must stay exactly the key wherever a
  // picture has one, or regions cut from it would fray.
  Surface Picture(const Surface& picture, const Surface* drawn, int cells, int stackedCells = 1) const {
    if (picture.IsEmpty()) return {};
    // A drawn picture counts only with exactly the size its cells have at
    // the DPI it was drawn for: anything else (a damaged or foreign set) is
    // ignored and the skin's own picture resampled.
    const Size designed{picture.Width(), picture.Height()};
    if (drawn && !drawn->IsEmpty()) {
      const Size expected = ScaledPictureSize(designed, cells, m_drawn.dpi, stackedCells);
      if (drawn->Width() == expected.width && drawn->Height() == expected.height) {
        if (m_drawn.dpi == m_dpi) return Surface(*drawn);
        return ScalePictureBetween(drawn->View(), cells, m_drawn.dpi, m_dpi, true, kColourKey, stackedCells);
      }
    }
    return ScalePicture(picture.View(), cells, m_dpi, true, kColourKey, stackedCells);
  }

  int Length(int designed) const { return ScaleToDpi(designed, m_dpi); }

  // What every element has: its picture and its nine-slice margins.
  void Base(TDataSkinObject& e, const TDataSkinObject* drawn, int stackedCells = 1) const {
    const Surface* picture = drawn ? &drawn->Bitmap : nullptr;
    e.Bitmap = stackedCells > 1 ? Picture(e.Bitmap, picture, 1, stackedCells)
                                : Picture(e.Bitmap, picture, Cells(e.Frame));
    e.LeftWidth = Length(e.LeftWidth);
    e.TopHeight = Length(e.TopHeight);
    e.RightWidth = Length(e.RightWidth);
    e.BottomHeight = Length(e.BottomHeight);
  }

  void Element(TDataSkinObject& e, const TDataSkinObject* drawn) const { Base(e, drawn); }

  void Element(TDataSkinBorder& e, const TDataSkinBorder* drawn, int secondCells) const {
    Base(e, drawn);
    e.Bitmap2 = Picture(e.Bitmap2, drawn ? &drawn->Bitmap2 : nullptr, secondCells);
  }

  void Element(TDataSkinBoxLabel& e, const TDataSkinBoxLabel* drawn) const {
    Base(e, drawn);
    e.BackgroundLeftShift = Length(e.BackgroundLeftShift);
    e.BackgroundRightShift = Length(e.BackgroundRightShift);
  }

  template <typename Record, typename... Extra>
  std::unique_ptr<Record> Copy(const SkinDefinition& skin, std::unique_ptr<Record> SkinDefinition::*slot,
                               Extra... extra) const {
    const std::unique_ptr<Record>& from = skin.*slot;
    if (!from) return nullptr;
    auto copy = std::make_unique<Record>(*from);
    Element(*copy, Drawn(slot), extra...);
    return copy;
  }

 private:
  int m_dpi;
  DrawnSkin m_drawn;
};

}  // namespace

std::unique_ptr<SkinDefinition> ScaleSkin(const SkinDefinition& skin, int dpi, DrawnSkin drawnSkin) {
  const Scaler scale(dpi, drawnSkin);
  const SkinDefinition* drawn = scale.DrawnSkinOrNull();
  auto out = std::make_unique<SkinDefinition>(skin.System());
  SkinDefinition& s = *out;
  s.SkinName = skin.SkinName;
  s.SkinEmpty = skin.SkinEmpty;
  s.Colours = skin.Colours;
  s.ColourDefined = skin.ColourDefined;
  s.ColourSections = skin.ColourSections;
  s.CustomColors = skin.CustomColors;

  s.Buttons = skin.Buttons;
  scale.Base(s.Buttons, drawn ? &drawn->Buttons : nullptr);
  s.Buttons.CheckBitmap = scale.Picture(skin.Buttons.CheckBitmap, drawn ? &drawn->Buttons.CheckBitmap : nullptr,
                                        Cells(skin.Buttons.CheckFrame));
  s.Buttons.RadioBitmap = scale.Picture(skin.Buttons.RadioBitmap, drawn ? &drawn->Buttons.RadioBitmap : nullptr,
                                        Cells(skin.Buttons.RadioFrame));

  // Caption text: the margins hold its shift, vertical shift and right clip.
  s.Title = skin.Title;
  scale.Base(s.Title, drawn ? &drawn->Title : nullptr);
  s.Title.FontHeight = scale.Length(skin.Title.FontHeight);
  s.Title.TXTBackleft = scale.Length(skin.Title.TXTBackleft);
  s.Title.TXTBackRight = scale.Length(skin.Title.TXTBackRight);

  // Side borders hold their active and inactive cells side by side; the
  // caption and bottom borders hold theirs one above the other.
  for (auto [slot, stacked] : {std::tuple{&SkinDefinition::BorderLeft, false},
                               std::tuple{&SkinDefinition::BorderRight, false},
                               std::tuple{&SkinDefinition::BorderTop, true},
                               std::tuple{&SkinDefinition::BorderBottom, true}}) {
    const TDataSkinBorder& from = skin.*slot;
    TDataSkinBorder& to = s.*slot;
    const TDataSkinBorder* art = drawn ? &(drawn->*slot) : nullptr;
    to = from;
    scale.Base(to, art, stacked ? Cells(from.Frame) : 1);
    to.Bitmap2 = scale.Picture(from.Bitmap2, art ? &art->Bitmap2 : nullptr, Cells(from.Frame), 1);
  }

  for (std::size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
    const auto& button = skin.CaptionButtons[i];
    auto copy = std::make_unique<TDataSkinSysButton>(*button);
    const TDataSkinSysButton* art =
        drawn && i < drawn->CaptionButtons.size() ? drawn->CaptionButtons[i].get() : nullptr;
    scale.Base(*copy, art);
    copy->XCoord = scale.Length(button->XCoord);
    copy->YCoord = scale.Length(button->YCoord);
    s.CaptionButtons.push_back(std::move(copy));
  }

  s.Progress = scale.Copy(skin, &SkinDefinition::Progress, 1);
  s.ProgressChunk = scale.Copy(skin, &SkinDefinition::ProgressChunk);
  s.MenuBar = scale.Copy(skin, &SkinDefinition::MenuBar);
  s.GroupBoxEdge = scale.Copy(skin, &SkinDefinition::GroupBoxEdge);
  s.GroupBox = scale.Copy(skin, &SkinDefinition::GroupBox);
  // The tab's second picture is the page behind the tabs, one cell.
  s.Tabs = scale.Copy(skin, &SkinDefinition::Tabs, 1);
  s.StatusBarEdges = scale.Copy(skin, &SkinDefinition::StatusBarEdges);
  s.TabPane = scale.Copy(skin, &SkinDefinition::TabPane);
  s.ToolBars = scale.Copy(skin, &SkinDefinition::ToolBars);
  // The combo button's second picture is its mirror: the same cells.
  s.ComboButton = scale.Copy(skin, &SkinDefinition::ComboButton, skin.ComboButton ? Cells(skin.ComboButton->Frame) : 1);
  s.SunkEdge = scale.Copy(skin, &SkinDefinition::SunkEdge);
  s.ExtraImages = scale.Copy(skin, &SkinDefinition::ExtraImages);
  s.Headerbar = scale.Copy(skin, &SkinDefinition::Headerbar);
  s.MenuItem = scale.Copy(skin, &SkinDefinition::MenuItem);
  s.MenuBackground = scale.Copy(skin, &SkinDefinition::MenuBackground);
  s.Scrollbar = scale.Copy(skin, &SkinDefinition::Scrollbar);
  s.HorzScroll = scale.Copy(skin, &SkinDefinition::HorzScroll);
  s.VertScroll = scale.Copy(skin, &SkinDefinition::VertScroll);
  s.HorzScrollThumb = scale.Copy(skin, &SkinDefinition::HorzScrollThumb);
  s.VertScrollThumb = scale.Copy(skin, &SkinDefinition::VertScrollThumb);
  s.TrackThumbHorz = scale.Copy(skin, &SkinDefinition::TrackThumbHorz);
  s.TrackThumbVert = scale.Copy(skin, &SkinDefinition::TrackThumbVert);
  s.TrackThumbLeft = scale.Copy(skin, &SkinDefinition::TrackThumbLeft);
  s.TrackThumbRight = scale.Copy(skin, &SkinDefinition::TrackThumbRight);
  s.TrackThumbUp = scale.Copy(skin, &SkinDefinition::TrackThumbUp);
  s.TrackThumbDown = scale.Copy(skin, &SkinDefinition::TrackThumbDown);
  // Up-down glyphs: eight, one over each button cell.
  s.UpDownHorz = scale.Copy(skin, &SkinDefinition::UpDownHorz, 8);
  s.UpDownVert = scale.Copy(skin, &SkinDefinition::UpDownVert, 8);
  s.Track = scale.Copy(skin, &SkinDefinition::Track);
  s.TrackVert = scale.Copy(skin, &SkinDefinition::TrackVert);
  s.ComboxArrow = scale.Copy(skin, &SkinDefinition::ComboxArrow);
  s.Toolbar = scale.Copy(skin, &SkinDefinition::Toolbar);
  return out;
}

const ScaledSkinStream* ChooseScaledSet(std::span<const ScaledSkinStream> sets, int dpi) {
  const ScaledSkinStream* best = nullptr;
  for (const ScaledSkinStream& set : sets)
    if (set.dpi >= dpi && (!best || set.dpi < best->dpi)) best = &set;
  return best;
}

std::unique_ptr<SkinDefinition> SkinAtDpi(const SkinDefinition& skin, int dpi,
                                          std::span<const ScaledSkinStream> sets) {
  const ScaledSkinStream* chosen = ChooseScaledSet(sets, dpi);
  if (!chosen || skin.SkinEmpty) return ScaleSkin(skin, dpi);
  SkinDefinition drawn(skin.System());
  try {
    if (LoadSkinStream(chosen->stream, drawn) != SkinLoadStatus::Loaded || drawn.SkinEmpty)
      return ScaleSkin(skin, dpi);
  } catch (const std::exception&) {
    // A damaged set is never reported: the skin's own pictures serve.
    return ScaleSkin(skin, dpi);
  }
  return ScaleSkin(skin, dpi, {&drawn, chosen->dpi});
}

}  // namespace corvane
