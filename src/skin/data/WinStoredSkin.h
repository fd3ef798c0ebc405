// The program's own skin as its module carries it: the stored skin stream
// and the same skin drawn at each display scale. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "skin/data/SkinScaling.h"

namespace corvane {

struct StoredSkinResources {
  std::vector<std::uint8_t> stream;  // empty when the module has no stored skin
  // Borrowed from the module's resources, which stay mapped while it is
  // loaded; a set missing from the module is simply left out.
  std::vector<ScaledSkinStream> scaledSets;
};

StoredSkinResources LoadStoredSkinResources(HMODULE module = GetModuleHandleA(nullptr));

}  // namespace corvane
