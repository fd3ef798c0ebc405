// Skinned tabs: tab controls (tabs on any side, drawn from the skin's Tabs
// picture with the page frame around the page), the tab set's hanging tabs,
// button-style tab rows from the Buttons picture, tab pages on the face
// colour, and the page control that takes its tab pictures as properties.
// The row's scroll arrows get the skinned up-down. Windows only.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <memory>

#include "skin/controls/TabLooks.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;

// Tab controls: the tab row composed lying in the top orientation (turned
// back for side tabs), the current tab from the Tabs picture's second cell,
// the page frame from the Tabs border picture or TabPane, the whole window
// put on the screen with one blit. Without a Tabs picture the system draws.
// In mode 2 the control's windowless children are painted over the page.
class TSkinTab : public TSkinControl {
  CORVANE_CLASS(TSkinTab, TSkinControl)

 public:
  explicit TSkinTab(TComponent* owner);
  ~TSkinTab() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  void SkinChanged() override;
  TabPlacement Placement() const { return m_placement; }
  // The pictures as prepared for the placement (tests compare against them).
  const Surface& TabImage() const { return m_tabImage; }
  const Surface& PaneImage() const { return m_paneImage; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void PrepareImages();
  void PaintTabRow(OffscreenSurface& picture, const Rect& row, POINT clientOrigin);
  std::unique_ptr<OffscreenSurface> m_buffer;
  std::unique_ptr<OffscreenSurface> m_strip;
  Surface m_tabImage;
  Surface m_paneImage;
  TabPlacement m_placement = TabPlacement::Top;
};

// The tab set: its tabs hanging below its line, from the Tabs picture
// flipped upside down; its scroller gets the lying skinned up-down.
class TSkinTab31 : public TSkinControl {
  CORVANE_CLASS(TSkinTab31, TSkinControl)

 public:
  explicit TSkinTab31(TComponent* owner);
  ~TSkinTab31() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void SkinChanged() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void PrepareImage();
  void SkinScroller();
  std::unique_ptr<OffscreenSurface> m_buffer;
  Surface m_tabImage;
};

// Tab controls in button style: the row of buttons from the Buttons
// picture, the current tab pressed. Without a Buttons picture the system
// draws.
class TSkinTabBtn : public TSkinControl {
  CORVANE_CLASS(TSkinTabBtn, TSkinControl)

 public:
  explicit TSkinTabBtn(TComponent* owner);
  ~TSkinTabBtn() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// Tab pages: the face colour, with their windowless children on it.
class TSkinTabSheet : public TSkinControl {
  CORVANE_CLASS(TSkinTabSheet, TSkinControl)

 public:
  explicit TSkinTabSheet(TComponent* owner);
  ~TSkinTabSheet() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  std::unique_ptr<OffscreenSurface> m_buffer;
};

// A page control that draws its tabs itself from two pictures: it is given
// the Tabs cells 1 and 2 as "TabBackGround" and "TabBackGroundActive"
// (100 x 21 each) and has them taken back when the skin goes.
class TSkinAdvPage : public TSkinControl {
  CORVANE_CLASS(TSkinAdvPage, TSkinControl)

 public:
  explicit TSkinAdvPage(TComponent* owner);
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  void SkinChanged() override;

 protected:
  void Paint(HDC dc, const RECT& r) override;

 private:
  void GiveTabPictures(bool skinned);
};

// Gives a control's scroll arrows (its "msctls_updown32" child window, if
// it has one that is not skinned yet) the skinned up-down, owned by the
// form skin when there is one.
void SkinScrollArrows(TSkinControl& skin, HWND control);

}  // namespace corvane
