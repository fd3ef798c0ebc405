// The skin component's members that drive the skin manager: registering
// with it when loaded, its skin and unskin requests, and leaving it. They
// live with the manager so the skin component never includes it.
#include "skin/data/WinSkinData.h"

#include <windows.h>

#include "framework/Forms.h"
#include "skin/manager/WinSkinManage.h"

namespace corvane {

namespace {

bool IsUserFunctionAvailable(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 && GetProcAddress(user32, name) != nullptr;
}

}  // namespace

TSkinData::~TSkinData() {
  m_scaledGlyphs.clear();
  FreeComponent(m_menuGlyphs);
  m_menuGlyphs = nullptr;
  m_skin3rd.clear();
  if (TSkinManage* manager = TSkinManage::Instance()) manager->UnregisterSkinData(this);
  m_stream.clear();
  m_appIcon.Reset();
  m_hint.Reset();
  m_captionFonts.clear();
  m_scaled.clear();
  m_skin.reset();
  m_faceBrush.Reset();
}

void TSkinData::SetActive(bool value) {
  if (value == m_active) return;
  m_active = value;
  if (m_reading) return;
  TSkinManage* manager = TSkinManage::Instance();
  // Before Loaded there is no manager to ask; Loaded looks at Active itself.
  if (!manager) return;
  switch (SkinFormtype) {
    case sfMainform:
      if (value) {
        if (SkinEmpty()) return;
        manager->PendingSkinData = this;
        manager->RequestAction(kSkinAll, 250);
        manager->State = kManageRunning;
      } else {
        manager->PendingSkinData = this;
        manager->RequestAction(kUnskinAll, 250);
      }
      return;
    case sfOnlyThisForm:
      manager->PendingSkinData = this;
      if (value && SkinEmpty()) return;
      manager->RequestAction(value ? kSkinAll : kUnskinAll, 250);
      return;
    case sfDialog:
    case sfDLL:
      return;
  }
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  m_reading = false;
  if (!IsUserFunctionAvailable("GetScrollBarInfo")) SkinControls.Exclude(xcScrollbar);

  TSkinManage& manager = TSkinManage::Create();
  manager.RegisterSkinData(this);
  RebuildCaptionFont();

  if (SkinFormtype != sfMainform) {
    manager.Active = true;
    ++manager.State;
    auto* form = dynamic_cast<TForm*>(Owner());
    if (form && m_active) manager.SkinWindow(form->Handle());
    return;
  }

  manager.InstallHook();
  if (m_active) {
    if (SkinEmpty())
      m_active = false;
    else
      manager.RequestAction(kSkinAll, 250);
  }
  if (SkinControls.Contains(xcMainMenu))
    SkinControls.Exclude(xcMenuItem);
  else
    SkinControls.Exclude(xcSystemMenu);
  BuildAppIcon();
}

void TSkinData::ApplySkin() {
  if (m_reading) return;
  if (!TSkinManage::Instance()) Loaded();
  TSkinManage& manager = *TSkinManage::Instance();
  manager.PendingSkinData = this;
  manager.RefreshSkinData(this);
  if (manager.State == kManageRunning) manager.RequestAction(kReskinAll, 250);
}

}  // namespace corvane
