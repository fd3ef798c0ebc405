#include "skin/controls/WinSubClass.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/controls/ControlLooks.h"
#include "skin/controls/ControlRules.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/WinElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

namespace {

using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// The theme switch of visual styles, where the system has them.
SetWindowThemeFunction SetWindowThemeEntry() {
  static const SetWindowThemeFunction entry = [] {
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    return uxtheme ? reinterpret_cast<SetWindowThemeFunction>(
                         reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")))
                   : nullptr;
  }();
  return entry;
}

}  // namespace

// ------------------------------------------------------------- properties

std::int64_t PropertyInt(const TComponent* c, std::string_view name) {
  if (!c) return -1;
  TPropValue v = c->GetProperty(name);
  if (auto i = std::get_if<std::int64_t>(&v)) return *i;
  return -1;
}

std::string PropertyText(const TComponent* c, std::string_view name) {
  if (!c) return {};
  TPropValue v = c->GetProperty(name);
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto e = std::get_if<TEnumName>(&v)) return e->name;
  if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  return {};
}

TComponent* PropertyObject(const TComponent* c, std::string_view name) {
  if (!c) return nullptr;
  TPropValue v = c->GetProperty(name);
  auto object = std::get_if<TComponent*>(&v);
  return object ? *object : nullptr;
}

bool PropertyIsTrue(const TComponent* c, std::string_view name) {
  if (!c) return false;
  TPropValue v = c->GetProperty(name);
  if (auto i = std::get_if<std::int64_t>(&v)) return *i != 0;
  if (auto s = std::get_if<std::string>(&v)) return AsciiLower(*s) == "true";
  if (auto e = std::get_if<TEnumName>(&v)) return AsciiLower(e->name) == "true";
  return false;
}

bool HasProperty(const TComponent* c, std::string_view name) {
  return c && !std::holds_alternative<std::monostate>(c->GetProperty(name));
}

bool SetPropertyText(TComponent* c, std::string_view name, const std::string& text) {
  if (!c) return false;
  TPropValue current = c->GetProperty(name);
  if (std::holds_alternative<std::int64_t>(current)) {
    std::string lower = AsciiLower(text);
    std::int64_t value = lower == "true"    ? 1
                         : lower == "false" ? 0
                                            : std::strtoll(text.c_str(), nullptr, 10);
    return c->SetProperty(name, value);
  }
  if (std::holds_alternative<TEnumName>(current)) return c->SetProperty(name, TEnumName{text});
  if (std::holds_alternative<std::string>(current)) return c->SetProperty(name, text);
  return false;
}

// ------------------------------------------------------------- lifetime

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  *m_alive = false;
  m_controlHook.Remove();
  m_windowSubclass.Remove();
  SetTheme(false);
  if (m_formSkin) m_formSkin->UnregisterControlSkin(this);
}

void TSkinControl::RegisterWithFormSkin(TWinSkinForm* formSkin) {
  m_formSkin = formSkin;
  if (formSkin) formSkin->RegisterControlSkin(this);
}

int TSkinControl::Dpi() const { return DpiOfWindow(Handle()); }

const SkinDefinition& TSkinControl::Skin() const { return m_skinData->SkinAt(Dpi()); }

HWND TSkinControl::Handle() const {
  if (auto* windowed = dynamic_cast<TWinControl*>(m_control))
    return windowed->HandleAllocated() ? windowed->Handle() : nullptr;
  return m_window;
}

void TSkinControl::SetTheme(bool off) {
  // With visual styles the system animates some controls outside WM_PAINT
  // and would draw over the skin; while skinned they go unthemed. Only real
  // Windows with styles shows the difference.
  if (off == m_themeOff) return;
  HWND h = Handle();
  SetWindowThemeFunction setTheme = SetWindowThemeEntry();
  if (!h || !setTheme || !IsWindow(h)) {
    m_themeOff = false;
    return;
  }
  if (off)
    setTheme(h, L"", L"");
  else
    setTheme(h, nullptr, nullptr);
  m_themeOff = off;
}

// ------------------------------------------------------------- attaching

void TSkinControl::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  AttachControlTo(formSkin, skinData, setsColour, true);
}

void TSkinControl::AttachControlTo(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour,
                                   bool takeMessages) {
  if (m_attached) return;
  m_control = dynamic_cast<TControl*>(Owner());
  if (!m_control) return;
  m_setsColour = setsColour;
  m_skinData = skinData;
  if (HWND h = Handle()) m_unicode = IsWindowUnicode(h) != FALSE;
  if (takeMessages) m_controlHook.Install(*m_control, [this](TMessage& m) { HandleMessage(m); });
  RegisterWithFormSkin(formSkin);
  if (setsColour) {
    TakeParentBackground();
    m_savedColour = m_control->Color();
    m_control->SetColor(SkinColour(SkinDefinition::kButtonFace));
  }
  if (m_parentBackgroundTaken) m_mode = 1;
  if (takeMessages) SetTheme(true);
  m_control->Invalidate();
  m_attached = true;
  m_state = kSkinAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  if (m_attached || !window) return;
  m_skinData = skinData;
  m_window = window;
  m_enabled = true;
  m_mode = 0;
  RegisterWithFormSkin(formSkin);
  m_unicode = IsWindowUnicode(window) != FALSE;
  m_text = ReadWindowText(window);
  m_windowSubclass.Install(window, [this](HWND, UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    HandleMessage(m);
    return m.Result;
  });
  SetTheme(true);
  InvalidateRect(window, nullptr, TRUE);
  m_attached = true;
  m_state = kSkinAttached;
}

void TSkinControl::TakeParentBackground() {
  if (m_skinData->Options.Contains(xoParentBackGround) ||
      !HasProperty(m_control, "ParentBackground"))
    return;
  if (!PropertyIsTrue(m_control, "ParentBackground")) return;
  m_parentBackgroundTaken = true;
  SetPropertyText(m_control, "ParentBackground", "False");
}

void TSkinControl::GiveParentBackground() {
  if (m_parentBackgroundTaken) SetPropertyText(m_control, "ParentBackground", "True");
}

void TSkinControl::Restore() {
  if (!m_skinOn) return;
  m_skinOn = false;
  if (m_state == kSkinWindowGone) return;
  if (GetCapture() && GetCapture() == Handle()) ReleaseCapture();
  SetTheme(false);
  if (m_setsColour && m_control) {
    GiveParentBackground();
    m_control->SetColor(m_savedColour);
  }
  if (m_paintTarget)
    m_paintTarget->Invalidate();
  else if (HWND h = Handle())
    InvalidateRect(h, nullptr, TRUE);
}

void TSkinControl::SkinChanged() {
  if (m_setsColour && m_control) m_control->SetColor(SkinColour(SkinDefinition::kButtonFace));
  Repaint();
}

// ------------------------------------------------------------- messages

void TSkinControl::HandleMessage(TMessage& m) {
  if (m.Msg == WM_SKINENABLE) {
    bool on = m.WParam > 0;
    if (on != m_skinOn) {
      m_skinOn = on;
      m_mouseState = 0;
      if (!on && GetCapture() && GetCapture() == Handle()) ReleaseCapture();
      SetTheme(on);
      // Off: the control paints itself again, as if never skinned.
      Repaint();
    }
    return;
  }
  if (!m_skinOn) {
    CallOldHandler(m);
    return;
  }
  std::shared_ptr<bool> alive = m_alive;
  if (!BeforeMessage(m)) return;
  CallOldHandler(m);
  if (*alive) AfterMessage(m);
}

void TSkinControl::CallOldHandler(TMessage& m) {
  if (m_controlHook.Installed()) {
    m_controlHook.CallOld(m);
  } else if (m_window) {
    m.Result = WindowSubclass::CallNext(m_window, m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::DrawsAtOnce(UINT msg) {
  switch (msg) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

void TSkinControl::CallOldHandlerQuietly(TMessage& m) {
  HWND h = Handle();
  bool hide = h && m_quietDepth == 0 && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
  if (hide) DefWindowProcW(h, WM_SETREDRAW, FALSE, 0);
  std::shared_ptr<bool> alive = m_alive;
  ++m_quietDepth;
  CallOldHandler(m);
  if (*alive) --m_quietDepth;
  if (hide && IsWindow(h)) DefWindowProcW(h, WM_SETREDRAW, TRUE, 0);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      m_state = kSkinWindowGone;
      CallOldHandler(m);
      if (m_skinOn) Restore();
      return false;
    case WM_SKINQUERY:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

// ------------------------------------------------------------- painting

void TSkinControl::Repaint() {
  if (m_paintTarget) {
    m_paintTarget->Invalidate();
    return;
  }
  HWND h = Handle();
  if (!h) return;
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

void TSkinControl::PaintWindow(HDC dc) {
  HWND h = Handle();
  RECT window{};
  if (!h || !GetWindowRect(h, &window)) return;
  m_windowRect = window;
  RECT r{0, 0, window.right - window.left, window.bottom - window.top};
  try {
    if (dc) {
      Paint(dc, r);
    } else {
      WindowDC own(h, true);
      if (own.Get()) Paint(own.Get(), r);
    }
  } catch (...) {
    // A paint that fails leaves the last picture; nothing reaches the
    // message loop.
  }
}

void TSkinControl::Paint(HDC, const RECT&) {}

bool TSkinControl::TakePaintMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintMessage(m);
      return true;
    case WM_ERASEBKGND:
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

void TSkinControl::PaintMessage(TMessage& m) {
  HWND h = Handle();
  RECT window{};
  if (!h || !GetWindowRect(h, &window)) return;
  RECT r{0, 0, window.right - window.left, window.bottom - window.top};
  try {
    if (m.WParam) {
      Paint(reinterpret_cast<HDC>(m.WParam), r);
    } else {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      Paint(dc, r);
      EndPaint(h, &ps);
    }
  } catch (...) {
    // As PaintWindow: a failed paint stays inside.
  }
  m.Result = 0;
}

OffscreenSurface& TSkinControl::BufferOfSize(std::unique_ptr<OffscreenSurface>& buffer, Size size) {
  if (!buffer || buffer->Width() != size.width || buffer->Height() != size.height)
    buffer = std::make_unique<OffscreenSurface>(size.width, size.height);
  return *buffer;
}

void TSkinControl::PutOnScreen(HDC dc, const RECT& r, const OffscreenSurface& picture) {
  GdiFlush();
  BitBlt(dc, r.left, r.top, picture.Width(), picture.Height(), picture.Dc(), 0, 0, SRCCOPY);
}

Colour TSkinControl::SkinColour(int index) const {
  const SkinDefinition& skin = Skin();
  return ResolveColour(skin.Colours[static_cast<std::size_t>(index)], skin.System());
}

void TSkinControl::FillFace(HDC dc, const RECT& r) const {
  FillRect(dc, &r, m_skinData->FaceBrush());
}

void TSkinControl::FillColour(HDC dc, const RECT& r, Colour colour) {
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
  FillRect(dc, &r, brush.Get());
}

void TSkinControl::FillParentColour(HDC dc, const RECT& r) const {
  TComponent* parent = m_control ? m_control->Parent() : nullptr;
  if (!parent && m_window) parent = ControlOfWindow(GetParent(m_window));
  std::int64_t colour = PropertyInt(parent, "Color");
  if (parent && colour != -1)
    FillColour(dc, r, static_cast<Colour>(colour));
  else
    FillFace(dc, r);
}

void TSkinControl::DrawParentUnder(HDC dc, const RECT& r) const {
  if (m_control && m_control->Parent()) {
    FillFace(dc, r);
    DrawParentBackground(*m_control, dc);
  } else {
    FillParentColour(dc, r);
  }
}

bool TSkinControl::DrawElementCell(HDC dc, const RECT& r, const TDataSkinObject& e, int frames,
                                   int index) {
  if (e.Bitmap.IsEmpty() || r.right <= r.left || r.bottom <= r.top) return false;
  Surface picture = BuildElementBitmap({0, 0, r.right - r.left, r.bottom - r.top}, e.Bitmap,
                                       {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                                       false, e.Tile == 1, std::max(frames, 1), index);
  if (e.Trans)
    BlitSurfaceKeyed(dc, {r.left, r.top}, picture.View(), kColourKey);
  else
    BlitSurface(dc, {r.left, r.top}, picture.View());
  return true;
}

void TSkinControl::DrawFocusAroundText(HDC dc, unsigned flags, const RECT& r) {
  RECT measured = r;
  DrawTextWide(dc, m_text, measured, flags | DT_CALCRECT | DT_NOCLIP);
  Rect focus =
      FocusAroundText(ToRect(r),
                      {measured.right - measured.left, measured.bottom - measured.top}, flags);
  RECT f = ToRECT(focus);
  if (!focus.IsEmpty()) DrawFocusRect(dc, &f);
}

unsigned TSkinControl::TextFlags(unsigned flags) const {
  const TControl* subject = m_paintTarget ? m_paintTarget : m_control;
  bool rightToLeft = PropertyInt(subject, "BiDiMode") == 1 ||
                     AsciiLower(PropertyText(subject, "BiDiMode")) == "bdrighttoleft";
  if (!subject && m_window)
    rightToLeft = (GetWindowLongW(m_window, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  return rightToLeft ? flags | DT_RTLREADING : flags;
}

std::wstring TSkinControl::ReadWindowText(HWND window) {
  if (!window) return {};
  return WindowTextWide(window);
}

void TSkinControl::SetMouseBits(unsigned bits, bool on) {
  unsigned next = on ? (m_mouseState | bits) : (m_mouseState & ~bits);
  if (next == m_mouseState) return;
  m_mouseState = next;
  Repaint();
}

bool TSkinControl::IsEnabledNow() const {
  if (HWND h = Handle()) return !(GetWindowLongW(h, GWL_STYLE) & WS_DISABLED);
  return m_control ? m_control->Enabled() : true;
}

bool TSkinControl::HasFocusNow() const {
  HWND h = Handle();
  return h && GetFocus() == h;
}

}  // namespace corvane
