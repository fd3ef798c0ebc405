// The geometry of the skinned range controls: how far a progress bar is
// filled and where its chunks go, the two halves of an up-down and the cell
// each half shows, the arrows of the plain up-down look, and the pieces a
// track bar's channel is cut into, and the buttons of a media-player bar.
// Portable and pure: rectangles and numbers
// in, rectangles and cells out; never includes platform headers.
#pragma once

#include <vector>

#include "core/Geometry.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

// ---------------------------------------------------------------- progress

// How much of length a position in [low, high] fills, rounded to the
// nearest pixel and kept within [0, length]: positions outside the range
// show an empty or a full bar, and an empty range (high <= low) shows an
// empty bar instead of dividing by zero.
int ScaledFill(int length, int position, int low, int high);

// A vertical bar is composed lying on its side (width and height swapped)
// and turned a quarter turn counter-clockwise, so that its fill, which runs
// from the left while lying, rises from the bottom.
Size LyingSize(Size window, bool vertical);

// Where the fill of a bar lying in `lying` goes. The plain style (two-cell
// Progress picture) fills from the left edge over the full height; the
// chunk style fills the inside, 2 pixels in from every edge, so a full bar
// keeps its trough's frame. Empty when nothing is filled.
Rect ProgressFillRect(Size lying, int position, int low, int high, bool chunkStyle);

// Tiled chunks: copies of a chunk picture side by side from `leftWidth` + 2,
// centred vertically in the bar, enough of them to cover the fill; each
// copy is cut to the fill (the last one may be cut short), and source says
// which part of the chunk picture it shows.
struct ChunkTile {
  Rect target;
  Rect source;
  friend bool operator==(const ChunkTile&, const ChunkTile&) = default;
};
std::vector<ChunkTile> ProgressChunkTiles(const Rect& fill, int barHeight, Size chunk,
                                          int leftWidth);

// ---------------------------------------------------------------- up-down

// The halves of an up-down: up and down (top, bottom) or, horizontal, left
// and right. The second half takes the odd pixel.
struct UpDownHalves {
  Rect first;
  Rect second;
  friend bool operator==(const UpDownHalves&, const UpDownHalves&) = default;
};
UpDownHalves SplitUpDown(const Rect& r, bool horizontal);

// The state of one half: 3 when the control is disabled, 2 while the press
// that started in this half holds and the cursor is in it, else 1.
int UpDownHalfState(bool enabled, bool pressedHere, bool cursorInHalf);

// The cell of the 8-cell UpDown strip (and of its arrow strip) for a half
// in a state: state, plus 4 for the second half.
int UpDownCell(int state, int half);

// An up-down inside an edit keeps off the edit's skinned 3-pixel border:
// own is the up-down's rectangle, editWindow the edit's window rectangle in
// the up-down's coordinates. The result lies at least 3 pixels inside the
// edit's top, bottom and right edges.
Rect InsideEditRect(const Rect& own, const Rect& editWindow);

// The plain look's arrow: a small solid triangle of one-pixel bars centred
// in a half, pointing up, down, left or right.
enum class ArrowDirection { Up, Down, Left, Right };
std::vector<Rect> ArrowBars(const Rect& half, ArrowDirection direction);

// ---------------------------------------------------------------- track bar

// The track channel picture cut in three and laid over the channel. A
// horizontal bar: the fixed left and right ends (margins.left and
// margins.right columns) with the middle stretched between them across the
// channel, the picture's own height, centred in the channel when lower than
// it. A vertical bar: the fixed top and bottom rows with the middle stretched
// down the channel, the picture's own width, at the channel's left, moved to
// the middle when narrower. Ends that do not fit are dropped together and
// the whole picture stretched. Targets are in the coordinates of channel.
std::vector<SlicePiece> TrackChannelPlan(const Rect& channel, Size image, Margins margins,
                                         bool vertical);

// The rectangle a plan covers (the union of its targets).
Rect PlanBounds(const std::vector<SlicePiece>& plan);

// ---------------------------------------------------------------- media player

// The buttons of a media-player bar of `count` buttons: the visible ones
// (bit i of visibleMask for button i) side by side in their order, of equal
// width, the last taking what the division leaves; hidden buttons get an
// empty rectangle.
std::vector<Rect> MediaButtonRects(Size bar, unsigned visibleMask, int count);
// The button whose rectangle holds x (any height), or -1.
int MediaButtonAt(const std::vector<Rect>& buttons, int x);

}  // namespace corvane
