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
