// Range controls: progress bars, track bars and up-down (spin) controls, on
// the system's common-control classes so the keyboard, the mouse and the
// auto-repeat behave as users know them. Each keeps its range and position
// itself while it has no window and publishes them by name ("Min", "Max",
// "Position", "Orientation", "Associate") for the skin engine. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include "framework/Controls.h"

namespace corvane {

// What the three have in common: a range, a position inside it (the
// window's once there is one: the user moves it), and their names.
class TRangeControl : public TWinControl {
  CORVANE_CLASS(TRangeControl, TWinControl)

 public:
  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int Position() const;
  // A range with max below min is taken with the two swapped; the position
  // is kept inside it.
  void SetRange(int min, int max);
  void SetPosition(int position);

  // "Min", "Max" and "Position".
  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  TRangeControl(TComponent* owner, int max);
  // The window's own messages for range and position.
  virtual void SendRange(HWND window) = 0;
  virtual void SendPosition(HWND window) = 0;
  virtual int ReadPosition(HWND window) const = 0;
  // Hands range and position to a new window.
  void WindowCreated() override;

  int m_min = 0, m_max = 100, m_position = 0;
};

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar that fills as a task advances.
class TProgressBar : public TRangeControl {
  CORVANE_CLASS(TProgressBar, TRangeControl)

 public:
  explicit TProgressBar(TComponent* owner);
  // Advances by Step, as the system does (wrapping to Min past Max).
  void StepIt();
  int Step = 10;
  TProgressBarOrientation Orientation = TProgressBarOrientation::pbHorizontal;
  // One continuous bar instead of separate blocks (the system's look).
  bool Smooth = false;

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void SendRange(HWND window) override;
  void SendPosition(HWND window) override;
  int ReadPosition(HWND window) const override;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };

// A thumb slid along a channel to pick a value.
class TTrackBar : public TRangeControl {
  CORVANE_CLASS(TTrackBar, TRangeControl)

 public:
  explicit TTrackBar(TComponent* owner);
  TTrackBarOrientation Orientation = TTrackBarOrientation::trHorizontal;
  // A tick every Frequency values.
  int Frequency = 1;

  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void SendRange(HWND window) override;
  void SendPosition(HWND window) override;
  int ReadPosition(HWND window) const override;
};

enum class TUDOrientation { udVertical, udHorizontal };

// Two arrow buttons that step a value; with an Associate (an edit) the
// system places the buttons at its right edge and writes the value into it.
class TUpDown : public TRangeControl {
  CORVANE_CLASS(TUpDown, TRangeControl)

 public:
  explicit TUpDown(TComponent* owner);
  TUDOrientation Orientation = TUDOrientation::udVertical;
  // Past Max continue at Min and the other way round.
  bool Wrap = false;
  int Increment = 1;

  // The edit the buttons step. Once this control has a window the answer
  // comes from the window's buddy, so an edit whose window is gone reads as
  // none; before that the edit must outlive the up-down (forms free both).
  TWinControl* Associate() const;
  // nullptr lets the edit go. Its window is made now when this control has one.
  void SetAssociate(TWinControl* control);

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void SendRange(HWND window) override;
  void SendPosition(HWND window) override;
  int ReadPosition(HWND window) const override;

 private:
  void ApplyAssociate();
  TWinControl* m_associate = nullptr;
};

}  // namespace corvane
