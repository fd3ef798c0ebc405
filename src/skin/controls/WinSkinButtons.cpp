#include "skin/controls/WinSkinButtons.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Buttons.h"
#include "framework/ImgList.h"
#include "pictures/WinPicture.h"
#include "pictures/WinSurface.h"
#include "skin/controls/ControlLooks.h"
#include "skin/controls/ControlRules.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"

namespace corvane {

namespace {

constexpr std::intptr_t kTransparentTag = 5555;
constexpr UINT kCaptionMeasure = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK;

COLORREF ToColorRef(Colour c) {
  return static_cast<COLORREF>(c) & 0xFFFFFF;
}

// A one-part glyph of a disabled button: its shape in the highlight colour
// one pixel down and right, then in the shadow colour.
void DrawEmbossed(SurfaceView canvas, Point at, SurfaceView glyph, Pixel key) {
  const Pixel highlight = PixelFromColour(static_cast<Colour>(GetSysColor(COLOR_BTNHIGHLIGHT)));
  const Pixel shadow = PixelFromColour(static_cast<Colour>(GetSysColor(COLOR_BTNSHADOW)));
  for (int pass = 0; pass < 2; ++pass) {
    int shift = pass == 0 ? 1 : 0;
    for (int y = 0; y < glyph.height; ++y)
      for (int x = 0; x < glyph.width; ++x) {
        if ((glyph.At(x, y) & 0xFFFFFF) == (key & 0xFFFFFF)) continue;
        int cx = at.x + x + shift, cy = at.y + y + shift;
        if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
        canvas.At(cx, cy) = pass == 0 ? highlight : shadow;
      }
  }
}

GlyphLayout LayoutOf(const TComponent* c) {
  std::string layout = AsciiLower(PropertyText(c, "Layout"));
  if (layout == "blglyphright") return GlyphLayout::Right;
  if (layout == "blglyphtop") return GlyphLayout::Top;
  if (layout == "blglyphbottom") return GlyphLayout::Bottom;
  return GlyphLayout::Left;
}

}  // namespace

// ================================================================ TSkinButton

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}
TSkinButton::~TSkinButton() = default;

void TSkinButton::DecideTransparency() {
  m_transparent = (Control() && Control()->Tag == kTransparentTag) ||
                  m_skinData->Options.Contains(xoTransparent);
}

void TSkinButton::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  std::string cls = AsciiLower(Control() ? Control()->ClassName() : "");
  // Those classes take their own mouse presses; the skin only paints them.
  m_mode = cls.rfind("trz", 0) == 0 || cls.rfind("tel", 0) == 0 ? 1 : 0;
  DecideTransparency();
}

void TSkinButton::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  TSkinControl::AttachWindow(window, skinData, formSkin);
  // A system dialog's button stands on the dialog's face, which the form
  // skin fills: no parent picture to show through.
  m_transparent = false;
}

const TDataSkinButton& TSkinButton::Buttons() const {
  return Skin().Buttons;
}
bool TSkinButton::HasButtonPicture() const {
  // A strip narrower than its cells has nothing to show: the system draws.
  const TDataSkinButton& b = Buttons();
  return !b.Bitmap.IsEmpty() && b.Bitmap.Width() >= std::max(b.Frame, 1);
}

int TSkinButton::Cell() {
  HWND h = Handle();
  bool isDefault = Control() ? PropertyIsTrue(Control(), "Default")
                             : (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  return PushButtonCell(m_mouseState, m_focused, isDefault, m_enabled);
}

void TSkinButton::Click() {
  if (Control()) {
    Control()->PerformClick();
    return;
  }
  HWND h = Handle();
  HWND parent = GetParent(h);
  std::string cls = AsciiLower(WindowClassName(h));
  WPARAM id = cls == "tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(h));
  PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(h));
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  // Without the skin's button picture the button stays the system's, mouse
  // and all.
  if (!HasButtonPicture()) return true;
  HWND h = Handle();
  if (TakePaintMessage(m)) return false;
  switch (m.Msg) {
    case WM_TIMER:
      // The system's own animation timer: the skin has none to run.
      KillTimer(h, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!m_focused) SetFocus(h);
      // The system button never sees the press, so the skin keeps the mouse
      // until the release, wherever it goes meanwhile.
      SetCapture(h);
      m_mouseState |= kMousePressed;
      PaintWindow(nullptr);
      if (m_mode == 0 && Control()) {
        int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
        if (Control()->Width() > 0x8000 || Control()->Height() > 0x8000) {
          POINT cursor{};
          GetCursorPos(&cursor);
          ScreenToClient(h, &cursor);
          x = cursor.x;
          y = cursor.y;
        }
        Control()->PerformMouseDown(TMouseButton::mbLeft, ShiftFromKeys(m.WParam), x, y);
      }
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != h && (m_mouseState & kMousePressed)) {
        m_mouseState &= ~kMousePressed;
        Repaint();
      }
      return true;
    default:
      if (DrawsAtOnce(m.Msg)) {
        CallOldHandlerQuietly(m);
        PaintWindow(nullptr);
        return false;
      }
      return true;
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  HWND h = Handle();
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) SetMouseBits(kMousePressed, true);
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) SetMouseBits(kMousePressed, false);
      break;
    case WM_MOUSEMOVE:
      if (IsEnabledNow() && !(m_mouseState & kMouseHot)) SetMouseBits(kMouseHot, true);
      TrackMouseLeave(h);
      break;
    case WM_LBUTTONUP:
      if (m_mouseState & kMousePressed) {
        m_mouseState &= ~kMousePressed;
        if (GetCapture() == h) ReleaseCapture();
        Repaint();
        // As the press was the skin's, so is the click: it fires wherever
        // the mouse was released.
        Click();
      }
      break;
    case WM_MOUSELEAVE:
      // While the press holds the mouse the button stays pressed.
      SetMouseBits(GetCapture() == h ? kMouseHot : kMouseHot | kMousePressed, false);
      break;
    case CM_BASE + 5:
    case CM_BASE + 7:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

unsigned TSkinButton::PrefixFlags() const {
  HWND h = Handle();
  LRESULT cues = h ? SendMessageW(h, WM_QUERYUISTATE, 0, 0) : 0;
  return (cues & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

bool TSkinButton::FocusCueShown() const {
  HWND h = Handle();
  LRESULT cues = h ? SendMessageW(h, WM_QUERYUISTATE, 0, 0) : 0;
  return !(cues & UISF_HIDEFOCUS) && !m_skinData->Options.Contains(xoNoFocusRect);
}

std::wstring TSkinButton::CaptionText() const {
  if (Control() && HasProperty(Control(), "Caption"))
    return AnsiToWide(PropertyText(Control(), "Caption"));
  return ReadWindowText(Handle());
}

OffscreenSurface& TSkinButton::ComposeFace(Size size, int cell) {
  OffscreenSurface& buffer = BufferOfSize(m_buffer, size);
  RECT all{0, 0, size.width, size.height};
  if (m_transparent)
    DrawParentUnder(buffer.Dc(), all);
  else
    FillFace(buffer.Dc(), all);
  GdiFlush();
  const TDataSkinButton& b = Buttons();
  if (cell > 0)
    DrawElement(buffer.View(), {0, 0, size.width, size.height}, b.Bitmap, false, b.Tile == 1,
                b.Trans != 0, std::max(b.Frame, 1), cell,
                {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight});
  return buffer;
}

HFONT TSkinButton::SelectCaptionFont(HDC dc, int cell) {
  HWND h = Handle();
  HFONT font = h ? reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)) : nullptr;
  if (!font && m_paintTarget && m_paintTarget->Parent() &&
      m_paintTarget->Parent()->HandleAllocated())
    font =
        reinterpret_cast<HFONT>(SendMessageW(m_paintTarget->Parent()->Handle(), WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const TDataSkinButton& b = Buttons();
  const TControl* subject = m_paintTarget ? m_paintTarget : Control();
  Colour colour = SkinColour(SkinDefinition::kButtonText);
  if (auto* windowed = dynamic_cast<const TWinControl*>(subject))
    colour = ColorToRGB(windowed->Font.Color);
  else if (subject && subject->Parent())
    colour = ColorToRGB(subject->Parent()->Font.Color);
  const SystemColourProvider& system = Skin().System();
  if (b.HasNormalColour2) colour = ResolveColour(b.NormalColour2, system);
  if (cell == 4 && b.HasMouseOverColour2) colour = ResolveColour(b.MouseOverColour2, system);
  if (cell == 2 && b.HasPressedColour2) colour = ResolveColour(b.PressedColour2, system);
  if (!m_enabled) colour = static_cast<Colour>(GetSysColor(COLOR_BTNSHADOW));
  SetTextColor(dc, ToColorRef(colour));
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HFONT>(SelectObject(dc, font));
}

void TSkinButton::Paint(HDC dc, const RECT& r) {
  if (!HasButtonPicture()) return;
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  m_focused = HasFocusNow();
  m_enabled = IsEnabledNow();
  m_text = ButtonCaptionLines(CaptionText());
  int cell = Cell();
  m_lastCell = cell;
  OffscreenSurface& buffer = ComposeFace(size, cell);
  HDC bdc = buffer.Dc();
  HFONT previous = SelectCaptionFont(bdc, cell);
  RECT area{2, 2, size.width - 2, size.height - 2};
  RECT text = area;
  unsigned flags = TextFlags(DT_CENTER | PrefixFlags());
  DrawTextWide(bdc, m_text, text, kCaptionMeasure | flags);
  int height = text.bottom - text.top;
  RECT place{area.left, area.top + (area.bottom - area.top - height) / 2, area.right,
             area.top + (area.bottom - area.top - height) / 2 + height};
  DrawTextWide(bdc, m_text, place, DT_WORDBREAK | DT_EXPANDTABS | flags);
  if (m_focused && FocusCueShown()) {
    int width = std::min(text.right - text.left, area.right - area.left);
    RECT focus{area.left + (area.right - area.left - width) / 2 - 2, place.top - 2,
               area.left + (area.right - area.left - width) / 2 + width + 2, place.bottom + 2};
    DrawFocusRect(bdc, &focus);
  }
  SelectObject(bdc, previous);
  PutOnScreen(dc, r, buffer);
}

// ================================================================ TSkinBitButton

void TSkinBitButton::Paint(HDC dc, const RECT& r) {
  if (!HasButtonPicture()) return;
  const TControl* subject = m_paintTarget ? m_paintTarget : Control();
  if (subject && !subject->Visible()) return;
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  m_focused = HasFocusNow();
  m_enabled = m_paintTarget ? m_paintTarget->Enabled() : IsEnabledNow();
  m_text = ButtonCaptionLines(CaptionText());
  int cell = Cell();
  m_lastCell = cell;
  OffscreenSurface& buffer = ComposeFace(size, cell);
  HDC bdc = buffer.Dc();
  HFONT previous = SelectCaptionFont(bdc, cell);

  GlyphSource glyph = FindGlyph(subject);
  Size glyphSize = glyph.size;
  GlyphLayout layout = LayoutOf(subject);
  bool horizontal = layout == GlyphLayout::Left || layout == GlyphLayout::Right;
  RECT measure{2, 2, size.width - 2, size.height - 2};
  if (glyphSize.width > 0) {
    if (horizontal)
      measure.right -= glyphSize.width + 2;
    else
      measure.bottom -= glyphSize.height + 2;
  }
  Size textSize{};
  if (!m_text.empty()) {
    DrawTextWide(bdc, m_text, measure, DT_CALCRECT | DT_WORDBREAK | PrefixFlags());
    textSize = {measure.right - measure.left, measure.bottom - measure.top};
  }
  std::int64_t margin = PropertyInt(subject, "Margin");
  std::int64_t spacing = HasProperty(subject, "Spacing") ? PropertyInt(subject, "Spacing") : 4;
  bool centred = AsciiLower(PropertyText(subject, "Alignment")) == "tacenter";
  GlyphPlacement place = PlaceGlyph(size, glyphSize, textSize, layout, static_cast<int>(margin),
                                    static_cast<int>(spacing), centred);
  if (glyphSize.width > 0) DrawGlyph(buffer, glyph, place.glyph);
  if (!m_text.empty()) {
    RECT text{place.text.x, place.text.y, place.text.x + textSize.width,
              place.text.y + textSize.height};
    DrawTextWide(bdc, m_text, text, TextFlags(DT_WORDBREAK | place.textAlign | PrefixFlags()));
  }
  SelectObject(bdc, previous);
  PutOnScreen(dc, r, buffer);
}

TSkinBitButton::GlyphSource TSkinBitButton::FindGlyph(const TControl* subject) {
  GlyphSource glyph;
  if (!subject) return glyph;
  std::string name = PropertyText(subject, GlyphPropertyName.empty() ? "PngImage" : GlyphPropertyName);
  if (name != m_pictureName) {
    m_pictureName = name;
    m_picture.reset();
    if (!name.empty()) {
      auto picture = std::make_unique<TPicture>();
      try {
        picture->LoadFromFile(name);
        if (!picture->Empty()) m_picture = std::move(picture);
      } catch (const std::exception&) {
        // A picture that cannot be loaded: the button keeps its plain look.
      }
    }
  }
  if (m_picture) {
    glyph.picture = m_picture.get();
    glyph.size = {m_picture->Width(), m_picture->Height()};
    return glyph;
  }
  if (const auto* button = dynamic_cast<const TGlyphButton*>(subject); button && !button->Glyph.IsEmpty()) {
    glyph.strip = &button->Glyph;
    glyph.parts = std::max(button->NumGlyphs, 1);
    glyph.size = {glyph.strip->Width() / glyph.parts, glyph.strip->Height()};
    return glyph;
  }
  TPropValue images = subject->GetProperty("Images");
  auto* list = std::holds_alternative<TComponent*>(images)
                   ? dynamic_cast<const TImageList*>(std::get<TComponent*>(images))
                   : nullptr;
  int index = static_cast<int>(PropertyInt(subject, "ImageIndex"));
  if (!list || index < 0 || index >= list->Count()) return glyph;
  glyph.images = list;
  glyph.imageIndex = index;
  int disabled = static_cast<int>(PropertyInt(subject, "DisabledIndex"));
  glyph.disabledIndex = disabled < list->Count() ? disabled : -1;
  glyph.size = {list->Width(), list->Height()};
  return glyph;
}

void TSkinBitButton::DrawGlyph(OffscreenSurface& buffer, const GlyphSource& glyph, Point at) {
  const Size size = glyph.size;
  const Rect target = Rect::FromSize(at.x, at.y, size.width, size.height);
  GdiFlush();
  if (glyph.strip) {
    int part = GlyphPart((m_mouseState & kMousePressed) != 0, m_enabled, GlyphDown(), glyph.parts);
    SurfaceView partView = glyph.strip->View().Sub(Rect::FromSize((part - 1) * size.width, 0, size.width, size.height));
    Pixel key = glyph.strip->At(0, glyph.strip->Height() - 1);
    if (!m_enabled && glyph.parts == 1) DrawEmbossed(buffer.View(), at, partView, key);
    else DrawTransparent(buffer.View(), target, partView, ColourFromPixel(key));
    return;
  }
  // A picture or a list image has one look: a disabled button without its
  // own disabled image embosses the shape, taken from the image drawn on
  // the key colour.
  bool ownDisabled = glyph.images && glyph.disabledIndex >= 0;
  auto drawAt = [&](HDC dc, int x, int y, int index) {
    if (glyph.picture) {
      RECT r{x, y, x + size.width, y + size.height};
      glyph.picture->Draw(dc, r);
    } else {
      glyph.images->Draw(dc, x, y, index, true);
    }
  };
  if (m_enabled || ownDisabled) {
    drawAt(buffer.Dc(), at.x, at.y, m_enabled ? glyph.imageIndex : glyph.disabledIndex);
    GdiFlush();
    return;
  }
  OffscreenSurface shape(size.width, size.height);
  if (!shape.Valid()) return;
  shape.View().Fill(PixelFromColour(kColourKey));
  drawAt(shape.Dc(), 0, 0, glyph.imageIndex);
  GdiFlush();
  DrawEmbossed(buffer.View(), at, shape.View(), PixelFromColour(kColourKey));
}

// ================================================================ TSkinMenuButton

int TSkinMenuButton::Cell() {
  return MenuButtonCell(m_mouseState, m_focused, m_enabled);
}

// ================================================================ TSkinSpeedButton

void TSkinSpeedButton::AttachSpeedButton(TWinSkinForm* formSkin, TSkinData* skinData) {
  // A speed button has no window: the skin works on its handler and paints
  // on the DC its parent hands it.
  AttachControlTo(formSkin, skinData, false, true);
  m_paintTarget = Control();
  DecideTransparency();
}

bool TSkinSpeedButton::GlyphDown() const {
  return PropertyIsTrue(m_paintTarget, "Down");
}

int TSkinSpeedButton::Cell() {
  return SpeedButtonCell(m_mouseState, GlyphDown(), m_paintTarget && m_paintTarget->Enabled(),
                         PropertyIsTrue(m_paintTarget, "Flat"));
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
      if (!HasButtonPicture()) return true;
      if (m.WParam && m_paintTarget)
        Paint(reinterpret_cast<HDC>(m.WParam),
              {0, 0, m_paintTarget->Width(), m_paintTarget->Height()});
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOldHandler(m);
      m_mouseState |= kMousePressed;
      PaintWindow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_BASE + 7:
    case CM_ENABLEDCHANGED:
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) SetMouseBits(kMousePressed, true);
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) SetMouseBits(kMousePressed, false);
      break;
    case WM_LBUTTONUP:
      SetMouseBits(kMousePressed, false);
      break;
    case CM_MOUSEENTER:
      SetMouseBits(kMouseHot, true);
      break;
    case CM_MOUSELEAVE:
      if (m_paintTarget && m_paintTarget->Visible()) SetMouseBits(kMouseHot | kMousePressed, false);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinSpeedButton::PaintWindow(HDC) {
  if (m_paintTarget) m_paintTarget->Repaint();
}

void TSkinSpeedButton::Paint(HDC dc, const RECT& r) {
  if (m_painting || r.right <= r.left || r.bottom <= r.top) return;
  m_painting = true;
  try {
    TSkinBitButton::Paint(dc, r);
  } catch (...) {
  }
  m_painting = false;
}

// ================================================================ check boxes and radio buttons

TSkinCheckable::TSkinCheckable(TComponent* owner) : TSkinControl(owner) {}
TSkinCheckable::~TSkinCheckable() = default;

void TSkinCheckable::ChooseMode() {
  // Mode 0 leaves the drawing to the system: no picture, or a strip narrower
  // than its cell count.
  const Surface& picture = Picture();
  m_mode = !picture.IsEmpty() && picture.Width() >= std::max(Frames(), 1) ? 1 : 0;
}

void TSkinCheckable::SkinChanged() {
  ChooseMode();
  TSkinControl::SkinChanged();
}

void TSkinCheckable::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  ChooseMode();
  m_transparent =
      (Control() && Control()->Tag == kTransparentTag) || skinData->Options.Contains(xoTransparent);
}

void TSkinCheckable::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  TSkinControl::AttachWindow(window, skinData, formSkin);
  ChooseMode();
  m_transparent = skinData->Options.Contains(xoTransparent);
}

bool TSkinCheckable::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  HWND h = Handle();
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (m_mode != 1) return true;
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND: {
      if (m_mode == 1) {
        // The paint covers everything with one blit.
        m.Result = 1;
        return false;
      }
      if (!m_transparent) return true;
      RECT client{};
      GetClientRect(h, &client);
      DrawParentUnder(reinterpret_cast<HDC>(m.WParam), client);
      m.Result = 1;
      return false;
    }
    default:
      if (m_mode == 1 && DrawsAtOnce(m.Msg)) {
        CallOldHandlerQuietly(m);
        if (m.Msg == BM_SETCHECK) m_storedCheck = static_cast<int>(m.WParam) + 1;
        PaintWindow(nullptr);
        return false;
      }
      return true;
  }
}

void TSkinCheckable::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
      m_storedCheck = static_cast<int>(m.WParam) + 1;
      Repaint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_BASE + 0x1B:
    case CM_BASE + 0xD0:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinCheckable::Paint(HDC dc, const RECT& r) {
  const Surface& picture = Picture();
  ChooseMode();
  if (m_mode == 0) return;
  HWND h = Handle();
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  int frames = std::max(Frames(), 1);
  Size image{picture.Width() / frames, picture.Height()};
  if (image.width <= 0) return;
  m_enabled = IsEnabledNow();
  int cell = Cell();
  m_lastCell = cell;

  OffscreenSurface& buffer = BufferOfSize(m_buffer, size);
  HDC bdc = buffer.Dc();
  RECT all{0, 0, size.width, size.height};
  if (m_transparent)
    DrawParentUnder(bdc, all);
  else
    FillFace(bdc, all);
  GdiFlush();
  bool leftText = (GetWindowLongW(h, GWL_STYLE) & BS_LEFTTEXT) != 0;
  int top = (size.height - image.height) / 2;
  int left = leftText ? size.width - image.width - RightInset() : 0;
  DrawFrameCell(buffer.View(), Rect::FromSize(left, top, image.width, image.height), picture, true,
                frames, cell);

  m_text = Control() && HasProperty(Control(), "Caption")
               ? AnsiToWide(PropertyText(Control(), "Caption"))
               : ReadWindowText(h);
  RECT text = leftText ? RECT{0, 0, left - 2, size.height}
                       : RECT{image.width + 2, 0, size.width, size.height};
  unsigned flags = TextFlags(leftText ? DT_RIGHT : 0);
  LRESULT cues = SendMessageW(h, WM_QUERYUISTATE, 0, 0);
  if (cues & UISF_HIDEACCEL) flags |= DT_HIDEPREFIX;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  SelectGuard select(bdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  Colour colour = SkinColour(SkinDefinition::kButtonText);
  if (auto* windowed = dynamic_cast<const TWinControl*>(Control()))
    colour = ColorToRGB(windowed->Font.Color);
  if (!m_enabled) colour = static_cast<Colour>(GetSysColor(COLOR_BTNSHADOW));
  SetTextColor(bdc, ToColorRef(colour));
  SetBkColor(bdc, ToColorRef(SkinColour(SkinDefinition::kButtonFace)));
  SetBkMode(bdc, TRANSPARENT);
  RECT measured = text;
  DrawTextWide(bdc, m_text, measured, flags | kCaptionMeasure);
  int height = measured.bottom - measured.top;
  RECT place{text.left, (size.height - height) / 2, text.right,
             (size.height - height) / 2 + height};
  bool focusShown = !(cues & UISF_HIDEFOCUS);
  // Systems of major version 6 show no focus rectangle on these controls.
  if (HasFocusNow() && !m_text.empty() && LOBYTE(LOWORD(GetVersion())) != 6 && focusShown)
    DrawFocusAroundText(bdc, flags | DT_WORDBREAK, place);
  DrawTextWide(bdc, m_text, place, flags | DT_WORDBREAK | DT_EXPANDTABS);
  PutOnScreen(dc, r, buffer);
}

const Surface& TSkinCheckBox::Picture() const {
  return Skin().Buttons.CheckBitmap;
}
int TSkinCheckBox::Frames() const {
  return Skin().Buttons.CheckFrame;
}

int TSkinCheckBox::Cell() {
  CheckFacts f;
  LRESULT state = SendMessageW(Handle(), BM_GETSTATE, 0, 0);
  f.stateChecked = (state & 3) == BST_CHECKED;
  f.stateIndeterminate = (state & 3) == BST_INDETERMINATE;
  f.disabled = !m_enabled;
  if (const TControl* c = Control()) {
    f.stateProperty = AsciiLower(PropertyText(c, "State"));
    if (HasProperty(c, "Checked")) f.checkedProperty = PropertyIsTrue(c, "Checked") ? 1 : 0;
    f.dataField = HasProperty(c, "DataField");
    f.storedCheck = m_storedCheck;
    f.dataBinding = HasProperty(c, "DataBinding");
  }
  return CheckBoxCell(f, Frames());
}

const Surface& TSkinRadioButton::Picture() const {
  return Skin().Buttons.RadioBitmap;
}
int TSkinRadioButton::Frames() const {
  return Skin().Buttons.RadioFrame;
}

int TSkinRadioButton::Cell() {
  bool checked = (SendMessageW(Handle(), BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  if (const TControl* c = Control(); c && HasProperty(c, "Checked"))
    checked = PropertyIsTrue(c, "Checked");
  return RadioButtonCell(checked, !m_enabled, Frames());
}

}  // namespace corvane
