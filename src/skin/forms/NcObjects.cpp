#include "skin/forms/NcObjects.h"

namespace corvane {

TNCObject::~TNCObject() {
  if (!Form) return;
  if (Form->HotObject == this) Form->HotObject = nullptr;
  if (Form->PressedObject == this) Form->PressedObject = nullptr;
}

void TNCObject::MouseDown() {
  if (Form->HotObject && Form->HotObject != this) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  Form->PressedObject = this;
  State = kNcPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = kNcHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject == this) return;
  if (Form->HotObject) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  // Back over the button still held down: it shows pressed again, as a
  // system button does.
  State = Form->PressedObject == this ? kNcPressed : kNcHot;
  Paint();
  Form->HoverStarted();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form->HotObject = nullptr;
  State = kNcNormal;
  Paint();
  Form->ResetHover();
}

bool ReleaseOver(TNCHost& host, TNCObject* under) {
  TNCObject* pressed = host.PressedObject;
  host.PressedObject = nullptr;
  if (!under || under != host.HotObject) return false;
  under->MouseUp();
  return under == pressed;
}

HintStep HoverHintStep(int& counter, int hintPause, int hintHidePause) {
  counter += kHoverInterval;
  const int showAt = 2 * hintPause;
  if (counter >= showAt + hintHidePause) return HintStep::Hide;
  if (counter >= showAt) return HintStep::Show;
  return HintStep::Keep;
}

HintTimes HoverHintTimes(int hintPause, int hintHidePause) {
  HintTimes times;
  int counter = 0;
  // The steps end at the first Hide; the bound only guards absurd pauses
  // (it is more than a day of steps).
  for (int step = 0; step < 400000; ++step) {
    switch (HoverHintStep(counter, hintPause, hintHidePause)) {
      case HintStep::Show:
        if (times.showAt < 0) times.showAt = counter;
        break;
      case HintStep::Hide: times.hideAt = counter; return times;
      case HintStep::Keep: break;
    }
  }
  times.hideAt = counter;
  return times;
}

}  // namespace corvane
