#include "skin/controls/WinSkinContainers.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "framework/StdCtrls.h"
#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/controls/ControlLooks.h"
#include "skin/controls/ControlRules.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {

COLORREF ToColorRef(Colour c) {
  return static_cast<COLORREF>(c) & 0xFFFFFF;
}

bool HasImage(const std::unique_ptr<TDataSkinObject>& element) {
  return element && !element->Bitmap.IsEmpty();
}

// One cell of element stretched over r by its margins, onto a picture.
void DrawCellOn(OffscreenSurface& picture, const RECT& r, const TDataSkinObject& e, int frames,
                int cell) {
  GdiFlush();
  DrawElement(picture.View(), ToRect(r), e.Bitmap, false, e.Tile == 1,
              e.Trans != 0, std::max(frames, 1), cell,
              {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
}

// Panel and item text: centred vertically in area, aligned by flag.
void DrawAreaText(HDC dc, const std::wstring& text, const RECT& area, unsigned align,
                  unsigned extra) {
  RECT measured = area;
  DrawTextWide(dc, text, measured, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | extra);
  int height = measured.bottom - measured.top;
  int top = area.top + (area.bottom - area.top - height) / 2;
  RECT place{area.left, top, area.right, top + height};
  DrawTextWide(dc, text, place, align | DT_EXPANDTABS | extra);
}

}  // namespace

void DrawItemContent(HDC dc, const RECT& item, const std::wstring& text, HIMAGELIST images,
                     int imageIndex, ItemAlign align, unsigned textFlags) {
  Size size{item.right - item.left, item.bottom - item.top};
  int imageWidth = 0, imageHeight = 0;
  bool image = images && imageIndex != -1 &&
               ImageList_GetIconSize(images, &imageWidth, &imageHeight) && imageWidth < size.width;
  if (!image) imageWidth = imageHeight = 0;
  RECT measured{0, 0, size.width, size.height};
  DrawTextWide(dc, text, measured,
               DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS);
  ItemPlacement placement =
      PlaceItemContent(size, {measured.right - measured.left, measured.bottom - measured.top},
                       {imageWidth, imageHeight}, align);
  if (image) {
    GdiFlush();
    ImageList_Draw(images, imageIndex, dc, item.left + placement.image.x,
                   item.top + placement.image.y, ILD_TRANSPARENT);
  }
  Rect t = placement.text.Offset(item.left, item.top);
  RECT place{t.left, t.top, t.right, t.bottom};
  DrawTextWide(dc, text, place, textFlags | DT_END_ELLIPSIS | DT_EXPANDTABS | DT_WORDBREAK);
}

// ================================================================ TSkinGroupBox

TSkinGroupBox::TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}
TSkinGroupBox::~TSkinGroupBox() = default;

void TSkinGroupBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  m_mode = Control() ? 1 : 0;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (m_mode == 0) return true;
  return !TakePaintMessage(m);
}

void TSkinGroupBox::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  HWND h = Handle();
  std::wstring text = ReadWindowText(h);
  if (text.empty() && Control()) text = AnsiToWide(Control()->Caption());
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  HDC pdc = picture.Dc();
  RECT all{0, 0, size.width, size.height};
  if (m_mode == 1)
    FillFace(pdc, all);
  else
    BitBlt(pdc, 0, 0, size.width, size.height, dc, r.left, r.top, SRCCOPY);

  UniqueFont own;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  Colour textColour = SkinColour(SkinDefinition::kButtonText);
  if (auto* windowed = dynamic_cast<TWinControl*>(Control())) {
    if (!font) {
      own = MakeFont(windowed->Font, windowed->Dpi());
      font = own.Get();
    }
    textColour = ColorToRGB(windowed->Font.Color);
  }
  SelectGuard selectFont(pdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE zero{};
  GetTextExtentPoint32A(pdc, "0", 1, &zero);
  bool rightToLeft = (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
  GroupBoxLayout layout = LayoutGroupBox({0, 0, size.width, size.height}, zero.cy, rightToLeft);
  if (m_mode == 0) {
    // Covers the frame the system drew.
    RECT outer{0, layout.frame.top, size.width, size.height};
    FrameRect(pdc, &outer, m_skinData->FaceBrush());
    InflateRect(&outer, -1, -1);
    FrameRect(pdc, &outer, m_skinData->FaceBrush());
  }
  UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(SkinColour(SkinDefinition::kButtonShadow))));
  {
    SelectGuard selectPen(pdc, pen.Get());
    SelectGuard selectBrush(pdc, GetStockObject(NULL_BRUSH));
    RoundRect(pdc, layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom, 5,
              5);
  }
  if (!text.empty()) {
    SetBkMode(pdc, OPAQUE);
    SetBkColor(pdc, ToColorRef(SkinColour(SkinDefinition::kButtonFace)));
    SetTextColor(pdc, ToColorRef(textColour));
    RECT caption{layout.caption.left, layout.caption.top, layout.caption.right,
                 layout.caption.bottom};
    DrawTextWide(pdc, text, caption, TextFlags(DT_EXPANDTABS | (rightToLeft ? DT_RIGHT : 0)));
  }
  // The labels inside the box are windowless: they go on the same picture.
  if (auto* windowed = dynamic_cast<TWinControl*>(Control()); windowed && m_mode == 1) {
    GdiFlush();
    windowed->PaintControls(pdc);
  }
  PutOnScreen(dc, r, picture);
}

// ================================================================ TSkinBox

void TSkinBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  AttachControlTo(formSkin, skinData, setsColour, false);
}

void TSkinBox::Restore() {
  TSkinControl::Restore();
  m_state = kSkinRestored;
}

// ================================================================ TSkinBoxH

bool TSkinBoxH::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT window{};
      GetWindowRect(Handle(), &window);
      RECT all{0, 0, window.right - window.left, window.bottom - window.top};
      FillFace(reinterpret_cast<HDC>(m.WParam), all);
      m.Result = 0;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOldHandler(m);
      // The texts' own background is the face too, not the system's.
      SetBkColor(reinterpret_cast<HDC>(m.WParam),
                 ToColorRef(SkinColour(SkinDefinition::kButtonFace)));
      m.Result = reinterpret_cast<LRESULT>(m_skinData->FaceBrush());
      return false;
    default:
      return true;
  }
}

// ================================================================ TSkinSizer

bool TSkinSizer::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  return !TakePaintMessage(m);
}

void TSkinSizer::Paint(HDC dc, const RECT& r) {
  FillFace(dc, r);
}

// ================================================================ TSkinStatusBar

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}
TSkinStatusBar::~TSkinStatusBar() = default;

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (TakePaintMessage(m)) return false;
  switch (m.Msg) {
    case SB_SETTEXTA:
    case SB_SETTEXTW:
    case SB_SIMPLE:
    case SB_SETPARTS:
      // The bar repaints itself at once on these: the skin repaints instead.
      CallOldHandlerQuietly(m);
      PaintWindow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinStatusBar::PaintPanelFrame(OffscreenSurface& picture, const RECT& r, int cell) {
  const auto& edges = Skin().StatusBarEdges;
  if (HasImage(edges)) {
    DrawCellOn(picture, r, *edges, 3, cell);
    return;
  }
  if (cell == 3) return;
  // Without the picture: a one-pixel 3-D frame.
  HDC dc = picture.Dc();
  COLORREF topLeft = GetSysColor(cell == 1 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  COLORREF bottomRight = GetSysColor(cell == 1 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  UniqueBrush light(CreateSolidBrush(topLeft)), dark(CreateSolidBrush(bottomRight));
  RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
  RECT bottom{r.left, r.bottom - 1, r.right, r.bottom},
      right{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &top, light.Get());
  FillRect(dc, &left, light.Get());
  FillRect(dc, &bottom, dark.Get());
  FillRect(dc, &right, dark.Get());
}

void TSkinStatusBar::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  HWND h = Handle();
  const SkinDefinition& skin = Skin();
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  HDC pdc = picture.Dc();
  RECT all{0, 0, size.width, size.height};
  FillFace(pdc, all);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  SelectGuard selectFont(pdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(pdc, TRANSPARENT);
  SetTextColor(pdc,
               HasImage(skin.StatusBarEdges)
                   ? ToColorRef(ResolveColour(skin.StatusBarEdges->NormalColour2, skin.System()))
                   : GetSysColor(COLOR_BTNTEXT));

  bool simple = SendMessageW(h, SB_ISSIMPLE, 0, 0) != 0;
  int parts = static_cast<int>(SendMessageW(h, SB_GETPARTS, 0, 0));
  if (Control() && HasProperty(Control(), "SimplePanel"))
    simple = simple || PropertyIsTrue(Control(), "SimplePanel");
  if (simple || parts <= 0) {
    bool rightToLeft = AsciiLower(PropertyText(Control(), "BiDiMode")) == "bdrighttoleft";
    std::wstring text = Control() && HasProperty(Control(), "SimpleText")
                            ? AnsiToWide(PropertyText(Control(), "SimpleText"))
                            : ReadWindowText(h);
    if (text.empty()) text = L" ";
    PaintPanelFrame(picture, all, 1);
    GdiFlush();
    RECT area{2, 0, size.width - 2, size.height};
    DrawAreaText(pdc, text, area, rightToLeft ? DT_RIGHT : DT_LEFT, TextFlags(0));
  } else {
    std::vector<Rect> rects;
    for (int i = 0; i < parts; ++i) {
      RECT part{};
      SendMessageW(h, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part));
      rects.push_back({part.left, part.top, part.right, part.bottom});
    }
    rects = StatusPanelRects(rects, size.width);
    for (int i = 0; i < parts; ++i) {
      LRESULT lengthAndType = SendMessageW(h, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
      std::wstring text(static_cast<std::size_t>(LOWORD(lengthAndType)) + 1, L'\0');
      LRESULT read = SendMessageW(h, SB_GETTEXTW, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(text.data()));
      text.resize(LOWORD(lengthAndType));
      // Some systems report the drawing type only with the text itself.
      unsigned type = HIWORD(lengthAndType) | HIWORD(read);
      PanelBevel bevel = (type & SBT_POPOUT)      ? PanelBevel::Raised
                         : (type & SBT_NOBORDERS) ? PanelBevel::None
                                                  : PanelBevel::Lowered;
      const Rect& p = rects[static_cast<std::size_t>(i)];
      RECT panel{p.left, p.top, p.right, p.bottom};
      PaintPanelFrame(picture, panel, StatusPanelCell(bevel));
      GdiFlush();
      if (type & SBT_OWNERDRAW) continue;
      // Leading tabs centre or right-align a panel's text.
      unsigned align = DT_LEFT;
      std::size_t tabs = text.find_first_not_of(L'\t');
      tabs = tabs == std::wstring::npos ? text.size() : tabs;
      if (tabs == 1)
        align = DT_CENTER;
      else if (tabs >= 2)
        align = DT_RIGHT;
      text.erase(0, std::min<std::size_t>(tabs, 2));
      if (text.empty()) text = L" ";
      RECT area{panel.left + 2, panel.top, panel.right - 2, panel.bottom};
      DrawAreaText(pdc, text, area, align, TextFlags(0));
    }
  }
  if ((GetWindowLongW(h, GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(skin.ExtraImages)) {
    const TDataSkinObject& extra = *skin.ExtraImages;
    int frames = std::max(extra.Frame, 1);
    Size grip{extra.Bitmap.Width() / frames, extra.Bitmap.Height()};
    GdiFlush();
    DrawFrameCell(picture.View(),
                  Rect::FromSize(size.width - 1 - grip.width, size.height - 1 - grip.height,
                                 grip.width, grip.height),
                  extra.Bitmap, true, frames, 5);
  }
  PutOnScreen(dc, r, picture);
  // The bar's own windowless children, then owner-drawn panels.
  if (auto* windowed = dynamic_cast<TWinControl*>(Control())) windowed->PaintControls(dc);
}

// ================================================================ TSkinHeader

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}
TSkinHeader::~TSkinHeader() = default;

void TSkinHeader::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  m_hotItem = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  TSkinControl::AttachWindow(window, skinData, formSkin);
  m_hotItem = -1;
}

bool TSkinHeader::HasPicture() const {
  return HasImage(Skin().Headerbar);
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (!HasPicture()) return true;
  return !TakePaintMessage(m);
}

void TSkinHeader::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      int at = HeaderItemAt(m_itemRects, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (at != m_hotItem) {
        m_hotItem = at;
        Repaint();
      }
      TrackMouseLeave(Handle());
      break;
    }
    case WM_MOUSELEAVE:
      if (m_hotItem != -1) {
        m_hotItem = -1;
        Repaint();
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinHeader::Paint(HDC dc, const RECT& r) {
  if (!HasPicture()) return;
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  HWND h = Handle();
  const TDataSkinObject& bar = *Skin().Headerbar;
  int frames = std::max(bar.Frame, 1);
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  HDC pdc = picture.Dc();
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  SelectGuard selectFont(pdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(pdc, TRANSPARENT);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(h, HDM_GETIMAGELIST, 0, 0));
  int count = static_cast<int>(SendMessageW(h, HDM_GETITEMCOUNT, 0, 0));
  m_itemRects.assign(static_cast<std::size_t>(std::max(count, 0)), Rect{});
  int rightmost = 0;
  bool enabled = IsEnabledNow();
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(h, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    wchar_t buffer[201] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = buffer;
    info.cchTextMax = 201;
    SendMessageW(h, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    DrawCellOn(picture, item, bar, frames, i == m_hotItem ? 2 : 1);
    m_itemRects[static_cast<std::size_t>(i)] =
        HeaderHotRect({item.left, item.top, item.right, item.bottom});
    rightmost = std::max(rightmost, static_cast<int>(item.right));

    // An item shows its list image when its format says so (HDF_IMAGE) or
    // when its owner draws it (HDF_OWNERDRAW), whose image is the list's too.
    bool image = images && (info.fmt & (HDF_IMAGE | HDF_OWNERDRAW));
    ItemAlign align = (info.fmt & HDF_CENTER)  ? ItemAlign::Centre
                      : (info.fmt & HDF_RIGHT) ? ItemAlign::Right
                                               : ItemAlign::Left;
    SetTextColor(pdc, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNSHADOW));
    DrawItemContent(pdc, item, buffer, image ? images : nullptr, info.iImage, align,
                    TextFlags(0));
  }
  if (rightmost < size.width)
    DrawCellOn(picture, {rightmost, 0, size.width, size.height}, bar, frames, 1);
  PutOnScreen(dc, r, picture);
}

}  // namespace corvane
