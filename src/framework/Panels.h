// Panels and bevels: a plain container with a raised edge and a centred
// caption, and a windowless lowered frame painted by its parent.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include "framework/Controls.h"

namespace corvane {

// The family the skin engine recognises panels by.
class TCustomPanel : public TWinControl {
  CORVANE_CLASS(TCustomPanel, TWinControl)

 public:
  using TWinControl::TWinControl;
};

// A frame: a group of controls reused as one. The frame owns its controls
// (they are its components, not the form's) and paints only its colour.
class TCustomFrame : public TWinControl {
  CORVANE_CLASS(TCustomFrame, TWinControl)

 public:
  using TWinControl::TWinControl;
};

class TFrame : public TCustomFrame {
  CORVANE_CLASS(TFrame, TCustomFrame)

 public:
  using TCustomFrame::TCustomFrame;
};

class TPanel : public TCustomPanel {
  CORVANE_CLASS(TPanel, TCustomPanel)

 public:
  explicit TPanel(TComponent* owner);
  // The parent's background shows through instead of Color (themed forms).
  bool ParentBackground = false;
  // A raised edge (true) or none.
  bool BevelRaised = true;

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
  void Dispatch(TMessage& m) override;
};

// A lowered rectangle, drawn by the parent around other controls.
class TBevel : public TGraphicControl {
  CORVANE_CLASS(TBevel, TGraphicControl)

 public:
  explicit TBevel(TComponent* owner);

 protected:
  void Paint(HDC dc) override;
};

}  // namespace corvane
