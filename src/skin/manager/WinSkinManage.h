// The skin manager (TSkinManage): the one object per process that decides
// which windows of the GUI thread are skinned. A thread CBT hook sees windows
// being created and activated; qualifying top-level windows get a form skin,
// and the skin components' requests run from a timer a short time later.
// Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
class TForm;

// Skin actions a component may request.
enum TSkinAction : int { kSkinActionNone = 0, kSkinAll = 1, kUnskinAll = 2, kReskinAll = 3 };

class TSkinManage : public TSkinManageBase {
 public:
  // The process-wide manager, or nullptr while there is none.
  static TSkinManage* Instance();
  // The manager, made on first use.
  static TSkinManage& Create();
  // Frees the manager (end of the program; tests that start afresh).
  static void Destroy();

  TSkinManage();
  ~TSkinManage() override;

  void RegisterSkinData(TSkinData* data);
  void UnregisterSkinData(TSkinData* data);
  // The thread's window-creation hook; installing twice keeps one hook.
  void InstallHook();
  bool HookInstalled() const { return static_cast<bool>(m_hook); }
  // Runs kind after delayMs from the timer; later requests within the delay
  // replace earlier ones. Before any window was activated (State 0) a skin or
  // unskin request only switches Active.
  void RequestAction(int kind, int delayMs);
  // Skins one window now when it qualifies; true when a form skin was made.
  bool SkinWindow(HWND window);
  // The thread's active window, activated before the hook existed, is
  // skinned as if it were activated now.
  void AdoptActiveWindow();
  // Skins a visible, non-child framework form.
  bool SkinFrameworkForm(TForm* form);
  // Reloads the skin images of every form skin that uses data.
  void RefreshSkinData(TSkinData* data);
  TWinSkinForm* FindFormSkin(HWND window) const;
  void ForgetFormSkin(HWND window) override;
  // Frees form skins whose window was destroyed.
  void PurgeDeadFormSkins();
  void SetMDIMaximized(bool maximised) override;
  // Runs the pending action now (what the timer does when it fires).
  void RunPendingAction();
  // The component a window is skinned with, or nullptr.
  TSkinData* ChooseSkinData(HWND window, const std::string& className) const;

  // A popup menu window ("#32768") is skinned as it is made when the skin
  // paints that kind of menu (the base gives it back as it goes).
  bool SkinPopupMenu(HWND window);

  const std::vector<std::unique_ptr<TWinSkinForm>>& FormSkins() const { return m_formSkins; }
  const std::vector<TSkinData*>& SkinDatas() const { return m_skinDatas; }

  bool Enumerating = false;
  int PendingAction = kSkinActionNone;
  TSkinData* PendingSkinData = nullptr;
  TSkinData* PrimarySkinData = nullptr;
  // Interval the pending action waits (the timer's interval).
  int ActionDelay() const { return m_delay; }
  bool ActionScheduled() const { return m_scheduled; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void OnHook(int code, WPARAM wParam, LPARAM lParam);
  void StopTimer();
  bool WindowFilterAllows(HWND window, const std::string& className) const;
  void SkinAllForms();
  void UnskinAll(TSkinData* only);
  void ReskinAll(TSkinData* only);
  void FreeFormSkin(std::size_t index, bool restore);

  UniqueHook m_hook;
  UINT_PTR m_timer = 0;
  int m_delay = 100;
  bool m_scheduled = false;
  std::vector<std::unique_ptr<TWinSkinForm>> m_formSkins;
  std::vector<TSkinData*> m_skinDatas;
};

}  // namespace corvane
