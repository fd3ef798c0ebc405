// The picture control: shows a picture, can size itself to it, and draws a
// bitmap transparently keyed on its bottom-left pixel when asked.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include "framework/Controls.h"
#include "pictures/WinPicture.h"

namespace corvane {

class TImage : public TGraphicControl {
  CORVANE_CLASS(TImage, TGraphicControl)

 public:
  explicit TImage(TComponent* owner);

  TPicture& Picture() { return m_picture; }
  const TPicture& Picture() const { return m_picture; }

  bool Transparent = false;
  bool Stretch = false;
  bool Center = false;
  // Scales a picture larger than the control down, keeping its proportions.
  bool Proportional = false;

  // Where the picture is drawn inside the control.
  RECT DestRect() const;

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void Paint(HDC dc) override;
  bool CanAutoSize(int& width, int& height) override;
  // The framework's reaction to a new picture: size and repaint.
  virtual void PictureChanged();

 private:
  TPicture m_picture;
};

}  // namespace corvane
