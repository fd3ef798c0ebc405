#include "skin/controls/WinSkinMedia.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "pictures/WinSurface.h"
#include "skin/controls/RangeLooks.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {

constexpr const char* kButtonNames[TWMediaPlayer::kButtons] = {
    "MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};
// Glyph sets by state: enabled, disabled, coloured.
constexpr const char* kStatePrefixes[3] = {"EN", "DI", "CL"};
constexpr unsigned kAllButtons = (1u << TWMediaPlayer::kButtons) - 1;

}  // namespace

// ================================================================ TWMediaPlayer

TWMediaPlayer::TWMediaPlayer(TComponent* owner, TControl& player, TSkinData& skinData)
    : TWinControl(owner), m_player(player), m_skinData(skinData) {
  Tag = skinData.DisableTag;
  LoadGlyphs();
  SetBounds(player.Left(), player.Top(), player.Width(), player.Height());
  SetVisible(player.Visible());
  SetParent(player.Parent());
  Follow();
}

void TWMediaPlayer::LoadGlyphs() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int state = 0; state < 3; ++state)
    for (int i = 0; i < kButtons; ++i) {
      std::string name = std::string(kStatePrefixes[state]) + "_" + kButtonNames[i];
      UniqueBitmap bitmap(static_cast<HBITMAP>(
          LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (bitmap.Get()) m_glyphs[state][i] = SurfaceFromBitmap(bitmap.Get());
    }
}

void TWMediaPlayer::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.classStyle = 0;  // a double-click is two presses on a button bar
}

void TWMediaPlayer::Follow() {
  SetBounds(m_player.Left(), m_player.Top(), m_player.Width(), m_player.Height());
  SetVisible(m_player.Visible());
  // Above the player, which it covers.
  if (HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

unsigned TWMediaPlayer::ButtonSet(const char* property) const {
  std::int64_t set = PropertyInt(&m_player, property);
  return set < 0 ? kAllButtons : static_cast<unsigned>(set) & kAllButtons;
}

std::vector<Rect> TWMediaPlayer::ButtonRects() {
  return MediaButtonRects({ClientWidth(), ClientHeight()}, ButtonSet("VisibleButtons"), kButtons);
}

void TWMediaPlayer::PaintWindow(HDC dc) {
  Size size{ClientWidth(), ClientHeight()};
  if (size.width <= 0 || size.height <= 0) return;
  OffscreenSurface picture(size.width, size.height);
  if (!picture.Valid()) return;
  RECT all{0, 0, size.width, size.height};
  FillRect(picture.Dc(), &all, m_skinData.FaceBrush());
  GdiFlush();
  SurfaceView view = picture.View();
  const TDataSkinButton& cells = m_skinData.Skin().Buttons;
  unsigned enabled = m_player.Enabled() ? ButtonSet("EnabledButtons") : 0;
  unsigned coloured = ButtonSet("ColoredButtons");
  std::vector<Rect> buttons = ButtonRects();
  for (int i = 0; i < kButtons; ++i) {
    const Rect& r = buttons[static_cast<std::size_t>(i)];
    if (r.IsEmpty()) continue;
    bool on = (enabled & (1u << i)) != 0;
    int cell = !on ? 3 : i == m_pressed ? 2 : 1;
    if (!cells.Bitmap.IsEmpty())
      DrawElement(view, r, cells.Bitmap, false, cells.Tile == 1, cells.Trans != 0,
                  std::max(cells.Frame, 1), cell,
                  {cells.LeftWidth, cells.TopHeight, cells.RightWidth, cells.BottomHeight});
    int state = !on ? 1 : (coloured & (1u << i)) ? 2 : 0;
    const Surface& glyph = m_glyphs[static_cast<std::size_t>(state)][static_cast<std::size_t>(i)];
    if (!glyph.IsEmpty()) {
      SurfaceView inside = view.Sub(r);
      DrawCentredCell(inside, inside.Bounds(), glyph, true, 1, 1);
    }
  }
  BitBlt(dc, 0, 0, size.width, size.height, picture.Dc(), 0, 0, SRCCOPY);
}

void TWMediaPlayer::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // PaintWindow covers everything
      return;
    case WM_LBUTTONDOWN: {
      int at = MediaButtonAt(ButtonRects(), GET_X_LPARAM(m.LParam));
      unsigned enabled = m_player.Enabled() ? ButtonSet("EnabledButtons") : 0;
      if (at < 0 || !(enabled & (1u << at))) return;
      m_pressed = at;
      SetCapture(Handle());
      Invalidate();
      // The panel lies exactly over the player: the point is the player's too.
      m_player.Perform(WM_LBUTTONDOWN, m.WParam, m.LParam);
      return;
    }
    case WM_LBUTTONUP: {
      if (m_pressed < 0) return;
      bool same = MediaButtonAt(ButtonRects(), GET_X_LPARAM(m.LParam)) == m_pressed;
      m_pressed = -1;
      if (GetCapture() == Handle()) ReleaseCapture();
      Invalidate();
      if (same) m_player.Perform(WM_LBUTTONUP, m.WParam, m.LParam);
      return;
    }
    case WM_CAPTURECHANGED:
      if (m_pressed >= 0 && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        m_pressed = -1;
        Invalidate();
      }
      break;
    default:
      break;
  }
  TWinControl::Dispatch(m);
}

// ================================================================ TSkinMP

void TSkinMP::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  if (!m_panel && Control() && Control()->Parent())
    m_panel = &Create<TWMediaPlayer>(*Control(), *skinData);
}

void TSkinMP::Restore() {
  TSkinControl::Restore();
  if (m_panel && State() != kSkinWindowGone) {
    FreeComponent(m_panel);
    m_panel = nullptr;
  }
}

void TSkinMP::AfterMessage(TMessage& m) {
  if (!m_panel) return;
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
      m_panel->Follow();
      break;
    case CM_ENABLEDCHANGED:
    case WM_ENABLE:
      m_panel->Invalidate();
      break;
    default:
      break;
  }
}

}  // namespace corvane
