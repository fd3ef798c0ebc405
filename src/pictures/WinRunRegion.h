// Window regions from run rectangles (Windows half of the opaque runs).
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <vector>

#include "platform/Handles.h"

namespace corvane {

// Unites run rectangles into one region, neighbours pairwise in a balanced
// tree; null when there are no runs. One union per run grows with the square
// of the run count, and one ExtCreateRegion over all of them does too on
// some systems; this stays near n log n and holds few handles at a time.
UniqueRegion RegionFromRuns(const std::vector<Rect>& runs);

}  // namespace corvane
