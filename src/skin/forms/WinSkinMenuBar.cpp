#include "skin/forms/WinSkinMenuBar.h"
#include "platform/Text.h"

#include <windowsx.h>

#include <set>
#include <utility>

#include "framework/Forms.h"
#include "platform/Handles.h"
#include "framework/Menus.h"
#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

namespace {

constexpr int kMenuBarCells = 2;
constexpr int kMaxCaption = 80;
// Menus nest only so deep in practice; a menu that holds itself must not
// recurse without end.
constexpr int kMaxMenuDepth = 64;
constexpr UINT kCaptionMeasure = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_EXTERNALLEADING;
constexpr UINT kCaptionDraw = DT_CENTER | DT_SINGLELINE | DT_EXTERNALLEADING;

COLORREF Ref(Colour c) { return static_cast<COLORREF>(c) & 0xFFFFFF; }

MenuBarLook LookOf(const SkinDefinition& skin) {
  if (!skin.MenuBar || skin.MenuBar->Bitmap.IsEmpty()) return {};
  return {true, skin.MenuBar->LeftWidth, skin.MenuBar->RightWidth};
}

Size MeasureCaption(HDC dc, const std::string& caption) {
  if (caption.empty()) return {};
  RECT r{0, 0, 0, 0};
  DrawTextUtf8(dc, caption, &r, kCaptionMeasure);
  return {r.right - r.left, r.bottom - r.top};
}

// The items of a submenu (and of its submenus) drawn by the program while
// it is open, so the skin paints them; every item gets its own type back
// when the menu closes, so the window's menu is exactly what it was.
class OwnerDrawnWhileOpen {
 public:
  explicit OwnerDrawnWhileOpen(HMENU menu) {
    std::set<HMENU> seen;
    Convert(menu, 0, seen);
  }
  ~OwnerDrawnWhileOpen() {
    for (const Changed& c : m_changed) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      info.fType = c.type;
      SetMenuItemInfoA(c.menu, c.position, TRUE, &info);
    }
  }
  OwnerDrawnWhileOpen(const OwnerDrawnWhileOpen&) = delete;
  OwnerDrawnWhileOpen& operator=(const OwnerDrawnWhileOpen&) = delete;

 private:
  struct Changed {
    HMENU menu;
    UINT position;
    UINT type;
  };
  void Convert(HMENU menu, int depth, std::set<HMENU>& seen) {
    if (!menu || depth > kMaxMenuDepth || !seen.insert(menu).second) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
      if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
      if (!(info.fType & MFT_OWNERDRAW)) {
        m_changed.push_back({menu, static_cast<UINT>(i), info.fType});
        // Only the type changes: the item keeps its text for the system's
        // keyboard access and for screen readers.
        MENUITEMINFOA drawn{};
        drawn.cbSize = sizeof drawn;
        drawn.fMask = MIIM_FTYPE;
        drawn.fType = info.fType | MFT_OWNERDRAW;
        SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &drawn);
      }
      Convert(info.hSubMenu, depth + 1, seen);
    }
  }
  std::vector<Changed> m_changed;
};

}  // namespace

// The message-filter hook of one tracking: installed while a bar item's
// submenu is open, removed when it closes. One menu can be open at a time,
// so one tracked bar is enough.
class MenuBarTracking {
 public:
  explicit MenuBarTracking(TWinSkinMenu& bar) : m_previous(s_bar) {
    s_bar = &bar;
    m_hook = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
  }
  ~MenuBarTracking() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    s_bar = m_previous;
  }
  MenuBarTracking(const MenuBarTracking&) = delete;
  MenuBarTracking& operator=(const MenuBarTracking&) = delete;

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && s_bar && lParam) {
      try {
        if (s_bar->FilterMenuMessage(*reinterpret_cast<MSG*>(lParam))) return 1;
      } catch (...) {
        // Nothing may escape into the system's menu loop.
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline TWinSkinMenu* s_bar = nullptr;
  TWinSkinMenu* m_previous;
  HHOOK m_hook = nullptr;
};

void TMenuBtn::Paint() { Bar.PaintItem(*this); }

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form) : m_form(form) {}

TWinSkinMenu::~TWinSkinMenu() = default;

bool TWinSkinMenu::RightToLeft() const { return m_form.Class().rightToLeft; }

bool TWinSkinMenu::BuildItems() {
  HWND window = m_form.Handle;
  if (HMENU current = GetMenu(window)) m_menuHandle = current;
  if (!m_menuHandle) return false;
  const int count = GetMenuItemCount(m_menuHandle);
  if (count <= 0) return false;
  TForm* form = m_form.Form();
  TMainMenu* source = form ? form->Menu() : nullptr;
  std::vector<std::unique_ptr<TMenuBtn>> items;
  for (int i = 0; i < count; ++i) {
    char text[kMaxCaption + 1] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kMaxCaption;
    auto item = std::make_unique<TMenuBtn>(&m_form, *this, i);
    if (GetMenuItemInfoA(m_menuHandle, static_cast<UINT>(i), TRUE, &info)) {
      item->SubMenu = info.hSubMenu;
      item->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
      item->Command = info.wID;
      item->Caption = (info.fType & MFT_SEPARATOR) ? std::string() : std::string(text);
      item->RightJustify = (info.fType & MFT_RIGHTJUSTIFY) != 0;
    }
    item->Visible = true;
    TMenuItem* framework = source ? TMenu::FindItem(item->Command) : nullptr;
    if (framework && framework->Menu() == source) {
      item->Caption = framework->Caption();
      item->Enabled = framework->Enabled();
      item->Item = framework;
      item->SubMenu = framework->Handle();
      item->RightJustify = framework->RightJustify;
    }
    items.push_back(std::move(item));
  }
  if (m_form.HotObject && dynamic_cast<TMenuBtn*>(m_form.HotObject)) m_form.HotObject = nullptr;
  m_items = std::move(items);
  SetMenu(window, nullptr);
  return true;
}

void TWinSkinMenu::MenuChanged(bool rebuild) {
  HMENU current = GetMenu(m_form.Handle);
  if (!current) return;
  m_menuHandle = current;
  if (!rebuild || !BuildItems()) SetMenu(m_form.Handle, nullptr);
}

void TWinSkinMenu::GiveMenuBack() {
  if (m_menuHandle && IsMenu(m_menuHandle) && !GetMenu(m_form.Handle)) SetMenu(m_form.Handle, m_menuHandle);
}

std::vector<MenuBarEntry> TWinSkinMenu::Entries() const {
  std::vector<MenuBarEntry> entries;
  entries.reserve(m_items.size());
  for (const auto& item : m_items) entries.push_back({item->Caption, 0, item->Visible, item->Enabled, item->RightJustify});
  return entries;
}

std::vector<MenuBarEntry> TWinSkinMenu::SwitchEntries() const {
  // Moving along the bar opens submenus only: an item that is a command
  // itself would run it.
  std::vector<MenuBarEntry> entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i].enabled = entries[i].enabled && m_items[i]->SubMenu;
  return entries;
}

void TWinSkinMenu::Layout(const Rect& strip, HDC dc) {
  std::vector<MenuBarEntry> entries = Entries();
  {
    SelectGuard font(dc, MenuFont(m_form.Dpi()));
    for (MenuBarEntry& e : entries) e.textWidth = MeasureCaption(dc, e.caption).width;
  }
  const int offset = MenuBarStartOffset(LookOf(m_form.Skin()), strip.Width(), RightToLeft());
  // A maximised MDI child's buttons stand at the strip's right end.
  std::optional<int> buttonsLeft;
  if (m_form.ActiveMdiChildMaximised()) buttonsLeft = m_form.MenuStripButtonsLeft();
  std::vector<Rect> bounds = LayoutMenuBar(entries, strip, offset, RightToLeft(), buttonsLeft);
  for (std::size_t i = 0; i < m_items.size(); ++i) m_items[i]->Bounds = bounds[i];
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& item, const Rect& bounds) {
  if (item.Caption.empty()) return;
  const SkinDefinition& skin = m_form.Skin();
  SelectGuard font(dc, MenuFont(m_form.Dpi()));
  SetBkMode(dc, TRANSPARENT);
  // The state shown is the menu's own: a disabled item is greyed, nothing
  // else is invented.
  SetTextColor(dc, item.Enabled ? Ref(ResolveColour(skin.Colours[SkinDefinition::kMenuBarText], skin.System()))
                                : GetSysColor(COLOR_GRAYTEXT));
  Rect text = MenuBarCaptionRect(bounds, MeasureCaption(dc, item.Caption));
  RECT r{text.left, text.top, text.right, text.bottom};
  DrawTextUtf8(dc, item.Caption, &r, kCaptionDraw);
}

void TWinSkinMenu::DrawItemLook(HDC dc, const TMenuBtn& item, const Rect& bounds) {
  // Hot and pressed items get a one-pixel frame in the highlight colour.
  if (item.State == kNcHot || item.State == kNcPressed) {
    const SkinDefinition& skin = m_form.Skin();
    RECT frame{bounds.left, bounds.top, bounds.right, bounds.bottom};
    UniqueBrush brush(CreateSolidBrush(Ref(ResolveColour(skin.Colours[SkinDefinition::kButtonHilight], skin.System()))));
    FrameRect(dc, &frame, brush.Get());
  }
  DrawCaption(dc, item, bounds);
}

void TWinSkinMenu::PaintBar(OffscreenSurface& picture, const Rect& strip) {
  m_barRect = strip;
  if (strip.IsEmpty()) return;
  const SkinDefinition& skin = m_form.Skin();
  const int w = strip.Width(), h = strip.Height();
  Surface bar(w, h);
  const Rect local{0, 0, w, h};
  if (LookOf(skin).hasPicture) {
    const TDataSkinObject& e = *skin.MenuBar;
    const int cell = m_form.IsActive() ? 1 : 2;
    const Margins ends{e.LeftWidth, 0, e.RightWidth, 0};
    if (e.Tile == 1) DrawElement(bar.View(), local, e.Bitmap, true, false, false, kMenuBarCells, cell, ends);
    else DrawStrip(bar.View(), local, e.Bitmap, true, false, kMenuBarCells, cell, ends);
  } else {
    bar.View().Fill(PixelFromColour(ResolveColour(skin.Colours[SkinDefinition::kMenubar], skin.System())));
  }
  m_barBitmap = bar;
  StretchCopy(picture.View(), strip, bar.View(), local);
  GdiFlush();
  Layout(strip, picture.Dc());
  for (const auto& item : m_items) {
    if (!item->Visible) continue;
    // The open item stays pressed through a full repaint.
    if (m_tracking && item->Index == m_openIndex) item->State = kNcPressed;
    else if (item.get() != m_form.HotObject) item->State = kNcNormal;
    DrawItemLook(picture.Dc(), *item, item->Bounds);
  }
  ++m_barPaints;
}

void TWinSkinMenu::PaintItem(TMenuBtn& item) {
  if (!item.Visible || m_barBitmap.IsEmpty() || !m_form.FrameSkinned() || m_form.FrameState() != kFrameActive) return;
  const Rect r = Rect{item.Bounds.left, m_barRect.top, item.Bounds.right, m_barRect.bottom}.Intersect(m_barRect);
  if (r.IsEmpty()) return;
  try {
    OffscreenSurface picture(r.Width(), r.Height());
    if (!picture.Valid()) return;
    const Rect local{0, 0, r.Width(), r.Height()};
    StretchCopy(picture.View(), local, m_barBitmap.View(), r.Offset(-m_barRect.left, -m_barRect.top));
    GdiFlush();
    DrawItemLook(picture.Dc(), item, item.Bounds.Offset(-r.left, -r.top));
    WindowDC dc(m_form.Handle, true);
    if (dc.Get()) BitBlt(dc.Get(), r.left, r.top, r.Width(), r.Height(), picture.Dc(), 0, 0, SRCCOPY);
  } catch (...) {
    // An item that cannot be drawn now is drawn with the next frame.
  }
}

TMenuBtn* TWinSkinMenu::FindMenuBarItem(Point p) {
  std::vector<Rect> bounds;
  for (const auto& item : m_items) bounds.push_back(item->Bounds);
  int index = MenuBarItemAt(Entries(), bounds, p);
  return index < 0 ? nullptr : m_items[index].get();
}

TMenuBtn* TWinSkinMenu::ItemForKey(char key) {
  // A byte beyond ASCII is part of a UTF-8 character, never a whole key.
  if (static_cast<unsigned char>(key) >= 0x80) return nullptr;
  int index = MenuBarItemForKey(Entries(), static_cast<unsigned char>(key));
  return index < 0 ? nullptr : m_items[index].get();
}

TMenuBtn* TWinSkinMenu::FirstItem() {
  for (const auto& item : m_items)
    if (item->Visible && !item->Caption.empty()) return item.get();
  return nullptr;
}

bool TWinSkinMenu::OpenMenuBarItem(TMenuBtn* item, bool byKeyboard) {
  HWND window = m_form.Handle;
  bool opened = false;
  while (item && !m_tracking) {
    // A disabled item does nothing. A command of the bar itself is chosen
    // by opening it; a framework item with a submenu hears of the opening
    // so its program can prepare the submenu.
    if (!item->Enabled) return opened;
    if (!item->SubMenu || item->Item) PostMessageA(window, WM_COMMAND, item->Command, 0);
    if (!item->SubMenu) return opened;

    m_openIndex = item->Index;
    m_openMenu = item->SubMenu;
    m_selection = {};
    m_pendingIndex = -1;
    GetCursorPos(&m_lastMouse);
    if (m_form.HotObject && m_form.HotObject != item) m_form.HotObject->MouseLeave();
    m_form.HotObject = item;
    m_form.PressedObject = nullptr;
    item->State = kNcPressed;
    item->Paint();

    if (TSkinManageBase* manager = TSkinManageBase::Instance()) {
      manager->MenuSource = kMenuFromBar;
      manager->MenuFromBar = true;
    }
    const Rect wr = WindowRectOf(window);
    const bool rtl = RightToLeft();
    const int x = (rtl ? item->Bounds.right : item->Bounds.left) + wr.left;
    const int y = item->Bounds.bottom + wr.top;
    {
      // The skin paints the items unless menus are left to the system.
      std::unique_ptr<OwnerDrawnWhileOpen> drawn;
      if (!HighContrastOn()) drawn = std::make_unique<OwnerDrawnWhileOpen>(item->SubMenu);
      MenuBarTracking hook(*this);
      m_tracking = true;
      // Opened from the keyboard the first item is selected, as on the
      // system's bar; the menu's loop takes the key from the queue.
      if (byKeyboard) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
      // Without TPM_NONOTIFY: the window still prepares its submenus on
      // WM_INITMENUPOPUP and hears WM_MENUSELECT, as with its own bar.
      TrackPopupMenu(item->SubMenu, TPM_RIGHTBUTTON | (rtl ? TPM_RIGHTALIGN : TPM_LEFTALIGN), x, y, 0, window, nullptr);
      m_tracking = false;
    }
    opened = true;
    const Rect closedBounds = item->Bounds;
    if (m_form.HotObject == item) m_form.HotObject = nullptr;
    item->State = kNcNormal;
    item->Paint();
    m_openIndex = -1;
    m_openMenu = nullptr;

    if (m_pendingIndex < 0 || m_pendingIndex >= ItemCount()) {
      // A click on the open item closed the menu: it must not open it again.
      MSG click{};
      if (PeekMessageA(&click, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE)) {
        Point p = m_form.WindowPoint(GET_X_LPARAM(click.lParam), GET_Y_LPARAM(click.lParam));
        if (closedBounds.Contains(p)) PeekMessageA(&click, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
      }
      break;
    }
    item = m_items[m_pendingIndex].get();
    byKeyboard = m_pendingByKeyboard;
    m_pendingIndex = -1;
  }
  return opened;
}

void TWinSkinMenu::MenuSelected(WPARAM wParam, LPARAM lParam) {
  if (!m_tracking) return;
  const UINT flags = HIWORD(wParam);
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !menu) return;  // the menu closed
  m_selection.inBarSubmenu = menu == m_openMenu;
  m_selection.opensSubmenu = (flags & MF_POPUP) != 0;
}

void TWinSkinMenu::SwitchTo(int index, bool byKeyboard) {
  m_pendingIndex = index;
  m_pendingByKeyboard = byKeyboard;
  // The open menu closes; the tracking loop opens the next one.
  EndMenu();
}

bool TWinSkinMenu::FilterMenuMessage(const MSG& msg) {
  if (!m_tracking || m_pendingIndex >= 0) return false;
  switch (msg.message) {
    case WM_KEYDOWN: {
      if (msg.wParam != VK_LEFT && msg.wParam != VK_RIGHT) return false;
      bool left = msg.wParam == VK_LEFT;
      // On a right-to-left bar the previous item is to the right.
      if (RightToLeft()) left = !left;
      int target = MenuBarKeyTarget(SwitchEntries(), m_openIndex, left ? MenuBarKey::Left : MenuBarKey::Right,
                                    m_selection);
      if (target < 0) return false;
      SwitchTo(target, true);
      return true;
    }
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      if (msg.pt.x == m_lastMouse.x && msg.pt.y == m_lastMouse.y) return false;
      m_lastMouse = msg.pt;
      TMenuBtn* under = FindMenuBarItem(m_form.WindowPoint(msg.pt.x, msg.pt.y));
      if (!under || under->Index == m_openIndex || !under->Enabled || !under->SubMenu) return false;
      SwitchTo(under->Index, false);
      return false;
    }
    default:
      return false;
  }
}

}  // namespace corvane
