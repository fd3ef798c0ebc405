// The walk over a skinned window's controls: every framework control gets
// the skinning object the control class rules choose (owned by the
// control), every bare child window the one the window class rules choose
// (owned by the form skin). The form skin keeps the list of all of them and
// frees them when it unskins. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <vector>

#include "skin/controls/ControlRules.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

class TComponent;
class TControl;
class TForm;
class TSkinControl;
class TSkinData;
class TWinControl;
class TWinSkinForm;

class ControlSkinner {
 public:
  ControlSkinner(TWinSkinForm& formSkin, TSkinData& data, const std::vector<TComponent*>& skins);

  // A framework form: its components that are controls, in component order,
  // then its own children.
  void SkinForm(TForm& form);
  // A bare window: the window class rules on each of its child windows.
  void SkinChildren(HWND window);
  // The window class rules on one child window.
  void SkinChildWindow(HWND child);
  // The control class rules on one framework control.
  void SkinControl(TControl& control);
  // The scroll-bar skin on window (a control that re-created its window)
  // freed and made again, of the same kind and mode; skins is the form
  // skin's list, which the caller owns.
  void ReskinScrollBars(std::vector<TComponent*>& skins, HWND window);

 private:
  bool AlreadySkinned(const TControl& control) const;
  bool AlreadySkinned(HWND window) const;
  void Apply(const ControlRule& rule, TControl& control);
  void WalkChildren(TControl& control);
  TSkinControl* Attach(ControlSkinKind kind, TControl& control, const ControlRule* rule);

  TWinSkinForm& m_formSkin;
  TSkinData& m_data;
  const std::vector<TComponent*>& m_skins;
};

// Frees the skins whose window was destroyed (before a new scan).
void FreeGoneControlSkins(std::vector<TComponent*>& skins);
// Frees every skin of the list, restoring the live ones first when restore
// is set (unskinning; not when the window itself is going away).
void ReleaseControlSkins(std::vector<TComponent*>& skins, bool restore);
// The skin changed: every live skin takes the new colours and repaints.
void ControlSkinsChanged(const std::vector<TComponent*>& skins);

// The control rules as a form skin's control skinning (the manager plugs
// this one into every form skin it makes).
TControlSkinning& RuleControlSkinning();

}  // namespace corvane
