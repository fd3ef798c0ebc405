// Skinned range controls and foreign glyph controls: progress bars from the
// skin's Progress and ProgressChunk pictures, the channel and thumb of track
// bars from Track, TrackVert and the track thumbs, up-downs from the
// UpDownVert and UpDownHorz strips with their arrow strips, and check and
// radio controls of other libraries that take custom glyph strips, given
// strips cut from the skin's check and radio pictures. Windows only.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <memory>

#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;

// Progress bars: the whole bar composed off screen (lying down and turned
// for vertical bars) and put up with one blit. Without the pictures it
// needs the system draws the bar.
class TSkinProgress : public TSkinControl {
  CORVANE_CLASS(TSkinProgress, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  bool CanDraw() const;
};

// Track bars: the system draws the bar, its ticks and its focus; the skin
// draws the channel and the thumb through the bar's custom-draw
// notifications. The bar paints into an off-screen picture that reaches the
// screen with one blit, on the skin's face colour.
class TSkinTrackBar : public TSkinControl {
  CORVANE_CLASS(TSkinTrackBar, TSkinControl)

 public:
  explicit TSkinTrackBar(TComponent* owner);
  ~TSkinTrackBar() override;

 protected:
  bool BeforeMessage(TMessage& m) override;

 private:
  // Answers one custom-draw notification; false when it is not the bar's.
  bool CustomDraw(TMessage& m);
  void DrawChannel(HDC dc, const RECT& channel, bool vertical);
  void DrawThumb(HDC dc, const RECT& thumb, bool vertical);
  void PaintOffscreen(TMessage& m);
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// Up-down controls, also those inside an edit (which the edit's skin makes
// and marks with SetInsideEdit): each half from its cell of the 8-cell
// strip with its arrow over it, or a plain face-and-shadow look when the
// skin has no strip.
class TSkinUpDown : public TSkinControl {
  CORVANE_CLASS(TSkinUpDown, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  // The up-down lies inside an edit: it keeps off the edit's border and
  // shows white around its buttons, as the field does.
  void SetInsideEdit(bool inside) { m_insideEdit = inside; }
  bool InsideEdit() const { return m_insideEdit; }
  // The half a press started in (0 up or left, 1 down or right), -1 none.
  int PressedHalf() const { return m_pressedHalf; }
  // Mode 1 (SetMode) draws the up-down lying (left and right halves)
  // whatever its style says: a tab set's scroller.

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  bool Horizontal() const;
  // The half at a screen point, or under the cursor; -1 outside both.
  int HalfAt(POINT screen) const;
  int HalfUnderCursor() const;
  void PaintHalf(Surface& canvas, const Rect& half, int index, int state, bool horizontal);

  bool m_insideEdit = false;
  int m_pressedHalf = -1;
  int m_shownHalf = -1;
};

// A glyph strip handed to a foreign control as its "CustomGlyphs" (or its
// "Properties" object's "Glyph"): a component, so the named-property
// mechanism can carry it.
class TSkinGlyphStrip : public TComponent {
  CORVANE_CLASS(TSkinGlyphStrip, TComponent)

 public:
  using TComponent::TComponent;
  // Six cells side by side: unchecked, checked, indeterminate, then the
  // same three disabled (a radio strip repeats unchecked as its third).
  Surface Glyphs;
};

// Foreign check and radio controls that draw custom glyphs: mode 1 check
// boxes, mode 2 radio buttons, mode 3 check boxes whose glyph sits in their
// "Properties" object. A control of another mode is told by its class name.
class TSkinObjImage : public TSkinControl {
  CORVANE_CLASS(TSkinObjImage, TSkinControl)

 public:
  explicit TSkinObjImage(TComponent* owner, int mode = 0);
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  void SkinChanged() override;

 protected:
  // The control draws itself with the glyphs it was given.
  void AfterMessage(TMessage&) override {}

 private:
  void GiveGlyphs();
  TSkinGlyphStrip* m_strip = nullptr;
};

// The six-cell glyph strip of a check box (radio: false) cut from the skin's
// check or radio picture; empty when the skin has none.
Surface SkinGlyphStrip(const TSkinData& data, bool radio);

}  // namespace corvane
