// Skinned buttons: push buttons, bitmap and drop-down buttons, speed buttons,
// check boxes and radio buttons, all drawn from the skin's Buttons element
// (its strip of five button cells and its check and radio pictures). Each
// paint composes the whole control off screen and puts it up with one blit.
// Windows only.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <memory>
#include <string>

#include "pictures/WinPicture.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class TImageList;

class OffscreenSurface;
struct TDataSkinButton;

class TSkinButton : public TSkinControl {
  CORVANE_CLASS(TSkinButton, TSkinControl)

 public:
  explicit TSkinButton(TComponent* owner);
  ~TSkinButton() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  // The parent's picture shows around the skin's frame (Tag 5555 or the
  // skin's transparent option).
  bool Transparent() const { return m_transparent; }
  // The strip cell the last paint used (1-based).
  int LastCell() const { return m_lastCell; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

  // The cell for the current state.
  virtual int Cell();
  const TDataSkinButton& Buttons() const;
  bool HasButtonPicture() const;
  // The off-screen picture, sized to size and filled with the background
  // and the button cell.
  OffscreenSurface& ComposeFace(Size size, int cell);
  // The caption font and colour for cell; returns the font selected.
  HFONT SelectCaptionFont(HDC dc, int cell);
  // Prefix and focus-rectangle flags as the keyboard cues say now.
  unsigned PrefixFlags() const;
  bool FocusCueShown() const;
  std::wstring CaptionText() const;
  void DecideTransparency();
  void Click();

  bool m_transparent = false;
  int m_lastCell = 0;

 private:
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// A push button with a glyph beside its caption.
class TSkinBitButton : public TSkinButton {
  CORVANE_CLASS(TSkinBitButton, TSkinButton)

 public:
  using TSkinButton::TSkinButton;
  // The glyph property of png buttons; empty: the button's own glyph.
  std::string GlyphPropertyName;

 protected:
  void Paint(HDC dc, const RECT& r) override;
  // Pressed, down and disabled as the glyph part shows them.
  virtual bool GlyphDown() const { return false; }

 private:
  // Where the glyph comes from, first found first: the picture file the
  // glyph property names, the button's own glyph strip, its image list.
  struct GlyphSource {
    const Surface* strip = nullptr;
    int parts = 1;
    const TPicture* picture = nullptr;
    const TImageList* images = nullptr;
    int imageIndex = -1;
    int disabledIndex = -1;
    Size size;
  };
  GlyphSource FindGlyph(const TControl* subject);
  // Draws the glyph's part for the state at `at` in the buffer.
  void DrawGlyph(OffscreenSurface& buffer, const GlyphSource& glyph, Point at);
  // The picture named by the glyph property, loaded once per name; a name
  // that cannot be loaded gives none.
  std::unique_ptr<TPicture> m_picture;
  std::string m_pictureName;
};

// A drop-down button: hot or focused share a cell; there is no default look.
class TSkinMenuButton : public TSkinBitButton {
  CORVANE_CLASS(TSkinMenuButton, TSkinBitButton)

 public:
  using TSkinBitButton::TSkinBitButton;

 protected:
  int Cell() override;
};

// A windowless speed button, painted on its parent's DC.
class TSkinSpeedButton : public TSkinBitButton {
  CORVANE_CLASS(TSkinSpeedButton, TSkinBitButton)

 public:
  using TSkinBitButton::TSkinBitButton;
  void AttachSpeedButton(TWinSkinForm* formSkin, TSkinData* skinData);
  void PaintWindow(HDC dc) override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  int Cell() override;
  bool GlyphDown() const override;

 private:
  bool m_painting = false;
};

// Check boxes and radio buttons share their drawing; they differ in their
// picture and their cell rule.
class TSkinCheckable : public TSkinControl {
  CORVANE_CLASS(TSkinCheckable, TSkinControl)

 public:
  explicit TSkinCheckable(TComponent* owner);
  ~TSkinCheckable() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  void SkinChanged() override;
  int LastCell() const { return m_lastCell; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  virtual const Surface& Picture() const = 0;
  virtual int Frames() const = 0;
  virtual int Cell() = 0;
  // How far inside the right edge a left-text image ends.
  virtual int RightInset() const { return 0; }
  void ChooseMode();

  bool m_transparent = false;
  int m_storedCheck = 0;
  int m_lastCell = 0;

 private:
  std::unique_ptr<OffscreenSurface> m_buffer;
};

class TSkinCheckBox : public TSkinCheckable {
  CORVANE_CLASS(TSkinCheckBox, TSkinCheckable)

 public:
  using TSkinCheckable::TSkinCheckable;

 protected:
  const Surface& Picture() const override;
  int Frames() const override;
  int Cell() override;
};

class TSkinRadioButton : public TSkinCheckable {
  CORVANE_CLASS(TSkinRadioButton, TSkinCheckable)

 public:
  using TSkinCheckable::TSkinCheckable;

 protected:
  const Surface& Picture() const override;
  int Frames() const override;
  int Cell() override;
  int RightInset() const override { return 1; }
};

}  // namespace corvane
