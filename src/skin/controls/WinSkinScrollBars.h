// Skinned scroll bars. The system keeps its own scroll bars and their
// scrolling logic; a small window laid exactly over each native bar draws
// the skin's bar and hands every press back to the control, so line, page
// and thumb tracking run unchanged underneath. The drop-down list of a combo
// box, a separate popup, gets its bar painted in its own frame instead.
// Windows only.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Handles.h"
#include "skin/controls/ScrollBarLayout.h"
#include "skin/controls/WinScrollOverlay.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;
class TSkinHeader;

// The skin of a control with window scroll bars (list boxes, memos).
class TSkinScrollbar : public TSkinControl {
  CORVANE_CLASS(TSkinScrollbar, TSkinControl)

 public:
  explicit TSkinScrollbar(TComponent* owner);
  ~TSkinScrollbar() override;

  // The scroll-bar attach: both overlays on the control; mode 1 is the
  // single-bar kind, which draws no border of its own.
  virtual void AttachScrollbar(TWinSkinForm* formSkin, TSkinData* skinData, int mode);
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  void SkinChanged() override;

  TWScrollbar* HorizontalBar() const { return m_horizontal.get(); }
  TWScrollbar* VerticalBar() const { return m_vertical.get(); }
  bool DrawsBorder() const { return m_drawsBorder; }
  // Whether a host's message can have moved or changed a bar.
  static bool MayChangeBars(UINT msg);

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  // Frames the window in the skin's shadow and face colours.
  void DrawBorder(HDC dc);
  // Fills the square between two shown bars with the face colour.
  void FillCorner(HDC dc);
  void PlaceBars();
  void RefreshBars();
  // Gives the host WS_CLIPSIBLINGS while skinned.
  void ClipSiblings(HWND host);
  void FreeBars();

  std::unique_ptr<TWScrollbar> m_horizontal;
  std::unique_ptr<TWScrollbar> m_vertical;
  bool m_drawsBorder = false;

 private:
  void TakeFixedColour();
  bool m_fixedColourTaken = false;
  std::int64_t m_savedFixedColour = 0;
  bool m_clipSiblingsAdded = false;
};

// A list view: its bars, and its header skinned as a header.
class TSkinListView : public TSkinScrollbar {
  CORVANE_CLASS(TSkinListView, TSkinScrollbar)

 public:
  using TSkinScrollbar::TSkinScrollbar;
  void AttachScrollbar(TWinSkinForm* formSkin, TSkinData* skinData, int mode) override;
  TSkinHeader* Header() const { return m_header; }

 private:
  TSkinHeader* m_header = nullptr;
};

// A scroll-bar control: one overlay over the whole control.
class TSkinScControl : public TSkinControl {
  CORVANE_CLASS(TSkinScControl, TSkinControl)

 public:
  explicit TSkinScControl(TComponent* owner);
  ~TSkinScControl() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  TWScrollbar* Bar() const { return m_bar.get(); }

 protected:
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  std::unique_ptr<TWScrollbar> m_bar;
};

// The bars of a bare window (a simple combo box's list).
class TSkinScrollbarH : public TSkinScrollbar {
  CORVANE_CLASS(TSkinScrollbarH, TSkinScrollbar)

 public:
  using TSkinScrollbar::TSkinScrollbar;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
};

// The vertical bar of a combo box's drop-down list, painted in the list's
// own frame (the list is a popup above everything, so no overlay fits).
class TComboxScrollBar : public TSkinControl {
  CORVANE_CLASS(TComboxScrollBar, TSkinControl)

 public:
  explicit TComboxScrollBar(TComponent* owner);
  ~TComboxScrollBar() override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  int HotPart() const { return m_hotPart; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;

 private:
  bool ReadBar(SCROLLBARINFO& info) const;
  // Paints the bar on the list's window DC.
  void PaintBar();
  // Lets the system paint the frame except the bar, then paints the bar.
  void PaintFrame(HRGN update);
  // The press on the bar: lines and pages repeat while held, the thumb
  // follows the cursor; the list scrolls through its WM_VSCROLL.
  void TrackPress(POINT screen);
  void SendScroll(int code, int position = 0);
  int ArrowSize() const { return SystemMetricOfWindow(SM_CXHSCROLL, Handle()); }
  int m_hotPart = kNoScrollPart;
  bool m_tracking = false;
  int m_dragThumbTop = -1;
  std::unique_ptr<OffscreenSurface> m_buffer;
};

}  // namespace corvane
