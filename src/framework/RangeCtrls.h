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

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar that fills as a task advances.
class TProgressBar : public TWinControl {
  CORVANE_CLASS(TProgressBar, TWinControl)

 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const { return m_min; }
  int Max() const { return m_max; }
  // The window's position once there is one (the system keeps it in range).
  int Position() const;
  // A range with max below min is taken with the two swapped.
  void SetRange(int min, int max);
  void SetPosition(int position);
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
  void WindowCreated() override;

 private:
  int m_min = 0, m_max = 100, m_position = 0;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };

// A thumb slid along a channel to pick a value.
class TTrackBar : public TWinControl {
  CORVANE_CLASS(TTrackBar, TWinControl)

 public:
  explicit TTrackBar(TComponent* owner);

  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int Position() const;
  void SetRange(int min, int max);
  void SetPosition(int position);
  TTrackBarOrientation Orientation = TTrackBarOrientation::trHorizontal;
  // A tick every Frequency values.
  int Frequency = 1;

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;

 private:
  int m_min = 0, m_max = 10, m_position = 0;
};

enum class TUDOrientation { udVertical, udHorizontal };

// Two arrow buttons that step a value; with an Associate (an edit) the
// system places the buttons at its right edge and writes the value into it.
class TUpDown : public TWinControl {
  CORVANE_CLASS(TUpDown, TWinControl)

 public:
  explicit TUpDown(TComponent* owner);

  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int Position() const;
  void SetRange(int min, int max);
  void SetPosition(int position);
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

 private:
  void ApplyAssociate();
  int m_min = 0, m_max = 100, m_position = 0;
  TWinControl* m_associate = nullptr;
};

}  // namespace corvane
