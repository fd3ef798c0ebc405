#include "skin/controls/WinControlRules.h"

#include <algorithm>
#include <exception>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinContainers.h"
#include "skin/controls/WinSkinEdits.h"
#include "skin/controls/WinSkinScrollBars.h"
#include "skin/controls/WinSkinMedia.h"
#include "skin/controls/WinSkinRanges.h"
#include "skin/controls/WinSkinTabs.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

namespace {

// A new skinning object of kind owned by owner; nullptr for the kinds of
// controls whose skins are not built yet (they stay plain).
TSkinControl* MakeSkin(ControlSkinKind kind, TComponent& owner, const ControlRule* rule) {
  using K = ControlSkinKind;
  switch (kind) {
    case K::Button:
      return &owner.Create<TSkinButton>();
    case K::BitButton: {
      auto& skin = owner.Create<TSkinBitButton>();
      if (rule) skin.GlyphPropertyName = rule->glyphProperty;
      return &skin;
    }
    case K::MenuButton:
      return &owner.Create<TSkinMenuButton>();
    case K::SpeedButton: {
      auto& skin = owner.Create<TSkinSpeedButton>();
      if (rule) skin.GlyphPropertyName = rule->glyphProperty;
      return &skin;
    }
    case K::CheckBox:
      return &owner.Create<TSkinCheckBox>();
    case K::RadioButton:
      return &owner.Create<TSkinRadioButton>();
    case K::GroupBox:
      return &owner.Create<TSkinGroupBox>();
    case K::Box:
      return &owner.Create<TSkinBox>();
    case K::BoxH:
      return &owner.Create<TSkinBoxH>();
    case K::Sizer:
      return &owner.Create<TSkinSizer>();
    case K::StatusBar:
      return &owner.Create<TSkinStatusBar>();
    case K::Header:
      return &owner.Create<TSkinHeader>();
    case K::Scrollbar:
      return &owner.Create<TSkinScrollbar>();
    case K::ListView:
      return &owner.Create<TSkinListView>();
    case K::ScControl:
      return &owner.Create<TSkinScControl>();
    case K::Edit:
      return &owner.Create<TSkinEdit>();
    case K::ComboBox: {
      auto& skin = owner.Create<TSkinComBox>();
      if (rule) skin.Extended = rule->extendedCombo;
      return &skin;
    }
    case K::DateTime:
      return &owner.Create<TSkinDateTime>();
    case K::Progress:
      return &owner.Create<TSkinProgress>();
    case K::TrackBar:
      return &owner.Create<TSkinTrackBar>();
    case K::UpDown:
      return &owner.Create<TSkinUpDown>();
    case K::Tab: {
      auto& skin = owner.Create<TSkinTab>();
      if (rule) skin.SetMode(rule->mode);
      return &skin;
    }
    case K::Tab31:
      return &owner.Create<TSkinTab31>();
    case K::TabBtn:
      return &owner.Create<TSkinTabBtn>();
    case K::TabSheet:
      return &owner.Create<TSkinTabSheet>();
    case K::AdvPage:
      return &owner.Create<TSkinAdvPage>();
    case K::MediaPlayer:
      return &owner.Create<TSkinMP>();
    case K::ToolBar:
      return &owner.Create<TSkinToolBar>();
    case K::BandBar:
      return &owner.Create<TSkinBandBar>();
    case K::ObjImage:
      // Children of a radio or check group come without their row: the
      // object tells check from radio by the class name then.
      return &owner.Create<TSkinObjImage>(rule ? rule->mode : 0);
    default:
      return nullptr;
  }
}

TSkinControl* AsSkin(TComponent* c) {
  return dynamic_cast<TSkinControl*>(c);
}

HWND WindowOf(const TControl& c) {
  auto* windowed = dynamic_cast<const TWinControl*>(&c);
  return windowed && windowed->HandleAllocated() ? const_cast<TWinControl*>(windowed)->Handle()
                                                 : nullptr;
}

}  // namespace

ControlSkinner::ControlSkinner(TWinSkinForm& formSkin, TSkinData& data,
                               const std::vector<TComponent*>& skins)
    : m_formSkin(formSkin), m_data(data), m_skins(skins) {}

bool ControlSkinner::AlreadySkinned(const TControl& control) const {
  if (HWND h = WindowOf(control); h && SendMessageW(h, WM_SKINQUERY, 0, 0) == 1) return true;
  return std::any_of(m_skins.begin(), m_skins.end(), [&](TComponent* c) {
    TSkinControl* skin = AsSkin(c);
    return skin && skin->Control() == &control;
  });
}

bool ControlSkinner::AlreadySkinned(HWND window) const {
  return std::any_of(m_skins.begin(), m_skins.end(), [&](TComponent* c) {
    TSkinControl* skin = AsSkin(c);
    return skin && !skin->Control() && skin->Handle() == window;
  });
}

void ControlSkinner::SkinForm(TForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(form.Components(i))) SkinControl(*control);
  // Then the form's tab order: every framework control with a window, a
  // container's own controls right after it, in the order the keyboard
  // visits them (the windows' order). This reaches controls inside
  // containers whose rule does not walk them.
  std::vector<HWND> tabOrder;
  auto collect = [&](auto& self, HWND parent) -> void {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (ControlOfWindow(child)) {
        tabOrder.push_back(child);
        self(self, child);
      }
  };
  if (form.HandleAllocated()) collect(collect, form.Handle());
  for (HWND window : tabOrder) {
    // Looked up again: skinning an earlier control may have changed windows.
    TWinControl* control = ControlOfWindow(window);
    if (!control || control->Tag == m_data.DisableTag || AlreadySkinned(*control)) continue;
    SkinControl(*control);
  }
}

void ControlSkinner::SkinControl(TControl& control) {
  const std::string className = control.ClassName();
  if (control.Tag == m_data.DisableTag) {
    // A disabled radio or check group keeps its items plain too.
    std::string lower = AsciiLower(className);
    auto* container = dynamic_cast<TWinControl*>(&control);
    if (container && (lower.find("radiogroup") != std::string::npos ||
                      lower.find("checkgroup") != std::string::npos))
      for (int i = 0; i < container->ControlCount(); ++i)
        container->Controls(i)->Tag = m_data.DisableTag;
    return;
  }
  if (!control.Parent() || AlreadySkinned(control)) return;
  ControlFacts facts;
  facts.upperClass = AsciiUpper(className);
  facts.inheritsFrom = [&control](std::string_view name) { return control.InheritsFrom(name); };
  if (auto* windowed = dynamic_cast<TWinControl*>(&control)) {
    facts.windowed = true;
    HWND h = nullptr;
    try {
      h = windowed->Handle();
    } catch (const std::exception&) {
      return;  // no window to skin; the walk goes on
    }
    if (!h) return;
    LONG style = GetWindowLongW(h, GWL_STYLE);
    facts.scrollStyle = (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
    RECT window{}, client{};
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    facts.hasBorder =
        window.right - window.left != client.right || window.bottom - window.top != client.bottom;
  }
  facts.tabsElement = m_data.Skin().Tabs && !m_data.Skin().Tabs->Bitmap.IsEmpty();
  facts.kindProperty = PropertyText(&control, "Kind");
  facts.styleProperty = PropertyText(&control, "Style");
  facts.numButtons = static_cast<int>(PropertyInt(&control, "NumButtons"));
  facts.dateTimeAsField = AsciiLower(PropertyText(&control, "Kind")) == "dtktime" ||
                          AsciiLower(PropertyText(&control, "DateMode")) == "dmupdown";
  facts.tabKind = static_cast<int>(PropertyInt(&control, "TabKind"));
  auto* ownMenu = dynamic_cast<TMenu*>(PropertyObject(&control, "PopupMenu"));
  facts.ownMenu = ownMenu && ownMenu->Owner() == &control;

  if (m_data.OnSkinControl) {
    TComponent* chosen = nullptr;
    m_data.OnSkinControl(&m_formSkin, &m_data, control.Parent(), &control, facts.upperClass,
                         chosen);
    if (TSkinControl* skin = AsSkin(chosen)) {
      bool held = std::find(m_skins.begin(), m_skins.end(), skin) != m_skins.end();
      if (!held) skin->AttachControl(&m_formSkin, &m_data, false);
      if (control.InheritsFrom("TCustomPanel")) WalkChildren(control);
    }
    return;
  }
  if (auto kind = FindSkin3rdKind(m_data.Skin3rd(), className)) {
    Apply(Skin3rdRule(*kind, facts, m_data.SkinControls), control);
    return;
  }
  ControlRule rule = ControlClassRule(facts, m_data.SkinControls);
  if (rule.handsMenu) m_formSkin.HandOverControlMenu(*ownMenu);
  if (rule.matched) Apply(rule, control);
}

void ControlSkinner::WalkChildren(TControl& control) {
  auto* container = dynamic_cast<TWinControl*>(&control);
  if (!container) return;
  // Children may be added while walking (a skin never adds any, but the
  // list is read by index so nothing dangles).
  for (int i = 0; i < container->ControlCount(); ++i) SkinControl(*container->Controls(i));
}

void ControlSkinner::Apply(const ControlRule& rule, TControl& control) {
  if (rule.setTransparent) SetPropertyText(&control, "Transparent", "True");
  if (rule.walkChildren) WalkChildren(control);
  if (rule.walkOwned)
    for (int i = 0; i < control.ComponentCount(); ++i)
      if (auto* owned = dynamic_cast<TControl*>(control.Components(i))) SkinControl(*owned);
  if (rule.childKind != ControlSkinKind::None)
    if (auto* container = dynamic_cast<TWinControl*>(&control))
      for (int i = 0; i < container->ControlCount(); ++i) {
        TControl& child = *container->Controls(i);
        if (child.Tag != m_data.DisableTag && !AlreadySkinned(child))
          Attach(rule.childKind, child, nullptr);
      }
  if (rule.kind != ControlSkinKind::None) Attach(rule.kind, control, &rule);
}

TSkinControl* ControlSkinner::Attach(ControlSkinKind kind, TControl& control,
                                     const ControlRule* rule) {
  TSkinControl* skin = MakeSkin(kind, control, rule);
  if (!skin) return nullptr;
  if (auto* speed = dynamic_cast<TSkinSpeedButton*>(skin))
    speed->AttachSpeedButton(&m_formSkin, &m_data);
  else if (auto* bars = dynamic_cast<TSkinScrollbar*>(skin))
    bars->AttachScrollbar(&m_formSkin, &m_data, rule ? rule->mode : 0);
  else
    skin->AttachControl(&m_formSkin, &m_data, rule && rule->setsColour);
  return skin;
}

void ControlSkinner::ReskinScrollBars(std::vector<TComponent*>& skins, HWND window) {
  auto found = std::find_if(skins.begin(), skins.end(), [&](TComponent* c) {
    auto* bars = dynamic_cast<TSkinScrollbar*>(c);
    return bars && bars->Control() && bars->State() != kSkinWindowGone && bars->Handle() == window;
  });
  if (found == skins.end()) return;
  auto* old = static_cast<TSkinScrollbar*>(*found);
  TControl& control = *old->Control();
  ControlRule rule;
  rule.matched = true;
  rule.kind = dynamic_cast<TSkinListView*>(old) ? ControlSkinKind::ListView : ControlSkinKind::Scrollbar;
  rule.mode = old->Mode();
  skins.erase(found);
  old->Restore();
  control.FreeComponent(old);
  Attach(rule.kind, control, &rule);
}

void ControlSkinner::SkinChildren(HWND window) {
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(child);
}

void ControlSkinner::SkinChildWindow(HWND child) {
  if (AlreadySkinned(child) || SendMessageW(child, WM_SKINQUERY, 0, 0) == 1) return;
  std::string cls = AsciiLower(WindowClassName(child));
  unsigned style = static_cast<unsigned>(GetWindowLongW(child, GWL_STYLE));
  WindowRule rule = WindowClassRule(cls, style, m_data.SkinControls);
  if (rule.walkChildren) SkinChildren(child);
  if (rule.colourOwner)
    if (TWinControl* owner = ControlOfWindow(child))
      owner->SetColor(m_data.Skin().Colours[SkinDefinition::kButtonFace]);
  HWND target = rule.attachFirstChild ? GetWindow(child, GW_CHILD) : child;
  if (!target || rule.kind == ControlSkinKind::None) return;
  if (TSkinControl* skin = MakeSkin(rule.kind, m_formSkin, nullptr))
    skin->AttachWindow(target, &m_data, &m_formSkin);
}

void FreeGoneControlSkins(std::vector<TComponent*>& skins) {
  std::vector<TComponent*> gone;
  for (TComponent* c : skins)
    if (TSkinControl* skin = AsSkin(c); skin && skin->State() == kSkinWindowGone) gone.push_back(c);
  for (TComponent* c : gone) {
    skins.erase(std::remove(skins.begin(), skins.end(), c), skins.end());
    if (c->Owner()) c->Owner()->FreeComponent(c);
  }
}

void ReleaseControlSkins(std::vector<TComponent*>& skins, bool restore) {
  std::vector<TComponent*> all = std::move(skins);
  skins.clear();
  for (TComponent* c : all) {
    TSkinControl* skin = AsSkin(c);
    if (restore && skin && skin->State() != kSkinWindowGone) skin->Restore();
    if (c->Owner()) c->Owner()->FreeComponent(c);
  }
}

void ControlSkinsChanged(const std::vector<TComponent*>& skins) {
  for (TComponent* c : std::vector<TComponent*>(skins))
    if (TSkinControl* skin = AsSkin(c); skin && skin->State() != kSkinWindowGone)
      skin->SkinChanged();
}

namespace {

class RuleSkinning final : public TControlSkinning {
 public:
  void SkinControls(TWinSkinForm& formSkin, TSkinData& data, TForm* form, HWND window,
                    std::vector<TComponent*>& skins) override {
    FreeGoneControlSkins(skins);
    ControlSkinner skinner(formSkin, data, skins);
    if (form) skinner.SkinForm(*form);
    else skinner.SkinChildren(window);
  }
  void SkinChildWindow(TWinSkinForm& formSkin, TSkinData& data, std::vector<TComponent*>& skins,
                       HWND child) override {
    ControlSkinner(formSkin, data, skins).SkinChildWindow(child);
  }
  void SkinsChanged(const std::vector<TComponent*>& skins) override { ControlSkinsChanged(skins); }
  void ReleaseSkins(std::vector<TComponent*>& skins, bool restore) override {
    ReleaseControlSkins(skins, restore);
  }
  void ReskinScrollBars(TWinSkinForm& formSkin, TSkinData& data, std::vector<TComponent*>& skins,
                        HWND window) override {
    ControlSkinner(formSkin, data, skins).ReskinScrollBars(skins, window);
  }
};

}  // namespace

TControlSkinning& RuleControlSkinning() {
  static RuleSkinning skinning;
  return skinning;
}

}  // namespace corvane
