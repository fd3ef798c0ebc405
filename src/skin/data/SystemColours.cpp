#include "skin/data/SystemColours.h"

namespace corvane {

namespace {
// The classic scheme, indexed like the window system's colour numbers 0 .. 30.
constexpr std::array<Colour, 31> kClassic = {
    Rgb(192, 192, 192),  // scroll bar
    Rgb(0, 128, 128),    // desktop
    Rgb(0, 0, 128),      // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(192, 192, 192),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(192, 192, 192),  // active border
    Rgb(192, 192, 192),  // inactive border
    Rgb(128, 128, 128),  // application workspace
    Rgb(0, 0, 128),      // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(192, 192, 192),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // grey text
    Rgb(0, 0, 0),        // button text
    Rgb(192, 192, 192),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(0, 0, 0),        // 3-D dark shadow
    Rgb(223, 223, 223),  // 3-D light
    Rgb(0, 0, 0),        // tooltip text
    Rgb(255, 255, 225),  // tooltip background
    Rgb(0, 0, 0),        // unused slot
    Rgb(0, 0, 255),      // hot-tracked item
    Rgb(16, 132, 208),   // active caption gradient
    Rgb(181, 181, 181),  // inactive caption gradient
    Rgb(0, 0, 128),      // menu highlight
    Rgb(192, 192, 192),  // menu bar
};
}  // namespace

Colour ClassicSystemColours::SysColour(int index) const {
  if (index < 0 || index >= static_cast<int>(kClassic.size())) return 0;
  return kClassic[static_cast<std::size_t>(index)];
}

const SystemColourProvider& DefaultSystemColours() {
  static const ClassicSystemColours provider;
  return provider;
}

Colour ResolveColour(Colour c, const SystemColourProvider& system) {
  return c < 0 ? system.SysColour(c & 0xFF) : c;
}

}  // namespace corvane
