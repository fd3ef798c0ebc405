// Tool bars and band containers on the system's common-control classes, so
// hot tracking, pressing, drop-down arrows and band dragging behave as users
// know them. A tool bar's buttons take their pictures from an image list;
// a button may carry a menu (opened from its arrow, or by the whole button).
#pragma once

#include "core/Geometry.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"

namespace corvane {

class TImageList;
class TPopupMenu;

enum class TToolButtonStyle {
  tbsButton,
  tbsSeparator,
  // A button with an arrow beside it that opens its menu.
  tbsDropDown,
  // A button that opens its menu wherever it is pressed.
  tbsMenuButton,
};

class TToolBar;
// Background custom drawing: the tool bar's area on its DC.
using TToolBarCustomDrawEvent = std::function<void(TToolBar* sender, HDC dc, const RECT& area)>;
// A button's custom drawing, with the custom-draw state bits (CDIS_*); true
// when the handler drew the button's face: the tool bar then draws only the
// image and caption on it.
using TToolButtonCustomDrawEvent =
    std::function<bool(TToolBar* sender, HDC dc, const RECT& bounds, unsigned state)>;

class TToolBar : public TWinControl {
  CORVANE_CLASS(TToolBar, TWinControl)

 public:
  explicit TToolBar(TComponent* owner);

  // The buttons' pictures (not owned); none: buttons show captions only.
  TImageList* Images() const { return m_images; }
  void SetImages(TImageList* images);
  // Buttons show their edge only under the mouse.
  bool Flat() const { return m_flat; }
  void SetFlat(bool flat);

  // Adds a button at the end and returns its index. imageIndex -1: none.
  int AddButton(const std::string& caption, int imageIndex,
                TToolButtonStyle style = TToolButtonStyle::tbsButton, TPopupMenu* menu = nullptr,
                TNotifyEvent onClick = {});
  int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
  TPopupMenu* ButtonMenu(int index) const { return m_buttons.at(static_cast<std::size_t>(index)).menu; }
  // The button's rectangle in the tool bar's client area (empty while it
  // has no window, and for buttons the bar has no room for).
  RECT ButtonRect(int index);
  // Presses button index as a click would (its menu opens for a menu button).
  void ClickButton(int index);
  bool ButtonEnabled(int index) const { return m_buttons.at(static_cast<std::size_t>(index)).enabled; }
  void SetButtonEnabled(int index, bool enabled);

  TToolBarCustomDrawEvent OnCustomDraw;
  TToolButtonCustomDrawEvent OnCustomDrawButton;

  // "Flat" (boolean), "Images" (object), "ButtonCount".
  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;

 private:
  struct Button {
    std::string caption;
    int imageIndex = -1;
    TToolButtonStyle style = TToolButtonStyle::tbsButton;
    TPopupMenu* menu = nullptr;
    TNotifyEvent onClick;
    bool enabled = true;
  };
  static constexpr int kFirstCommand = 100;
  void InsertIntoWindow(int index);
  void OpenMenu(int index);
  LRESULT OnCustomDrawNotice(NMTBCUSTOMDRAW& draw);

  TImageList* m_images = nullptr;
  bool m_flat = false;
  std::vector<Button> m_buttons;
};

// A band container: each band holds one control and is drawn in its own
// colour; the user drags bands to arrange them.
class TCoolBar : public TWinControl {
  CORVANE_CLASS(TCoolBar, TWinControl)

 public:
  explicit TCoolBar(TComponent* owner);

  // Adds a band holding control (a child of this bar) and returns its index.
  int AddBand(TWinControl& control, const std::string& text = {}, int width = 0);
  int BandCount() const { return static_cast<int>(m_bands.size()); }
  Colour BandColor(int index) const { return m_bands.at(static_cast<std::size_t>(index)).color; }
  void SetBandColor(int index, Colour color);

  // "BandCount".
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;

 private:
  struct Band {
    TWinControl* control = nullptr;
    std::string text;
    int width = 0;
    Colour color = clBtnFace;
  };
  void InsertIntoWindow(int index);
  void ApplyColor(int index);
  std::vector<Band> m_bands;
};

}  // namespace corvane
