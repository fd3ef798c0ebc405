// Corvane's own skin, drawn from code: every picture the skin definition
// names, at the sizes, depths and cell layouts the skin engine cuts them by.
#pragma once

#include <string>
#include <vector>

#include "core/Surface.h"

namespace corvane::tools {

struct SkinPicture {
  std::string name;  // lower-case file name as the package stores it
  int bitsPerPixel;  // 24 or 32, as the engine's stored skin has always used
  Surface surface;
};

// All 36 pictures, in package order, drawn at dpi (96: the 100 % design;
// the sizes of every other scale are the design's through the DPI rule, cell
// by cell).
std::vector<SkinPicture> DrawStoredSkin(int dpi = 96);

}  // namespace corvane::tools
