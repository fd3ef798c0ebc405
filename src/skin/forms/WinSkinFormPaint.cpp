// Painting of the skinned frame: the caption with its text and buttons,
// one caption button alone, the whole non-client area, the window region,
// and the tool-bar painters the control rules attach.
#include "skin/forms/WinSkinForm.h"
#include "platform/Text.h"

#include <algorithm>

#include "framework/Forms.h"
#include "pictures/WinRunRegion.h"
#include "pictures/WinSurface.h"
#include "platform/Dpi.h"
#include "platform/RectConversions.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/WinElementDrawing.h"
#include "skin/forms/SkinMessages.h"

namespace corvane {

namespace {

// The window's small icon (its big one scaled down when it has no small
// one) at `at`; a window without an icon shows the application's, and
// without that nothing.
void DrawWindowIcon(HWND window, HDC dc, Point at, int dpi) {
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (TApplication* application = CurrentApplication(); !icon && application) icon = application->Icon(true);
  const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
  if (icon) DrawIconEx(dc, at.x, at.y, icon, size, size, 0, nullptr, DI_NORMAL);
}

// Copies part of the picture to the window, to the same place or to `to`.
void CopyToWindow(HDC dc, const OffscreenSurface& picture, const Rect& part) {
  BitBlt(dc, part.left, part.top, part.Width(), part.Height(), picture.Dc(), part.left, part.top, SRCCOPY);
}
void CopyToWindow(HDC dc, const OffscreenSurface& picture, const Rect& part, Point to) {
  BitBlt(dc, to.x, to.y, part.Width(), part.Height(), picture.Dc(), part.left, part.top, SRCCOPY);
}

}  // namespace

// ------------------------------------------------------------- tool bars

void TWinSkinForm::ToolbarBackground(HDC dc, const RECT& area) const {
  const SkinDefinition& skin = Skin();
  if (!skin.Toolbar || skin.Toolbar->Bitmap.IsEmpty() || m_skinData->Options.Contains(xoToolbarBK)) return;
  Rect target = ToRect(area);
  if (target.IsEmpty()) return;
  Surface picture(target.Width(), target.Height());
  StretchCopy(picture.View(), picture.View().Bounds(), skin.Toolbar->Bitmap.View(),
              skin.Toolbar->Bitmap.View().Bounds());
  BlitSurface(dc, {area.left, area.top}, picture.View());
}

bool TWinSkinForm::ToolbarButton(HDC dc, const RECT& bounds, unsigned state) const {
  const SkinDefinition& skin = Skin();
  const TDataSkinButton& buttons = skin.Buttons;
  if (buttons.Bitmap.IsEmpty() || m_frameState != kFrameActive || m_skinData->Options.Contains(xoToolbarButton))
    return false;
  int cell = ToolbarButtonCell(state);
  if (cell == 0) return false;
  bool defined = cell == 1 ? buttons.HasNormalColour2 : cell == 4 ? buttons.HasMouseOverColour2 : buttons.HasPressedColour2;
  Colour text = cell == 1 ? buttons.NormalColour2 : cell == 4 ? buttons.MouseOverColour2 : buttons.PressedColour2;
  if (defined) SetTextColor(dc, static_cast<COLORREF>(ResolveColour(text, skin.System())) & 0xFFFFFF);
  Rect target{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
  if (target.IsEmpty()) return false;
  Surface picture = BuildElementBitmap({0, 0, target.Width(), target.Height()}, buttons.Bitmap,
                                       {buttons.LeftWidth, buttons.TopHeight, buttons.RightWidth, buttons.BottomHeight},
                                       false, false, 5, cell);
  if (buttons.Trans) BlitSurfaceKeyed(dc, {target.left, target.top}, picture.View(), kColourKey);
  else BlitSurface(dc, {target.left, target.top}, picture.View());
  return true;
}

// -------------------------------------------------------------- painting

std::wstring TWinSkinForm::CaptionText() const {
  // The system converts an ANSI window's text from the program's code page
  // (UTF-8), so one wide read serves both kinds of window.
  std::wstring text = WindowTextWide(Handle);
  return L" " + text + L"  ";
}

const Surface& TWinSkinForm::ComposedBorderPicture(BorderSide side, const TDataSkinBorder& border, Size size,
                                                   bool stacked, int cell) {
  ComposedBorder& kept = m_composedBorders[side];
  const unsigned generation = m_skinData->SkinGeneration();
  if (kept.size != size || kept.cell != cell || kept.generation != generation || kept.dpi != m_dpi)
    kept = {ComposeBorder(border, size, stacked, cell), size, cell, generation, m_dpi};
  return kept.picture;
}

void TWinSkinForm::PaintCaption(OffscreenSurface& picture, const Rect& caption) {
  const SkinDefinition& skin = Skin();
  const TDataSkinBorder& top = skin.BorderTop;
  bool active = m_active != 0;
  const Surface& bar = ComposedBorderPicture(kTopSide, top, {caption.Width(), caption.Height()}, true,
                                             BorderCell(active, std::max(1, top.Frame)));
  StretchCopy(picture.View(), caption, bar.View(), bar.View().Bounds());

  HDC dc = picture.Dc();
  std::wstring text = CaptionText();
  SelectGuard font(dc, m_skinData->CaptionFont(m_dpi) ? m_skinData->CaptionFont(m_dpi)
                                                 : GetStockObject(DEFAULT_GUI_FONT));
  RECT measured = ToRECT(caption);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  const TDataSkinTitle& title = skin.Title;
  CaptionTextInput in;
  in.caption = caption;
  in.text = {measured.right - measured.left, measured.bottom - measured.top};
  in.textShift = title.LeftWidth;
  in.textShiftVert = title.TopHeight;
  in.textRightClip = title.RightWidth;
  in.alignment = title.TextAlignment;
  in.backLeft = title.TXTBackleft;
  in.backRight = title.TXTBackRight;
  in.rightButtonsWidth = RightButtonsWidth(skin.CaptionButtons, CaptionFacts());
  in.rightToLeft = m_class.rightToLeft;
  in.popup = (GetWindowLongA(Handle, GWL_STYLE) & WS_POPUP) != 0;
  in.border = m_class.border;
  CaptionTextLayout layout = LayoutCaptionText(in);
  m_textRect = layout.textRect;
  if (!title.Bitmap.IsEmpty()) {
    GdiFlush();
    DrawStrip(picture.View(), {layout.textRect.left, caption.top, layout.textRect.right, caption.bottom},
              title.Bitmap, true, true, 2, active ? 1 : 2, {title.TXTBackleft, 0, title.TXTBackRight, 0});
  }
  Colour colour = skin.Colours[active ? SkinDefinition::kTitleTextActive : SkinDefinition::kTitleTextNoActive];
  SetTextColor(dc, static_cast<COLORREF>(ResolveColour(colour, skin.System())) & 0xFFFFFF);
  SetBkMode(dc, TRANSPARENT);
  RECT draw = ToRECT(layout.drawRect);
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (m_class.rightToLeft) format |= DT_RIGHT | DT_RTLREADING;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &draw, format);
  SetBkMode(dc, OPAQUE);
  GdiFlush();
  PaintCaptionButtons(picture);
}

CaptionWindowFacts TWinSkinForm::CaptionFacts() const {
  CaptionWindowFacts facts;
  facts.maximised = m_windowState == WindowShowState::Maximised;
  facts.active = m_active != 0;
  facts.frameButtons = m_class.buttons;
  facts.border = m_class.border;
  facts.isMessageBox = m_class.isMessageBox;
  facts.mdiChildMaximisedInMenuBar = m_menuBar && ActiveMdiChildMaximised();
  HWND window = Handle;
  facts.askWindow = [window](int visibility, int action) {
    return static_cast<int>(SendMessageA(window, WM_SKINBUTTONVISIBLE, visibility, action));
  };
  return facts;
}

void TWinSkinForm::PaintCaptionButtons(OffscreenSurface& picture) {
  SyncCaptionButtons();
  const SkinDefinition& skin = Skin();
  // The strip under the buttons, kept for repainting one button alone.
  const Size strip{m_paintSize.width, std::min(m_metrics.top, m_paintSize.height)};
  if (m_captionBack.Width() != strip.width || m_captionBack.Height() != strip.height)
    m_captionBack = Surface(strip.width, strip.height);
  StretchCopy(m_captionBack.View(), m_captionBack.View().Bounds(), picture.View(), m_captionBack.View().Bounds());
  // A full repaint shows every button in its resting state.
  if (HotObject) HotObject->State = kNcNormal;
  HotObject = nullptr;

  CaptionWindowFacts facts = CaptionFacts();
  CaptionButtonPlace place{m_paintSize, m_textRect, m_metrics, m_menuHeight,
                           skin.MenuBar ? skin.MenuBar->LeftWidth : 0, SystemMetricForDpi(SM_CXSMICON, m_dpi)};
  for (const auto& button : m_captionButtons) {
    const TDataSkinSysButton& b = *button->Element;
    CaptionButtonState state = EvaluateCaptionButton(b, facts);
    button->Visible = state.visible;
    button->Enabled = state.enabled;
    if (!state.visible || (b.Bitmap.IsEmpty() && !IsIconButton(b.Action))) continue;
    button->Bounds = LayoutCaptionButton(b, place);
    // Buttons of the menu strip belong to the menu bar.
    if (b.Visibility == kShowInMenuStrip) continue;
    if (IsIconButton(b.Action)) {
      DrawWindowIcon(Handle, picture.Dc(), {button->Bounds.left, button->Bounds.top}, m_dpi);
      GdiFlush();
    } else {
      DrawFrameCell(picture.View(), button->Bounds, b.Bitmap, true, std::max(1, b.Frame),
                    CaptionButtonCell(b, facts.active, state.enabled));
    }
  }
}

namespace {

// A button drawn in the menu strip: one of the strip's kind that shows and
// has a picture.
bool ShowsInMenuStrip(const TWinSysButton& button) {
  const TDataSkinSysButton& b = *button.Element;
  return b.Visibility == kShowInMenuStrip && button.Visible && !b.Bitmap.IsEmpty();
}

}  // namespace

void TWinSkinForm::PaintMenuStripButtons(OffscreenSurface& picture, const Rect& strip) {
  GdiFlush();
  m_stripBack = Surface(strip.Width(), strip.Height());
  m_stripOrigin = {strip.left, strip.top};
  StretchCopy(m_stripBack.View(), m_stripBack.View().Bounds(), picture.View(), strip);
  for (const auto& button : m_captionButtons) {
    if (!ShowsInMenuStrip(*button)) continue;
    const TDataSkinSysButton& b = *button->Element;
    DrawFrameCell(picture.View(), button->Bounds, b.Bitmap, true, std::max(1, b.Frame), 1);
  }
}

std::optional<int> TWinSkinForm::MenuStripButtonsLeft() const {
  std::optional<int> left;
  for (const auto& button : m_captionButtons)
    if (ShowsInMenuStrip(*button)) left = std::min(left.value_or(button->Bounds.left), button->Bounds.left);
  return left;
}

void TWinSkinForm::PaintCaptionButton(TWinSysButton& button) {
  if (!button.Visible || m_frameState != kFrameActive || !m_frameSkinned) return;
  const TDataSkinSysButton& b = *button.Element;
  // A button of the menu strip stands on the strip, any other on the caption.
  const bool inStrip = b.Visibility == kShowInMenuStrip;
  const Surface& back = inStrip ? m_stripBack : m_captionBack;
  const Point origin = inStrip ? m_stripOrigin : Point{0, 0};
  Rect r = button.Bounds.Intersect(back.View().Bounds().Offset(origin.x, origin.y));
  if (r.IsEmpty()) return;
  try {
    OffscreenSurface picture(r.Width(), r.Height());
    if (!picture.Valid()) return;
    Rect local{0, 0, r.Width(), r.Height()};
    StretchCopy(picture.View(), local, back.View(), r.Offset(-origin.x, -origin.y));
    Rect cell = button.Bounds.Offset(-r.left, -r.top);
    if (IsIconButton(b.Action)) {
      DrawWindowIcon(Handle, picture.Dc(), {cell.left, cell.top}, m_dpi);
    } else {
      DrawFrameCell(picture.View(), cell, b.Bitmap, true, std::max(1, b.Frame),
                    CaptionButtonStateCell(b, button.State, button.Enabled));
    }
    GdiFlush();
    WindowDC dc(Handle, true);
    if (dc.Get()) CopyToWindow(dc.Get(), picture, local, {r.left, r.top});
    ++m_buttonPaints;
  } catch (...) {
    // A button that cannot be drawn now is drawn with the next frame.
  }
}

void TWinSkinForm::RepaintNonClient(HDC given) {
  if (m_frameState != kFrameActive && m_frameState != kFrameRefreshing) return;
  if (m_class.border == BorderKind::None || IsMaximisedMdiChild() || !m_frameSkinned) return;
  // A skin that failed to reload keeps its previous pictures: the frame is
  // painted from those rather than left unpainted.
  if (!m_skinData) return;
  try {
    Rect window = WindowRectOf(Handle);
    Size size{window.Width(), window.Height()};
    if (size.width <= 0 || size.height <= 0) return;
    m_paintSize = size;
    ++m_framePaints;
    if (!m_framePicture || m_framePicture->Width() != size.width || m_framePicture->Height() != size.height)
      m_framePicture = std::make_unique<OffscreenSurface>(size.width, size.height);
    OffscreenSurface& picture = *m_framePicture;
    if (!picture.Valid()) return;
    const SkinDefinition& skin = Skin();
    bool minimised = m_windowState == WindowShowState::Minimised;
    FrameParts parts = LayoutFrameParts(size, m_metrics, m_menuHeight, minimised);
    bool active = m_active != 0;
    auto paintBorder = [&](BorderSide side, const TDataSkinBorder& border, const Rect& part, bool stacked) {
      if (part.IsEmpty()) return;
      const Surface& s = ComposedBorderPicture(side, border, {part.Width(), part.Height()}, stacked,
                                               BorderCell(active, std::max(1, border.Frame)));
      StretchCopy(picture.View(), part, s.View(), s.View().Bounds());
    };
    if (minimised) {
      picture.View().Fill(PixelFromColour(ResolveColour(skin.Colours[SkinDefinition::kButtonFace], skin.System())));
    } else {
      paintBorder(kLeftSide, skin.BorderLeft, parts.left, false);
      paintBorder(kRightSide, skin.BorderRight, parts.right, false);
      paintBorder(kBottomSide, skin.BorderBottom, parts.bottom, true);
    }
    PaintCaption(picture, parts.caption);
    if (!minimised && m_menuHeight > 0) {
      if (m_menuBar) {
        m_menuBar->PaintBar(picture, parts.menuBar);
        PaintMenuStripButtons(picture, parts.menuBar);
      } else {
        RECT strip = ToRECT(parts.menuBar);
        FillRect(picture.Dc(), &strip, m_skinData->FaceBrush());
      }
    }

    std::unique_ptr<WindowDC> own;
    HDC dc = given;
    if (!dc) {
      own = std::make_unique<WindowDC>(Handle, true);
      dc = own->Get();
    }
    if (!dc) return;
    int saved = SaveDC(dc);
    if (minimised) {
      CopyToWindow(dc, picture, {0, 0, size.width, m_metrics.top});
    } else {
      // The client area is the window's own: one blit of the frame around it.
      Rect client = SkinnedClientRect({0, 0, size.width, size.height}, m_metrics, m_menuHeight);
      ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      CopyToWindow(dc, picture, {0, 0, size.width, size.height});
    }
    RestoreDC(dc, saved);
  } catch (...) {
    // A frame that cannot be painted now is painted on the next request;
    // nothing may escape into the system's dispatch.
  }
}

// ---------------------------------------------------------------- region

void TWinSkinForm::ApplyRegion() {
  if (m_frameState == kFrameDestroyed || !m_frameSkinned) return;
  // A borderless window keeps whatever shape its program gave it: the skin
  // has no frame there to cut.
  if (m_class.border == BorderKind::None) return;
  if (m_mdiKind == MdiKind::Child && m_windowState != WindowShowState::Normal) return;
  Rect window = WindowRectOf(Handle);
  Size size{window.Width(), window.Height()};
  if (size.width <= 0 || size.height <= 0) return;
  if (size == m_regionSize && m_mdiKind != MdiKind::Child && m_frameState != kFrameRefreshing) return;
  const SkinDefinition& skin = Skin();
  UniqueRegion region;
  if (!AnyBorderTransparent(skin)) {
    region = UniqueRegion(CreateRectRgn(0, 0, size.width, size.height));
  } else {
    m_regionSize = size;
    region = RegionFromRuns(FrameRegionRects(skin, size, m_metrics, m_class.border));
  }
  if (!region) return;
  ++m_regionBuilds;
  // After SetWindowRgn the region belongs to the system.
  if (SetWindowRgn(Handle, region.Get(), TRUE)) region.Release_();
  m_regionSet = true;
}

void TWinSkinForm::ClearRegion() {
  if (!m_regionSet) return;
  SetWindowRgn(Handle, nullptr, m_mdiKind == MdiKind::Child);
  m_regionSet = false;
  m_regionSize = {};
}

}  // namespace corvane
