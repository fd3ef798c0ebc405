// The live desktop's colours and the one metric the skin parse borrows, for
// the skin component on Windows (the portable parse gets them through
// SystemColourProvider). Windows only.
#pragma once

#include "skin/data/SystemColours.h"

namespace corvane {

// Answers from GetSysColor and GetSystemMetrics at the moment of asking, so a
// skin parsed after a scheme change sees the new colours.
class WinSystemColours final : public SystemColourProvider {
 public:
  Colour SysColour(int index) const override;
  int HorzScrollArrowWidth() const override;
};

// The process-wide live provider.
const SystemColourProvider& LiveSystemColours();

}  // namespace corvane
