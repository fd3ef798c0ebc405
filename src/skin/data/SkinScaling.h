// A skin at another DPI: a copy of the parsed skin whose pictures are
// scaled cell by cell and whose metrics (margins, caption text placement,
// caption-button places, box-label shifts, font height) are scaled by the
// one DPI rule, so the pictures and the numbers that cut them always agree.
// The engine draws from such a copy exactly as from the skin itself.
// Portable.
#pragma once

#include <memory>

#include "skin/data/SkinDefinition.h"

namespace corvane {

// The skin at dpi (96: an exact copy). Frame counts, colours, styles and
// every other non-length value are copied unchanged.
std::unique_ptr<SkinDefinition> ScaleSkin(const SkinDefinition& skin, int dpi);

}  // namespace corvane
