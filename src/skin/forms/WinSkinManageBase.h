// What every skinned window shares with the skin manager: the flags form
// skins and menus read and write, and the registry of skinned popup-menu
// windows. The manager (skin/manager) derives from it; form and menu skins
// reach it through Instance() without knowing the manager. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

class TWinSkinPopMenu;

// The manager's State.
enum TSkinManageState : int {
  kManageIdle = 0,        // no window was activated yet
  kManageRunning = 1,     // windows are skinned as they are activated
  kManageDestroying = 4,  // the manager is going away
};

// The kind of menu about to open (MenuSource).
enum TMenuSource : int {
  kMenuFromPopup = 0,   // a popup menu
  kMenuFromBar = 1,     // a menu bar or one of its items
  kMenuFromSystem = 2,  // a window menu
};

class TSkinManageBase {
 public:
  // The process-wide manager, or nullptr while there is none.
  static TSkinManageBase* Instance();

  virtual ~TSkinManageBase();
  TSkinManageBase(const TSkinManageBase&) = delete;
  TSkinManageBase& operator=(const TSkinManageBase&) = delete;

  // Remembers whether MDI children are maximised and, unless MDI children
  // keep their own borders, repaints the frames of the MDI children.
  virtual void SetMDIMaximized(bool maximised) = 0;
  // Drops the entry of window without freeing it (a form skin going away).
  virtual void ForgetFormSkin(HWND window) = 0;

  // Popup menu windows ("#32768") skinned as they are made, given back as
  // they go.
  void ReleasePopupMenu(HWND window);
  // The newest popup window without a menu shows this one.
  void AttachMenuHandle(HMENU menu);
  // The popup window showing menu (its picture is the items' ground), or
  // nullptr.
  const TWinSkinPopMenu* PopupForMenu(HMENU menu) const;
  const std::vector<std::unique_ptr<TWinSkinPopMenu>>& MenuSkins() const { return m_menuSkins; }

  bool Active = false;
  // A TSkinManageState.
  int State = kManageIdle;
  // A TMenuSource.
  int MenuSource = kMenuFromPopup;
  bool MenuFromBar = false;
  bool MDIMaximized = false;
  // One-shot flag of the form skins: hide a window while its frame changes.
  std::uint8_t FormFlag = 0;
  HWND MDIClient = nullptr;

 protected:
  TSkinManageBase();
  // The one instance's slot: the manager is made and freed through it, so
  // Instance() is absent exactly while the manager is.
  static std::unique_ptr<TSkinManageBase>& Slot();

  std::vector<std::unique_ptr<TWinSkinPopMenu>> m_menuSkins;
};

}  // namespace corvane
