// Skinned popup menus: the popup menu window (class "#32768") painted whole
// from the skin's menu background, and its items measured and drawn from the
// skin's item picture. Framework menus are handed to this painting and back
// exactly as they were. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "core/Surface.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "pictures/WinSurface.h"

namespace corvane {

class TSkinData;
class TForm;
class TImageList;

// One popup menu window taken over while it lives.
class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() { Detach(); }
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void Attach(HWND window, TSkinData* skinData, HMENU menu = nullptr);
  // Gives the window its own procedure back.
  void Detach();

  HWND Window = nullptr;
  TSkinData* SkinData = nullptr;
  // The menu shown here; none until its first item is drawn.
  HMENU Menu = nullptr;
  bool FromMenuBar = false;
  // The picture painted over the whole window; items take their
  // background from it. Empty until the window was first painted.
  SurfaceView Background() const { return m_background ? m_background->View() : SurfaceView{}; }
  // Where the window's client area starts in that picture: the system's
  // menu frame is outside the client on some systems and inside on others.
  Point ClientOffset() const { return m_clientOffset; }
  bool Attached() const { return m_subclass.Installed(); }

 private:
  LRESULT Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // Builds the window's picture unless the one built for the window's size
  // and the skin's load is still there; false when the skin has none (the
  // system then draws the window).
  bool BuildBackground();
  LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnPrint(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam);

  WindowSubclass m_subclass;
  // One of the kept menu pictures: a window of the size an earlier menu
  // window had (the same menu opened again) takes it without composing.
  std::shared_ptr<const Surface> m_background;
  unsigned m_backgroundGeneration = 0;
  int m_backgroundDpi = 0;
  Point m_clientOffset;
};

// What an item shows, from a framework item or from a bare menu handle.
struct MenuItemLook {
  std::string caption;
  const TImageList* images = nullptr;
  int imageIndex = -1;
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;
  bool rightToLeft = false;
  // An item of a menu that exists only as a handle: the item picture's cell
  // is drawn under separators too, which then show an etched line.
  bool fromHandle = false;
  // The DPI of the menu the item is in (its owner's).
  int dpi = 96;
  bool IsSeparator() const { return caption == "-"; }
};
// The text of a bare menu handle's item (up to 80 characters; empty for none).
std::string HandleItemText(HMENU menu, UINT command);
// The item of a bare menu handle with this command (text up to 80
// characters, "-" without text; enabled and checked as the menu says).
MenuItemLook LookOfHandleItem(HMENU menu, UINT command, int dpi);
// The skin's measurement of a bare menu handle's item from its text.
void MeasureHandleItem(const TSkinData& skinData, const std::string& text, HDC dc, UINT& width, UINT& height,
                       int dpi);
MenuItemLook LookOf(const TMenuItem& item);

// Draws one item from the skin into dc at rect; state holds the system's
// ODS_ flags. The item's menu is parent (its popup window gives the
// background). Without the skin's item picture the item is drawn plainly in
// the skin's colours. Nothing escapes: a failure leaves the item undrawn.
void DrawMenuItem(TSkinData& skinData, HMENU parent, const MenuItemLook& item, HDC dc, const RECT& rect,
                  UINT state);
// The skin's measurement on top of the framework's default one.
void MeasurePopupItem(const TSkinData& skinData, const TMenuItem& item, int& width, int& height);
// The same for an item of a menu bar's submenus.
void MeasureMainMenuItem(const TSkinData& skinData, const TMenuItem& item, int& width, int& height);

// Switches a menu to the skin's measuring and drawing (a measure handler of
// its own stays).
void PaintWithSkin(TSkinData& skinData, TMenu& menu);

// Whether the system asks for high-contrast colours: menus are then left
// to the system.
bool HighContrastOn();

// Popup menus and menu bars of a form (and of the forms it owns) handed to
// the skin's painting and back. What each menu had is kept so that switching off
// restores it exactly.
class SkinnedFormMenus {
 public:
  ~SkinnedFormMenus() = default;
  // Hands over every menu of form the skin may paint (popup menus with
  // xcPopupMenu, menu bars with xcMenuItem, Tag not DisableTag); menus
  // already handed over are left as they are.
  void HandOver(TSkinData& skinData, TForm& form);
  // Hands over one menu a control of the form owns (popup menus with
  // xcPopupMenu, Tag not DisableTag); one already handed over stays.
  void HandOverMenu(TSkinData& skinData, TMenu& menu);
  // Gives every menu of form still alive (the form's, its controls' and its
  // owned forms') back what it had.
  void GiveBack(TForm& form);
  bool Holds(const TMenu* menu) const { return m_saved.count(menu) != 0; }

 private:
  struct Saved {
    bool ownerDraw = false;
    TMenuMeasureEvent measure;
    TMenuDrawEvent draw;
  };
  void Keep(TSkinData& skinData, TMenu& menu);
  std::map<const TMenu*, Saved> m_saved;
};

}  // namespace corvane
