#include "framework/Buttons.h"
#include "platform/Text.h"

#include <algorithm>

#include "framework/ImgList.h"
#include "pictures/WinPicture.h"
#include "pictures/WinSurface.h"

namespace corvane {

namespace {

const char* LayoutName(TButtonLayout l) {
  switch (l) {
    case TButtonLayout::blGlyphRight:
      return "blGlyphRight";
    case TButtonLayout::blGlyphTop:
      return "blGlyphTop";
    case TButtonLayout::blGlyphBottom:
      return "blGlyphBottom";
    case TButtonLayout::blGlyphLeft:
      break;
  }
  return "blGlyphLeft";
}

// Glyph and caption side by side in the middle of r: the plain look.
void DrawGlyphAndCaption(HDC dc, RECT r, const TGlyphButton& button, Size glyph, int part,
                         const std::string& caption, HFONT font, bool enabled) {
  SelectGuard select(dc, font);
  SIZE text{};
  text = TextExtentUtf8(dc, caption);
  int gap = glyph.width > 0 && !caption.empty() ? 4 : 0;
  int total = glyph.width + gap + text.cx;
  int x = r.left + (r.right - r.left - total) / 2;
  button.DrawGlyphPart(dc, POINT{x, r.top + (r.bottom - r.top - glyph.height) / 2}, part);
  RECT textRect{x + glyph.width + gap, r.top, r.right, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextUtf8(dc, caption, &textRect,
            DT_SINGLELINE | DT_VCENTER);
}

}  // namespace

TPropValue TGlyphButton::GlyphProperty(std::string_view name) const {
  if (name == "NumGlyphs") return std::int64_t{NumGlyphs};
  if (name == "Layout") return TEnumName{LayoutName(Layout)};
  if (name == "Margin") return std::int64_t{Margin};
  if (name == "Spacing") return std::int64_t{Spacing};
  if (name == "PngImage") return m_pngImage;
  if (name == "Images") return static_cast<TComponent*>(Images);
  if (name == "ImageIndex") return std::int64_t{ImageIndex};
  if (name == "DisabledIndex") return std::int64_t{DisabledIndex};
  return {};
}

void TGlyphButton::SetPngImage(const std::string& fileName) {
  m_pngImage = fileName;
  m_pngPicture.reset();
  if (fileName.empty()) return;
  auto picture = std::make_shared<TPicture>();
  try {
    picture->LoadFromFile(fileName);
    m_pngPicture = std::move(picture);
  } catch (const PictureError&) {
    // The plain look without a picture.
  }
}

const TPicture* TGlyphButton::PngPicture() const {
  return m_pngPicture && !m_pngPicture->Empty() ? m_pngPicture.get() : nullptr;
}

Size TGlyphButton::GlyphPartSize() const {
  if (const TPicture* png = PngPicture()) return {png->Width(), png->Height()};
  if (Glyph.IsEmpty()) {
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) return {Images->Width(), Images->Height()};
    return {};
  }
  return {Glyph.Width() / std::max(NumGlyphs, 1), Glyph.Height()};
}

void TGlyphButton::DrawGlyphPart(HDC dc, POINT at, int part) const {
  Size size = GlyphPartSize();
  if (size.width <= 0) return;
  if (const TPicture* png = PngPicture()) {
    RECT r{at.x, at.y, at.x + size.width, at.y + size.height};
    png->Draw(dc, r);
    return;
  }
  if (Glyph.IsEmpty()) {
    // Part 2 is the disabled look.
    bool disabled = part == 2;
    int index = disabled && DisabledIndex >= 0 ? DisabledIndex : ImageIndex;
    Images->Draw(dc, at.x, at.y, index, !disabled || DisabledIndex >= 0);
    return;
  }
  UniqueBitmap bitmap = CreateDibSection(Glyph.View(), false);
  if (!bitmap) return;
  MemoryDC source(CreateCompatibleDC(dc));
  SelectGuard select(source.Get(), bitmap.Get());
  Pixel key = Glyph.At(0, Glyph.Height() - 1);
  COLORREF keyColour = RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF);
  int column = (std::clamp(part, 1, std::max(NumGlyphs, 1)) - 1) * size.width;
  TransparentBlt(dc, at.x, at.y, size.width, size.height, source.Get(), column, 0, size.width,
                 size.height, keyColour);
}

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style = (p.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::Dispatch(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    RECT r = item.rcItem;
    bool pressed = item.itemState & ODS_SELECTED;
    bool enabled = !(item.itemState & ODS_DISABLED);
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    DrawGlyphAndCaption(item.hDC, r, *this, GlyphPartSize(),
                        pressed   ? 3
                        : enabled ? 1
                                  : 2,
                        Caption(), font, enabled);
    if (item.itemState & ODS_FOCUS) {
      RECT focus{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      DrawFocusRect(item.hDC, &focus);
    }
    m.Result = TRUE;
    return;
  }
  TButton::Dispatch(m);
}

TPropValue TBitBtn::GetProperty(std::string_view name) const {
  TPropValue v = GlyphProperty(name);
  return std::holds_alternative<std::monostate>(v) ? TButton::GetProperty(name) : v;
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  m_width = 23;
  m_height = 22;
}

void TSpeedButton::SetDown(bool down) {
  if (down == m_down) return;
  m_down = down;
  if (down && GroupIndex != 0 && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
          other && other != this && other->GroupIndex == GroupIndex)
        other->SetDown(false);
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    m_hot = m.Msg == CM_MOUSEENTER;
    if (m.Msg == CM_MOUSELEAVE) m_pressed = false;
    if (Flat || m.Msg == CM_MOUSELEAVE) Invalidate();
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    m_pressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && m_pressed) {
    m_pressed = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Click() {
  if (GroupIndex != 0) SetDown(!m_down || !AllowAllUp ? true : false);
  TGraphicControl::Click();
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  bool pushed = m_pressed || m_down;
  if (!Flat)
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  else if (pushed || m_hot)
    DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  HFONT font = Parent() && Parent()->HandleAllocated()
                   ? reinterpret_cast<HFONT>(SendMessageA(Parent()->Handle(), WM_GETFONT, 0, 0))
                   : nullptr;
  int part = m_pressed ? 3 : !Enabled() ? 2 : m_down ? 4 : 1;
  if (part > NumGlyphs) part = 1;
  DrawGlyphAndCaption(dc, r, *this, GlyphPartSize(), part, Caption(), font, Enabled());
}

TPropValue TSpeedButton::GetProperty(std::string_view name) const {
  if (name == "Flat") return std::int64_t{Flat};
  if (name == "Down") return std::int64_t{m_down};
  TPropValue v = GlyphProperty(name);
  return std::holds_alternative<std::monostate>(v) ? TGraphicControl::GetProperty(name) : v;
}

}  // namespace corvane
