// Tab controls: a row of tabs on the system's tab control (TTabControl),
// the same with pages whose visibility follows the selected tab
// (TPageControl with TTabSheet pages), a tab set that draws its own tabs
// hanging below a line with a scroller for the ones that do not fit
// (TTabSet), and a page control that draws its tabs from two pictures it is
// given (TImagePageControl). Each publishes its tabs and selection by name
// ("Tabs", "TabIndex", "Style", ...) for the skin engine. Windows only.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/RangeCtrls.h"

namespace corvane {

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// The family the skin engine recognises tab controls by.
class TCustomTabControl : public TWinControl {
  CORVANE_CLASS(TCustomTabControl, TWinControl)

 public:
  explicit TCustomTabControl(TComponent* owner);

  TTabPosition TabPosition = TTabPosition::tpTop;
  TTabStyle Style = TTabStyle::tsTabs;
  // Tabs that do not fit go to further rows instead of scrolling. Side
  // tabs always take rows: the system has no scrolling for them.
  bool MultiLine = false;
  // The selection changed by the user (not by SetTabIndex).
  TNotifyEvent OnChange;

  int TabIndex() const;
  // -1 selects nothing; an index beyond the tabs is ignored.
  void SetTabIndex(int index);
  int TabCount() const { return static_cast<int>(m_tabs.size()); }

  // The page's area inside the control (client coordinates).
  RECT DisplayRect();

  // "Tabs" (lines separated by CR LF), "TabIndex", "TabPosition", "Style",
  // "MultiLine".
  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;
  // The tab texts; the selection is kept where it still exists.
  void SetTabTexts(std::vector<std::string> tabs);
  const std::vector<std::string>& TabTexts() const { return m_tabs; }
  // After the selection changed, by the user or by SetTabIndex.
  virtual void TabChanged() {}

 private:
  void ApplyTabs();
  std::vector<std::string> m_tabs;
  int m_tabIndex = -1;
};

// A row of tabs over one area that the program fills as the tab changes.
class TTabControl : public TCustomTabControl {
  CORVANE_CLASS(TTabControl, TCustomTabControl)

 public:
  using TCustomTabControl::TCustomTabControl;
  void SetTabs(std::vector<std::string> tabs) { SetTabTexts(std::move(tabs)); }
  const std::vector<std::string>& Tabs() const { return TabTexts(); }
};

// What a tabbed panel is: tabs over a page that holds its own windowless
// controls (labels, pictures) painted on it, a row of buttons, or a bare
// row of tabs over nothing of its own.
enum class TTabKind : std::uint8_t { tkPanel, tkButtons, tkTabs };

// A tab row whose kind says how it is used (and so how it is drawn): the
// kind is published as the byte property "TabKind".
class TTabbedPanel : public TCustomTabControl {
  CORVANE_CLASS(TTabbedPanel, TCustomTabControl)

 public:
  using TCustomTabControl::TCustomTabControl;
  // Read when the window is made: the button kind is a style of the window.
  TTabKind TabKind = TTabKind::tkPanel;
  void SetTabs(std::vector<std::string> tabs) { SetTabTexts(std::move(tabs)); }

  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TPageControl;

// One page of a page control; its caption is its tab's text.
class TTabSheet : public TWinControl {
  CORVANE_CLASS(TTabSheet, TWinControl)

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return m_pageControl; }
  // Adds the page to a page control (as its last page) and makes it the
  // page's parent; nullptr takes it off.
  void SetPageControl(TPageControl* pageControl);
  void SetCaption(const std::string& text) override;

 private:
  friend class TPageControl;
  TPageControl* m_pageControl = nullptr;
};

// Tabs with a page each: the selected tab's page shows, the others hide.
class TPageControl : public TCustomTabControl {
  CORVANE_CLASS(TPageControl, TCustomTabControl)

 public:
  using TCustomTabControl::TCustomTabControl;
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(m_pages.size()); }
  TTabSheet* Pages(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);

 protected:
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;
  void TabChanged() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdatePages();
  std::vector<TTabSheet*> m_pages;
};

// The scroller of a tab set: a lying up-down whose steps move the set's
// first visible tab.
class TTabScroller : public TUpDown {
  CORVANE_CLASS(TTabScroller, TUpDown)

 public:
  explicit TTabScroller(TComponent* owner);
};

// Tabs hanging below a line, drawn by the set itself, as under a
// spreadsheet's sheets. Tabs that do not fit are reached with the scroller,
// which shows only then.
class TTabSet : public TWinControl {
  CORVANE_CLASS(TTabSet, TWinControl)

 public:
  explicit TTabSet(TComponent* owner);

  void SetTabs(std::vector<std::string> tabs);
  const std::vector<std::string>& Tabs() const { return m_tabs; }
  int TabIndex() const { return m_tabIndex; }
  void SetTabIndex(int index);
  // The first tab shown at the start of the row.
  int FirstIndex() const { return m_firstIndex; }
  void SetFirstIndex(int index);
  int StartMargin = 5;
  // The scroller sits in the end margin while it shows.
  int EndMargin = 20;
  TNotifyEvent OnChange;
  TTabScroller& Scroller() const { return *m_scroller; }
  // The tabs as shown now, in client coordinates.
  struct ShownTab {
    int index;
    RECT rect;
  };
  std::vector<ShownTab> ShownTabs();

  // "Tabs", "TabIndex", "FirstIndex", "StartMargin", "EndMargin".
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void UpdateScroller();
  std::vector<int> TextWidths();
  std::vector<std::string> m_tabs;
  int m_tabIndex = -1;
  int m_firstIndex = 0;
  TTabScroller* m_scroller = nullptr;
};

// A picture a control keeps as its own copy: what a bitmap property takes.
class TBitmap : public TComponent {
  CORVANE_CLASS(TBitmap, TComponent)

 public:
  using TComponent::TComponent;
  Surface Picture;
};

// A row of tabs over a page whose tab pictures can be given: each tab is
// drawn from "TabBackGround" (the current one from "TabBackGroundActive")
// stretched over it, or in the plain look while none is given. Both
// properties take a TBitmap and keep a copy of its picture.
class TImagePageControl : public TWinControl {
  CORVANE_CLASS(TImagePageControl, TWinControl)

 public:
  explicit TImagePageControl(TComponent* owner);
  void SetTabs(std::vector<std::string> tabs);
  int TabIndex() const { return m_tabIndex; }
  void SetTabIndex(int index);
  int TabHeight = 21;
  int TabWidth = 80;
  const Surface& TabBackGround() const { return m_background->Picture; }
  const Surface& TabBackGroundActive() const { return m_backgroundActive->Picture; }

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void Dispatch(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  std::vector<std::string> m_tabs;
  int m_tabIndex = 0;
  TBitmap* m_background = nullptr;
  TBitmap* m_backgroundActive = nullptr;
};

}  // namespace corvane
