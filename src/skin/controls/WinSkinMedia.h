// Skinned media-player button bars: a panel of the skin's buttons laid over
// the player control, showing the player's visible buttons with glyphs from
// the program's resources and handing presses on to the player. The program
// carries none of those glyph pictures, so its buttons show the skin's
// button cells without glyphs. Windows only.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <array>
#include <vector>

#include "skin/controls/WinSubClass.h"

namespace corvane {

// The panel over a media player: at the player's bounds on the player's
// parent, visible when the player is. Its Tag is the skin's DisableTag, so
// the form's skin leaves it plain.
class TWMediaPlayer : public TWinControl {
  CORVANE_CLASS(TWMediaPlayer, TWinControl)

 public:
  // The buttons in the player's order.
  static constexpr int kButtons = 9;
  TWMediaPlayer(TComponent* owner, TControl& player, TSkinData& skinData);
  // Takes the player's bounds and visibility again.
  void Follow();
  // The button a press holds down, or -1.
  int PressedButton() const { return m_pressed; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
  void Dispatch(TMessage& m) override;

 private:
  // A set of the player's ("VisibleButtons" ...): bit i for button i, all
  // buttons when the player has no such property.
  unsigned ButtonSet(const char* property) const;
  std::vector<Rect> ButtonRects();
  void LoadGlyphs();

  TControl& m_player;
  TSkinData& m_skinData;
  int m_pressed = -1;
  // Enabled, disabled and coloured glyph of each button; empty when the
  // program has no picture of that name.
  std::array<std::array<Surface, kButtons>, 3> m_glyphs;
};

class TSkinMP : public TSkinControl {
  CORVANE_CLASS(TSkinMP, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  TWMediaPlayer* Panel() const { return m_panel; }

 protected:
  void AfterMessage(TMessage& m) override;

 private:
  TWMediaPlayer* m_panel = nullptr;
};

}  // namespace corvane
