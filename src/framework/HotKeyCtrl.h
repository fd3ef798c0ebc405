// The system's hot-key field: shows the key combination pressed while it
// has the focus; Backspace clears it.
#pragma once

#include <cstdint>

#include "framework/Controls.h"

namespace corvane {

class THotKey : public TWinControl {
  CORVANE_CLASS(THotKey, TWinControl)

 public:
  explicit THotKey(TComponent* owner);
  // The field's value: the key code in the low byte, the field's own flags
  // (Shift 1, Ctrl 2, Alt 4) in the high byte; 0 when it shows nothing.
  std::uint16_t Value() const;
  void SetValue(std::uint16_t value);
  // The combination shown changed under the user's keys.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;

 private:
  std::uint16_t m_value = 0;
};

}  // namespace corvane
