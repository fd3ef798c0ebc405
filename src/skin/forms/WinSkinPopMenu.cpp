#include "skin/forms/WinSkinPopMenu.h"
#include "platform/Text.h"

#include <algorithm>
#include <map>
#include <memory>

#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "pictures/WinSurface.h"
#include "core/DpiScale.h"
#include "platform/RectConversions.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/WinElementDrawing.h"
#include "skin/forms/MenuItemLayout.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

namespace {

COLORREF Ref(Colour c) { return static_cast<COLORREF>(c) & 0xFFFFFF; }

constexpr int kMenuItemCells = 5;

Margins MarginsOf(const TDataSkinObject& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

bool HasPicture(const std::unique_ptr<TDataSkinObject>& e) { return e && !e->Bitmap.IsEmpty(); }

// The composed menu pictures of the GUI thread (menus are painted there
// only): items' and popup windows'.
MenuItemPictures& ItemPictures() {
  static MenuItemPictures pictures;
  return pictures;
}

// What the kept pictures were composed from: the skin's load at one DPI.
unsigned PictureGeneration(const TSkinData& skinData, int dpi) {
  return skinData.SkinGeneration() ^ (static_cast<unsigned>(dpi) << 20);
}

HFONT BoldMenuFont(int dpi) {
  static std::map<int, UniqueFont> fonts;
  UniqueFont& font = fonts[dpi];
  if (!font) {
    LOGFONTA face{};
    GetObjectA(MenuFont(dpi), sizeof face, &face);
    face.lfWeight = FW_BOLD;
    font.Reset(CreateFontIndirectA(&face));
  }
  return font.Get();
}

// The height of one line in font (selected into dc): what measuring a
// one-line caption gives for its height, without measuring its text. Menu
// fonts live as long as the process, so each is asked once.
int LineHeight(HDC dc, HFONT font) {
  static std::map<HFONT, int> heights;
  auto [kept, added] = heights.try_emplace(font, 0);
  if (added) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    kept->second = metrics.tmHeight;
  }
  return kept->second;
}

// The checked image's box: a checkerboard of face and highlight, sunk in.
void DrawCheckedBox(HDC dc, const Rect& box) {
  const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
  UniqueBrush brush(CreatePatternBrush(bits.Get()));
  COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  RECT r = ToRECT(box);
  FillRect(dc, &r, brush.Get());
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

// The system's check mark, its black pixels in the menu-text colour and
// the rest left as it is.
void DrawCheckMark(HDC dc, const Rect& glyph, const Rect& item) {
  constexpr int kSystemCheckMark = 32760;  // OBM_CHECK, only declared with OEMRESOURCE
  UniqueBitmap check(LoadBitmapA(nullptr, MAKEINTRESOURCEA(kSystemCheckMark)));
  if (!check) return;
  BITMAP size{};
  GetObjectA(check.Get(), sizeof size, &size);
  MemoryDC source(CreateCompatibleDC(dc));
  SelectGuard selected(source.Get(), check.Get());
  int x = glyph.left + (glyph.Width() - size.bmWidth) / 2 + 1;
  int y = item.top + (item.Height() - size.bmHeight) / 2 + 1;
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source.Get(), 0, 0, SRCAND);
  SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source.Get(), 0, 0, SRCPAINT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

void DrawEtchedLine(HDC dc, const Rect& caption) {
  RECT line{caption.left, caption.top + 4, caption.right, caption.top + 6};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

// Image or check mark, caption and shortcut of an item into dc (item at r).
void DrawItemContent(HDC dc, const SkinDefinition& skin, const MenuItemLook& item, const Rect& r, UINT state) {
  const int leftWidth = skin.MenuItem ? skin.MenuItem->LeftWidth : 0;
  MenuItemContentInput in;
  in.item = r;
  in.leftWidth = leftWidth;
  in.glyphSize = item.images ? item.images->Width() : ScaleToDpi(16, item.dpi);
  in.checked = item.checked;
  in.separator = item.IsSeparator();
  in.rightToLeft = item.rightToLeft;
  in.dpi = item.dpi;
  MenuItemContentLayout layout = LayoutMenuItemContent(in);
  if (item.IsSeparator()) {
    DrawEtchedLine(dc, layout.captionBox);
    return;
  }
  const bool hasImage = item.images && item.imageIndex >= 0 && item.imageIndex < item.images->Count();
  if (hasImage) {
    if (item.checked) DrawCheckedBox(dc, layout.glyphBox);
    int boxHeight = item.checked ? ScaleToDpi(16, item.dpi) : item.images->Height();
    item.images->Draw(dc, layout.glyphBox.left, r.top + (r.Height() - boxHeight) / 2, item.imageIndex,
                      item.enabled);
  } else if (item.checked) {
    DrawCheckMark(dc, layout.glyphBox, r);
  }

  auto [caption, shortcut] = SplitMenuCaption(item.caption);
  const HFONT font = item.isDefault ? BoldMenuFont(item.dpi) : MenuFont(item.dpi);
  // dc is the item canvas, ours alone: the font stays selected in it from one
  // item to the next (selecting a font costs more than drawing the caption);
  // the fonts live as long as the process.
  if (GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
  const UINT rtl = item.rightToLeft ? DT_RIGHT | DT_RTLREADING : 0;
  const UINT noAccel = (state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  Rect text = layout.captionBox;
  int textHeight = LineHeight(dc, font);
  if (!shortcut.empty()) {
    // The caption's width places the shortcut after it.
    RECT measured = ToRECT(layout.captionBox);
    std::string measureText = caption.empty() || caption == "&" ? caption + " " : caption;
    DrawTextUtf8(dc, measureText, &measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | rtl);
    textHeight = measured.bottom - measured.top;
    if (item.rightToLeft) text.left = text.right - (measured.right - measured.left);
    else text.right = std::min(text.right, static_cast<int>(measured.right));
  }
  text.top = MenuCaptionTop(r, textHeight);

  const auto& c = skin.Colours;
  auto resolve = [&](int index) { return ResolveColour(c[index], skin.System()); };
  MenuColours colours{resolve(SkinDefinition::kMenu),        resolve(SkinDefinition::kMenuText),
                      resolve(SkinDefinition::kHilight),     resolve(SkinDefinition::kHilightText),
                      resolve(SkinDefinition::kButtonShadow), static_cast<Colour>(GetSysColor(COLOR_GRAYTEXT))};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(MenuCaptionColour(colours, item.enabled, (state & ODS_SELECTED) != 0)));
  RECT draw{layout.captionBox.left, text.top, layout.captionBox.right, r.bottom};
  DrawTextUtf8(dc, caption, &draw, DT_EXPANDTABS | DT_SINGLELINE | rtl | noAccel);
  if (!shortcut.empty()) {
    RECT box = ToRECT(MenuShortcutBox(r, text, item.rightToLeft, item.dpi));
    DrawTextUtf8(dc, shortcut, &box,
              DT_SINGLELINE | DT_NOPREFIX | (item.rightToLeft ? DT_LEFT : DT_RIGHT) | (rtl & DT_RTLREADING));
  }
}

}  // namespace

// ------------------------------------------------------ the popup window

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu) {
  Window = window;
  SkinData = skinData;
  Menu = menu;
  m_subclass.Install(window, [this](HWND w, UINT msg, WPARAM wp, LPARAM lp) { return Procedure(w, msg, wp, lp); });
}

void TWinSkinPopMenu::Detach() {
  m_subclass.Remove();
  m_background.reset();
}

bool TWinSkinPopMenu::BuildBackground() {
  if (!SkinData || SkinData->SkinEmpty()) return false;
  // The system gives a menu window the DPI of the monitor it opens on.
  const int dpi = DpiOfWindow(Window);
  const SkinDefinition& skin = SkinData->SkinAt(dpi);
  if (!HasPicture(skin.MenuBackground)) return false;
  RECT window{};
  GetWindowRect(Window, &window);
  Rect bounds{0, 0, window.right - window.left, window.bottom - window.top};
  if (bounds.IsEmpty()) return false;
  POINT client{0, 0};
  ClientToScreen(Window, &client);
  m_clientOffset = {client.x - window.left, client.y - window.top};
  if (m_background && m_background->Width() == bounds.Width() && m_background->Height() == bounds.Height() &&
      m_backgroundGeneration == SkinData->SkinGeneration() && m_backgroundDpi == dpi)
    return true;
  const TDataSkinObject& back = *skin.MenuBackground;
  m_background = ItemPictures().Share(PictureGeneration(*SkinData, dpi),
                                      {&back.Bitmap, 1, MarginsOf(back), back.Tile != 0, false}, bounds.Width(),
                                      bounds.Height(), MenuItemPictureKind::Window);
  m_backgroundGeneration = SkinData->SkinGeneration();
  m_backgroundDpi = dpi;
  return !m_background->IsEmpty();
}

LRESULT TWinSkinPopMenu::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SKINQUERY) return 1;
  TSkinManageBase* manager = TSkinManageBase::Instance();
  if (!manager || !manager->Active) return WindowSubclass::CallNext(window, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      Detach();
      return WindowSubclass::CallNext(window, msg, wParam, lParam);
    case WM_ERASEBKGND:
      if (!SkinData || !SkinData->Options.Contains(xoMenuBG)) WindowSubclass::CallNext(window, msg, wParam, lParam);
      return 1;
    case WM_NCPAINT:
      return OnNcPaint(msg, wParam, lParam);
    case WM_PRINT:
      return OnPrint(msg, wParam, lParam);
    case WM_PAINT:
      return OnPaint(msg, wParam, lParam);
    default:
      return WindowSubclass::CallNext(window, msg, wParam, lParam);
  }
}

LRESULT TWinSkinPopMenu::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    if (!BuildBackground()) return WindowSubclass::CallNext(Window, msg, wParam, lParam);
    // The frame only (the update region is not needed for that, and is 1,
    // no region, when the whole frame is due): the client area is the
    // items' ground, painted with them. Where the system keeps the menu's
    // frame inside the client area there is nothing to paint here.
    RECT client{};
    GetClientRect(Window, &client);
    const Rect inside = Rect{0, 0, client.right, client.bottom}.Offset(m_clientOffset.x, m_clientOffset.y);
    if (inside.Intersect(m_background->View().Bounds()) == m_background->View().Bounds()) return 0;
    WindowDC dc(Window, true);
    if (!dc.Get()) return 0;
    ExcludeClipRect(dc.Get(), inside.left, inside.top, inside.right, inside.bottom);
    DrawSurface(dc.Get(), 0, 0, m_background->View());
  } catch (...) {
    // A frame that cannot be painted now is painted on the next request.
  }
  return 0;
}

LRESULT TWinSkinPopMenu::OnPrint(UINT msg, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  bool built = false;
  try {
    built = BuildBackground();
  } catch (...) {
  }
  if (!built || !dc) return WindowSubclass::CallNext(Window, msg, wParam, lParam);
  // The picture first, then the system prints inside the 3-pixel frame only,
  // so an animation captures what WM_NCPAINT shows.
  const int w = m_background->Width(), h = m_background->Height();
  DrawSurface(dc, 0, 0, m_background->View());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  UniqueRegion inside(CreateRectRgn(kMenuWindowFrame, kMenuWindowFrame, w - kMenuWindowFrame, h - kMenuWindowFrame));
  SelectClipRgn(dc, inside.Get());
  LRESULT answer = WindowSubclass::CallNext(Window, msg, wParam, lParam);
  SelectClipRgn(dc, nullptr);
  SetBkMode(dc, oldMode);
  return answer;
}

LRESULT TWinSkinPopMenu::OnPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool built = false;
  try {
    built = BuildBackground();
  } catch (...) {
  }
  if (!built) return WindowSubclass::CallNext(Window, msg, wParam, lParam);
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(Window, &ps);
  if (!dc) return 0;
  DrawSurface(dc, -m_clientOffset.x, -m_clientOffset.y, m_background->View());
  // The menu draws its items; a frame it draws inside its client area (where
  // the system keeps the frame there) is clipped away so the skin's stays.
  RECT client{};
  GetClientRect(Window, &client);
  const int insetX = std::max(0, kMenuWindowFrame - m_clientOffset.x);
  const int insetY = std::max(0, kMenuWindowFrame - m_clientOffset.y);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, insetX, insetY, client.right - insetX, client.bottom - insetY);
  WindowSubclass::CallNext(Window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  EndPaint(Window, &ps);
  return 0;
}

// ------------------------------------------------------------- the items

MenuItemLook LookOf(const TMenuItem& item) {
  MenuItemLook look;
  look.caption = item.Caption();
  look.images = item.Menu() ? item.Menu()->Images : nullptr;
  look.imageIndex = item.ImageIndex();
  look.enabled = item.Enabled();
  look.checked = item.Checked();
  look.isDefault = item.Default;
  look.dpi = item.Menu() ? item.Menu()->Dpi() : kDesignDpi;
  return look;
}

namespace {

// One off-screen canvas for every item painted, grown to the largest item
// so far: a bitmap made and freed per item costs more than drawing it. Its
// DC keeps the last item's font.
OffscreenSurface* ItemCanvas(int width, int height) {
  static std::unique_ptr<OffscreenSurface> canvas;
  if (!canvas || canvas->Width() < width || canvas->Height() < height) {
    const int w = std::max(width, canvas ? canvas->Width() : 0);
    const int h = std::max(height, canvas ? canvas->Height() : 0);
    canvas.reset();
    canvas = std::make_unique<OffscreenSurface>(w, h);
  }
  return canvas->Valid() ? canvas.get() : nullptr;
}

}  // namespace

void DrawMenuItem(TSkinData& skinData, HMENU parent, const MenuItemLook& item, HDC dc, const RECT& rect,
                  UINT state) {
  try {
    const SkinDefinition& skin = skinData.SkinAt(item.dpi);
    const Rect r = ToRect(rect);
    if (r.IsEmpty()) return;
    TSkinManageBase* manager = TSkinManageBase::Instance();
    if (manager) manager->AttachMenuHandle(parent);
    const bool selected = (state & ODS_SELECTED) != 0 && !item.IsSeparator();
    const bool skinned = HasPicture(skin.MenuItem);

    OffscreenSurface* canvas = ItemCanvas(r.Width(), r.Height());
    if (!canvas) return;
    const Rect local{0, 0, r.Width(), r.Height()};
    const SurfaceView work = canvas->View().Sub(local);
    Colour ground = ResolveColour(skin.Colours[selected && !skinned ? SkinDefinition::kHilight : SkinDefinition::kMenu],
                                  skin.System());
    GdiFlush();
    work.Fill(PixelFromColour(ground));
    const TWinSkinPopMenu* popup = skinned && manager ? manager->PopupForMenu(parent) : nullptr;
    if (popup && !popup->Background().IsEmpty()) {
      // The popup window's picture under the item (item rectangles are in
      // client coordinates).
      const SurfaceView background = popup->Background();
      const Point offset = popup->ClientOffset();
      Rect under = r.Offset(offset.x, offset.y).Intersect(background.Bounds());
      if (!under.IsEmpty())
        StretchCopy(work, under.Offset(-r.left - offset.x, -r.top - offset.y), background, under);
    }
    if (skinned) {
      const TDataSkinObject& e = *skin.MenuItem;
      const bool separator = item.IsSeparator() && !item.fromHandle;
      const MenuItemPictureKind kind = separator ? MenuItemPictureKind::Separator
                                       : selected ? MenuItemPictureKind::Hot
                                                  : MenuItemPictureKind::Normal;
      MenuItemPictureSource source{&e.Bitmap, kMenuItemCells, MarginsOf(e), e.Tile != 0, e.Trans != 0};
      const Surface& picture = ItemPictures().Get(PictureGeneration(skinData, item.dpi), source, r.Width(), r.Height(), kind);
      // Where the skin's picture is transparent (and the separator's ends
      // always are), the menu's picture stays.
      if (separator || source.transparent)
        StretchCopyKeyed(work, local, picture.View(), local, kColourKey);
      else
        StretchCopy(work, local, picture.View(), local);
    }
    if (!skinned || !item.IsSeparator() || item.fromHandle)
      DrawItemContent(canvas->Dc(), skin, item, local, selected ? state : state & ~ODS_SELECTED);
    GdiFlush();
    BitBlt(dc, r.left, r.top, r.Width(), r.Height(), canvas->Dc(), 0, 0, SRCCOPY);
  } catch (...) {
    // Painting never lets a failure into the menu loop.
  }
}

std::string HandleItemText(HMENU menu, UINT command) {
  // The item's text as its information block holds it (an owner-drawn item
  // keeps its text there, where some systems' GetMenuString does not look).
  return MenuItemText(menu, command, false);
}

MenuItemLook LookOfHandleItem(HMENU menu, UINT command, int dpi) {
  MenuItemLook look;
  look.fromHandle = true;
  look.dpi = dpi;
  std::string text = HandleItemText(menu, command);
  look.caption = text.empty() ? std::string("-") : text;
  UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
  if (state != static_cast<UINT>(-1)) {
    look.enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
    look.checked = (state & MF_CHECKED) != 0;
  }
  return look;
}

void MeasureHandleItem(const TSkinData& skinData, const std::string& text, HDC dc, UINT& width, UINT& height,
                       int dpi) {
  const SkinDefinition& skin = skinData.SkinAt(dpi);
  if (text.empty()) {
    height = static_cast<UINT>(ScaleToDpi(8, dpi));
    return;
  }
  SelectGuard font(dc, MenuFont(dpi));
  SIZE extent{};
  extent = TextExtentUtf8(dc, text);
  width = static_cast<UINT>(extent.cx + ScaleToDpi(26, dpi) + (skin.MenuItem ? skin.MenuItem->LeftWidth : 0));
  height += static_cast<UINT>(ScaleToDpi(4, dpi));
}

void MeasurePopupItem(const TSkinData& skinData, const TMenuItem& item, int& width, int&) {
  const int dpi = item.Menu() ? item.Menu()->Dpi() : kDesignDpi;
  const SkinDefinition& skin = skinData.SkinAt(dpi);
  width = SkinnedPopupItemWidth(width, skin.MenuItem ? skin.MenuItem->LeftWidth : -1,
                                item.Menu() && item.Menu()->Images != nullptr, dpi);
}

void MeasureMainMenuItem(const TSkinData& skinData, const TMenuItem& item, int& width, int&) {
  const int dpi = item.Menu() ? item.Menu()->Dpi() : kDesignDpi;
  const SkinDefinition& skin = skinData.SkinAt(dpi);
  width = SkinnedMainMenuItemWidth(width, skin.MenuItem ? skin.MenuItem->LeftWidth : -1,
                                   item.Menu() && item.Menu()->Images != nullptr, dpi);
}

bool HighContrastOn() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// ------------------------------------------------ handing menus over

namespace {

// Every popup menu of a form and of the forms it owns, at every depth;
// with controls set, also the menus its controls own (at any depth of
// ownership), which are handed over one by one as the controls are skinned.
template <typename Fn>
void ForEachMenuOf(TComponent& owner, Fn&& fn, bool controls, int depth) {
  if (depth > 16) return;  // ownership chains are short; a cycle must not hang
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    TComponent* c = owner.Components(i);
    if (auto* menu = dynamic_cast<TMenu*>(c)) fn(*menu);
    else if (controls && dynamic_cast<TControl*>(c) && !dynamic_cast<TForm*>(c)) ForEachMenuOf(*c, fn, true, depth + 1);
  }
}

template <typename Fn>
void ForEachFormMenu(TForm& form, Fn&& fn, bool controls = false, int depth = 0) {
  if (depth > 16) return;
  ForEachMenuOf(form, fn, controls, 0);
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (TForm* owned = Screen().Forms(i); owned != &form && owned->Owner() == &form)
      ForEachFormMenu(*owned, fn, controls, depth + 1);
}

}  // namespace

void PaintWithSkin(TSkinData& skinData, TMenu& menu) {
  TSkinData* data = &skinData;
  TMenuMeasureEvent own = menu.OnMeasureItem;
  menu.OwnerDraw = true;
  const bool bar = menu.InheritsFrom("TMainMenu");
  menu.OnMeasureItem = [data, own, bar](TMenuItem& item, HDC dc, int& w, int& h) {
    if (own) own(item, dc, w, h);
    else if (bar) MeasureMainMenuItem(*data, item, w, h);
    else MeasurePopupItem(*data, item, w, h);
  };
  menu.OnDrawItem = [data](TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
    DrawMenuItem(*data, item.ParentHandle(), LookOf(item), dc, rect, state);
  };
  // Owner drawing changes how the system holds the items.
  menu.ItemsChanged();
}

void SkinnedFormMenus::Keep(TSkinData& skinData, TMenu& menu) {
  // Menu bars' submenus are painted when the skin paints menu items.
  const bool wanted = skinData.SkinControls.Contains(menu.InheritsFrom("TMainMenu") ? xcMenuItem : xcPopupMenu);
  if (!wanted || menu.Tag == skinData.DisableTag || Holds(&menu)) return;
  m_saved[&menu] = {menu.OwnerDraw, menu.OnMeasureItem, menu.OnDrawItem};
  PaintWithSkin(skinData, menu);
}

void SkinnedFormMenus::HandOver(TSkinData& skinData, TForm& form) {
  if (HighContrastOn()) return;
  ForEachFormMenu(form, [&](TMenu& menu) { Keep(skinData, menu); });
}

void SkinnedFormMenus::HandOverMenu(TSkinData& skinData, TMenu& menu) {
  if (!HighContrastOn()) Keep(skinData, menu);
}

void SkinnedFormMenus::GiveBack(TForm& form) {
  // Found again through their owners: a menu whose control was freed
  // meanwhile is never touched.
  ForEachFormMenu(form, [&](TMenu& menu) {
    auto it = m_saved.find(&menu);
    if (it == m_saved.end()) return;
    menu.OwnerDraw = it->second.ownerDraw;
    menu.OnMeasureItem = std::move(it->second.measure);
    menu.OnDrawItem = std::move(it->second.draw);
    menu.ItemsChanged();
    m_saved.erase(it);
  }, true);
  // Menus freed meanwhile are only forgotten.
  m_saved.clear();
}

}  // namespace corvane
