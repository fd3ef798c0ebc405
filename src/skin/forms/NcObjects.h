// The objects of a skinned window's non-client area that react to the mouse
// (caption buttons; the menu-bar items use the same machinery) and the one
// state machine that drives them: hot, pressed, released, the hover count
// behind caption hints. Portable: the window half only feeds it mouse
// positions and paints what it is told to.
#pragma once

#include "core/Geometry.h"

namespace corvane {

// TNCObject::State values.
enum TNCState : int { kNcNormal = 1, kNcPressed = 2, kNcHot = 3 };

class TNCObject;

// What the objects need of the window they live in (the form skin).
class TNCHost {
 public:
  virtual ~TNCHost() = default;
  // The object under the mouse, or the one pressed.
  TNCObject* HotObject = nullptr;
  // The object the left button went down on and has not come up on yet:
  // only a release over it runs its action.
  TNCObject* PressedObject = nullptr;
  // Hides a caption-button hint and starts the hover count again.
  virtual void ResetHover() = 0;
  // Called when an object becomes hot, so the host can start its hover tick.
  virtual void HoverStarted() {}
};

class TNCObject {
 public:
  explicit TNCObject(TNCHost* form) : Form(form) {}
  // An object going away is no longer hot or pressed.
  virtual ~TNCObject();
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  TNCHost* Form;
  // Where it is, in window coordinates.
  Rect Bounds;
  bool Visible = false;
  int State = kNcNormal;
  // Whether its action may run.
  bool Enabled = true;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}
};

// A left-button release over `under` (none when over no object): the object
// goes back to hot, and true when it is the one that was pressed, so its
// action runs. Releasing over another object, or after the press was lost,
// runs nothing.
bool ReleaseOver(TNCHost& host, TNCObject* under);

// One 250 ms hover tick for a caption button: the count grows by the
// interval; between twice the hint pause and that plus the hide pause the
// hint shows, after it the hint goes.
enum class HintStep { Keep, Show, Hide };
constexpr int kHoverInterval = 250;
HintStep HoverHintStep(int& counter, int hintPause, int hintHidePause);

// When the hint of a button hovered from time 0 on shows and goes, in
// milliseconds, on the same 250 ms steps: nothing needs to run between
// those two moments. showAt is -1 when the hint would go before it shows.
struct HintTimes {
  int showAt = -1;
  int hideAt = 0;
};
HintTimes HoverHintTimes(int hintPause, int hintHidePause);

}  // namespace corvane
