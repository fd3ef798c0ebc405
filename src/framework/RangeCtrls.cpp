#include "framework/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace corvane {

namespace {

void EnsureRangeClasses() { EnsureCommonControlClasses(ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS); }

// The window of a control as a const member reads it: none until made.
HWND WindowIfAny(const TWinControl& c) {
  return c.HandleAllocated() ? const_cast<TWinControl&>(c).Handle() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- TRangeControl

TRangeControl::TRangeControl(TComponent* owner, int max) : TWinControl(owner), m_max(max) {}

void TRangeControl::WindowCreated() {
  HWND h = Handle();
  SendRange(h);
  SendPosition(h);
}

int TRangeControl::Position() const {
  if (HWND h = WindowIfAny(*this)) return ReadPosition(h);
  return m_position;
}

void TRangeControl::SetRange(int min, int max) {
  m_min = std::min(min, max);
  m_max = std::max(min, max);
  m_position = std::clamp(Position(), m_min, m_max);
  if (HWND h = WindowIfAny(*this)) {
    SendRange(h);
    SendPosition(h);
  }
}

void TRangeControl::SetPosition(int position) {
  m_position = std::clamp(position, m_min, m_max);
  if (HWND h = WindowIfAny(*this)) SendPosition(h);
}

TPropValue TRangeControl::GetProperty(std::string_view name) const {
  if (name == "Min") return std::int64_t{m_min};
  if (name == "Max") return std::int64_t{m_max};
  if (name == "Position") return std::int64_t{Position()};
  return TWinControl::GetProperty(name);
}

bool TRangeControl::SetProperty(std::string_view name, const TPropValue& value) {
  bool ours = name == "Min" || name == "Max" || name == "Position";
  if (!ours) return TWinControl::SetProperty(name, value);
  auto i = PropInt(value);
  if (!i) return false;
  int v = static_cast<int>(*i);
  if (name == "Min")
    SetRange(v, std::max(v, m_max));
  else if (name == "Max")
    SetRange(std::min(v, m_min), v);
  else
    SetPosition(v);
  return true;
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner, 100) {
  m_width = 150;
  m_height = 17;
}

void TProgressBar::CreateParams(TCreateParams& p) {
  EnsureRangeClasses();
  TWinControl::CreateParams(p);
  p.baseClass = PROGRESS_CLASSA;
  if (Orientation == TProgressBarOrientation::pbVertical) p.style |= PBS_VERTICAL;
  if (Smooth) p.style |= PBS_SMOOTH;
}

void TProgressBar::SendRange(HWND h) {
  SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
}

void TProgressBar::SendPosition(HWND h) {
  SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

int TProgressBar::ReadPosition(HWND h) const {
  return static_cast<int>(SendMessageA(h, PBM_GETPOS, 0, 0));
}

void TProgressBar::StepIt() {
  if (HWND h = WindowIfAny(*this)) {
    SendMessageA(h, PBM_SETSTEP, static_cast<WPARAM>(Step), 0);
    SendMessageA(h, PBM_STEPIT, 0, 0);
    m_position = Position();
    return;
  }
  int next = m_position + Step;
  m_position = next > m_max ? m_min + (next - m_max) : next;
}

TPropValue TProgressBar::GetProperty(std::string_view name) const {
  if (name == "Step") return std::int64_t{Step};
  if (name == "Smooth") return std::int64_t{Smooth};
  if (name == "Orientation")
    return TEnumName{Orientation == TProgressBarOrientation::pbVertical ? "pbVertical"
                                                                        : "pbHorizontal"};
  return TRangeControl::GetProperty(name);
}

bool TProgressBar::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Step") {
    auto i = PropInt(value);
    return i && (Step = static_cast<int>(*i), true);
  }
  return TRangeControl::SetProperty(name, value);
}

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner, 10) {
  m_width = 150;
  m_height = 45;
}

void TTrackBar::CreateParams(TCreateParams& p) {
  EnsureRangeClasses();
  TWinControl::CreateParams(p);
  p.baseClass = TRACKBAR_CLASSA;
  p.style |= WS_TABSTOP | TBS_AUTOTICKS |
             (Orientation == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::WindowCreated() {
  SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(std::max(Frequency, 1)), 0);
  TRangeControl::WindowCreated();
}

void TTrackBar::SendRange(HWND h) {
  SendMessageA(h, TBM_SETRANGEMIN, FALSE, m_min);
  SendMessageA(h, TBM_SETRANGEMAX, TRUE, m_max);
}

void TTrackBar::SendPosition(HWND h) {
  SendMessageA(h, TBM_SETPOS, TRUE, m_position);
}

int TTrackBar::ReadPosition(HWND h) const {
  return static_cast<int>(SendMessageA(h, TBM_GETPOS, 0, 0));
}

TPropValue TTrackBar::GetProperty(std::string_view name) const {
  if (name == "Frequency") return std::int64_t{Frequency};
  if (name == "Orientation")
    return TEnumName{Orientation == TTrackBarOrientation::trVertical ? "trVertical"
                                                                     : "trHorizontal"};
  return TRangeControl::GetProperty(name);
}

// ---------------------------------------------------------------- TUpDown

TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner, 100) {
  m_width = 16;
  m_height = 24;
}

void TUpDown::CreateParams(TCreateParams& p) {
  EnsureRangeClasses();
  TWinControl::CreateParams(p);
  p.baseClass = UPDOWN_CLASSA;
  p.style |= UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
  if (Orientation == TUDOrientation::udHorizontal) p.style |= UDS_HORZ;
  if (Wrap) p.style |= UDS_WRAP;
}

void TUpDown::WindowCreated() {
  HWND h = Handle();
  UDACCEL accel{0, static_cast<UINT>(std::max(Increment, 1))};
  SendMessageA(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendRange(h);
  ApplyAssociate();
  SendPosition(h);
}

void TUpDown::SendRange(HWND h) {
  SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
}

void TUpDown::SendPosition(HWND h) {
  SendMessageA(h, UDM_SETPOS32, 0, m_position);
}

int TUpDown::ReadPosition(HWND h) const {
  return static_cast<int>(SendMessageA(h, UDM_GETPOS32, 0, 0));
}

TWinControl* TUpDown::Associate() const {
  if (HWND h = WindowIfAny(*this))
    return ControlOfWindow(reinterpret_cast<HWND>(SendMessageA(h, UDM_GETBUDDY, 0, 0)));
  return m_associate;
}

void TUpDown::SetAssociate(TWinControl* control) {
  m_associate = control;
  if (HandleAllocated()) {
    ApplyAssociate();
    SendPosition(Handle());
  }
}

void TUpDown::ApplyAssociate() {
  HWND buddy = m_associate && m_associate->Parent() ? m_associate->Handle() : nullptr;
  SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

TPropValue TUpDown::GetProperty(std::string_view name) const {
  if (name == "Increment") return std::int64_t{Increment};
  if (name == "Wrap") return std::int64_t{Wrap};
  if (name == "Associate") return static_cast<TComponent*>(Associate());
  if (name == "Orientation")
    return TEnumName{Orientation == TUDOrientation::udHorizontal ? "udHorizontal" : "udVertical"};
  return TRangeControl::GetProperty(name);
}

bool TUpDown::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Associate") {
    auto* c = std::get_if<TComponent*>(&value);
    if (!c) return false;
    auto* control = dynamic_cast<TWinControl*>(*c);
    if (*c && !control) return false;
    SetAssociate(control);
    return true;
  }
  return TRangeControl::SetProperty(name, value);
}

}  // namespace corvane
