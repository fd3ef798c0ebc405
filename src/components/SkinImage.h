// The movable picture control: makes the form that owns it a borderless
// window shaped like its picture, and lets the left button drag that
// window. Loading or assigning its Picture is what reshapes the owner: a
// picture with alpha is shown with its own transparency (a layered window),
// any other is keyed on its bottom-left colour (a window region).
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "platform/Handles.h"

namespace corvane {

class TSkinImage : public TImage {
  CORVANE_CLASS(TSkinImage, TImage)

 public:
  // The owner must be a form: its OnShow, border, size and region are ours.
  explicit TSkinImage(TComponent* owner);

  bool Moveable() const { return m_moveable; }
  void SetMoveable(bool value) { if (value != m_moveable) m_moveable = value; }

  TNotifyEvent OnShow;
  TNotifyEvent OnPicChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  bool WantsMouseLeave() const override { return OnMouseEnter || OnMouseLeave; }

  // A new bitmap of the picture (24-bit, drawn over white) at its size for
  // dpi; 0 x 0 gives an empty owner. The caller owns the result. Errors
  // pass on.
  static UniqueBitmap ConvertToBitmap(const TPicture& picture, int dpi = 96);
  // The union of the opaque runs of the bitmap, keyed on its bottom-left
  // colour (white for a monochrome bitmap); no region when nothing is opaque.
  static UniqueRegion OpaqueRegion(HBITMAP bitmap);

  // True while the owner shows the picture with its own transparency.
  bool Layered() const { return !m_layered.IsEmpty(); }
  // What the owner window was last handed: premultiplied pixels, the
  // picture at its shown size. Empty while keyed.
  const Surface& Shown() const { return m_layered; }
  // The picture has alpha but not one visible pixel, so it is shown keyed
  // (without its transparency) rather than as an invisible window.
  bool NothingVisible() const { return m_nothingVisible; }

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  // A picture shown layered has the size it was scaled to for the DPI.
  bool CanAutoSize(int& width, int& height) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Dispatch(TMessage& m) override;

 private:
  // The picture's change handler: reshapes the owner form.
  void ApplyPicture();
  void OwnerShow(TObject* sender);

  TForm& m_owner;
  bool m_moveable = false;
  // While the picture converted for the DPI is being assigned.
  bool m_converting = false;
  // The premultiplied pixels the owner shows while layered.
  Surface m_layered;
  bool m_nothingVisible = false;
  TCursor m_savedCursor = crDefault;
};

}  // namespace corvane
