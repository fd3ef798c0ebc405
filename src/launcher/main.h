// Program start and the launcher window: a borderless, always-on-top window
// that shows one picture, opens the menu of links on a right-click and ends
// the program on Esc.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "components/SkinImage.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "launcher/HotKey.h"
#include "launcher/HotKeyRegistration.h"
#include "launcher/LinkStore.h"

namespace corvane {

class MenuIconLoader;

class TForm1 : public TForm {
  CORVANE_CLASS(TForm1, TForm)

 public:
  // storePath is the link store's path; empty means the executable's path
  // with the extension ".ini" (tests give their own).
  // restAfterShow (the program's own start): dropped files are accepted and
  // the menu is built from the message loop right after the launcher is
  // shown, and the menu's icons are read by a worker thread and put in as
  // they come.
  explicit TForm1(TComponent* owner, std::string storePath = {}, bool restAfterShow = false);
  ~TForm1() override;

  TSkinImage* SkinImage1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TImageList* ImageList1 = nullptr;

  std::string IniPath;
  // The open link store; the link editor reads and writes through it.
  std::unique_ptr<LinkStore> IniFile;

  // Reloads the picture and the stored position from the store.
  void LoadGraphic();
  // Rebuilds the popup menu and its icons from the store.
  void BuildMenu();
  // Registers the hot key the store asks for (none for an empty or broken
  // entry); false when the system refused the combination.
  bool ApplyHotKey();
  // Registers setting in place of the current hot key; when the system
  // refuses it, the current one stays registered and the answer is false.
  bool SetHotKey(const HotKeySetting& setting);
  // What the store asks for and whether the system took it.
  const HotKeySetting& HotKeyWanted() const { return m_hotKeySetting; }
  bool HotKeyActive() const { return m_hotKey.Active(); }
  // The link menu at the mouse pointer, ready for the keyboard (the hot
  // key); nothing while a menu or a message box of the program is open.
  void OpenMenuForKeyboard();

  void FormCreate(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
  void MenuItemClick(TObject* sender);
  // Opens the link editor with the launcher's picture in its preview.
  void SkinImage1DblClick(TObject* sender);

 protected:
  void Dispatch(TMessage& m) override;
  void DpiChanged() override;

 private:
  void LoadPicture();
  // Stores the window's place (Left, Top) as one change; throws as the
  // store does when the write is refused.
  void SavePosition();
  // The system ends the session: the place is stored quietly and the
  // program ends.
  void SessionEnding();
  // Set once the close has begun, so a second Esc asks nothing again.
  bool m_closing = false;
  void RestorePosition();
  void AcceptDropsAndBuildMenu();
  // Puts the icons the worker has read so far into the menu.
  void TakeMenuIcons();
  std::string m_storePath;
  bool m_restAfterShow = false;
  std::unique_ptr<MenuIconLoader> m_iconLoader;
  // The entry of each link the worker reads an icon for.
  std::vector<TMenuItem*> m_iconTargets;
  HotKeySetting m_hotKeySetting;
  HotKeyRegistration m_hotKey;
  bool m_loadingPicture = false;
};

// The store's key in the picture section that holds the hot key's text.
inline constexpr const char* kHotKeyKey = "HotKey";

// The launcher window while it exists.
extern TForm1* Form1;

// A copy of the program's own icon at size x size pixels (from its entry of
// that size when it has one); the system's application icon when the
// running module has none. The caller destroys it.
HICON CopyApplicationIcon(int size);
// The icon a menu entry shows for its Link: the file's own or associated
// icon when Link names an existing file, else the application icon. Never null
// unless the system is out of icons.
HICON MenuIconFor(const std::string& link);

// Where a window that lies on no monitor belongs: the same size, moved onto
// the given work area (as far as it fits). Unchanged when it overlaps it.
Rect PullOntoWorkArea(const Rect& window, const Rect& workArea);

// Runs the program from start to end; returns the process exit code.
int RunProgram();

}  // namespace corvane
