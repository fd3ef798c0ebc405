#include "framework/CheckBoxes.h"

#include <algorithm>

namespace corvane {

namespace {

const char* StateName(TCheckBoxState s) {
  switch (s) {
    case TCheckBoxState::cbChecked:
      return "cbChecked";
    case TCheckBoxState::cbGrayed:
      return "cbGrayed";
    case TCheckBoxState::cbUnchecked:
      break;
  }
  return "cbUnchecked";
}

WPARAM CheckValue(TCheckBoxState s) {
  return s == TCheckBoxState::cbChecked  ? BST_CHECKED
         : s == TCheckBoxState::cbGrayed ? BST_INDETERMINATE
                                         : BST_UNCHECKED;
}

}  // namespace

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {
  m_width = 97;
  m_height = 17;
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "BUTTON";
  p.style |= WS_TABSTOP | (AllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX);
  if (LeftText) p.style |= BS_LEFTTEXT;
}

void TCheckBox::WindowCreated() {
  SendMessageA(Handle(), BM_SETCHECK, CheckValue(m_state), 0);
}

TCheckBoxState TCheckBox::State() const {
  return m_state;
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == TCheckBoxState::cbGrayed && !AllowGrayed) state = TCheckBoxState::cbUnchecked;
  m_state = state;
  if (HandleAllocated()) Perform(BM_SETCHECK, CheckValue(state));
}

void TCheckBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) {
      LRESULT check = CallWindowProcA(DefWndProc(), Handle(), BM_GETCHECK, 0, 0);
      m_state = check == BST_CHECKED         ? TCheckBoxState::cbChecked
                : check == BST_INDETERMINATE ? TCheckBoxState::cbGrayed
                                             : TCheckBoxState::cbUnchecked;
      Click();
    }
    return;
  }
  TWinControl::Dispatch(m);
}

void TCheckBox::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

TPropValue TCheckBox::GetProperty(std::string_view name) const {
  if (name == "Checked") return std::int64_t{Checked()};
  if (name == "State") return TEnumName{StateName(m_state)};
  if (name == "AllowGrayed") return std::int64_t{AllowGrayed};
  return TCustomCheckBox::GetProperty(name);
}

bool TCheckBox::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Checked") {
    if (auto i = PropInt(value)) return SetChecked(*i != 0), true;
    return false;
  }
  if (name == "State") {
    auto e = PropEnum(value);
    if (!e) return false;
    for (TCheckBoxState s :
         {TCheckBoxState::cbUnchecked, TCheckBoxState::cbChecked, TCheckBoxState::cbGrayed})
      if (*e == StateName(s)) return SetState(s), true;
    return false;
  }
  return TCustomCheckBox::SetProperty(name, value);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  m_width = 113;
  m_height = 17;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "BUTTON";
  // Not the automatic style: the system's automatic radio buttons look for
  // their group among dialog controls, and ours are plain child windows.
  p.style |= WS_TABSTOP | BS_RADIOBUTTON;
  if (LeftText) p.style |= BS_LEFTTEXT;
}

void TRadioButton::WindowCreated() {
  SendMessageA(Handle(), BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::Checked() const {
  return m_checked;
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == m_checked) return;
  m_checked = checked;
  if (HandleAllocated()) Perform(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
  if (checked) UncheckSiblings();
}

void TRadioButton::UncheckSiblings() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
      other->SetChecked(false);
}

void TRadioButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) {
      SetChecked(true);
      Click();
    }
    return;
  }
  TWinControl::Dispatch(m);
}

void TRadioButton::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

TPropValue TRadioButton::GetProperty(std::string_view name) const {
  if (name == "Checked") return std::int64_t{m_checked};
  return TWinControl::GetProperty(name);
}

bool TRadioButton::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Checked") {
    if (auto i = PropInt(value)) return SetChecked(*i != 0), true;
    return false;
  }
  return TWinControl::SetProperty(name, value);
}

// ---------------------------------------------------------------- TRadioGroup

TRadioGroup::TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  for (TRadioButton* b : m_buttons) FreeComponent(b);
  m_buttons.clear();
  for (const std::string& text : items) {
    TRadioButton& b = Create<TRadioButton>();
    b.SetCaption(text);
    m_buttons.push_back(&b);
  }
  ArrangeButtons();
  for (TRadioButton* b : m_buttons) b->SetParent(this);
}

int TRadioGroup::ItemIndex() const {
  auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                         [](TRadioButton* b) { return b->Checked(); });
  return it == m_buttons.end() ? -1 : static_cast<int>(it - m_buttons.begin());
}

void TRadioGroup::SetItemIndex(int index) {
  for (std::size_t i = 0; i < m_buttons.size(); ++i)
    m_buttons[i]->SetChecked(static_cast<int>(i) == index);
}

void TRadioGroup::ChildBoundsChanged() {
  if (!m_arranging) TCustomRadioGroup::ChildBoundsChanged();
}

void TRadioGroup::ArrangeButtons() {
  m_arranging = true;
  int top = 18;
  for (TRadioButton* b : m_buttons) {
    b->SetBounds(8, top, std::max(Width() - 16, 0), 17);
    top += 20;
  }
  m_arranging = false;
}

}  // namespace corvane
