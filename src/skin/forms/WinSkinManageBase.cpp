#include "skin/forms/WinSkinManageBase.h"

#include <algorithm>

#include "skin/forms/WinSkinPopMenu.h"

namespace corvane {

namespace {

// At namespace scope (constant-initialised): the manager outlives every
// function-local static of the framework, as the program's end expects.
std::unique_ptr<TSkinManageBase> g_instance;

}  // namespace

std::unique_ptr<TSkinManageBase>& TSkinManageBase::Slot() { return g_instance; }

TSkinManageBase* TSkinManageBase::Instance() { return Slot().get(); }

TSkinManageBase::TSkinManageBase() = default;

TSkinManageBase::~TSkinManageBase() = default;

void TSkinManageBase::ReleasePopupMenu(HWND window) {
  auto it = std::find_if(m_menuSkins.begin(), m_menuSkins.end(), [&](const auto& m) { return m->Window == window; });
  if (it == m_menuSkins.end()) return;
  m_menuSkins.erase(it);
  if (m_menuSkins.empty()) {
    MenuFromBar = false;
    MenuSource = kMenuFromPopup;
  }
}

void TSkinManageBase::AttachMenuHandle(HMENU menu) {
  if (!menu) return;
  for (const auto& m : m_menuSkins)
    if (m->Menu == menu) return;
  for (auto it = m_menuSkins.rbegin(); it != m_menuSkins.rend(); ++it)
    if (!(*it)->Menu) {
      (*it)->Menu = menu;
      return;
    }
}

const TWinSkinPopMenu* TSkinManageBase::PopupForMenu(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& m : m_menuSkins)
    if (m->Menu == menu) return m.get();
  return nullptr;
}

}  // namespace corvane
