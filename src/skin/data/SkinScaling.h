// A skin at another DPI: a copy of the parsed skin whose pictures are
// scaled cell by cell and whose metrics (margins, caption text placement,
// caption-button places, box-label shifts, font height) are scaled by the
// one DPI rule, so the pictures and the numbers that cut them always agree.
// The engine draws from such a copy exactly as from the skin itself.
// Portable.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "core/DpiScale.h"
#include "skin/data/SkinDefinition.h"

namespace corvane {

// Pictures already drawn for a DPI: a scaled set of a skin, parsed as a
// skin of its own (same definition, every picture drawn at dpi).
struct DrawnSkin {
  const SkinDefinition* skin = nullptr;
  int dpi = kDesignDpi;
};

// The skin at dpi (96: an exact copy). Frame counts, colours, styles and
// every other non-length value are copied unchanged. With a drawn skin each
// picture comes from it (as drawn when drawn for dpi, taken down otherwise)
// wherever it has exactly the size the element's cells have at its DPI;
// other pictures are the skin's own, resampled. The metrics always come
// from skin, scaled, so they match either kind of picture.
std::unique_ptr<SkinDefinition> ScaleSkin(const SkinDefinition& skin, int dpi, DrawnSkin drawn = {});

// One scaled set of a skin as a program carries it: the skin stream of the
// same definition with every picture drawn at dpi.
struct ScaledSkinStream {
  int dpi = kDesignDpi;
  std::span<const std::uint8_t> stream;
};

// The set to draw a skin at dpi from: the one drawn for dpi, else the
// nearest larger one (taking a picture down keeps its detail, taking one up
// never adds any), else none.
const ScaledSkinStream* ChooseScaledSet(std::span<const ScaledSkinStream> sets, int dpi);

// The skin at dpi from the chosen set's pictures; without a set, or when
// the set cannot be read, the skin resampled as ScaleSkin does.
std::unique_ptr<SkinDefinition> SkinAtDpi(const SkinDefinition& skin, int dpi,
                                          std::span<const ScaledSkinStream> sets);

}  // namespace corvane
