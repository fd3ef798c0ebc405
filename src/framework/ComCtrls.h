// Common controls: the status bar, which shows one text across its width and,
// with AutoHint, the hint of whatever control of its form the mouse is over.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <string>

#include "framework/Controls.h"

namespace corvane {

// The family the skin engine recognises status bars by.
class TCustomStatusBar : public TWinControl {
  CORVANE_CLASS(TCustomStatusBar, TWinControl)

 public:
  using TWinControl::TWinControl;
};

class TStatusBar : public TCustomStatusBar {
  CORVANE_CLASS(TStatusBar, TCustomStatusBar)

 public:
  explicit TStatusBar(TComponent* owner);

  // One text over the whole bar instead of panels.
  bool SimplePanel = true;
  // Follows the mouse over the form and shows the hint of the control under it.
  bool AutoHint = true;

  const std::string& SimpleText() const { return m_simpleText; }
  void SetSimpleText(const std::string& text);

  // Lies along the bottom of the parent's client area at the given height.
  void AlignBottom(int height);

  // The hint the bar shows for the mouse at a screen point: the hint of the
  // control there, or of its nearest parent that has one; empty outside the
  // bar's own form.
  std::string HintAt(POINT screen);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;

 private:
  void FollowMouse();
  std::string m_simpleText;
  int m_alignHeight = 0;
};

}  // namespace corvane
