// Skinned tool bars and band containers. A tool bar becomes flat and takes
// the form skin's tool-bar painters (the skin's Toolbar picture behind it,
// the skin's button cells under hot and pressed buttons) wherever it has no
// custom drawing of its own; its buttons' menus are painted by the skin. A
// band container's bands take the face colour. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <vector>

#include "framework/Menus.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class TToolBar;
class TCoolBar;

class TSkinToolBar : public TSkinControl {
  CORVANE_CLASS(TSkinToolBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinToolBar() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  void SkinChanged() override;
  // Whether the skin's painters were attached (the bar had none of its own).
  bool PaintsBackground() const { return m_background; }
  bool PaintsButtons() const { return m_buttons; }

 protected:
  void AfterMessage(TMessage&) override {}

 private:
  // Menus that no form owns: the skin paints them while the bar is skinned.
  struct HeldMenu {
    TMenu* menu = nullptr;
    bool ownerDraw = false;
    TMenuMeasureEvent measure;
    TMenuDrawEvent draw;
  };
  void GiveBack();
  TToolBar* m_bar = nullptr;
  bool m_savedFlat = false;
  bool m_background = false;
  bool m_buttons = false;
  std::vector<HeldMenu> m_menus;
};

class TSkinBandBar : public TSkinControl {
  CORVANE_CLASS(TSkinBandBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  void SkinChanged() override;

 protected:
  void AfterMessage(TMessage&) override {}

 private:
  void ColourBands();
  TCoolBar* m_bar = nullptr;
  std::vector<Colour> m_savedColours;
};

}  // namespace corvane
