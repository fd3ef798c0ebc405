#include "skin/controls/WinSkinBars.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/ToolBars.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace corvane {

// ================================================================ tool bars

TSkinToolBar::~TSkinToolBar() { GiveBack(); }

void TSkinToolBar::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  m_bar = dynamic_cast<TToolBar*>(Owner());
  if (!m_bar || State() == kSkinAttached) return;
  // The bar keeps its own message handling: the painters below are all.
  AttachControlTo(formSkin, skinData, setsColour, false);
  m_savedFlat = m_bar->Flat();
  m_bar->SetFlat(true);
  TWinSkinForm* form = formSkin;
  if (!m_bar->OnCustomDraw && form) {
    m_bar->OnCustomDraw = [form](TToolBar*, HDC dc, const RECT& area) { form->ToolbarBackground(dc, area); };
    m_background = true;
  }
  if (!m_bar->OnCustomDrawButton && form) {
    m_bar->OnCustomDrawButton = [form](TToolBar*, HDC dc, const RECT& bounds, unsigned state) {
      return form->ToolbarButton(dc, bounds, state);
    };
    m_buttons = true;
  }
  // A form's own menus are painted by its form skin; a menu no form owns
  // is painted here for as long as the bar is skinned.
  if (skinData->SkinControls.Contains(xcPopupMenu))
    for (int i = 0; i < m_bar->ButtonCount(); ++i) {
      TMenu* menu = m_bar->ButtonMenu(i);
      if (!menu || dynamic_cast<TForm*>(menu->Owner()) || menu->Tag == skinData->DisableTag) continue;
      if (std::any_of(m_menus.begin(), m_menus.end(), [&](const HeldMenu& h) { return h.menu == menu; })) continue;
      m_menus.push_back({menu, menu->OwnerDraw, menu->OnMeasureItem, menu->OnDrawItem});
      PaintWithSkin(*skinData, *menu);
    }
  m_bar->Invalidate();
}

void TSkinToolBar::GiveBack() {
  if (!m_bar) return;
  if (m_background) m_bar->OnCustomDraw = nullptr;
  if (m_buttons) m_bar->OnCustomDrawButton = nullptr;
  m_background = m_buttons = false;
  for (HeldMenu& held : m_menus) {
    held.menu->OwnerDraw = held.ownerDraw;
    held.menu->OnMeasureItem = std::move(held.measure);
    held.menu->OnDrawItem = std::move(held.draw);
    held.menu->ItemsChanged();
  }
  m_menus.clear();
}

void TSkinToolBar::Restore() {
  if (!SkinOn()) return;
  GiveBack();
  if (m_bar && State() != kSkinWindowGone) m_bar->SetFlat(m_savedFlat);
  TSkinControl::Restore();
  m_state = kSkinRestored;
}

void TSkinToolBar::SkinChanged() {
  TSkinControl::SkinChanged();
  if (m_bar) m_bar->Invalidate();
}

// ================================================================ band containers

void TSkinBandBar::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  m_bar = dynamic_cast<TCoolBar*>(Owner());
  if (!m_bar || State() == kSkinAttached) return;
  AttachControlTo(formSkin, skinData, setsColour, false);
  for (int i = 0; i < m_bar->BandCount(); ++i) m_savedColours.push_back(m_bar->BandColor(i));
  ColourBands();
}

void TSkinBandBar::ColourBands() {
  Colour face = SkinColour(SkinDefinition::kButtonFace);
  for (int i = 0; i < m_bar->BandCount(); ++i) m_bar->SetBandColor(i, face);
}

void TSkinBandBar::Restore() {
  if (!SkinOn()) return;
  if (m_bar && State() != kSkinWindowGone)
    for (int i = 0; i < m_bar->BandCount() && i < static_cast<int>(m_savedColours.size()); ++i)
      m_bar->SetBandColor(i, m_savedColours[static_cast<std::size_t>(i)]);
  TSkinControl::Restore();
  m_state = kSkinRestored;
}

void TSkinBandBar::SkinChanged() {
  if (m_bar) ColourBands();
  TSkinControl::SkinChanged();
}

}  // namespace corvane
