// Menus of a skinned window: the skin's window menu, the owner-drawn items
// of bare windows' menus, and hosting the skinned menu bar.
#include "skin/forms/WinSkinForm.h"
#include "platform/Text.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "platform/Dpi.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

// ------------------------------------------------------ controls' own menus

void TWinSkinForm::HandOverControlMenu(TMenu& menu) {
  // Given back at unskin with the form's menus: only a form-mode skin has
  // the form those are found through.
  if (m_form && m_skinData) m_menus.HandOverMenu(*m_skinData, menu);
}

// ------------------------------------------------------ skin system menu

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  DWORD now = GetTickCount();
  // Unsigned difference: right across the tick counter's wrap.
  if (now - m_lastMenuClick > m_doubleClickTime) {
    if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->MenuSource = kMenuFromSystem;
    m_lastMenuClick = now;
    BuildSkinSystemMenu();
    m_skinSystemMenu->Popup(x, y);
  } else if (HotObject) {
    // The icon button clicked twice: the window closes, as the system's
    // window icon does.
    m_hintTimer.Stop();
    PostMessageA(Handle, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::BuildSkinSystemMenu() {
  m_skinSystemMenu.reset();
  m_skinSystemMenu = std::make_unique<TPopupMenu>(nullptr);
  TPopupMenu& menu = *m_skinSystemMenu;
  menu.Tag = kSkinSystemMenuTag;
  menu.Images = &m_skinData->MenuGlyphs(m_dpi);
  PaintWithSkin(*m_skinData, menu);
  if (!(m_class.buttons & kFrameSystemMenu) || !m_systemMenu) return;
  HWND window = Handle;
  const int count = GetMenuItemCount(m_systemMenu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
    if (!GetMenuItemInfoA(m_systemMenu, static_cast<UINT>(position), TRUE, &info)) continue;
    const std::string text = MenuItemText(m_systemMenu, static_cast<UINT>(position), true);
    SkinSystemMenuEntry entry = SystemMenuEntryFor(info.wID, info.fState, m_windowState, m_class.buttons, m_class.border);
    TMenuItem& item = menu.Create<TMenuItem>();
    item.SetCaption(text.empty() ? std::string("-") : text);
    item.Tag = static_cast<std::intptr_t>(info.wID);
    item.SetImageIndex(entry.imageIndex);
    item.SetEnabled(entry.enabled);
    item.SetChecked(entry.checked);
    item.Default = (info.fState & MFS_DEFAULT) != 0;
    item.OnClick = [window](TObject* sender) {
      PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TMenuItem*>(sender)->Tag), 0);
    };
    menu.Add(item);
  }
}

// ---------------------------------------------------- bare menu items

LRESULT TWinSkinForm::OnMeasureMenuItem(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!mis || mis->CtlType != ODT_MENU || !m_hadMenu) return CallDefault(msg, wParam, lParam);
  if (TMenuItem* item = BarMenuItem(mis->itemID)) {
    WindowDC dc(Handle);
    SelectGuard font(dc.Get(), MenuFont(m_dpi));
    int w = 0, h = 0;
    item->Menu()->MeasureItem(*item, dc.Get(), w, h);
    MeasureMainMenuItem(*m_skinData, *item, w, h);
    mis->itemWidth = static_cast<UINT>(std::max(w, 0));
    mis->itemHeight = static_cast<UINT>(std::max(h, 0));
    return TRUE;
  }
  // Every other framework item is its own menu's to measure.
  if (m_form && TMenu::FindItem(mis->itemID)) return CallDefault(msg, wParam, lParam);
  // The menu about to open holds the item; the window's own menu otherwise.
  std::string text = HandleItemText(m_activeMenu ? m_activeMenu : GetMenu(Handle), mis->itemID);
  WindowDC dc(Handle);
  MeasureHandleItem(*m_skinData, text, dc.Get(), mis->itemWidth, mis->itemHeight, m_dpi);
  return TRUE;
}

LRESULT TWinSkinForm::OnDrawMenuItem(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!dis || dis->CtlType != ODT_MENU || !m_hadMenu) return CallDefault(msg, wParam, lParam);
  if (TMenuItem* item = BarMenuItem(dis->itemID)) {
    SelectGuard font(dis->hDC, MenuFont(m_dpi));
    DrawMenuItem(*m_skinData, item->ParentHandle(), LookOf(*item), dis->hDC, dis->rcItem, dis->itemState);
    return TRUE;
  }
  if (m_form && TMenu::FindItem(dis->itemID)) return CallDefault(msg, wParam, lParam);
  HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
  DrawMenuItem(*m_skinData, menu, LookOfHandleItem(menu, dis->itemID, m_dpi), dis->hDC, dis->rcItem, dis->itemState);
  return TRUE;
}

TMenuItem* TWinSkinForm::BarMenuItem(UINT command) const {
  if (!m_form || !m_form->Menu()) return nullptr;
  TMenuItem* item = TMenu::FindItem(command);
  return item && item->Menu() == m_form->Menu() ? item : nullptr;
}

// ------------------------------------------------------------- menu bar

void TWinSkinForm::TakeMenuBar() {
  if (!GetMenu(Handle)) return;
  m_hadMenu = true;
  RECT before{};
  GetClientRect(Handle, &before);
  auto bar = std::make_unique<TWinSkinMenu>(*this);
  // A menu without items stays the window's own.
  if (!bar->BuildItems()) return;
  m_menuBar = std::move(bar);
  m_clientBeforeMenuBar = before;
  m_menuHeight = SystemMetricForDpi(SM_CYMENU, m_dpi);
}

void TWinSkinForm::GiveMenuBarBack() {
  if (!m_menuBar) return;
  if (HotObject && dynamic_cast<TMenuBtn*>(HotObject)) HotObject = nullptr;
  if (PressedObject && dynamic_cast<TMenuBtn*>(PressedObject)) PressedObject = nullptr;
  m_menuBar->GiveMenuBack();
  m_menuBar.reset();
}

void TWinSkinForm::OpenMenuBarItem(TMenuBtn* item, bool byKeyboard) {
  if (!item || !m_menuBar) return;
  m_skinData->HideCaptionHint();
  m_menuBar->OpenMenuBarItem(item, byKeyboard);
  // A change that came while the menu was open is taken now: the menu it
  // would have rebuilt was on the screen.
  if (m_menuChangedWhileOpen) {
    m_menuChangedWhileOpen = false;
    PostMessageA(Handle, CM_MENUCHANGED, 0, 0);
  }
}

LRESULT TWinSkinForm::OnMenuChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_menuBar && m_menuBar->Tracking()) {
    m_menuChangedWhileOpen = true;
    return 0;
  }
  m_skinData->FramePaintFlag = 0;
  LRESULT r = CallDefault(msg, wParam, lParam);
  m_skinData->FramePaintFlag = 1;
  if (m_menuBar && GetMenu(Handle)) {
    m_menuBar->MenuChanged(m_skinData->MenuUpdate);
    RepaintNonClient();
  }
  return r;
}

}  // namespace corvane
