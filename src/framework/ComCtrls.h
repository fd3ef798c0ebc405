// Common controls: the status bar, which shows one text across its width and,
// with AutoHint, the hint of whatever control of its form the mouse is over.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/MouseWatch.h"

namespace corvane {

class TImageList;

// The family the skin engine recognises status bars by.
class TCustomStatusBar : public TWinControl {
  CORVANE_CLASS(TCustomStatusBar, TWinControl)

 public:
  using TWinControl::TWinControl;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

// One part of a status bar that does not show a simple text.
struct TStatusPanel {
  std::string Text;
  int Width = 50;
  TStatusPanelBevel Bevel = TStatusPanelBevel::pbLowered;
  TAlignment Alignment = TAlignment::taLeftJustify;
};

class TStatusBar : public TCustomStatusBar {
  CORVANE_CLASS(TStatusBar, TCustomStatusBar)

 public:
  explicit TStatusBar(TComponent* owner);

  // The panels shown while SimplePanel is off.
  const std::vector<TStatusPanel>& Panels() const { return m_panels; }
  void SetPanels(std::vector<TStatusPanel> panels);
  // Shows the panels (false) or the simple text (true).
  void SetSimplePanel(bool simple);
  // A grip in the bottom-right corner for sizing the form.
  bool SizeGrip = false;

  // "SimplePanel" and "SimpleText".
  TPropValue GetProperty(std::string_view name) const override;

  // One text over the whole bar instead of panels.
  bool SimplePanel = true;
  // Follows the mouse over the form and shows the hint of the control under it.
  bool AutoHint = true;

  const std::string& SimpleText() const { return m_simpleText; }
  void SetSimpleText(const std::string& text);

  // Lies along the bottom of the parent's client area at the given
  // designed height, and stays there when the parent is resized.
  void AlignBottom(int height);

  // The hint the bar shows for the mouse at a screen point: the hint of the
  // control there, or of its nearest parent that has one; empty outside the
  // bar's own form.
  std::string HintAt(POINT screen);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ParentResized() override;
  void DpiChanged() override;
  void WindowCreated() override;

 private:
  // A mouse move or leave anywhere in the thread: the hint of what is under
  // the mouse now.
  void OnMouseMessage(const MSG& msg);
  void FollowMouse();
  void ApplyPanels();
  std::vector<TStatusPanel> m_panels;
  std::string m_simpleText;
  int m_alignHeight = 0;
  MouseWatch m_mouseWatch;
};

// How a header item is painted: by the header (its text and image) or by
// the program (OnDrawSection).
enum class THeaderSectionStyle { hsText, hsOwnerDraw };

// One header item: a caption over a column.
struct THeaderSection {
  std::string Text;
  int Width = 50;
  TAlignment Alignment = TAlignment::taLeftJustify;
  // The image of the header's image list shown with the text; -1 none.
  int ImageIndex = -1;
  THeaderSectionStyle Style = THeaderSectionStyle::hsText;
};

class THeaderControl;
// Paints owner-drawn section `index` into dc within rect.
using THeaderDrawSectionEvent =
    std::function<void(THeaderControl& header, int index, HDC dc, const RECT& rect, bool pressed)>;

// A row of column captions (the system's header control).
class THeaderControl : public TWinControl {
  CORVANE_CLASS(THeaderControl, TWinControl)

 public:
  explicit THeaderControl(TComponent* owner);
  const std::vector<THeaderSection>& Sections() const { return m_sections; }
  void SetSections(std::vector<THeaderSection> sections);
  // The list the sections' images come from (not owned; nullptr none).
  TImageList* Images() const { return m_images; }
  void SetImages(TImageList* images);
  THeaderDrawSectionEvent OnDrawSection;

  // "Images" (object), "SectionCount".
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;

 private:
  void ApplySections();
  std::vector<THeaderSection> m_sections;
  TImageList* m_images = nullptr;
};

}  // namespace corvane
