// Popup menus and their items. Captions are shown as given: no accelerators
// are added and no separators removed; a caption "-" is a separator line.
// With an image list (or OwnerDraw) every item is owner-drawn, and the
// measuring and drawing can be taken over (the skin engine does).
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Classes.h"
#include "framework/Handles.h"

namespace corvane {

class TPopupMenu;
class TImageList;
class TControl;

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
  TPopupMenu* Menu() const { return m_menu; }

  // Drawn bold: the item a double click would choose.
  bool Default = false;
  TNotifyEvent OnClick;
  // Raises OnClick (the item is the sender).
  virtual void Click();

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 private:
  friend class TPopupMenu;
  void Changed();

  std::string m_caption;
  int m_imageIndex = -1;
  bool m_enabled = true;
  bool m_checked = false;
  UINT m_command = 0;
  TPopupMenu* m_menu = nullptr;
};

// Measures an owner-drawn item: width and height come in with the default
// size and go out with the wanted one.
using TMenuMeasureEvent = std::function<void(TMenuItem& item, HDC dc, int& width, int& height)>;
// Draws an owner-drawn item; state holds the ODS_ flags of the system.
using TMenuDrawEvent = std::function<void(TMenuItem& item, HDC dc, const RECT& rect, UINT state)>;

class TPopupMenu : public TComponent {
  CORVANE_CLASS(TPopupMenu, TComponent)

 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  int Count() const { return static_cast<int>(m_items.size()); }
  TMenuItem* Items(int index) const { return m_items.at(index); }
  // Appends an item (usually one this menu owns).
  void Add(TMenuItem& item);
  void Remove(TMenuItem& item);
  // Removes every item and frees the ones this menu owns.
  void Clear();

  TImageList* Images = nullptr;
  bool OwnerDraw = false;
  // The control whose context menu opened this menu last.
  TControl* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
  // Take-over points for measuring and drawing items; unset means the
  // framework's own look (MeasureItem / DrawItem).
  TMenuMeasureEvent OnMeasureItem;
  TMenuDrawEvent OnDrawItem;

  // The menu as the system knows it, rebuilt after item changes.
  HMENU Handle();
  // The handle as it stands, never rebuilt (what an open menu shows).
  HMENU ShownHandle() const { return m_menu.Get(); }
  // Opens the menu at a screen point and returns when it closes; the
  // chosen item's OnClick runs when its command arrives.
  void Popup(int x, int y);
  // True when items are drawn by the program.
  bool IsOwnerDrawn() const { return OwnerDraw || Images != nullptr; }

  void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height);
  void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state);

  // The living item with this command identifier, or nullptr.
  static TMenuItem* FindItem(UINT command);

  // Makes the next Handle() build the menu again (after OwnerDraw changed).
  void ItemsChanged() { m_dirty = true; }

 private:
  friend class TMenuItem;

  std::vector<TMenuItem*> m_items;
  UniqueMenu m_menu;
  bool m_dirty = true;
};

// The hidden window that receives the commands, measuring and drawing
// requests of every popup menu of the framework.
HWND PopupListWindow();

// The system's menu font (owned by the framework).
HFONT MenuFont();
// A caption and the shortcut text after its tab ("&Close\tAlt+F4").
std::pair<std::string, std::string> SplitMenuCaption(const std::string& caption);
// The letter after a single "&" of a caption, lower-cased, or 0.
char MenuMnemonic(const std::string& caption);

}  // namespace corvane
