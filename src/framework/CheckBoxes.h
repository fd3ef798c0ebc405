// Check boxes, radio buttons and radio groups, built on the system's BUTTON
// class so the keyboard, focus and checking behave as users know them; the
// framework keeps the check state and raises OnClick on the system's click.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <string>
#include <vector>

#include "framework/StdCtrls.h"

namespace corvane {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The family the skin engine recognises check boxes by.
class TCustomCheckBox : public TWinControl {
  CORVANE_CLASS(TCustomCheckBox, TWinControl)

 public:
  using TWinControl::TWinControl;
};

// A box the user checks and unchecks; with AllowGrayed a third, grey state.
class TCheckBox : public TCustomCheckBox {
  CORVANE_CLASS(TCheckBox, TCustomCheckBox)

 public:
  explicit TCheckBox(TComponent* owner);
  bool AllowGrayed = false;
  // The caption left of the box.
  bool LeftText = false;
  TCheckBoxState State() const;
  void SetState(TCheckBoxState state);
  bool Checked() const { return State() == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked) {
    SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
  }

  // "Checked" (0 or 1) and "State" ("cbUnchecked", "cbChecked", "cbGrayed").
  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  TCheckBoxState m_state = TCheckBoxState::cbUnchecked;
};

// One choice of several; checking it unchecks the other radio buttons of its
// parent.
class TRadioButton : public TWinControl {
  CORVANE_CLASS(TRadioButton, TWinControl)

 public:
  explicit TRadioButton(TComponent* owner);
  bool LeftText = false;
  bool Checked() const;
  void SetChecked(bool checked);

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  void UncheckSiblings();
  bool m_checked = false;
};

// The family the skin engine recognises radio groups by.
class TCustomRadioGroup : public TGroupBox {
  CORVANE_CLASS(TCustomRadioGroup, TGroupBox)

 public:
  using TGroupBox::TGroupBox;
};

// A group box holding one radio button per item, one column, top to bottom.
class TRadioGroup : public TCustomRadioGroup {
  CORVANE_CLASS(TRadioGroup, TCustomRadioGroup)

 public:
  explicit TRadioGroup(TComponent* owner);
  void SetItems(const std::vector<std::string>& items);
  int Count() const { return static_cast<int>(m_buttons.size()); }
  TRadioButton* Button(int index) const { return m_buttons.at(static_cast<std::size_t>(index)); }
  // The checked item, or -1.
  int ItemIndex() const;
  void SetItemIndex(int index);

 protected:
  void ChildBoundsChanged() override;

 private:
  void ArrangeButtons();
  std::vector<TRadioButton*> m_buttons;
  bool m_arranging = false;
};

}  // namespace corvane
