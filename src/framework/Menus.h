// Menus and their items: popup menus, a form's main menu (its menu bar) and
// the submenus of items that have items of their own. Captions are shown as
// given: no accelerators are added and no separators removed; a caption "-"
// is a separator line. With an image list (or OwnerDraw) every item is
// owner-drawn, and the measuring and drawing can be taken over (the skin
// engine does). Owner-drawn items keep their text in the system's menu, so
// keyboard access and screen readers still find it.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Classes.h"
#include "core/DpiScale.h"
#include "platform/Handles.h"

namespace corvane {

class TMenu;
class TImageList;
class TControl;
class TForm;

class TMenuItem : public TComponent {
  CORVANE_CLASS(TMenuItem, TComponent)

 public:
  explicit TMenuItem(TComponent* owner);
  // Leaves its menu on the way out.
  ~TMenuItem() override;

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int index);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  bool Checked() const { return m_checked; }
  void SetChecked(bool checked);
  bool IsLine() const { return m_caption == "-"; }
  // The identifier the menu system reports when this item is chosen.
  UINT Command() const { return m_command; }
  // The menu the item belongs to, through its parent items.
  TMenu* Menu() const;

  // Items of its own make the item open a submenu.
  int Count() const { return static_cast<int>(m_items.size()); }
  TMenuItem* Items(int index) const { return m_items.at(index); }
  void Add(TMenuItem& item);
  void Remove(TMenuItem& item);
  TMenuItem* Parent() const { return m_parent; }
  // The submenu as the system holds it (none without items of its own).
  HMENU Handle() const { return m_submenu; }
  // The system menu that shows this item: its parent's submenu or its
  // menu's handle.
  HMENU ParentHandle() const;

  // Drawn bold: the item a double click would choose.
  bool Default = false;
  // In a menu bar: this item and the ones after it stand at the bar's right
  // end (a help menu).
  bool RightJustify = false;
  TNotifyEvent OnClick;
  // Raises OnClick (the item is the sender).
  virtual void Click();

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 private:
  friend class TPopupMenu;
  friend class TMenu;
  void Changed();
  void Detach();

  std::string m_caption;
  int m_imageIndex = -1;
  bool m_enabled = true;
  bool m_checked = false;
  UINT m_command = 0;
  // Where the item is: in a menu's own list, or under a parent item.
  TMenu* m_menu = nullptr;
  TMenuItem* m_parent = nullptr;
  std::vector<TMenuItem*> m_items;
  // Built with the menu's handle and destroyed with it.
  HMENU m_submenu = nullptr;
};

// Measures an owner-drawn item: width and height come in with the default
// size and go out with the wanted one.
using TMenuMeasureEvent = std::function<void(TMenuItem& item, HDC dc, int& width, int& height)>;
// Draws an owner-drawn item; state holds the ODS_ flags of the system.
using TMenuDrawEvent = std::function<void(TMenuItem& item, HDC dc, const RECT& rect, UINT state)>;

// What popup menus and menu bars share: the items, their drawing and the
// system menu built from them.
class TMenu : public TComponent {
  CORVANE_CLASS(TMenu, TComponent)

 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  int Count() const { return static_cast<int>(m_items.size()); }
  TMenuItem* Items(int index) const { return m_items.at(index); }
  // Appends an item (usually one this menu owns).
  void Add(TMenuItem& item);
  void Remove(TMenuItem& item);
  // Removes every item and frees the ones this menu owns.
  void Clear();

  TImageList* Images = nullptr;
  bool OwnerDraw = false;
  // The DPI the items are measured and drawn at: the owner's (the form of
  // a menu bar, the control a popup menu opens for). A change rebuilds the
  // menu so the system measures its items again.
  int Dpi() const { return m_dpi; }
  void SetDpi(int dpi);
  // Take-over points for measuring and drawing items; unset means the
  // framework's own look (MeasureItem / DrawItem).
  TMenuMeasureEvent OnMeasureItem;
  TMenuDrawEvent OnDrawItem;

  // The menu as the system knows it, rebuilt after item changes.
  HMENU Handle();
  // The handle as it stands, never rebuilt (what an open menu shows).
  HMENU ShownHandle() const { return m_menu.Get(); }
  // True when items are drawn by the program.
  bool IsOwnerDrawn() const { return OwnerDraw || Images != nullptr; }

  void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height);
  void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state);

  // The living item with this command identifier, or nullptr.
  static TMenuItem* FindItem(UINT command);

  // Makes the next Handle() build the menu again (after an item or
  // OwnerDraw changed).
  virtual void ItemsChanged() { m_dirty = true; }

 protected:
  // A menu bar is made differently from a popup menu.
  virtual HMENU CreateEmptyMenu() const { return CreatePopupMenu(); }

 private:
  friend class TMenuItem;
  void InsertItems(HMENU menu, const std::vector<TMenuItem*>& items, bool ownerDrawn);
  static void ForgetSubmenus(const std::vector<TMenuItem*>& items);

  std::vector<TMenuItem*> m_items;
  UniqueMenu m_menu;
  bool m_dirty = true;
  int m_dpi = kDesignDpi;
};

class TPopupMenu : public TMenu {
  CORVANE_CLASS(TPopupMenu, TMenu)

 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

  // The control whose context menu opened this menu last.
  TControl* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
  // Opens the menu at a screen point and returns when it closes; the
  // chosen item's OnClick runs when its command arrives.
  void Popup(int x, int y);
  // Opens the menu for the keyboard: window (the caller's, shown) is brought
  // to the foreground first, as a menu opened from the background needs to
  // keep its keys, and the first entry is selected.
  void PopupForKeyboard(int x, int y, HWND window);
  // Whether a popup menu of this thread is open (one opens at a time).
  static bool AnyOpen();
};

// A form's menu bar. Its items' commands, measuring and drawing arrive at
// the form; a change rebuilds the bar the form shows.
class TMainMenu : public TMenu {
  CORVANE_CLASS(TMainMenu, TMenu)

 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  // Leaves its form's window first.
  ~TMainMenu() override;
  void ItemsChanged() override;

 protected:
  HMENU CreateEmptyMenu() const override { return CreateMenu(); }

 private:
  friend class TForm;
  TForm* m_form = nullptr;
};

// The menu messages a window gets for framework items (WM_COMMAND of a
// menu, WM_MEASUREITEM, WM_DRAWITEM, WM_MENUCHAR): true when it was one
// and is answered in result.
bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The hidden window that receives the commands, measuring and drawing
// requests of every popup menu of the framework.
HWND PopupListWindow();

// The system's menu font (owned by the framework).
HFONT MenuFont(int dpi);
// A caption and the shortcut text after its tab ("&Close\tAlt+F4").
std::pair<std::string, std::string> SplitMenuCaption(const std::string& caption);
// The character after a single "&" of a caption (see CaptionMnemonic), or 0.
char32_t MenuMnemonic(const std::string& caption);

}  // namespace corvane
