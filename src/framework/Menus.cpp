#include "framework/Menus.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>
#include <stdexcept>

#include "core/Mnemonic.h"
#include "framework/Forms.h"
#include "framework/Messages.h"
#include "framework/ImgList.h"
#include "platform/Dpi.h"

namespace corvane {

namespace {

// Living items by command identifier. Commands come back from the system
// as numbers; looking them up here (rather than trusting a pointer stored
// in the menu) keeps a late command for a freed item harmless.
std::map<UINT, TMenuItem*>& ItemsByCommand() {
  static std::map<UINT, TMenuItem*> items;
  return items;
}

UINT AllocateCommand(TMenuItem* item) {
  // WM_COMMAND carries 16 bits: take the next free number in 1..0xFFFF.
  static UINT next = 0;
  auto& items = ItemsByCommand();
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    next = next % 0xFFFF + 1;
    if (!items.count(next)) {
      items[next] = item;
      return next;
    }
  }
  throw std::runtime_error("Out of menu command identifiers");
}

constexpr int kImageSpace = 16 + 4;  // image width and the margin around it
constexpr int kTextGap = 6;

int TextWidth(HDC dc, const std::string& text, UINT format = 0) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextUtf8(dc, text, &r, DT_CALCRECT | DT_SINGLELINE | format);
  return r.right;
}

LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    LRESULT result = 0;
    if (HandleMenuMessage(msg, wParam, lParam, result)) return result;
  } catch (const std::exception& e) {
    Application().HandleException(nullptr, e);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) != 0 || lParam != 0) return false;
      if (TMenuItem* item = TMenu::FindItem(LOWORD(wParam))) {
        item->Click();
        result = 0;
        return true;
      }
      return false;
    case WM_MENUCHAR: {
      // Owner-drawn items are not matched by the system: the "&" letters
      // are matched here.
      HMENU menu = reinterpret_cast<HMENU>(lParam);
      // ASCII arrives as itself; anything else is taken as the UTF-16 unit
      // the system passes to a Unicode window (a narrow window may get a
      // lone byte of the UTF-8 form, which then matches nothing).
      const char32_t typed = LOWORD(wParam);
      const char32_t key = typed >= 0xD800 && typed <= 0xDFFF ? 0 : KeyMnemonic(typed);
      int count = GetMenuItemCount(menu);
      for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        TMenuItem* item = TMenu::FindItem(info.wID);
        if (item && item->Enabled() && key && MenuMnemonic(item->Caption()) == key) {
          // An item with a submenu opens it; any other is chosen.
          result = MAKELRESULT(i, info.hSubMenu ? MNC_SELECT : MNC_EXECUTE);
          return true;
        }
      }
      return false;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!mis || mis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenu::FindItem(mis->itemID);
      TMenu* menu = item ? item->Menu() : nullptr;
      if (!menu) return false;
      WindowDC screen(nullptr);
      SelectGuard font(screen.Get(), MenuFont(menu->Dpi()));
      int w = 0, h = 0;
      menu->MeasureItem(*item, screen.Get(), w, h);
      if (menu->OnMeasureItem) menu->OnMeasureItem(*item, screen.Get(), w, h);
      mis->itemWidth = static_cast<UINT>(std::max(w, 0));
      mis->itemHeight = static_cast<UINT>(std::max(h, 0));
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (!dis || dis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenu::FindItem(dis->itemID);
      TMenu* menu = item ? item->Menu() : nullptr;
      if (!menu) return false;
      SelectGuard font(dis->hDC, MenuFont(menu->Dpi()));
      if (menu->OnDrawItem) menu->OnDrawItem(*item, dis->hDC, dis->rcItem, dis->itemState);
      else menu->DrawItem(*item, dis->hDC, dis->rcItem, dis->itemState);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

HWND PopupListWindow() {
  static UniqueWindow window;
  if (!window || !IsWindow(window.Get())) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterPrivateClass("TPopupList", PopupListProc);
    window.Release_();
    window.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, "TPopupList", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr));
  }
  return window.Get();
}

HFONT MenuFont(int dpi) {
  // One per DPI in use, kept for the process: menus at a DPI come back.
  static std::map<int, UniqueFont> fonts;
  UniqueFont& font = fonts[dpi];
  if (!font) font = MakeNonClientFont(NonClientFont::Menu, dpi);
  return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::pair<std::string, std::string> SplitMenuCaption(const std::string& caption) {
  std::size_t tab = caption.find('\t');
  if (tab == std::string::npos) return {caption, {}};
  return {caption.substr(0, tab), caption.substr(tab + 1)};
}

char32_t MenuMnemonic(const std::string& caption) { return CaptionMnemonic(caption); }

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { m_command = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  Detach();
  // Items owned elsewhere outlive their parent: they only forget it.
  for (TMenuItem* item : m_items) item->m_parent = nullptr;
  m_items.clear();
  ItemsByCommand().erase(m_command);
}

void TMenuItem::Detach() {
  if (m_menu) m_menu->Remove(*this);
  if (m_parent) m_parent->Remove(*this);
}

TMenu* TMenuItem::Menu() const {
  // Parent chains are short; a cycle must not hang.
  const TMenuItem* item = this;
  for (int depth = 0; item->m_parent && depth < 1000; ++depth) item = item->m_parent;
  return item->m_menu;
}

HMENU TMenuItem::ParentHandle() const {
  if (m_parent) return m_parent->m_submenu;
  return m_menu ? m_menu->ShownHandle() : nullptr;
}

void TMenuItem::Changed() {
  if (TMenu* menu = Menu()) menu->ItemsChanged();
}

void TMenuItem::Add(TMenuItem& item) {
  // An item cannot hold itself or one of its own parents.
  for (const TMenuItem* p = this; p; p = p->m_parent)
    if (p == &item) throw std::invalid_argument("A menu item cannot hold its own parent");
  item.Detach();
  item.m_parent = this;
  m_items.push_back(&item);
  Changed();
}

void TMenuItem::Remove(TMenuItem& item) {
  auto it = std::find(m_items.begin(), m_items.end(), &item);
  if (it == m_items.end()) return;
  m_items.erase(it);
  item.m_parent = nullptr;
  Changed();
}

void TMenuItem::SetCaption(const std::string& caption) {
  m_caption = caption;
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  m_imageIndex = index;
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  m_enabled = enabled;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  m_checked = checked;
  Changed();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TPropValue TMenuItem::GetProperty(std::string_view name) const {
  if (name == "Caption") return m_caption;
  if (name == "ImageIndex") return std::int64_t{m_imageIndex};
  if (name == "Enabled") return std::int64_t{m_enabled};
  if (name == "Checked") return std::int64_t{m_checked};
  return TComponent::GetProperty(name);
}

bool TMenuItem::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Caption") {
    if (auto t = PropText(value)) return SetCaption(*t), true;
    return false;
  }
  auto i = PropInt(value);
  if (name == "ImageIndex" && i) return SetImageIndex(static_cast<int>(*i)), true;
  if (name == "Enabled" && i) return SetEnabled(*i != 0), true;
  if (name == "Checked" && i) return SetChecked(*i != 0), true;
  return TComponent::SetProperty(name, value);
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner) {}

TMenu::~TMenu() {
  // Items owned elsewhere outlive the menu: they only forget it (and the
  // submenus that go with its handle).
  ForgetSubmenus(m_items);
  for (TMenuItem* item : m_items) item->m_menu = nullptr;
  m_items.clear();
}

TMainMenu::~TMainMenu() {
  if (m_form) m_form->SetMenu(nullptr);
}

void TMainMenu::ItemsChanged() {
  TMenu::ItemsChanged();
  // The form shows the new bar (and a skin on it hears of the change).
  if (m_form && m_form->HandleAllocated() && m_form->Menu() == this)
    SendMessageA(m_form->Handle(), CM_MENUCHANGED, 0, 0);
}

TMenuItem* TMenu::FindItem(UINT command) {
  auto it = ItemsByCommand().find(command);
  return it == ItemsByCommand().end() ? nullptr : it->second;
}

void TMenu::Add(TMenuItem& item) {
  item.Detach();
  item.m_menu = this;
  m_items.push_back(&item);
  ItemsChanged();
}

void TMenu::Remove(TMenuItem& item) {
  auto it = std::find(m_items.begin(), m_items.end(), &item);
  if (it == m_items.end()) return;
  m_items.erase(it);
  item.m_menu = nullptr;
  ItemsChanged();
}

void TMenu::Clear() {
  while (!m_items.empty()) {
    TMenuItem* item = m_items.back();
    Remove(*item);
    FreeComponent(item);
  }
}

void TMenu::ForgetSubmenus(const std::vector<TMenuItem*>& items) {
  for (TMenuItem* item : items) {
    item->m_submenu = nullptr;
    ForgetSubmenus(item->m_items);
  }
}

void TMenu::InsertItems(HMENU menu, const std::vector<TMenuItem*>& items, bool ownerDrawn) {
  UINT position = 0;
  for (TMenuItem* item : items) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
    info.wID = item->Command();
    info.dwItemData = item->Command();
    info.fState = (item->Enabled() ? MFS_ENABLED : MFS_DISABLED) | (item->Checked() ? MFS_CHECKED : 0) |
                  (item->Default ? MFS_DEFAULT : 0);
    if (item->IsLine()) {
      info.fType = MFT_SEPARATOR | (ownerDrawn ? MFT_OWNERDRAW : 0);
    } else {
      info.fType = (ownerDrawn ? MFT_OWNERDRAW : MFT_STRING) | (item->RightJustify ? MFT_RIGHTJUSTIFY : 0);
      // The text stays with owner-drawn items too: the system's keyboard
      // access and screen readers read it from the menu.
      info.fMask |= MIIM_STRING;
      info.dwTypeData = const_cast<char*>(item->Caption().c_str());
    }
    if (item->Count() > 0) {
      HMENU submenu = CreatePopupMenu();
      if (!submenu) throw std::runtime_error("Cannot create a submenu for " + item->Caption());
      item->m_submenu = submenu;
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
      // Inserted first: the submenu is destroyed with its parent from here on.
      if (!InsertMenuItemA(menu, position++, TRUE, &info)) {
        DestroyMenu(submenu);
        item->m_submenu = nullptr;
        throw std::runtime_error("Cannot add menu item " + item->Caption());
      }
      InsertItems(submenu, item->m_items, ownerDrawn);
      continue;
    }
    item->m_submenu = nullptr;
    if (!InsertMenuItemA(menu, position++, TRUE, &info))
      throw std::runtime_error("Cannot add menu item " + item->Caption());
  }
}

HMENU TMenu::Handle() {
  if (!m_dirty && m_menu) return m_menu.Get();
  UniqueMenu built(CreateEmptyMenu());
  if (!built) throw std::runtime_error("Cannot create a menu");
  ForgetSubmenus(m_items);
  InsertItems(built.Get(), m_items, IsOwnerDrawn());
  // The old menu goes only now: whoever shows it gets the new one first.
  std::swap(m_menu, built);
  m_dirty = false;
  return m_menu.Get();
}

namespace {

// Popup menus of this thread open now (a menu's loop runs inside Popup).
thread_local int t_openPopups = 0;

}  // namespace

void TMenu::SetDpi(int dpi) {
  if (dpi < 1 || dpi == m_dpi) return;
  m_dpi = dpi;
  ItemsChanged();
}

void TPopupMenu::Popup(int x, int y) {
  // The menu takes the DPI of the control it opens for, else of the
  // monitor it opens on.
  SetDpi(PopupComponent ? PopupComponent->Dpi() : DpiAtPoint(POINT{x, y}));
  if (OnPopup) OnPopup(this);
  HMENU menu = Handle();
  ++t_openPopups;
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, PopupListWindow(), nullptr);
  --t_openPopups;
  // Lets the menu loop's last messages through before the caller goes on.
  PostMessageA(PopupListWindow(), WM_NULL, 0, 0);
}

void TPopupMenu::PopupForKeyboard(int x, int y, HWND window) {
  // A menu whose thread is not in the foreground closes at the first click
  // elsewhere or never sees its keys; the press of a registered hot key
  // gives the program the right to come forward (only real Windows enforces
  // these foreground rules).
  SetForegroundWindow(window);
  // Waiting in the queue when the menu's loop starts: it selects the first
  // entry, as opening a menu from the keyboard does.
  PostMessageA(PopupListWindow(), WM_KEYDOWN, VK_DOWN, 0);
  Popup(x, y);
}

bool TPopupMenu::AnyOpen() { return t_openPopups > 0; }

void TMenu::MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) {
  if (item.IsLine()) {
    width = 0;
    height = SystemMetricForDpi(SM_CYMENU, m_dpi) / 2;
    return;
  }
  auto [caption, shortcut] = SplitMenuCaption(item.Caption());
  RECT r{0, 0, 0, 0};
  DrawTextUtf8(dc, caption, &r, DT_CALCRECT | DT_SINGLELINE);
  const int gap = ScaleToDpi(kTextGap, m_dpi);
  width = ScaleToDpi(kImageSpace, m_dpi) + gap + r.right + gap;
  if (!shortcut.empty()) width += gap + TextWidth(dc, shortcut, DT_NOPREFIX) + gap;
  const int imageHeight = Images ? Images->Height() : ScaleToDpi(16, m_dpi);
  height = std::max({static_cast<int>(r.bottom) + ScaleToDpi(6, m_dpi), imageHeight + ScaleToDpi(4, m_dpi),
                     SystemMetricForDpi(SM_CYMENU, m_dpi)});
}

void TMenu::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
  bool selected = (state & ODS_SELECTED) != 0 && !item.IsLine();
  bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0 || !item.Enabled();
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.IsLine()) {
    RECT line = rect;
    line.top = (rect.top + rect.bottom) / 2 - 1;
    line.bottom = line.top + 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int margin = ScaleToDpi(2, m_dpi);
  const int imageSpace = ScaleToDpi(kImageSpace, m_dpi);
  const int gap = ScaleToDpi(kTextGap, m_dpi);
  if (Images && item.ImageIndex() >= 0) {
    int y = rect.top + (rect.bottom - rect.top - Images->Height()) / 2;
    Images->Draw(dc, rect.left + margin, y, item.ImageIndex(), !disabled);
  } else if (item.Checked()) {
    RECT mark{rect.left + margin, rect.top, rect.left + imageSpace - margin, rect.bottom};
    DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  auto [caption, shortcut] = SplitMenuCaption(item.Caption());
  RECT text = rect;
  text.left += imageSpace + gap;
  text.right -= gap;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  DrawTextUtf8(dc, caption, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!shortcut.empty())
    DrawTextUtf8(dc, shortcut, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

}  // namespace corvane
