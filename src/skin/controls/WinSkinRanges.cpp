#include "skin/controls/WinSkinRanges.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/controls/ControlLooks.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/RangeLooks.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/WinElementDrawing.h"

namespace corvane {

namespace {

template <typename Element>
bool HasImage(const std::unique_ptr<Element>& element) {
  return element && !element->Bitmap.IsEmpty();
}

Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// One cell of element stretched over target by its margins.
void DrawCell(SurfaceView canvas, const Rect& target, const TDataSkinObject& e, int frames,
              int cell, bool keyed) {
  DrawElement(canvas, target, e.Bitmap, false, e.Tile == 1, keyed, std::max(frames, 1), cell,
              MarginsOf(e));
}

// A window's rectangle in the coordinates of another window's rectangle.
Rect WindowRectIn(HWND window, HWND frameOf) {
  RECT w{}, f{};
  GetWindowRect(window, &w);
  GetWindowRect(frameOf, &f);
  return Rect{w.left, w.top, w.right, w.bottom}.Offset(-f.left, -f.top);
}

}  // namespace

// ================================================================ TSkinProgress

bool TSkinProgress::CanDraw() const {
  const SkinDefinition& skin = Skin();
  if (!HasImage(skin.Progress)) return false;
  // The chunk style fills with its chunk picture: without one the bar
  // would never show progress, so the system draws it.
  return skin.Progress->Style == 0 || HasImage(skin.ProgressChunk);
}

bool TSkinProgress::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (!CanDraw()) return true;
  if (TakePaintMessage(m)) return false;
  // A task's loop may not let the window paint until it ends: a new
  // position is shown now, as the system's own bar does.
  bool changesTheBar = m.Msg == PBM_SETPOS || m.Msg == PBM_DELTAPOS || m.Msg == PBM_STEPIT ||
                       m.Msg == PBM_SETRANGE || m.Msg == PBM_SETRANGE32;
  if (!changesTheBar && !DrawsAtOnce(m.Msg)) return true;
  CallOldHandlerQuietly(m);
  PaintWindow(nullptr);
  return false;
}

void TSkinProgress::Paint(HDC dc, const RECT& r) {
  if (!CanDraw()) return;
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  HWND h = Handle();
  const SkinDefinition& skin = Skin();
  const TDataSkinBorder& trough = *skin.Progress;
  bool vertical = (GetWindowLongW(h, GWL_STYLE) & PBS_VERTICAL) != 0;
  int position = static_cast<int>(SendMessageW(h, PBM_GETPOS, 0, 0));
  int high = static_cast<int>(SendMessageW(h, PBM_GETRANGE, FALSE, 0));
  int low = static_cast<int>(SendMessageW(h, PBM_GETRANGE, TRUE, 0));

  Size lying = LyingSize(size, vertical);
  Surface canvas(lying.width, lying.height,
                 PixelFromColour(SkinColour(SkinDefinition::kButtonFace)));
  SurfaceView view = canvas.View();
  Rect all = view.Bounds();
  bool chunkStyle = trough.Style != 0;
  // The trough's magenta always lets the face show, whatever its Trans says.
  DrawCell(view, all, trough, chunkStyle ? 1 : 2, 1, true);
  Rect fill = ProgressFillRect(lying, position, low, high, chunkStyle);
  if (!fill.IsEmpty()) {
    if (!chunkStyle) {
      DrawCell(view, fill, trough, 2, 2, true);
    } else {
      const TDataSkinObject& chunk = *skin.ProgressChunk;
      if (chunk.Tile == 1) {
        for (const ChunkTile& tile :
             ProgressChunkTiles(fill, lying.height, {chunk.Bitmap.Width(), chunk.Bitmap.Height()},
                                chunk.LeftWidth))
          if (chunk.Trans)
            StretchCopyKeyed(view, tile.target, chunk.Bitmap.View(), tile.source, kColourKey);
          else
            StretchCopy(view, tile.target, chunk.Bitmap.View(), tile.source);
      } else {
        DrawCell(view, fill, chunk, 1, 1, chunk.Trans != 0);
      }
    }
  }
  if (vertical) RotateBitmapLeft(canvas);
  BlitSurface(dc, {r.left, r.top}, canvas.View());
}

// ================================================================ TSkinTrackBar

TSkinTrackBar::TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}
TSkinTrackBar::~TSkinTrackBar() = default;

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_NOTIFY:
    case CN_NOTIFY:
      return !CustomDraw(m);
    case CN_CTLCOLORSTATIC:
      // The bar's background is the skin's face, as the form's is.
      SetBkColor(reinterpret_cast<HDC>(m.WParam),
                 ColorToRGB(SkinColour(SkinDefinition::kButtonFace)));
      m.Result = reinterpret_cast<LRESULT>(m_skinData->FaceBrush());
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_PAINT:
      if (m.WParam) return true;
      PaintOffscreen(m);
      return false;
    default:
      return true;
  }
}

void TSkinTrackBar::PaintOffscreen(TMessage& m) {
  HWND h = Handle();
  RECT client{};
  GetClientRect(h, &client);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  if (client.right > 0 && client.bottom > 0) {
    OffscreenSurface& picture = BufferOfSize(m_buffer, {client.right, client.bottom});
    FillFace(picture.Dc(), client);
    // The bar draws itself (ticks, focus) into the picture; channel and
    // thumb come back to CustomDraw on the way.
    TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(picture.Dc()), 0, 0};
    CallOldHandler(inner);
    PutOnScreen(dc, client, picture);
  }
  EndPaint(h, &ps);
  m.Result = 0;
}

bool TSkinTrackBar::CustomDraw(TMessage& m) {
  // Engine requests share this number and carry small values, never a
  // notification record.
  if (static_cast<ULONG_PTR>(m.LParam) < 0x10000) return false;
  auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
  HWND h = Handle();
  if (draw->hdr.hwndFrom != h || draw->hdr.code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
  bool vertical = (GetWindowLongW(h, GWL_STYLE) & TBS_VERT) != 0;
  switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
      m.Result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      switch (draw->dwItemSpec) {
        case TBCD_THUMB: {
          RECT thumb{};
          SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
          DrawThumb(draw->hdc, thumb, vertical);
          m.Result = CDRF_SKIPDEFAULT;
          return true;
        }
        case TBCD_CHANNEL: {
          // The notification's rectangle is the channel as drawn; the
          // channel message turns it on its side for vertical bars.
          RECT channel = draw->rc;
          if (IsRectEmpty(&channel))
            SendMessageW(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
          DrawChannel(draw->hdc, channel, vertical);
          m.Result = CDRF_SKIPDEFAULT;
          return true;
        }
        default:
          m.Result = CDRF_DODEFAULT;
          return true;
      }
    default:
      m.Result = CDRF_DODEFAULT;
      return true;
  }
}

void TSkinTrackBar::DrawChannel(HDC dc, const RECT& channel, bool vertical) {
  const SkinDefinition& skin = Skin();
  const std::unique_ptr<TDataSkinObject>& element =
      vertical && HasImage(skin.TrackVert) ? skin.TrackVert : skin.Track;
  if (!HasImage(element)) return;
  const TDataSkinObject& e = *element;
  int frames = std::max(e.Frame, 1);
  Rect cell = CellRect({e.Bitmap.Width(), e.Bitmap.Height()}, frames, 1, false);
  std::vector<SlicePiece> plan =
      TrackChannelPlan(ToRect(channel), {cell.Width(), cell.Height()}, MarginsOf(e), vertical);
  Rect bounds = PlanBounds(plan);
  if (bounds.IsEmpty()) return;
  for (SlicePiece& p : plan) {
    p.target = p.target.Offset(-bounds.left, -bounds.top);
    p.source = p.source.Offset(cell.left, cell.top);
  }
  Surface picture(bounds.Width(), bounds.Height());
  ApplyPlan(picture.View(), e.Bitmap.View(), plan);
  BlitSurface(dc, {bounds.left, bounds.top}, picture.View());
}

void TSkinTrackBar::DrawThumb(HDC dc, const RECT& thumb, bool vertical) {
  if (IsRectEmpty(&thumb)) return;
  const SkinDefinition& skin = Skin();
  bool ownPicture = !vertical || HasImage(skin.TrackThumbVert);
  const std::unique_ptr<TDataSkinObject>& element =
      vertical && ownPicture ? skin.TrackThumbVert : skin.TrackThumbHorz;
  if (!HasImage(element)) {
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinColour(SkinDefinition::kButtonShadow))));
    SelectGuard selectPen(dc, pen.Get());
    SelectGuard selectBrush(dc, m_skinData->FaceBrush());
    Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
    return;
  }
  const TDataSkinObject& e = *element;
  // A standing bar borrowing the lying thumb gets it turned a quarter turn,
  // so that its point faces the ticks as it does on a lying bar.
  Size size{thumb.right - thumb.left, thumb.bottom - thumb.top};
  Size built = ownPicture ? size : Size{size.height, size.width};
  Surface picture = BuildElementBitmap({0, 0, built.width, built.height}, e.Bitmap, MarginsOf(e),
                                       false, e.Tile == 1, 5, 2);
  if (!ownPicture) RotateBitmapLeft(picture);
  BlitSurfaceKeyed(dc, {thumb.left, thumb.top}, picture.View(), kColourKey);
}

// ================================================================ TSkinUpDown

bool TSkinUpDown::Horizontal() const {
  return m_mode == 1 || (GetWindowLongW(Handle(), GWL_STYLE) & UDS_HORZ) != 0;
}

int TSkinUpDown::HalfAt(POINT screen) const {
  HWND h = Handle();
  RECT window{};
  if (!h || !GetWindowRect(h, &window)) return -1;
  Point at{screen.x - window.left, screen.y - window.top};
  UpDownHalves halves =
      SplitUpDown({0, 0, window.right - window.left, window.bottom - window.top}, Horizontal());
  return halves.first.Contains(at) ? 0 : halves.second.Contains(at) ? 1 : -1;
}

int TSkinUpDown::HalfUnderCursor() const {
  POINT cursor{};
  return GetCursorPos(&cursor) ? HalfAt(cursor) : -1;
}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (TakePaintMessage(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The half the press is in, by the press's own point.
      POINT press{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      ClientToScreen(Handle(), &press);
      CallOldHandler(m);
      m_pressedHalf = HalfAt(press);
      PaintWindow(nullptr);
      return false;
    }
    case WM_LBUTTONUP:
      m_pressedHalf = -1;
      CallOldHandler(m);
      PaintWindow(nullptr);
      return false;
    case WM_CAPTURECHANGED:
      // The press ends however the mouse was taken away.
      if (m_pressedHalf != -1 && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        m_pressedHalf = -1;
        Repaint();
      }
      return true;
    default:
      return true;
  }
}

void TSkinUpDown::AfterMessage(TMessage& m) {
  if (m.Msg == WM_MOUSEMOVE) {
    // The pressed look follows the cursor into and out of its half.
    if (m_pressedHalf != -1 && HalfUnderCursor() != m_shownHalf) PaintWindow(nullptr);
    return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinUpDown::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  HWND h = Handle();
  Surface canvas(size.width, size.height, PixelFromColour(SkinColour(SkinDefinition::kButtonFace)));
  Rect area = canvas.View().Bounds();
  if (m_insideEdit) {
    canvas.View().Fill(PixelFromColour(Rgb(255, 255, 255)));
    if (HWND edit = GetParent(h)) area = InsideEditRect(area, WindowRectIn(edit, h));
  }
  bool horizontal = Horizontal();
  bool enabled = IsEnabledNow();
  int under = HalfUnderCursor();
  m_shownHalf = m_pressedHalf != -1 ? under : -1;
  if (!area.IsEmpty()) {
    UpDownHalves halves = SplitUpDown(area, horizontal);
    PaintHalf(canvas, halves.first, 0, UpDownHalfState(enabled, m_pressedHalf == 0, under == 0),
              horizontal);
    PaintHalf(canvas, halves.second, 1, UpDownHalfState(enabled, m_pressedHalf == 1, under == 1),
              horizontal);
  }
  BlitSurface(dc, {r.left, r.top}, canvas.View());
}

void TSkinUpDown::PaintHalf(Surface& canvas, const Rect& half, int index, int state,
                            bool horizontal) {
  SurfaceView part = canvas.View().Sub(half);
  if (part.IsEmpty()) return;
  Rect local = part.Bounds();
  const SkinDefinition& skin = Skin();
  const std::unique_ptr<TDataSkinBorder>& element = horizontal ? skin.UpDownHorz : skin.UpDownVert;
  if (HasImage(element)) {
    const TDataSkinBorder& e = *element;
    int cell = UpDownCell(state, index);
    DrawCell(part, local, e, 8, cell, e.Trans != 0);
    if (!e.Bitmap2.IsEmpty()) DrawCentredCell(part, local, e.Bitmap2, true, 8, cell);
    return;
  }
  // The plain look: a face or shadow button in a dark outline with a small
  // arrow at its centre.
  auto colour = [&](int index) { return PixelFromColour(SkinColour(index)); };
  part.Fill(colour(state == 2 || state == 4 ? SkinDefinition::kButtonShadow
                                            : SkinDefinition::kButtonFace));
  Pixel outline = colour(SkinDefinition::kButtonDkShadow);
  for (int x = 0; x < local.right; ++x) part.At(x, 0) = part.At(x, local.bottom - 1) = outline;
  for (int y = 0; y < local.bottom; ++y) part.At(0, y) = part.At(local.right - 1, y) = outline;
  ArrowDirection direction = horizontal
                                 ? (index == 0 ? ArrowDirection::Left : ArrowDirection::Right)
                                 : (index == 0 ? ArrowDirection::Up : ArrowDirection::Down);
  Pixel ink = colour(state == 3 ? SkinDefinition::kButtonShadow : SkinDefinition::kButtonText);
  for (const Rect& bar : ArrowBars(local, direction)) part.Sub(bar).Fill(ink);
}

// ================================================================ TSkinObjImage

Surface SkinGlyphStrip(const TSkinData& data, bool radio) {
  const TDataSkinButton& buttons = data.Skin().Buttons;
  const Surface& picture = radio ? buttons.RadioBitmap : buttons.CheckBitmap;
  int frames = std::max(radio ? buttons.RadioFrame : buttons.CheckFrame, 1);
  int cellWidth = picture.Width() / frames;
  if (picture.IsEmpty() || cellWidth <= 0) return {};
  // Unchecked, checked, indeterminate; then the same disabled.
  int cells[6];
  for (int disabled = 0; disabled < 2; ++disabled) {
    if (radio) {
      cells[disabled * 3] = RadioButtonCell(false, disabled, frames);
      cells[disabled * 3 + 1] = RadioButtonCell(true, disabled, frames);
      cells[disabled * 3 + 2] = cells[disabled * 3];
      continue;
    }
    for (int state = 0; state < 3; ++state) {
      CheckFacts facts;
      facts.stateChecked = state == 1;
      facts.stateIndeterminate = state == 2;
      facts.disabled = disabled != 0;
      cells[disabled * 3 + state] = CheckBoxCell(facts, frames);
    }
  }
  Surface strip(cellWidth * 6, picture.Height(), PixelFromColour(kColourKey));
  for (int i = 0; i < 6; ++i)
    DrawFrameCell(strip.View(), Rect::FromSize(i * cellWidth, 0, cellWidth, picture.Height()),
                  picture, false, frames, cells[i]);
  return strip;
}

TSkinObjImage::TSkinObjImage(TComponent* owner, int mode) : TSkinControl(owner) {
  m_mode = mode;
}

void TSkinObjImage::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  int mode = m_mode;
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  if (mode == 0 && Control())
    mode = AsciiUpper(Control()->ClassName()).find("RADIO") != std::string::npos ? 2 : 1;
  m_mode = mode;
  GiveGlyphs();
}

void TSkinObjImage::GiveGlyphs() {
  TControl* control = Control();
  if (!control) return;
  Surface glyphs = SkinGlyphStrip(*m_skinData, m_mode == 2);
  if (glyphs.IsEmpty()) return;
  if (!m_strip) m_strip = &Create<TSkinGlyphStrip>();
  m_strip->Glyphs = std::move(glyphs);
  if (m_mode == 3) {
    TPropValue properties = control->GetProperty("Properties");
    if (auto* owner = std::get_if<TComponent*>(&properties); owner && *owner)
      (*owner)->SetProperty("Glyph", static_cast<TComponent*>(m_strip));
    return;
  }
  control->SetProperty("CustomGlyphs", static_cast<TComponent*>(m_strip));
  SetPropertyText(control, "transparentcolor", std::to_string(kColourKey));
  // Off and on again: the control reloads its glyphs only on the change.
  SetPropertyText(control, "UseCustomGlyphs", "false");
  SetPropertyText(control, "UseCustomGlyphs", "true");
}

void TSkinObjImage::Restore() {
  bool giveBack = SkinOn() && State() != kSkinWindowGone && Control();
  TSkinControl::Restore();
  if (!giveBack) return;
  if (m_mode == 3) {
    TPropValue properties = Control()->GetProperty("Properties");
    if (auto* owner = std::get_if<TComponent*>(&properties); owner && *owner)
      (*owner)->SetProperty("Glyph", static_cast<TComponent*>(nullptr));
  } else {
    SetPropertyText(Control(), "UseCustomGlyphs", "false");
  }
}

void TSkinObjImage::SkinChanged() {
  if (SkinOn()) GiveGlyphs();
  TSkinControl::SkinChanged();
}

}  // namespace corvane
