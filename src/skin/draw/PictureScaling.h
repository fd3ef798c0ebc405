// Skin pictures at another DPI. A picture is a strip of equal cells side by
// side; each cell is scaled on its own (so no cell bleeds into its
// neighbour) to the cell size the DPI rule gives. Whole factors replicate
// pixels (crisp, exact); other factors average the source area each output
// pixel covers, keeping the colour key exact: an output pixel is either
// exactly the key (when the key covers more than half of its area) or the
// average of the real colours under it alone, so no pink fringe ever
// appears and regions cut from the key stay clean. Portable and pure.
#pragma once

#include "core/Surface.h"

namespace corvane {

struct Margins;

// The picture scaled to dpi. cells below 1 count as 1; a strip whose width
// does not divide by cells gives its last cell the remainder. keyed: the
// colour key is transparent (a picture without transparency is averaged
// over all its pixels). stackedCells: cells that run from the top as well
// (the frame's caption and bottom pictures), cut the same way.
Surface ScalePicture(const SurfaceView& picture, int cells, int dpi, bool keyed = true,
                     Colour key = kColourKey, int stackedCells = 1);

// The same for a picture drawn at fromDpi (at least 96): each cell goes
// from the length it has there to the length its designed length has at
// toDpi, by the filter (a picture drawn for a larger scale, taken down).
Surface ScalePictureBetween(const SurfaceView& picture, int cells, int fromDpi, int toDpi, bool keyed = true,
                            Colour key = kColourKey, int stackedCells = 1);

// The size ScalePicture gives a picture of this size at dpi.
Size ScaledPictureSize(Size picture, int cells, int dpi, int stackedCells = 1);

// A picture's nine-slice margins at dpi (each scaled by the one rule).
Margins ScaleMargins(const Margins& designed, int dpi);

}  // namespace corvane
