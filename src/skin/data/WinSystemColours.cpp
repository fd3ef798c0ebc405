#include "skin/data/WinSystemColours.h"

#include <windows.h>

#include "core/DpiScale.h"
#include "platform/Dpi.h"

namespace corvane {

Colour WinSystemColours::SysColour(int index) const {
  // GetSysColor answers 0x00BBGGRR, the skin code's own colour layout; an
  // index the system does not know gives black, as the provider promises.
  if (index < 0 || index > COLOR_MENUBAR) return 0;
  return static_cast<Colour>(GetSysColor(index) & 0x00FFFFFF);
}

int WinSystemColours::HorzScrollArrowWidth() const {
  // The skin's derived pictures are designed at 96 DPI and scaled with the
  // rest of the skin, so they take the arrow of the design, not the screen's.
  return SystemMetricForDpi(SM_CXHSCROLL, kDesignDpi);
}

const SystemColourProvider& LiveSystemColours() {
  static const WinSystemColours provider;
  return provider;
}

}  // namespace corvane
