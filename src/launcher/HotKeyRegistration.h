// A global hot key registered on one window for as long as this object holds
// it: registering again replaces the last one, and the destructor gives it
// back. Windows only.
#pragma once

#include <windows.h>

#include "launcher/HotKey.h"

namespace corvane {

class HotKeyRegistration {
 public:
  // The id WM_HOTKEY carries for the launcher's hot key.
  static constexpr int kId = 1;

  HotKeyRegistration() = default;
  ~HotKeyRegistration() { Unregister(); }
  HotKeyRegistration(const HotKeyRegistration&) = delete;
  HotKeyRegistration& operator=(const HotKeyRegistration&) = delete;

  // Gives back the current hot key, then registers hotKey on window; false
  // when the system refuses it (another program holds the combination).
  bool Register(HWND window, const HotKey& hotKey);
  void Unregister();
  bool Active() const { return m_window != nullptr; }

 private:
  HWND m_window = nullptr;
};

}  // namespace corvane
