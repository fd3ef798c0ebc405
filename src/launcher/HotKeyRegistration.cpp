#include "launcher/HotKeyRegistration.h"

namespace corvane {

bool HotKeyRegistration::Register(HWND window, const HotKey& hotKey) {
  Unregister();
  // Held down, the combination must not open one menu per repeat.
  if (!RegisterHotKey(window, kId, hotKey.modifiers | MOD_NOREPEAT, hotKey.key)) return false;
  m_window = window;
  return true;
}

void HotKeyRegistration::Unregister() {
  if (!m_window) return;
  UnregisterHotKey(m_window, kId);
  m_window = nullptr;
}

}  // namespace corvane
