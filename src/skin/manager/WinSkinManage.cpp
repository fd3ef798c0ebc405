#include "skin/manager/WinSkinManage.h"

#include <algorithm>
#include <cctype>

#include "framework/Forms.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/WinControlRules.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace corvane {

namespace {

// Set once the manager is being destroyed: the hook only passes calls on.
bool g_hookDisabled = false;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

TForm* FrameworkFormOf(HWND window) {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (Screen().Forms(i)->HandleAllocated() && Screen().Forms(i)->Handle() == window)
      return Screen().Forms(i);
  return nullptr;
}

bool AnswersSkinQuery(HWND window) {
  DWORD_PTR answer = 0;
  // A hung window must not stop skinning the others.
  if (!SendMessageTimeoutA(window, WM_SKINQUERY, 0, 0, SMTO_NORMAL, 1000, &answer)) return false;
  return answer == 1;
}

}  // namespace

// The one instance lives in the base's slot, which holds nothing else.
TSkinManage* TSkinManage::Instance() { return static_cast<TSkinManage*>(TSkinManageBase::Instance()); }

TSkinManage& TSkinManage::Create() {
  if (!Slot()) {
    g_hookDisabled = false;
    Slot() = std::make_unique<TSkinManage>();
  }
  return *Instance();
}

void TSkinManage::Destroy() { Slot().reset(); }

TSkinManage::TSkinManage() = default;

TSkinManage::~TSkinManage() {
  State = kManageDestroying;
  Active = false;
  StopTimer();
  // Windows keep their size: the program is ending or starting afresh.
  while (!m_formSkins.empty()) {
    std::unique_ptr<TWinSkinForm> skin = std::move(m_formSkins.back());
    m_formSkins.pop_back();
    skin->ReleaseSkin();
  }
  m_menuSkins.clear();
  m_skinDatas.clear();
  m_hook.Reset();
  g_hookDisabled = true;
}

void TSkinManage::RegisterSkinData(TSkinData* data) {
  if (std::find(m_skinDatas.begin(), m_skinDatas.end(), data) != m_skinDatas.end()) return;
  m_skinDatas.push_back(data);
  if (!PrimarySkinData && data->SkinFormtype == sfMainform) PrimarySkinData = data;
}

void TSkinManage::UnregisterSkinData(TSkinData* data) {
  m_skinDatas.erase(std::remove(m_skinDatas.begin(), m_skinDatas.end(), data), m_skinDatas.end());
  if (PrimarySkinData == data) PrimarySkinData = nullptr;
  if (PendingSkinData == data) PendingSkinData = nullptr;
  // Windows skinned with a component that is going away are given back.
  for (std::size_t i = m_formSkins.size(); i-- > 0;)
    if (m_formSkins[i]->SkinData() == data) FreeFormSkin(i, true);
}

void TSkinManage::InstallHook() {
  if (m_hook) return;
  m_hook.Reset(SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (!g_hookDisabled && Instance() && code >= 0) Instance()->OnHook(code, wParam, lParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::OnHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: {
      const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
      // A size grip made inside a skinned window disappears into its face;
      // MDI children are skinned as they are made, popup menus as well.
      if ((cs.style & SBS_SIZEGRIP) && WindowClassName(window) == "ScrollBar")
        if (TWinSkinForm* owner = FindFormSkin(cs.hwndParent)) owner->SkinChildWindow(window);
      if (cs.dwExStyle & WS_EX_MDICHILD) SkinWindow(window);
      else if (!(cs.style & WS_CHILD) && WindowClassName(window) == "#32768") SkinPopupMenu(window);
      break;
    }
    case HCBT_DESTROYWND:
      ReleasePopupMenu(window);
      break;
    case HCBT_ACTIVATE:
      if (State == kManageIdle) State = kManageRunning;
      SkinWindow(window);
      break;
    default:
      break;
  }
}

void TSkinManage::RequestAction(int kind, int delayMs) {
  PendingAction = kind;
  m_delay = delayMs;
  if (State == kManageIdle) {
    // Nothing was activated yet: the hook skins windows as they come.
    if (kind == kSkinAll) Active = true;
    else if (kind == kUnskinAll) Active = false;
    return;
  }
  StopTimer();
  m_timer = SetTimer(nullptr, 0, static_cast<UINT>(std::max(delayMs, 1)), TimerProc);
  m_scheduled = m_timer != 0;
}

void TSkinManage::StopTimer() {
  if (m_timer) KillTimer(nullptr, m_timer);
  m_timer = 0;
  m_scheduled = false;
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (TSkinManage* manager = Instance(); manager && manager->m_timer == id) manager->RunPendingAction();
  else KillTimer(nullptr, id);
}

void TSkinManage::RunPendingAction() {
  StopTimer();
  TSkinData* data = PendingSkinData;
  int action = std::exchange(PendingAction, kSkinActionNone);
  if (!data) return;
  bool onlyThisForm = data->SkinFormtype == sfOnlyThisForm;
  switch (action) {
    case kSkinAll:
      Active = true;
      if (!onlyThisForm) {
        FormFlag = 0;
        SkinAllForms();
      } else {
        Enumerating = true;
        for (int i = Screen().FormCount(); i-- > 0;)
          if (Screen().Forms(i) == data->Owner()) {
            SkinFrameworkForm(Screen().Forms(i));
            break;
          }
        Enumerating = false;
      }
      break;
    case kUnskinAll:
      Active = false;
      UnskinAll(onlyThisForm ? data : nullptr);
      break;
    case kReskinAll:
      ReskinAll(data);
      break;
    default:
      break;
  }
  data->SkinChanged();
  PendingSkinData = nullptr;
}

void TSkinManage::SkinAllForms() {
  Enumerating = true;
  PurgeDeadFormSkins();
  for (int i = Screen().FormCount(); i-- > 0;) SkinFrameworkForm(Screen().Forms(i));
  Enumerating = false;
}

void TSkinManage::UnskinAll(TSkinData* only) {
  PurgeDeadFormSkins();
  for (std::size_t i = 0; i < m_formSkins.size();) {
    if (only && m_formSkins[i]->SkinData() != only) {
      ++i;
      continue;
    }
    FreeFormSkin(i, true);
    if (only) break;
  }
}

void TSkinManage::ReskinAll(TSkinData* data) {
  PurgeDeadFormSkins();
  bool onlyOne = data->SkinFormtype == sfOnlyThisForm;
  for (auto& skin : m_formSkins) {
    if (skin->SkinData() != data) continue;
    skin->ReloadSkin();
    if (onlyOne) {
      skin->RefreshSkin();
      return;
    }
  }
  // RefreshSkin refreshes each form's controls as well.
  for (auto& skin : m_formSkins)
    if (skin->SkinData() == data) skin->RefreshSkin();
}

void TSkinManage::FreeFormSkin(std::size_t index, bool restore) {
  std::unique_ptr<TWinSkinForm> skin = std::move(m_formSkins[index]);
  m_formSkins.erase(m_formSkins.begin() + static_cast<std::ptrdiff_t>(index));
  if (restore) skin->Unskin();
  else skin->ReleaseSkin();
}

void TSkinManage::PurgeDeadFormSkins() {
  if (State == kManageDestroying) return;
  for (std::size_t i = m_formSkins.size(); i-- > 0;)
    if (m_formSkins[i]->FrameState() == kFrameDestroyed || !IsWindow(m_formSkins[i]->Handle))
      FreeFormSkin(i, false);
}

bool TSkinManage::SkinFrameworkForm(TForm* form) {
  if (!form || !form->Visible() || !form->HandleAllocated()) return false;
  if (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CHILD) return false;
  return SkinWindow(form->Handle());
}

TWinSkinForm* TSkinManage::FindFormSkin(HWND window) const {
  for (const auto& skin : m_formSkins)
    if (skin->Handle == window) return skin.get();
  return nullptr;
}

void TSkinManage::ForgetFormSkin(HWND window) {
  if (State == kManageDestroying) return;
  for (auto& skin : m_formSkins)
    if (skin->Handle == window) {
      skin.release();  // the caller is freeing it
      m_formSkins.erase(std::remove(m_formSkins.begin(), m_formSkins.end(), nullptr), m_formSkins.end());
      return;
    }
}

void TSkinManage::SetMDIMaximized(bool maximised) {
  if (maximised == MDIMaximized) return;
  MDIMaximized = maximised;
  if (PrimarySkinData && PrimarySkinData->Options.Contains(xoMDIChildBorder)) return;
  // A maximised child shows no frame of its own; a restored one paints its
  // skinned frame again.
  for (auto& skin : m_formSkins)
    if (skin->Mdi() == MdiKind::Child) RedrawWindow(skin->Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinManage::RefreshSkinData(TSkinData* data) {
  for (auto& skin : m_formSkins)
    if (skin->SkinData() == data) skin->ReloadSkin();
}

bool TSkinManage::SkinPopupMenu(HWND window) {
  if (!Active || HighContrastOn()) return false;
  for (const auto& m : m_menuSkins)
    if (m->Window == window) return false;
  if (SendMessageA(window, WM_SKINQUERY, 0, 0) == 1) return false;
  TSkinData* data = ChooseSkinData(window, "#32768");
  if (!data || data->SkinEmpty()) return false;
  const TSkinControlTypes& kinds = data->SkinControls;
  bool wanted = MenuSource == kMenuFromPopup    ? kinds.Contains(xcPopupMenu)
                : MenuSource == kMenuFromBar    ? kinds.Contains(xcMainMenu) || kinds.Contains(xcMenuItem)
                : MenuSource == kMenuFromSystem ? kinds.Contains(xcSystemMenu)
                                                : true;
  if (!wanted) return false;
  auto skin = std::make_unique<TWinSkinPopMenu>();
  skin->Attach(window, data);
  skin->FromMenuBar = MenuFromBar;
  m_menuSkins.push_back(std::move(skin));
  return true;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const {
  auto lastWhere = [&](auto&& test) -> TSkinData* {
    TSkinData* found = nullptr;
    for (TSkinData* d : m_skinDatas)
      if (test(d)) found = d;
    return found;
  };
  if (TSkinData* d = lastWhere([&](TSkinData* d) {
        auto* owner = dynamic_cast<TWinControl*>(d->Owner());
        return d->SkinFormtype == sfOnlyThisForm && owner && owner->HandleAllocated() &&
               owner->Handle() == window;
      }))
    return d;
  std::string lower = AsciiLower(className);
  if (lower == "tmessageform" || lower == "#32770")
    if (TSkinData* d = lastWhere([](TSkinData* d) { return d->SkinFormtype == sfDialog; })) return d;
  if (TSkinData* d = lastWhere([](TSkinData* d) { return d->SkinFormtype == sfMainform; })) return d;
  return m_skinDatas.empty() ? nullptr : m_skinDatas.front();
}

bool TSkinManage::WindowFilterAllows(HWND window, const std::string& className) const {
  if (!PrimarySkinData) return true;
  bool allowed = true;
  std::string lower = AsciiLower(className);
  if (!PrimarySkinData->Options.Contains(xoPreview) && Contains(lower, "preview")) allowed = false;
  if (className == "#32770" && (GetWindowLongA(window, GWL_STYLE) & 0x200)) allowed = false;
  if (lower == "tpopupdbtreeview") allowed = false;
  PrimarySkinData->MayFormSkin(window, className, allowed);
  return allowed;
}

void TSkinManage::AdoptActiveWindow() {
  HWND active = GetActiveWindow();
  if (!active) return;
  if (State == kManageIdle) State = kManageRunning;
  SkinWindow(active);
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!Active || !IsWindow(window)) return false;
  PurgeDeadFormSkins();
  if (FindFormSkin(window) || AnswersSkinQuery(window)) return false;
  TForm* form = FrameworkFormOf(window);
  TWinControl* control = form ? form : ControlOfWindow(window);

  LONG style = GetWindowLongA(window, GWL_STYLE);
  LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  std::string className = WindowClassName(window);
  if (!Enumerating && (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) &&
      AsciiLower(WindowClassName(GetParent(window))) != "mdiclient")
    return false;
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  if (!control && instance != GetModuleHandleA(nullptr) && className != "#32770") return false;
  RECT r{};
  GetWindowRect(window, &r);
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0 && !(exStyle & WS_EX_MDICHILD))
    return false;
  if (form && form->Tag == 99) return false;
  if (Contains(className, "TcxPopupEditPopupWindow") || Contains(className, "TTERenderWindow") ||
      className == "TApplication")
    return false;
  if (!WindowFilterAllows(window, className)) return false;
  TSkinData* data = ChooseSkinData(window, className);
  if (!data || data->SkinEmpty()) return false;

  auto skin = std::make_unique<TWinSkinForm>();
  skin->Handle = window;
  skin->ModuleTag = 0;
  skin->WindowClass = className;
  skin->ControlSkinning = &RuleControlSkinning();
  TWinSkinForm& started = *skin;
  m_formSkins.push_back(std::move(skin));
  if (form) started.StartFormSkin(data, form);
  else started.StartWindowSkin(data);
  PostMessageA(window, WM_SKINSTART, 0, 1000);
  return true;
}

}  // namespace corvane
