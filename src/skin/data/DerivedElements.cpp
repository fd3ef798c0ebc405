#include "skin/data/DerivedElements.h"

#include <algorithm>

#include "skin/data/BitmapUtils.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {
Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}
}  // namespace

Colour FrameColour(const SkinDefinition& skin) {
  const Surface& top = skin.BorderTop.Bitmap;
  if (top.IsEmpty()) return skin.Colours[SkinDefinition::kButtonFace];
  // A "TopFrame" of 0 or less would divide by zero; such a border is one cell.
  const int frames = std::max(skin.BorderTop.Frame, 1);
  const int x = top.Width() / 3;
  const int y = (top.Height() / frames) / 3;
  return ColourFromPixel(top.At(x, y));
}

void BuildComboComposite(SkinDefinition& skin) {
  if (!skin.SunkEdge || !skin.ComboButton) return;
  TDataSkinObject& sunk = *skin.SunkEdge;
  TDataSkinBorder& button = *skin.ComboButton;
  const int n = std::max(sunk.Frame, 1);
  const int b = skin.System().HorzScrollArrowWidth() + 2;
  const Pixel magenta = PixelFromColour(kColourKey);
  Surface result(kComboCell.width * n, kComboCell.height, magenta);
  Surface cell(kComboCell.width, kComboCell.height);
  const Rect whole{0, 0, kComboCell.width, kComboCell.height};
  const Rect buttonArea{kComboCell.width - b, 0, kComboCell.width, kComboCell.height};
  for (int s = 1; s <= n; ++s) {
    // Each state starts from a clear cell, so what one state leaves
    // transparent never shows the previous state's pixels.
    cell.View().Fill(magenta);
    DrawElement(cell.View(), whole, sunk.Bitmap, false, false, sunk.Trans != 0, sunk.Frame, s,
                MarginsOf(sunk));
    DrawElement(cell.View(), buttonArea, button.Bitmap, false, false, true, button.Frame, s,
                MarginsOf(button));
    if (skin.ExtraImages)
      DrawCentredCell(cell.View(), buttonArea, skin.ExtraImages->Bitmap, true,
                      skin.ExtraImages->Frame, s);
    cell.View().Sub({2, 2, 49 - b, 18}).Fill(magenta);
    StretchCopy(result.View(), Rect::FromSize(kComboCell.width * (s - 1), 0, kComboCell.width,
                                              kComboCell.height),
                cell.View(), whole);
  }
  button.Style = 2;
  button.LeftWidth = 2;
  button.TopHeight = sunk.TopHeight;
  button.RightWidth = b + 2;
  button.BottomHeight = sunk.BottomHeight;
  button.Bitmap = result;
  MirrorBitmap(result);
  sunk.Bitmap = std::move(result);
  sunk.LeftWidth = b + 2;
  sunk.RightWidth = 2;
}

void BuildComboArrow(SkinDefinition& skin) {
  if (!skin.ComboxArrow) skin.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  TDataSkinObject& arrow = *skin.ComboxArrow;
  if (!skin.SunkEdge) {
    if (skin.ComboButton) {
      arrow.Bitmap = skin.ComboButton->Bitmap;
      ReplaceMagenta(arrow.Bitmap, skin.Colours[SkinDefinition::kButtonFace]);
      arrow.Frame = skin.ComboButton->Frame;
    } else {
      // A new skin without a combo button must not keep the last skin's arrow.
      arrow.Bitmap = Surface();
      arrow.Frame = 0;
    }
    return;
  }
  if (skin.ComboButton && skin.ComboButton->Style == 2) {
    const int n = std::max(skin.SunkEdge->Frame, 1);
    const Surface& joined = skin.ComboButton->Bitmap;
    const int w = joined.Width() / n;
    Surface strip(kComboArrowCell * n, kComboArrowCell);
    for (int i = 0; i < n; ++i)
      StretchCopy(strip.View(), Rect::FromSize(kComboArrowCell * i, 0, kComboArrowCell, kComboArrowCell),
                  joined.View(), {w * (i + 1) - 19, 2, w * (i + 1) - 2, 19});
    arrow.Bitmap = std::move(strip);
    arrow.Frame = n;
  }
}

void BuildToolbarGradient(SkinDefinition& skin) {
  const Colour c = FrameColour(skin);
  const Colour face = skin.Colours[SkinDefinition::kButtonFace];
  Colour bottom = Blend(0x808080, c, 150, skin.System());
  const Colour top = Blend(face, 0xFFFFFF, 150, skin.System());
  const int s = ColourSaturation(c);
  if (s > 110) bottom = Blend(c, 0xFFFFFF, (5625 - 25 * s) / 140 + 50, skin.System());
  Surface picture(kToolbarGradient.width, kToolbarGradient.height);
  GradientFill(picture.View(), picture.View().Bounds(), top, true, bottom, skin.System());
  if (!skin.Toolbar) skin.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
  skin.Toolbar->Bitmap = std::move(picture);
  skin.Toolbar->Frame = 1;
}

void BuildDerivedElements(SkinDefinition& skin) {
  BuildComboComposite(skin);
  BuildComboArrow(skin);
  BuildToolbarGradient(skin);
  skin.Colours[SkinDefinition::kFrameColour] = FrameColour(skin);
}

}  // namespace corvane
