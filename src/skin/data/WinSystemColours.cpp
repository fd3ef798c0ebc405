#include "skin/data/WinSystemColours.h"

#include <windows.h>

namespace corvane {

Colour WinSystemColours::SysColour(int index) const {
  // GetSysColor answers 0x00BBGGRR, the skin code's own colour layout; an
  // index the system does not know gives black, as the provider promises.
  if (index < 0 || index > COLOR_MENUBAR) return 0;
  return static_cast<Colour>(GetSysColor(index) & 0x00FFFFFF);
}

int WinSystemColours::HorzScrollArrowWidth() const {
  return GetSystemMetrics(SM_CXHSCROLL);
}

const SystemColourProvider& LiveSystemColours() {
  static const WinSystemColours provider;
  return provider;
}

}  // namespace corvane
