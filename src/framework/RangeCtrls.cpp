#include "framework/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace corvane {

namespace {

void EnsureRangeClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// The window of a control as a const member reads it: none until made.
HWND WindowIfAny(const TWinControl& c) {
  return c.HandleAllocated() ? const_cast<TWinControl&>(c).Handle() : nullptr;
}

// Reads and writes of the three integer properties every range control has.
template <typename Control>
TPropValue RangeProperty(const Control& c, std::string_view name) {
  if (name == "Min") return std::int64_t{c.Min()};
  if (name == "Max") return std::int64_t{c.Max()};
  if (name == "Position") return std::int64_t{c.Position()};
  return {};
}

template <typename Control>
bool SetRangeProperty(Control& c, std::string_view name, const TPropValue& value) {
  auto i = PropInt(value);
  if (!i) return false;
  int v = static_cast<int>(*i);
  if (name == "Min") return c.SetRange(v, std::max(v, c.Max())), true;
  if (name == "Max") return c.SetRange(std::min(v, c.Min()), v), true;
  if (name == "Position") return c.SetPosition(v), true;
  return false;
}

bool IsRangeProperty(std::string_view name) {
  return name == "Min" || name == "Max" || name == "Position";
}

}  // namespace

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
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

void TProgressBar::WindowCreated() {
  HWND h = Handle();
  SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
  SendMessageA(h, PBM_SETSTEP, static_cast<WPARAM>(Step), 0);
  SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

int TProgressBar::Position() const {
  if (HWND h = WindowIfAny(*this)) return static_cast<int>(SendMessageA(h, PBM_GETPOS, 0, 0));
  return m_position;
}

void TProgressBar::SetRange(int min, int max) {
  m_min = std::min(min, max);
  m_max = std::max(min, max);
  m_position = std::clamp(m_position, m_min, m_max);
  if (HWND h = WindowIfAny(*this))
    SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
}

void TProgressBar::SetPosition(int position) {
  m_position = std::clamp(position, m_min, m_max);
  if (HWND h = WindowIfAny(*this)) SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
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
  if (IsRangeProperty(name)) return RangeProperty(*this, name);
  if (name == "Step") return std::int64_t{Step};
  if (name == "Smooth") return std::int64_t{Smooth};
  if (name == "Orientation")
    return TEnumName{Orientation == TProgressBarOrientation::pbVertical ? "pbVertical"
                                                                        : "pbHorizontal"};
  return TWinControl::GetProperty(name);
}

bool TProgressBar::SetProperty(std::string_view name, const TPropValue& value) {
  if (IsRangeProperty(name)) return SetRangeProperty(*this, name, value);
  if (name == "Step") {
    auto i = PropInt(value);
    return i && (Step = static_cast<int>(*i), true);
  }
  return TWinControl::SetProperty(name, value);
}

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
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
  HWND h = Handle();
  SendMessageA(h, TBM_SETRANGEMIN, FALSE, m_min);
  SendMessageA(h, TBM_SETRANGEMAX, FALSE, m_max);
  SendMessageA(h, TBM_SETTICFREQ, static_cast<WPARAM>(std::max(Frequency, 1)), 0);
  SendMessageA(h, TBM_SETPOS, TRUE, m_position);
}

int TTrackBar::Position() const {
  if (HWND h = WindowIfAny(*this)) return static_cast<int>(SendMessageA(h, TBM_GETPOS, 0, 0));
  return m_position;
}

void TTrackBar::SetRange(int min, int max) {
  m_min = std::min(min, max);
  m_max = std::max(min, max);
  m_position = std::clamp(Position(), m_min, m_max);
  if (HWND h = WindowIfAny(*this)) {
    SendMessageA(h, TBM_SETRANGEMIN, FALSE, m_min);
    SendMessageA(h, TBM_SETRANGEMAX, TRUE, m_max);
  }
}

void TTrackBar::SetPosition(int position) {
  m_position = std::clamp(position, m_min, m_max);
  if (HWND h = WindowIfAny(*this)) SendMessageA(h, TBM_SETPOS, TRUE, m_position);
}

TPropValue TTrackBar::GetProperty(std::string_view name) const {
  if (IsRangeProperty(name)) return RangeProperty(*this, name);
  if (name == "Frequency") return std::int64_t{Frequency};
  if (name == "Orientation")
    return TEnumName{Orientation == TTrackBarOrientation::trVertical ? "trVertical"
                                                                     : "trHorizontal"};
  return TWinControl::GetProperty(name);
}

bool TTrackBar::SetProperty(std::string_view name, const TPropValue& value) {
  if (IsRangeProperty(name)) return SetRangeProperty(*this, name, value);
  return TWinControl::SetProperty(name, value);
}

// ---------------------------------------------------------------- TUpDown

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
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
  SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
  UDACCEL accel{0, static_cast<UINT>(std::max(Increment, 1))};
  SendMessageA(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  ApplyAssociate();
  SendMessageA(h, UDM_SETPOS32, 0, m_position);
}

int TUpDown::Position() const {
  if (HWND h = WindowIfAny(*this)) return static_cast<int>(SendMessageA(h, UDM_GETPOS32, 0, 0));
  return m_position;
}

void TUpDown::SetRange(int min, int max) {
  m_min = std::min(min, max);
  m_max = std::max(min, max);
  m_position = std::clamp(Position(), m_min, m_max);
  if (HWND h = WindowIfAny(*this)) {
    SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(m_min), static_cast<LPARAM>(m_max));
    SendMessageA(h, UDM_SETPOS32, 0, m_position);
  }
}

void TUpDown::SetPosition(int position) {
  m_position = std::clamp(position, m_min, m_max);
  if (HWND h = WindowIfAny(*this)) SendMessageA(h, UDM_SETPOS32, 0, m_position);
}

TWinControl* TUpDown::Associate() const {
  if (HWND h = WindowIfAny(*this))
    return ControlOfWindow(reinterpret_cast<HWND>(SendMessageA(h, UDM_GETBUDDY, 0, 0)));
  return m_associate;
}

void TUpDown::SetAssociate(TWinControl* control) {
  m_associate = control;
  if (HandleAllocated()) ApplyAssociate();
}

void TUpDown::ApplyAssociate() {
  HWND buddy = nullptr;
  if (m_associate && m_associate->Parent()) buddy = m_associate->Handle();
  SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  if (buddy) SendMessageA(Handle(), UDM_SETPOS32, 0, Position());
}

TPropValue TUpDown::GetProperty(std::string_view name) const {
  if (IsRangeProperty(name)) return RangeProperty(*this, name);
  if (name == "Increment") return std::int64_t{Increment};
  if (name == "Wrap") return std::int64_t{Wrap};
  if (name == "Associate") return static_cast<TComponent*>(Associate());
  if (name == "Orientation")
    return TEnumName{Orientation == TUDOrientation::udHorizontal ? "udHorizontal" : "udVertical"};
  return TWinControl::GetProperty(name);
}

bool TUpDown::SetProperty(std::string_view name, const TPropValue& value) {
  if (IsRangeProperty(name)) return SetRangeProperty(*this, name, value);
  if (name == "Associate") {
    if (auto* c = std::get_if<TComponent*>(&value)) {
      auto* control = dynamic_cast<TWinControl*>(*c);
      if (*c && !control) return false;
      SetAssociate(control);
      return true;
    }
    return false;
  }
  return TWinControl::SetProperty(name, value);
}

}  // namespace corvane
