// The skinned menu bar of a skinned window: the window's menu taken off the
// window and its top-level items drawn in the strip below the caption, each
// a non-client object driven by the caption buttons' mouse machinery. An
// item opens its submenu as a popup menu under it, painted by the skinned
// popup menus; while it is open, Left, Right and the mouse move between bar
// items as on the system's own bar. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Surface.h"
#include "skin/forms/MenuBarLayout.h"
#include "skin/forms/NcObjects.h"

namespace corvane {

class TWinSkinForm;
class TWinSkinMenu;
class TMainMenu;
class TMenuItem;
class OffscreenSurface;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TNCHost* form, TWinSkinMenu& bar, int index) : TNCObject(form), Bar(bar), Index(index) {}
  TWinSkinMenu& Bar;
  int Index;
  // The framework item it shows (framework forms), or none.
  TMenuItem* Item = nullptr;
  std::string Caption;
  // The submenu it opens; none for an item that is a command itself.
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  bool RightJustify = false;
  void Paint() override;
};

class TWinSkinMenu {
 public:
  explicit TWinSkinMenu(TWinSkinForm& form);
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Takes the items from the window's menu (the framework menu's captions
  // and states where the form has one) and takes the menu off the window.
  // False when the menu has no items: the window then keeps it.
  bool BuildItems();
  // After the window got a new or changed menu: that menu is the one to
  // give back, and the items follow it when `rebuild` is set.
  void MenuChanged(bool rebuild);
  // Puts the menu back on the window (unskinning).
  void GiveMenuBack();
  HMENU MenuHandle() const { return m_menuHandle; }

  // Paints the strip (window coordinates) into the frame picture.
  void PaintBar(OffscreenSurface& picture, const Rect& strip);
  void PaintItem(TMenuBtn& item);
  TMenuBtn* FindMenuBarItem(Point windowPoint);
  TMenuBtn* ItemForKey(char key);
  TMenuBtn* FirstItem();
  // Opens an item's submenu below it and returns when the menus close;
  // false when the item has none (it only sent its command).
  bool OpenMenuBarItem(TMenuBtn* item, bool byKeyboard);
  bool Tracking() const { return m_tracking; }
  // The item whose submenu is open; -1 none.
  int OpenIndex() const { return m_openIndex; }
  // WM_MENUSELECT of the window while a submenu is open.
  void MenuSelected(WPARAM wParam, LPARAM lParam);

  int ItemCount() const { return static_cast<int>(m_items.size()); }
  TMenuBtn& Items(int index) const { return *m_items.at(index); }
  const Rect& BarRect() const { return m_barRect; }
  // How often a whole strip and one item were painted.
  int BarPaints() const { return m_barPaints; }

 private:
  friend class MenuBarTracking;
  std::vector<MenuBarEntry> Entries() const;
  std::vector<MenuBarEntry> SwitchEntries() const;
  void Layout(const Rect& strip, HDC dc);
  void DrawCaption(HDC dc, const TMenuBtn& item, const Rect& bounds);
  void DrawItemLook(HDC dc, const TMenuBtn& item, const Rect& bounds);
  bool RightToLeft() const;
  // The message-filter hook's view of one menu message; true consumes it.
  bool FilterMenuMessage(const MSG& msg);
  void SwitchTo(int index, bool byKeyboard);

  TWinSkinForm& m_form;
  HMENU m_menuHandle = nullptr;
  std::vector<std::unique_ptr<TMenuBtn>> m_items;
  Rect m_barRect;
  Surface m_barBitmap;
  bool m_tracking = false;
  int m_openIndex = -1;
  HMENU m_openMenu = nullptr;
  MenuSelection m_selection;
  int m_pendingIndex = -1;
  bool m_pendingByKeyboard = false;
  POINT m_lastMouse{-32768, -32768};
  int m_barPaints = 0;
};

}  // namespace corvane
