#include "framework/HotKeyCtrl.h"

#include <commctrl.h>

#include "framework/StdCtrls.h"

namespace corvane {

namespace {

void EnsureHotKeyClass() { EnsureCommonControlClasses(ICC_HOTKEY_CLASS); }

}  // namespace

THotKey::THotKey(TComponent* owner) : TWinControl(owner) {
  m_width = 121;
  m_height = 21;
  SetColor(clWindow);
}

std::uint16_t THotKey::Value() const {
  if (!HandleAllocated()) return m_value;
  return static_cast<std::uint16_t>(SendMessageA(const_cast<THotKey*>(this)->Handle(), HKM_GETHOTKEY, 0, 0));
}

void THotKey::SetValue(std::uint16_t value) {
  m_value = value;
  if (HandleAllocated()) SendMessageA(Handle(), HKM_SETHOTKEY, value, 0);
}

void THotKey::CreateParams(TCreateParams& p) {
  EnsureHotKeyClass();
  TWinControl::CreateParams(p);
  p.baseClass = HOTKEY_CLASSA;
  p.style |= WS_TABSTOP;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::WindowCreated() {
  SendMessageA(Handle(), HKM_SETHOTKEY, m_value, 0);
  TWinControl::WindowCreated();
}

void THotKey::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  // Tab is a combination like any other to the field; the form's focus
  // order goes first.
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

void THotKey::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE) {
      m_value = static_cast<std::uint16_t>(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0));
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::Dispatch(m);
}

}  // namespace corvane
