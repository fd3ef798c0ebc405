// Skinned containers, status bars and headers: group boxes get the skin's
// rounded frame, panels and dialog panes the face colour, size grips vanish
// into the face, status bars and header controls are drawn from the skin's
// StatusBarEdges and Headerbar pictures. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <memory>
#include <vector>

#include <commctrl.h>

#include <string>

#include "skin/controls/ControlLooks.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;

// The image (from images, when imageIndex is not -1 and it is narrower
// than the item) and the text of a header item or a tab, placed in item on
// dc with the text colour and font already set.
void DrawItemContent(HDC dc, const RECT& item, const std::wstring& text, HIMAGELIST images,
                     int imageIndex, ItemAlign align, unsigned textFlags);

// Group boxes: a rounded frame in the shadow colour with the caption over
// it; a framework group box (Mode 1) is filled with the face first and its
// labels are painted on top.
class TSkinGroupBox : public TSkinControl {
  CORVANE_CLASS(TSkinGroupBox, TSkinControl)

 public:
  explicit TSkinGroupBox(TComponent* owner);
  ~TSkinGroupBox() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// Panels and forms inside forms: only the face colour, no message handling.
class TSkinBox : public TSkinControl {
  CORVANE_CLASS(TSkinBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;

 protected:
  void AfterMessage(TMessage&) override {}
};

// A bare dialog pane or tool-bar window: face background, and its static
// texts drawn on the face.
class TSkinBoxH : public TSkinControl {
  CORVANE_CLASS(TSkinBoxH, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(TMessage& m) override;
};

// A bare size grip: filled with the face colour.
class TSkinSizer : public TSkinControl {
  CORVANE_CLASS(TSkinSizer, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
};

class TSkinStatusBar : public TSkinControl {
  CORVANE_CLASS(TSkinStatusBar, TSkinControl)

 public:
  explicit TSkinStatusBar(TComponent* owner);
  ~TSkinStatusBar() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void PaintPanelFrame(OffscreenSurface& picture, const RECT& r, int cell);
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// Header controls: every item from the Headerbar picture, the item under
// the mouse in its hot cell.
class TSkinHeader : public TSkinControl {
  CORVANE_CLASS(TSkinHeader, TSkinControl)

 public:
  explicit TSkinHeader(TComponent* owner);
  ~TSkinHeader() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  int HotItem() const { return m_hotItem; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  bool HasPicture() const;
  int m_hotItem = -1;
  std::vector<Rect> m_itemRects;
  std::unique_ptr<OffscreenSurface> m_buffer;
};

}  // namespace corvane
