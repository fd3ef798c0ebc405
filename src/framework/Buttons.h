// Buttons with pictures: the bitmap button (a push button with a glyph) and
// the speed button (a windowless button, optionally flat, that can stay
// down). Their glyph is a strip of NumGlyphs equal parts (normal, disabled,
// pressed, down) keyed on its bottom-left pixel.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <memory>
#include <string>

#include "framework/StdCtrls.h"

namespace corvane {

class TImageList;
class TPicture;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What both button kinds carry for their picture; skins find it by this type.
class TGlyphButton {
 public:
  virtual ~TGlyphButton() = default;
  Surface Glyph;
  int NumGlyphs = 1;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  // -1: centred (margin) or automatic (spacing).
  int Margin = -1;
  int Spacing = 4;
  // Without a Glyph: the picture Images[ImageIndex], and when disabled
  // Images[DisabledIndex] (-1: the normal image drawn greyed).
  TImageList* Images = nullptr;
  int ImageIndex = -1;
  int DisabledIndex = -1;

  // A picture file shown as the glyph, in place of Glyph (any format the
  // picture layer reads, PNG with its transparency included). A file that
  // cannot be loaded leaves the button without a glyph; nothing is thrown,
  // as a button is still usable without its picture.
  const std::string& PngImage() const { return m_pngImage; }
  void SetPngImage(const std::string& fileName);
  // The loaded picture of PngImage, or nullptr.
  const TPicture* PngPicture() const;

  // Draws the glyph part (1-based) with its top-left at `at`; nothing without a glyph.
  void DrawGlyphPart(HDC dc, POINT at, int part) const;
  Size GlyphPartSize() const;

 protected:
  // "NumGlyphs", "Layout" ("blGlyphLeft"...), "Margin", "Spacing",
  // "PngImage", "Images", "ImageIndex", "DisabledIndex"; monostate otherwise.
  TPropValue GlyphProperty(std::string_view name) const;

 private:
  std::string m_pngImage;
  std::shared_ptr<TPicture> m_pngPicture;
};

class TBitBtn : public TButton, public TGlyphButton {
  CORVANE_CLASS(TBitBtn, TButton)

 public:
  explicit TBitBtn(TComponent* owner);
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;
};

class TSpeedButton : public TGraphicControl, public TGlyphButton {
  CORVANE_CLASS(TSpeedButton, TGraphicControl)

 public:
  explicit TSpeedButton(TComponent* owner);
  // Shows its edge only while the mouse is over it.
  bool Flat = false;
  // Buttons of one non-zero group stay down one at a time.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Down() const { return m_down; }
  void SetDown(bool down);

  TPropValue GetProperty(std::string_view name) const override;
  // Its hover look (and a skin's) goes when the mouse leaves.
  bool WantsMouseLeave() const override { return true; }

 protected:
  void Paint(HDC dc) override;
  void WndProc(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;

 private:
  bool m_down = false;
  bool m_pressed = false;
  bool m_hot = false;
};

}  // namespace corvane
