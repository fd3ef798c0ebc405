#include "skin/controls/WinSkinTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/TabCtrls.h"
#include "pictures/WinSurface.h"
#include "skin/controls/WinSkinContainers.h"
#include "skin/controls/WinSkinRanges.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

namespace {

COLORREF ToColorRef(Colour c) {
  return static_cast<COLORREF>(c) & 0xFFFFFF;
}

Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

const TDataSkinBorder* TabsOf(const TSkinData* data) {
  const auto& tabs = data->Skin().Tabs;
  return tabs && !tabs->Bitmap.IsEmpty() ? tabs.get() : nullptr;
}

HFONT WindowFont(HWND h) {
  return reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
}

HGDIOBJ FontOrDefault(HFONT font) {
  return font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

// The text and image of one item of a tab control, read as the window
// stores it (wide for a Unicode window); an item the control does not
// answer for reads as empty.
struct TabItem {
  std::wstring text;
  int image = -1;
};
TabItem ReadTabItem(HWND h, int index, bool unicode, std::size_t maxChars) {
  TabItem item;
  if (unicode) {
    std::wstring buffer(maxChars + 1, L'\0');
    TCITEMW info{};
    info.mask = TCIF_TEXT | TCIF_IMAGE;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(maxChars + 1);
    if (SendMessageW(h, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info))) {
      item.text = info.pszText ? info.pszText : L"";
      item.image = info.iImage;
    }
  } else {
    std::string buffer(maxChars + 1, '\0');
    TCITEMA info{};
    info.mask = TCIF_TEXT | TCIF_IMAGE;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(maxChars + 1);
    if (SendMessageA(h, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info))) {
      item.text = AnsiToWide(info.pszText ? info.pszText : "");
      item.image = info.iImage;
    }
  }
  return item;
}

// The current item: the focused one, else the selected one.
int CurrentTab(HWND h) {
  int focus = static_cast<int>(SendMessageW(h, TCM_GETCURFOCUS, 0, 0));
  return focus >= 0 ? focus : static_cast<int>(SendMessageW(h, TCM_GETCURSEL, 0, 0));
}

// Where the client area's origin lies in the window (a border moves it).
POINT ClientOriginInWindow(HWND h) {
  RECT window{};
  GetWindowRect(h, &window);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  return {origin.x - window.left, origin.y - window.top};
}

// The page area of a tab control in window coordinates, before growing.
Rect DisplayArea(HWND h, POINT clientOrigin) {
  RECT client{};
  GetClientRect(h, &client);
  SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&client));
  return Rect{client.left, client.top, client.right, client.bottom}.Offset(clientOrigin.x,
                                                                          clientOrigin.y);
}

void CopyInto(SurfaceView target, Point at, SurfaceView source) {
  SurfaceView part = target.Sub(Rect::FromSize(at.x, at.y, source.width, source.height));
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x) part.At(x, y) = source.At(x, y);
}

Surface CopyOf(SurfaceView source) {
  Surface out(source.width, source.height);
  CopyInto(out.View(), {0, 0}, source);
  return out;
}

// A control's picture filled with the face, ready for text drawn
// transparently in the window's font (kept selected while this lives).
class FaceTextPicture {
 public:
  FaceTextPicture(OffscreenSurface& picture, HWND window, HBRUSH face)
      : m_picture(picture), m_font(picture.Dc(), FontOrDefault(WindowFont(window))) {
    RECT all{0, 0, picture.Width(), picture.Height()};
    FillRect(picture.Dc(), &all, face);
    SetBkMode(picture.Dc(), TRANSPARENT);
  }
  HDC Dc() const { return m_picture.Dc(); }

 private:
  OffscreenSurface& m_picture;
  SelectGuard m_font;
};

int ItemCount(HWND h) {
  return std::max(static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0)), 0);
}

}  // namespace

void SkinScrollArrows(TSkinControl& skin, HWND control) {
  if (!control) return;
  HWND arrows = FindWindowExA(control, nullptr, "msctls_updown32", nullptr);
  if (!arrows || SendMessageW(arrows, WM_SKINQUERY, 0, 0) == 1) return;
  TComponent* owner = skin.FormSkin() ? static_cast<TComponent*>(skin.FormSkin())
                                      : static_cast<TComponent*>(&skin);
  owner->Create<TSkinUpDown>().AttachWindow(arrows, skin.SkinData(), skin.FormSkin());
}

// ================================================================ TSkinTab

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}
TSkinTab::~TSkinTab() = default;

void TSkinTab::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  m_enabled = IsEnabledNow();
  PrepareImages();
  SkinScrollArrows(*this, Handle());
}

void TSkinTab::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  TSkinControl::AttachWindow(window, skinData, formSkin);
  m_enabled = IsEnabledNow();
  m_focused = HasFocusNow();
  PrepareImages();
  SkinScrollArrows(*this, window);
}

void TSkinTab::SkinChanged() {
  // The pictures first, so the repaint shows the new skin.
  PrepareImages();
  TSkinControl::SkinChanged();
}

void TSkinTab::PrepareImages() {
  HWND h = Handle();
  m_placement = TabPlacementFromStyle(h ? static_cast<unsigned>(GetWindowLongW(h, GWL_STYLE)) : 0);
  m_tabImage = Surface();
  m_paneImage = Surface();
  const TDataSkinBorder* tabs = TabsOf(m_skinData);
  if (!tabs) return;
  m_tabImage = tabs->Bitmap;
  if (tabs->Style == 0)
    m_paneImage = tabs->Bitmap2;
  else if (const auto& pane = Skin().TabPane)
    m_paneImage = pane->Bitmap;
  switch (m_placement) {
    case TabPlacement::Top: break;
    case TabPlacement::Bottom:
      FlipBitmap(m_tabImage);
      FlipBitmap(m_paneImage);
      break;
    case TabPlacement::Left: RotateBitmapLeft(m_paneImage); break;
    case TabPlacement::Right: RotateBitmapRight(m_paneImage); break;
  }
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (m_tabImage.IsEmpty()) return true;  // the system draws its own tabs
  return !TakePaintMessage(m);
}

void TSkinTab::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  HWND h = Handle();
  if (size.width <= 0 || size.height <= 0 || !h || m_tabImage.IsEmpty()) return;
  SkinScrollArrows(*this, h);
  m_enabled = IsEnabledNow();
  const TDataSkinBorder& tabs = *TabsOf(m_skinData);
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  RECT all{0, 0, size.width, size.height};
  DrawParentUnder(picture.Dc(), all);

  POINT origin = ClientOriginInWindow(h);
  Rect frame = TabPageFrame(DisplayArea(h, origin));
  Rect row = TabRowArea({0, 0, size.width, size.height}, frame, m_placement);
  if (!row.IsEmpty()) PaintTabRow(picture, row, origin);

  if (!m_paneImage.IsEmpty()) {
    const auto& pane = Skin().TabPane;
    Margins margins = PageFrameMargins(tabs.Style, pane ? MarginsOf(*pane) : Margins{});
    bool keyed = tabs.Style == 0 ? tabs.Trans != 0 : (pane && pane->Trans != 0);
    GdiFlush();
    DrawElement(picture.View(), frame, m_paneImage, false, false, keyed, 1, 1,
                TurnedMargins(margins, m_placement));
  }
  // A page that holds its own labels and pictures shows them: the skin
  // took the painting they come with.
  if (auto* windowed = dynamic_cast<TWinControl*>(Control()); windowed && m_mode == 2) {
    GdiFlush();
    POINT viewport{};
    SetViewportOrgEx(picture.Dc(), origin.x, origin.y, &viewport);
    windowed->PaintControls(picture.Dc());
    SetViewportOrgEx(picture.Dc(), viewport.x, viewport.y, nullptr);
  }

  // The arrows stay on top: they paint themselves.
  HWND arrows = FindWindowExA(h, nullptr, "msctls_updown32", nullptr);
  if (arrows && IsWindowVisible(arrows)) {
    RECT a{};
    GetWindowRect(arrows, &a);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&a), 2);
    OffsetRect(&a, origin.x, origin.y);
    ExcludeClipRect(dc, a.left + r.left, a.top + r.top, a.right + r.left, a.bottom + r.top);
  }
  PutOnScreen(dc, r, picture);
}

void TSkinTab::PaintTabRow(OffscreenSurface& picture, const Rect& row, POINT origin) {
  HWND h = Handle();
  const TDataSkinBorder& tabs = *TabsOf(m_skinData);
  Size stripSize = TabStripSize({row.Width(), row.Height()}, m_placement);
  OffscreenSurface& strip = BufferOfSize(m_strip, stripSize);
  // What lies under the row, turned as the row is laid out.
  GdiFlush();
  Surface under = CopyOf(picture.View().Sub(row));
  if (m_placement == TabPlacement::Left) RotateBitmapRight(under);
  if (m_placement == TabPlacement::Right) RotateBitmapLeft(under);
  CopyInto(strip.View(), {0, 0}, under.View());

  HDC sdc = strip.Dc();
  SelectGuard selectFont(sdc, FontOrDefault(WindowFont(h)));
  SetBkMode(sdc, TRANSPARENT);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(h, TCM_GETIMAGELIST, 0, 0));
  int count = ItemCount(h), current = CurrentTab(h);
  int frames = std::max(tabs.Frame, 1);
  Margins margins = TurnedMargins(MarginsOf(tabs), m_placement == TabPlacement::Bottom
                                                       ? TabPlacement::Bottom
                                                       : TabPlacement::Top);
  Rect stripBounds{0, 0, stripSize.width, stripSize.height};
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    Rect place = TabItemInStrip(
        Rect{item.left, item.top, item.right, item.bottom}.Offset(origin.x, origin.y), row,
        m_placement);
    if (place.Intersect(stripBounds).IsEmpty()) continue;  // scrolled out of the row
    bool isCurrent = i == current;
    GdiFlush();
    DrawElement(strip.View(), place, m_tabImage, false, tabs.Tile == 1, tabs.Trans != 0, frames,
                TabCell(isCurrent), margins);
    TabItem content = ReadTabItem(h, i, m_unicode, 260);
    SetTextColor(sdc, m_enabled ? ToColorRef(ResolveColour(TabTextColour(tabs, isCurrent),
                                                           Skin().System()))
                                : GetSysColor(COLOR_BTNSHADOW));
    RECT area{place.left, place.top, place.right, place.bottom};
    DrawItemContent(sdc, area, content.text, images, content.image, ItemAlign::Centre,
                    TextFlags(DT_SINGLELINE));
  }
  GdiFlush();
  Surface laid = CopyOf(strip.View());
  if (m_placement == TabPlacement::Left) RotateBitmapLeft(laid);
  if (m_placement == TabPlacement::Right) RotateBitmapRight(laid);
  CopyInto(picture.View(), {row.left, row.top}, laid.View());
}

// ================================================================ TSkinTab31

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner) {}
TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  PrepareImage();
  SkinScroller();
}

void TSkinTab31::SkinChanged() {
  PrepareImage();
  TSkinControl::SkinChanged();
}

void TSkinTab31::PrepareImage() {
  const TDataSkinBorder* tabs = TabsOf(m_skinData);
  m_tabImage = tabs ? tabs->Bitmap : Surface();
  // The set's tabs hang below its line.
  FlipBitmap(m_tabImage);
}

void TSkinTab31::SkinScroller() {
  TControl* set = Control();
  if (!set || set->ComponentCount() == 0) return;
  auto* scroller = dynamic_cast<TWinControl*>(set->Components(0));
  if (!scroller || !scroller->InheritsFrom("TUpDown")) return;
  HWND w = scroller->Handle();
  if (!w || SendMessageW(w, WM_SKINQUERY, 0, 0) == 1) return;
  auto& arrows = scroller->Create<TSkinUpDown>();
  arrows.AttachControl(m_formSkin, m_skinData, false);
  arrows.SetMode(1);
}

bool TSkinTab31::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (m_tabImage.IsEmpty()) return true;
  // Painted once, whole: the set's own painting would draw over the skin.
  return !TakePaintMessage(m);
}

void TSkinTab31::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  const TDataSkinBorder* tabs = TabsOf(m_skinData);
  HWND h = Handle();
  if (size.width <= 0 || size.height <= 0 || !tabs || m_tabImage.IsEmpty() || !h) return;
  SkinScroller();
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  FaceTextPicture face(picture, h, m_skinData->FaceBrush());
  HDC pdc = face.Dc();

  std::vector<std::wstring> texts;
  std::string lines = PropertyText(Control(), "Tabs");
  for (std::size_t at = 0; at < lines.size();) {
    std::size_t end = lines.find("\r\n", at);
    if (end == std::string::npos) end = lines.size();
    texts.push_back(AnsiToWide(lines.substr(at, end - at)));
    at = end + 2;
  }
  std::vector<int> widths;
  for (const std::wstring& text : texts) {
    SIZE extent{};
    GetTextExtentPoint32W(pdc, text.c_str(), static_cast<int>(text.size()), &extent);
    widths.push_back(extent.cx);
  }
  bool scroller = false;
  if (Control() && Control()->ComponentCount() > 0)
    if (auto* first = dynamic_cast<TControl*>(Control()->Components(0)))
      scroller = first->InheritsFrom("TUpDown") && first->Visible();
  int selected = static_cast<int>(PropertyInt(Control(), "TabIndex"));
  Margins margins = TurnedMargins(MarginsOf(*tabs), TabPlacement::Bottom);
  for (const TabSetTab& tab :
       LayoutTabSet(widths, static_cast<int>(PropertyInt(Control(), "FirstIndex")),
                    static_cast<int>(PropertyInt(Control(), "StartMargin")),
                    static_cast<int>(PropertyInt(Control(), "EndMargin")), size, scroller)) {
    bool isSelected = tab.index == selected;
    GdiFlush();
    DrawElement(picture.View(), tab.rect, m_tabImage, false, tabs->Tile == 1, tabs->Trans != 0,
                std::max(tabs->Frame, 1), TabCell(isSelected), margins);
    SetTextColor(pdc, ToColorRef(ResolveColour(TabTextColour(*tabs, isSelected),
                                               Skin().System())));
    RECT area{tab.rect.left, tab.rect.top, tab.rect.right, tab.rect.bottom};
    DrawTextWide(pdc, texts[static_cast<std::size_t>(tab.index)], area,
                 TextFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
  }
  PutOnScreen(dc, r, picture);
}

// ================================================================ TSkinTabBtn

TSkinTabBtn::TSkinTabBtn(TComponent* owner) : TSkinControl(owner) {}
TSkinTabBtn::~TSkinTabBtn() = default;

bool TSkinTabBtn::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (Skin().Buttons.Bitmap.IsEmpty()) return true;
  return !TakePaintMessage(m);
}

void TSkinTabBtn::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  HWND h = Handle();
  const TDataSkinButton& buttons = Skin().Buttons;
  if (size.width <= 0 || size.height <= 0 || !h || buttons.Bitmap.IsEmpty()) return;
  SkinScrollArrows(*this, h);
  POINT origin = ClientOriginInWindow(h);
  int rowBottom = std::min(TabPageFrame(DisplayArea(h, origin)).top + 1, size.height);
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  // Below the row the control shows only its background.
  FaceTextPicture face(picture, h, m_skinData->FaceBrush());
  HDC pdc = face.Dc();
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(h, TCM_GETIMAGELIST, 0, 0));
  int count = ItemCount(h), current = CurrentTab(h);
  int frames = std::max(buttons.Frame, 1);
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    OffsetRect(&item, origin.x, origin.y + 1);
    if (item.top >= rowBottom) continue;
    bool isCurrent = i == current;
    GdiFlush();
    DrawElement(picture.View(), {item.left, item.top, item.right, item.bottom}, buttons.Bitmap,
                false, buttons.Tile == 1, buttons.Trans != 0, frames, TabCell(isCurrent),
                MarginsOf(buttons));
    bool defined = isCurrent ? buttons.HasPressedColour2 != 0 : buttons.HasNormalColour2 != 0;
    SetTextColor(pdc, defined ? ToColorRef(ResolveColour(TabButtonTextColour(buttons, isCurrent),
                                                         Skin().System()))
                              : RGB(0, 0, 0));
    TabItem content = ReadTabItem(h, i, m_unicode, 80);
    DrawItemContent(pdc, item, content.text, images, content.image, ItemAlign::Centre,
                    TextFlags(DT_SINGLELINE));
  }
  PutOnScreen(dc, r, picture);
}

// ================================================================ TSkinTabSheet

TSkinTabSheet::TSkinTabSheet(TComponent* owner) : TSkinControl(owner) {}
TSkinTabSheet::~TSkinTabSheet() = default;

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (m_mode != 0) return true;
  return !TakePaintMessage(m);
}

void TSkinTabSheet::Paint(HDC dc, const RECT& r) {
  Size size{r.right - r.left, r.bottom - r.top};
  if (size.width <= 0 || size.height <= 0) return;
  OffscreenSurface& picture = BufferOfSize(m_buffer, size);
  RECT all{0, 0, size.width, size.height};
  FillFace(picture.Dc(), all);
  if (auto* windowed = dynamic_cast<TWinControl*>(Control())) {
    GdiFlush();
    windowed->PaintControls(picture.Dc());
  }
  PutOnScreen(dc, r, picture);
}

// ================================================================ TSkinAdvPage

TSkinAdvPage::TSkinAdvPage(TComponent* owner) : TSkinControl(owner) {
  m_mode = 4;
}

void TSkinAdvPage::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  TSkinControl::AttachControl(formSkin, skinData, setsColour);
  m_mode = 4;
  GiveTabPictures(true);
  SkinScrollArrows(*this, Handle());
}

void TSkinAdvPage::Restore() {
  bool was = SkinOn();
  TSkinControl::Restore();
  if (was && State() != kSkinWindowGone) GiveTabPictures(false);
}

void TSkinAdvPage::SkinChanged() {
  TSkinControl::SkinChanged();
  GiveTabPictures(true);
}

void TSkinAdvPage::GiveTabPictures(bool skinned) {
  TControl* control = Control();
  if (!control) return;
  const TDataSkinBorder* tabs = skinned ? TabsOf(m_skinData) : nullptr;
  TBitmap cells[2] = {TBitmap(nullptr), TBitmap(nullptr)};
  for (int i = 0; i < 2 && tabs; ++i) {
    cells[i].Picture = BuildElementBitmap({0, 0, 100, 21}, tabs->Bitmap, MarginsOf(*tabs), false,
                                          tabs->Tile == 1, std::max(tabs->Frame, 1), i + 1);
    // The control stretches the picture as it is: its see-through corners
    // become the face they would have shown.
    ReplaceMagenta(cells[i].Picture, SkinColour(SkinDefinition::kButtonFace));
  }
  // The control keeps copies; nothing given (none) empties its pictures.
  control->SetProperty("TabBackGround", static_cast<TComponent*>(tabs ? &cells[0] : nullptr));
  control->SetProperty("TabBackGroundActive", static_cast<TComponent*>(tabs ? &cells[1] : nullptr));
}

void TSkinAdvPage::Paint(HDC, const RECT&) {
  SkinScrollArrows(*this, Handle());
}

}  // namespace corvane
