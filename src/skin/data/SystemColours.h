// Where the skin parse gets the colours and the one metric it borrows from the
// desktop. The Windows side answers from the live system; everywhere else the
// classic default scheme stands in, so a parse gives the same result natively.
#pragma once

#include <array>

#include "core/Geometry.h"

namespace corvane {

// Indexes of the system colours the skin code names (the window system's own
// numbering, so a negative colour's low byte can be looked up directly).
enum SystemColourIndex : int {
  kSysScrollbar = 0,
  kSysMenu = 4,
  kSysMenuText = 7,
  kSysWindowText = 8,
  kSysCaptionText = 9,
  kSysHighlight = 13,
  kSysHighlightText = 14,
  kSysButtonFace = 15,
  kSysButtonShadow = 16,
  kSysButtonText = 18,
  kSysInactiveCaptionText = 19,
  kSysButtonHighlight = 20,
  kSys3dDarkShadow = 21,
};

// Answers system colours and metrics for the skin code.
class SystemColourProvider {
 public:
  virtual ~SystemColourProvider() = default;
  // Plain RGB of system colour index (low byte of a negative colour value);
  // unknown indexes give black.
  virtual Colour SysColour(int index) const = 0;
  // Width of a horizontal scroll-bar arrow button, which sizes the combo box
  // button area.
  virtual int HorzScrollArrowWidth() const = 0;
};

// The classic default desktop scheme; used natively and by tests.
class ClassicSystemColours final : public SystemColourProvider {
 public:
  Colour SysColour(int index) const override;
  int HorzScrollArrowWidth() const override { return 16; }
};

// A process-wide classic provider, for callers that have no live system.
const SystemColourProvider& DefaultSystemColours();

// c itself when it is a plain colour; the provider's colour for its low byte
// when it is negative (a system colour reference).
Colour ResolveColour(Colour c, const SystemColourProvider& system);

}  // namespace corvane
